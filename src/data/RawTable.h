#pragma once
#include <cmath>
#include <string>
#include <vector>

#include "data/CsvCells.h"

// A table as any source gives it, before anything is made of it: text cells row by row,
// each row with the line or spreadsheet row it came from, and for GIS layers a point per
// row. Layout detection, the preview and every message work on this alone, so a CSV file,
// a sheet and a layer are read by the same rules.
struct RawTable {
    // How messages name the source: "t.csv", "book.xlsx, sheet Data", "towns.gpkg, layer towns".
    std::string source;
    // What a row number counts: "line" in a text file, "row" in a sheet or a layer.
    std::string rowWord = "line";
    std::string encoding = "UTF-8";
    // The decoded text of a text file (the header-less layout reads records across lines);
    // empty for other sources.
    std::string text;
    std::vector<CsvRow> rows;
    // Field names are certainly a header (a layer's); otherwise the first row is judged.
    bool headerKnown = false;
    // WGS 84 degrees per row (the header row too, as NaN); empty when the source has no geometry.
    std::vector<double> latitude, longitude;
    // The sheets or layers of the source, and the one read; empty for a text file.
    std::vector<std::string> parts;
    std::string part;
    std::vector<std::string> notes;  // what the reader itself has to say (other layers, geometry skipped)
};
