#include "draw/ResultTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "draw/RunError.h"

namespace {

template <typename T>
std::string Shortest(T v, int maxDigits) {
    if (std::isnan(v)) return "NaN";
    if (std::isinf(v)) return v > 0 ? "Inf" : "-Inf";
    char buf[64];
    for (int digits = 1; digits <= maxDigits; ++digits) {
        std::snprintf(buf, sizeof buf, "%.*g", digits, static_cast<double>(v));
        if (static_cast<T>(std::strtod(buf, nullptr)) == v) break;
    }
    // A whole number is written out in full (18320, not 1.832e+04), as a reader expects a count.
    if (std::strstr(buf, "e+") && std::fabs(v) < static_cast<T>(1e15))
        std::snprintf(buf, sizeof buf, "%.0f", std::strtod(buf, nullptr));
    return buf;
}

std::string Quote(const std::string& cell) {
    if (cell.find_first_of(",\"\n\r") == std::string::npos) return cell;
    std::string out = "\"";
    for (char c : cell) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::string CsvNumber(float v) { return Shortest(v, 9); }
std::string CsvNumber(double v) { return Shortest(v, 17); }

std::string FixedCell(double v, int width, int decimals) {
    char buf[64];
    if (std::isfinite(v))
        std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, v);
    else
        std::snprintf(buf, sizeof buf, "%*s", width, "-");
    return buf;
}

std::string RightAligned(const std::string& s, int width) {
    return std::string(static_cast<std::size_t>(std::max(0, width - static_cast<int>(s.size()))), ' ') + s;
}

std::string CsvValue(double v) { return std::isfinite(v) ? CsvNumber(v) : MissingCsvCell; }

std::string Decimals(double v, int decimals) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

ResultTable& ResultTable::Add(float v) { return Add(CsvNumber(v)); }
ResultTable& ResultTable::Add(double v) { return Add(CsvNumber(v)); }
ResultTable& ResultTable::Add(int v) { return Add(std::to_string(v)); }

std::string ResultTable::ToCsv() const {
    std::string out;
    auto line = [&](const std::vector<std::string>& cells) {
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (i) out += ',';
            out += Quote(cells[i]);
        }
        out += "\r\n";
    };
    line(columns);
    for (const auto& r : rows) line(r);
    return out;
}

std::vector<std::string> TableCsvPaths(const std::string& path, std::size_t count) {
    std::vector<std::string> names;
    std::string stem = path, ext;
    if (auto dot = path.rfind('.'); dot != std::string::npos && path.find('/', dot) == std::string::npos) {
        stem = path.substr(0, dot);
        ext = path.substr(dot);
    }
    for (std::size_t i = 0; i < count; ++i) names.push_back(i == 0 ? path : stem + "-" + std::to_string(i + 1) + ext);
    return names;
}

std::vector<std::string> WriteTablesCsv(const std::string& path, const std::vector<ResultTable>& tables) {
    if (tables.empty()) throw RunError("The last command printed no table to save");
    std::vector<std::string> written;
    const std::vector<std::string> names = TableCsvPaths(path, tables.size());
    for (std::size_t i = 0; i < tables.size(); ++i) {
        const std::string& name = names[i];
        std::ofstream out(name, std::ios::binary);
        out << tables[i].ToCsv();
        if (!out) throw RunError("Cannot write " + name);
        written.push_back(name);
    }
    return written;
}
