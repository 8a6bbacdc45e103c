#pragma once
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "data/CsvCells.h"

// Reading single cells and headers of a table: trimming, numbers as researchers write
// them, the ways of writing absence, and years in headers.

std::string Lower(std::string s);
// A header reduced to lower-case letters and digits, so "Country or area" matches "countryorarea".
std::string Key(const std::string& header);
inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// Without blanks, tabs and no-break spaces at either end.
std::string Trim(std::string_view s);
std::string Thousands(std::size_t n);
std::string ColumnList(const std::vector<std::string>& header);
// Empty beyond the row's last cell.
std::string_view CellText(const CsvRow& row, int column);

// A header naming a year: the text before and after one run of 1 to 4 digits, and the
// year. A minus sign at the start, or "BC"/"BCE" after the digits, makes the year negative
// ("-500", "500 BC"); "0" is a year.
struct HeaderYearParts {
    std::string before, after;  // "Pop" and "" for "Pop1840"
    int year = 0;
};
std::optional<HeaderYearParts> ParseHeaderYear(const std::string& header);
// A year as a long table's year column writes it: optional minus sign and 1 to 4 digits.
std::optional<int> CellYear(std::string_view text);

// Where a cell is, for messages: "t.csv, line 4, column 3 (1950)".
struct Where {
    const std::string& file;
    const std::string& word;
    std::size_t line;
    std::size_t column;  // from 1
    const std::string& header;
    std::string Text() const;
};

// A population cell: a number (absent when not above 0) or one of the ways of writing
// absence, which `seen` collects for the preview. Throws RunError at `at` for anything else.
double CellValue(const CsvCell& cell, const Where& at, std::set<std::string>& seen);
// The same test without a message (name detection asks it of every row).
bool LooksNumeric(const CsvCell& cell);
// A coordinate cell: the number, or nothing when it is empty or not a number.
std::optional<double> CellNumber(std::string_view text);
