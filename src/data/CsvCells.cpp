#include "data/CsvCells.h"

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
    std::size_t pos = 0, line = 1;
    auto lineEnd = [&]() {  // at a CR or LF: step over one line end
        if (s[pos] == '\r' && pos + 1 < s.size() && s[pos + 1] == '\n') ++pos;
        ++pos;
        ++line;
    };
    auto blank = [&](char c) { return (c == ' ' || c == '\t') && c != delimiter; };
    while (pos < s.size()) {
        CsvRow row;
        row.line = line;
        // Rows mostly have as many cells as the last one: no regrowth, no moved strings.
        row.cells.reserve(rows.empty() ? 8 : rows.back().cells.size());
        bool endOfRow = false;
        while (!endOfRow) {
            CsvCell cell;
            while (pos < s.size() && blank(s[pos])) ++pos;
            if (pos < s.size() && s[pos] == '"') {
                cell.quoted = true;
                const std::size_t openLine = line;
                ++pos;
                for (;;) {
                    if (pos >= s.size())
                        throw RunError(name + ": a quoted field opened on line " + std::to_string(openLine) +
                                       " is not closed before the end of the file");
                    char c = s[pos];
                    if (c == '"') {
                        if (pos + 1 < s.size() && s[pos + 1] == '"') {
                            cell.text += '"';
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        break;
                    }
                    if (c == '\r' || c == '\n') {
                        const std::size_t before = pos;
                        lineEnd();
                        cell.text += s.substr(before, pos - before);
                        continue;
                    }
                    cell.text += c;
                    ++pos;
                }
                // Whatever stands between the closing quote and the delimiter is dropped.
                while (pos < s.size() && s[pos] != delimiter && s[pos] != '\r' && s[pos] != '\n') ++pos;
            } else {
                const std::size_t start = pos;
                while (pos < s.size() && s[pos] != delimiter && s[pos] != '\r' && s[pos] != '\n') ++pos;
                std::size_t end = pos;
                while (end > start && blank(s[end - 1])) --end;
                cell.text = std::string(s.substr(start, end - start));
            }
            row.cells.push_back(std::move(cell));
            if (pos < s.size() && s[pos] == delimiter) {
                ++pos;
            } else {
                if (pos < s.size()) lineEnd();
                endOfRow = true;
            }
        }
        const bool empty = row.cells.size() == 1 && row.cells[0].text.empty() && !row.cells[0].quoted;
        if (!empty) rows.push_back(std::move(row));
    }
    return rows;
}
