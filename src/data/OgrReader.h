#pragma once
#include <string>

#include "data/RawTable.h"

// Workbooks (.xlsx, .xls, .ods) and GIS layers (.gpkg, .shp, .geojson, anything GDAL/OGR
// opens) as neutral tables.
//   A workbook's sheet is read cell by cell as text, its first row included: the program
//   decides whether that row is a header, as it does for a text file. `part` names the
//   sheet (its name, or its number from 1); by default the first sheet with data.
//   A layer's field names are its header, one feature a row, and its geometry a point per
//   row (a polygon's centroid) in WGS 84 degrees. `part` names the layer; by default the first.
// Throws RunError naming the file (and sheet or layer) and what GDAL found wrong.
RawTable ReadOgrTable(const std::string& path, const std::string& part);

// Whether a file goes to ReadOgrTable rather than the text reader, by its extension.
bool IsOgrFile(const std::string& path);
