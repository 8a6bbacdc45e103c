#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "DataSet.h"

// Reading a city table in the layouts researchers publish, from a text file, a workbook or a
// GIS layer: the header-less layout of
// USData.csv (a quoted name, then one population per date), a wide table with a header whose
// date columns are years ("1790", "Pop1840", "y1950"), and a long table with one row per
// place and date. Every choice is detected from the file and can be overridden.

enum class TableLayout { Auto, Plain, Wide, Long };  // Plain: the header-less USData.csv layout

// As the group or ID column of ImportOptions: the table has none, so none is detected.
inline constexpr const char* NoColumn = "-";

struct ImportOptions {
    TableLayout layout = TableLayout::Auto;
    std::string name, group, id;     // column headers; empty: detected; NoColumn (group, id): none
    std::string year, population;    // the long layout's columns; empty: detected
    std::vector<std::string> dates;  // the wide layout's date columns; empty: detected
    double unit = 1;                 // every value is multiplied by it (1000 for tables in thousands)
    int top = 0;                     // keep the places among the `top` largest at one or more dates; 0: all
    std::string lat, lon;            // the coordinate columns; empty: detected; NoColumn: none
    std::string part;                // a workbook's sheet (name or number from 1) or a data source's layer
};

// What the file looks like and what loading it with the given options keeps.
struct ImportPreview {
    std::string encoding;                             // "UTF-8", "Windows-1252", "UTF-16LE", ...
    TableLayout layout = TableLayout::Auto;           // as detected or chosen
    std::vector<std::string> columns;                 // the header's cells (none for Plain)
    std::vector<std::vector<std::string>> firstRows;  // the first rows as read, cell by cell, in UTF-8
    std::string nameColumn, groupColumn, idColumn, yearColumn, populationColumn;
    std::vector<std::pair<std::string, int16_t>> dateColumns;  // header and year of each date, by year
    double unit = 1;
    std::string absence;                              // how absence is written, e.g. "empty, 0, NA"
    int places = 0;                                   // distinct places in the file
    int kept = 0;                                     // places loaded
    std::vector<std::string> warnings;                // ignored columns, duplicate years, dropped places...
    std::string source;                               // "t.csv", "book.xlsx, sheet Data", "towns.gpkg, layer towns"
    std::vector<std::string> parts;                   // a workbook's sheets or a source's layers; empty for text
    std::string part;                                 // the sheet or layer read
    std::string latColumn, lonColumn;                 // the coordinate pair found; "geometry" for a layer's points
    int positioned = 0;                               // places loaded with a position
    double proposedUnit = 0;                          // 1000 when the populations look like thousands; else 0
    std::string unitReason;                           // why
};

struct ImportResult {
    std::unique_ptr<DataSet> data;  // never null on return
    ImportPreview preview;
};

// Both throw RunError naming the file, the line, the column and what was wrong; nothing is
// shared with an earlier data set, so a failed import leaves the caller's data untouched.
ImportPreview PreviewTable(std::string_view bytes, const std::string& name, const ImportOptions& options = {});
ImportResult ImportTable(std::string_view bytes, const std::string& name, const ImportOptions& options = {});
// Reads the file first (regular files only, as the loader does; none over 2 GB): a text
// file by its own reader, a workbook or GIS layer through GDAL/OGR.
ImportResult ImportFile(const std::string& path, const ImportOptions& options = {});
// Any source once it is a neutral table.
struct RawTable;
ImportResult ImportRawTable(const RawTable& raw, const ImportOptions& options = {});
// The largest file read: bigger ones are refused before being read.
inline constexpr unsigned long long MaxFileBytes = 2ULL << 30;
