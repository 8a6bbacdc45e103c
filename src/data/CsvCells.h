#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The cells of a delimited text table, row by row, with the line each row starts on.
// A quoted cell may hold delimiters, line ends and doubled quotes; blanks around an
// unquoted cell are dropped; LF, CR LF and CR all end a line; empty lines are skipped.
struct CsvCell {
    std::string text;
    bool quoted = false;
};
struct CsvRow {
    std::vector<CsvCell> cells;
    std::size_t line = 0;
};

// Comma, unless the first line holds none and does hold semicolons or tabs.
char GuessDelimiter(std::string_view text);
// Throws RunError naming `name` and the line of a quote that is never closed.
std::vector<CsvRow> SplitCells(std::string_view text, char delimiter, const std::string& name);
