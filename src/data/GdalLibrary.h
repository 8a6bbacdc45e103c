#pragma once
#include <string>

// Reading workbooks and GIS layers and drawing maps takes GDAL, which brings a hundred shared
// libraries: loading them costs every start of the program most of its time, whatever it
// reads. So the code that calls GDAL is a library of its own, libcitysize_gdal.so, loaded the
// first time one of its functions is needed. It is looked for beside the program, in the
// installation's lib/citysize folder, in the build folder, then where the system looks.

// The address of the library's function `name`; throws RunError saying what is missing when
// the library or the function cannot be found.
void* GdalSymbol(const char* name);

template <typename F>
F* GdalFunction(const char* name) {
    return reinterpret_cast<F*>(GdalSymbol(name));
}
