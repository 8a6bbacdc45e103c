#pragma once
#include <string>
#include <vector>

// The numbers of a printed table, kept beside the text so they can be saved as CSV at full
// single precision: one header row, one row per date or per city.
struct ResultTable {
    std::string title;
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;

    ResultTable& Row() {
        rows.emplace_back();
        return *this;
    }
    ResultTable& Add(const std::string& cell) {
        rows.back().push_back(cell);
        return *this;
    }
    ResultTable& Add(float v);
    ResultTable& Add(double v);
    ResultTable& Add(int v);

    std::string ToCsv() const;
};

// Shortest text that reads back as the same single (or double).
std::string CsvNumber(float v);
std::string CsvNumber(double v);

// The number and cell formats of every printed table and CSV, in one place.

// The mark of a missing value in every CSV (an empty cell, as the oldest tables have it).
inline constexpr const char* MissingCsvCell = "";

// Cells of the fixed-width tables the newer analyses print: a number with `decimals`
// decimals, or "-" where there is none (NaN); text right-aligned; a CSV number, or the
// missing mark where there is none.
std::string FixedCell(double v, int width, int decimals);
std::string RightAligned(const std::string& s, int width);
std::string CsvValue(double v);
// A number with `decimals` decimals, for hover and titles ("%.*f").
std::string Decimals(double v, int decimals = 3);

// The files of `count` tables saved as `path`: `path`, then NAME-2.csv, NAME-3.csv, ...
std::vector<std::string> TableCsvPaths(const std::string& path, std::size_t count);
// Writes each table as CSV: the first to `path`, any further ones beside it as
// NAME-2.csv, NAME-3.csv, ... Returns the files written; throws RunError when it cannot.
std::vector<std::string> WriteTablesCsv(const std::string& path, const std::vector<ResultTable>& tables);
