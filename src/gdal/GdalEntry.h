#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The functions of libcitysize_gdal.so, the only code that calls GDAL. The program finds them
// by name when it first needs one (data/GdalLibrary.h), so GDAL is loaded only by a run that
// reads a workbook or a GIS layer or draws a map. Errors are thrown as RunError.
struct RawTable;
struct OutlinePath;

extern "C" {
// A workbook's sheet or a data source's layer as a neutral table (data/OgrReader.h).
void citysize_ReadOgrTable(const std::string* path, const std::string* part, RawTable* out);
// The lines of a vector file's first layer in WGS 84 degrees (map/Outlines.h).
void citysize_ReadOutlines(const std::string* path, std::vector<OutlinePath>* out);
// A transformation from WGS 84 degrees to the PROJ `definition`; null with `error` set when
// there is none. Project transforms n points in place, ok[i] 0 where it cannot.
void* citysize_NewProjection(const char* definition, std::string* error);
void citysize_Project(void* transform, std::size_t n, double* x, double* y, int* ok);
void citysize_FreeProjection(void* transform);
}
