#include "data/TableCells.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "data/Loader.h"
#include "draw/RunError.h"

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Key(const std::string& header) {
    std::string k;
    for (char c : Lower(header))
        if (std::isalnum(static_cast<unsigned char>(c))) k += c;
    return k;
}

std::string Trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    auto blankAt = [&](std::size_t i) { return s[i] == ' ' || s[i] == '\t'; };
    for (;;) {
        if (b < e && blankAt(b)) ++b;
        else if (b + 1 < e && s.compare(b, 2, "\xC2\xA0") == 0) b += 2;  // no-break space
        else break;
    }
    for (;;) {
        if (e > b && blankAt(e - 1)) --e;
        else if (e >= b + 2 && s.compare(e - 2, 2, "\xC2\xA0") == 0) e -= 2;
        else break;
    }
    return std::string(s.substr(b, e - b));
}

std::string Thousands(std::size_t n) {
    const std::string digits = std::to_string(n);
    std::string s;
    for (std::size_t k = 0; k < digits.size(); ++k) {
        if (k > 0 && (digits.size() - k) % 3 == 0) s += ',';
        s += digits[k];
    }
    return s;
}

std::string ColumnList(const std::vector<std::string>& header) {
    std::string s;
    for (std::size_t k = 0; k < header.size(); ++k) s += (k ? ", " : "") + Shown(header[k]);
    return s;
}

std::string_view CellText(const CsvRow& row, int column) {
    return column >= 0 && static_cast<std::size_t>(column) < row.cells.size() ? row.cells[static_cast<std::size_t>(column)].text
                                                                              : std::string_view();
}

std::optional<HeaderYearParts> ParseHeaderYear(const std::string& header) {
    const std::string h = Trim(header);
    const std::size_t first = h.find_first_of("0123456789");
    if (first == std::string::npos) return std::nullopt;
    std::size_t end = first;
    while (end < h.size() && IsDigit(h[end])) ++end;
    if (end - first > 4 || h.find_first_of("0123456789", end) != std::string::npos) return std::nullopt;
    HeaderYearParts p;
    p.year = std::atoi(h.substr(first, end - first).c_str());
    p.before = h.substr(0, first);
    p.after = h.substr(end);
    if (p.before == "-") {
        p.year = -p.year;
        p.before.clear();
    }
    const std::string era = Lower(Trim(p.after));
    if (era == "bc" || era == "bce") {
        p.year = -p.year;
        p.after = " BC";
    }
    return p;
}

std::optional<int> CellYear(std::string_view text) {
    const std::string t = Trim(text);
    const std::size_t sign = !t.empty() && t[0] == '-' ? 1 : 0;
    const std::size_t digits = t.size() - sign;
    if (digits < 1 || digits > 4) return std::nullopt;
    for (std::size_t k = sign; k < t.size(); ++k)
        if (!IsDigit(t[k])) return std::nullopt;
    return std::atoi(t.c_str());
}

std::string Where::Text() const {
    return file + ", " + word + " " + std::to_string(line) + ", column " + std::to_string(column) +
           (header.empty() ? std::string() : " (" + Shown(header) + ")");
}

namespace {

bool IsAbsenceWord(const std::string& t) {
    const std::string l = Lower(t);
    return l == "na" || l == "n/a" || l == ".." || l == "-" || l == "..." || l == "\xE2\x80\x94" ||
           l == "\xE2\x80\x93" || l == "nan";
}

// Removes thousands separators where they cannot be misread: groups of three digits after
// one to three, parted by spaces (any cell) or by commas (a quoted cell only).
std::string WithoutSeparators(const std::string& t, bool quoted) {
    std::string digits;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) digits += t[i++];
    std::size_t lead = 0;
    while (i < t.size() && IsDigit(t[i])) digits += t[i++], ++lead;
    if (lead < 1 || lead > 3 || i >= t.size()) return t;
    int groups = 0;
    for (;;) {
        std::size_t sep = 0;
        if (t[i] == ' ') sep = 1;
        else if (quoted && t[i] == ',') sep = 1;
        else if (t.compare(i, 2, "\xC2\xA0") == 0) sep = 2;
        else if (t.compare(i, 3, "\xE2\x80\xAF") == 0) sep = 3;  // narrow no-break space
        if (sep == 0) break;
        std::size_t k = i + sep, n = 0;
        while (k < t.size() && IsDigit(t[k]) && n < 4) ++k, ++n;
        if (n != 3) return t;
        digits += t.substr(i + sep, 3);
        i = k;
        ++groups;
        if (i >= t.size()) break;
    }
    if (groups == 0) return t;
    if (i < t.size()) {
        if (t[i] != '.') return t;
        digits += t.substr(i);
    }
    return digits;
}

// A cell of up to 15 plain digits, most cells of a table, read as an integer: exact in a
// double, so the same value strtod gives, without the general path's copies.
bool PlainDigits(const std::string& t, double& v) {
    if (t.empty() || t.size() > 15) return false;
    std::uint64_t n = 0;
    for (char c : t) {
        if (!IsDigit(c)) return false;
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    }
    v = static_cast<double>(n);
    return true;
}

bool NumberChars(const std::string& n) {
    for (char c : n)
        if (!(IsDigit(c) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return false;
    return true;
}

}  // namespace

double CellValue(const CsvCell& cell, const Where& at, std::set<std::string>& seen) {
    const std::string t = Trim(cell.text);
    if (t.empty()) {
        seen.insert("empty");
        return 0;
    }
    if (double v = 0; PlainDigits(t, v)) {
        if (v == 0) seen.insert("0");
        return v;
    }
    if (IsAbsenceWord(t)) {
        seen.insert(t);
        return 0;
    }
    const std::string n = WithoutSeparators(t, cell.quoted);
    const bool plain = NumberChars(n);
    char* end = nullptr;
    errno = 0;
    const double v = plain ? std::strtod(n.c_str(), &end) : 0.0;
    if (!plain || end == n.c_str() || *end != '\0' || std::isnan(v))
        throw RunError(at.Text() + ": \"" + Shown(t) + "\" is not a number");
    if ((errno == ERANGE && std::fabs(v) > 1.0) || std::fabs(v) > static_cast<double>(FLT_MAX))
        throw RunError(at.Text() + ": \"" + Shown(t) + "\" is too large for a population (Overflow)");
    if (v == 0) seen.insert("0");
    if (v < 0) seen.insert("negative");
    return v;
}

bool LooksNumeric(const CsvCell& cell) {
    const std::string t = Trim(cell.text);
    if (double v = 0; PlainDigits(t, v)) return true;
    if (t.empty() || IsAbsenceWord(t)) return true;
    const std::string n = WithoutSeparators(t, cell.quoted);
    if (!NumberChars(n)) return false;
    char* end = nullptr;
    const double v = std::strtod(n.c_str(), &end);
    return end != n.c_str() && *end == '\0' && !std::isnan(v);
}

std::optional<double> CellNumber(std::string_view text) {
    const std::string t = Trim(text);
    if (t.empty() || !NumberChars(t)) return std::nullopt;
    char* end = nullptr;
    const double v = std::strtod(t.c_str(), &end);
    if (end == t.c_str() || *end != '\0' || !std::isfinite(v)) return std::nullopt;
    return v;
}
