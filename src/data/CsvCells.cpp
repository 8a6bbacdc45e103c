#include "data/CsvCells.h"

#include <algorithm>

#include "draw/RunError.h"

char GuessDelimiter(std::string_view text) {
    // The first line outside quotes: a name such as "Paris, TX" says nothing of the delimiter.
    std::string first;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size() && (quoted || (text[i] != '\r' && text[i] != '\n')); ++i)
        if (text[i] == '"') quoted = !quoted;
        else if (!quoted) first += text[i];
    for (const char c : {',', ';', '\t'})
        if (first.find(c) != std::string::npos) return c;
    return ',';
}

std::vector<CsvRow> SplitCells(std::string_view s, char delimiter, const std::string& name) {
    std::vector<CsvRow> rows;
    // A row per line at most: the list is not regrown (and held twice) on a million rows.
    rows.reserve(std::max(std::count(s.begin(), s.end(), '\n'), std::count(s.begin(), s.end(), '\r')) + 1);
    std::size_t pos = 0, line = 1;
    auto lineEnd = [&]() {  // at a CR or LF: step over one line end
        if (s[pos] == '\r' && pos + 1 < s.size() && s[pos + 1] == '\n') ++pos;
        ++pos;
        ++line;
    };
    auto blank = [&](char c) { return (c == ' ' || c == '\t') && c != delimiter; };
    // Each row is read into one reused row and kept as a copy of exactly its size.
    CsvRow row;
    while (pos < s.size()) {
        row.cells.clear();
        row.line = line;
        bool endOfRow = false;
        while (!endOfRow) {
            bool quoted = false;
            while (pos < s.size() && blank(s[pos])) ++pos;
            if (pos < s.size() && s[pos] == '"') {
                quoted = true;
                const std::size_t openLine = line;
                ++pos;
                for (;;) {
                    if (pos >= s.size())
                        throw RunError(name + ": a quoted field opened on line " + std::to_string(openLine) +
                                       " is not closed before the end of the file");
                    // The run up to the next quote or line end goes in at once.
                    const std::size_t stop = s.find_first_of("\"\r\n", pos);
                    const std::size_t end = stop == std::string_view::npos ? s.size() : stop;
                    row.cells.Append(s.substr(pos, end - pos));
                    pos = end;
                    if (pos >= s.size()) continue;
                    if (s[pos] == '"') {
                        if (pos + 1 < s.size() && s[pos + 1] == '"') {
                            row.cells.Append('"');
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        break;
                    }
                    const std::size_t before = pos;
                    lineEnd();
                    row.cells.Append(s.substr(before, pos - before));
                }
                // Whatever stands between the closing quote and the delimiter is dropped.
                while (pos < s.size() && s[pos] != delimiter && s[pos] != '\r' && s[pos] != '\n') ++pos;
            } else {
                const std::size_t start = pos;
                while (pos < s.size() && s[pos] != delimiter && s[pos] != '\r' && s[pos] != '\n') ++pos;
                std::size_t end = pos;
                while (end > start && blank(s[end - 1])) --end;
                row.cells.Append(s.substr(start, end - start));
            }
            row.cells.Close(quoted);
            if (pos < s.size() && s[pos] == delimiter) {
                ++pos;
            } else {
                if (pos < s.size()) lineEnd();
                endOfRow = true;
            }
        }
        const bool empty = row.cells.size() == 1 && row.cells[0].text.empty() && !row.cells[0].quoted;
        if (!empty) rows.push_back(row);
    }
    return rows;
}
