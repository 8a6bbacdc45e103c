#pragma once
#include <optional>
#include <string>
#include <vector>

#include "data/Import.h"
#include "data/RawTable.h"

// What a neutral table is: whether its first row is a header, which layout it has, which
// columns hold dates, names, groups, IDs and positions, and whether its populations look
// like thousands. Every function reads the RawTable only; nothing here reads a file.

// The header-less layout has a data row first: a name, then numbers; a header has text
// after its first cell, or years in increasing order, or only years above rows whose
// numbers are not all years. A row whose cells are mostly text is never a place.
bool LooksLikeHeader(const std::vector<CsvRow>& rows);
// Auto resolved: Plain without a header, Long with a year column and fewer than two year
// headers, Wide otherwise.
TableLayout DetectLayout(const RawTable& raw, bool header);

// The column an option names (its header, ignoring case); -1 when `wanted` is empty.
// Throws RunError naming `file` and the columns when there is no such column.
int FindColumn(const std::vector<std::string>& header, const std::string& wanted, const std::string& file,
               const char* what);
// The first column not yet taken whose key is in `keys`, by the order of `keys`.
int DetectColumn(const std::vector<std::string>& header, std::initializer_list<const char*> keys,
                 const std::vector<char>& taken);
// Of the headers that speak of names or places, the one whose text tells the most rows apart.
int DetectNameColumn(const std::vector<std::string>& header, const std::vector<CsvRow>& rows,
                     const std::vector<char>& taken);

// A wide table's dates: the largest family of headers sharing the text around a year
// ("Pop1840"..."Pop2010"); of two families of equal size, the one whose values look like
// populations. Headers with a year outside the family are named in `warnings`.
struct DateColumn {
    int year;
    int column;
};
std::vector<DateColumn> FindDateFamily(const std::vector<std::string>& header, const std::vector<CsvRow>& rows,
                                       std::vector<std::string>& warnings, std::vector<char>& taken);

// The latitude / longitude columns: named by options ("-" for none), else the first pair
// of lat/latitude/y and lon/long/longitude/x headers. -1 each when there is none.
struct CoordinateColumns {
    int lat = -1, lon = -1;
};
CoordinateColumns FindCoordinateColumns(const std::vector<std::string>& header, const ImportOptions& opt,
                                        const std::string& file);

// Why the populations look like thousands, or nothing: decimals with the largest below
// 100,000, or a header that says "thousand". Asked only when the unit is 1.
std::optional<std::string> ThousandsReason(const std::vector<std::string>& header, bool decimals, double largest);
