#include "data/LayoutDetect.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <map>
#include <set>

#include "data/Loader.h"
#include "data/TableCells.h"
#include "draw/RunError.h"

namespace {

// A header's date cell as a census is dated: a year from 1000 to 2100, or one before Christ
// (negative or marked BC). Small populations (10, 250) are not years in this sense.
bool YearLike(const CsvCell& c) {
    const std::string t = Trim(c.text);
    if (const auto y = CellYear(t)) return (*y >= 1000 && *y <= 2100) || *y < 0;
    const auto p = ParseHeaderYear(t);
    return p && p->before.empty() && p->after == " BC";
}

// Whether a row's number cells after the first are all year-like, with two years or more
// (a small place's equal populations, "A,5,5", are not a header).
bool YearsOnly(const CsvRow& row) {
    std::set<std::string> years;
    for (std::size_t k = 1; k < row.cells.size(); ++k) {
        const CsvCell& c = row.cells[k];
        if (Trim(c.text).empty()) continue;
        if (!YearLike(c)) return false;
        years.insert(Trim(c.text));
    }
    return years.size() >= 2;
}

// Whether some number cell below the first row is not year-like, among the first rows.
bool NumbersBelowAreNotYears(const std::vector<CsvRow>& rows) {
    for (std::size_t r = 1; r < rows.size() && r <= 200; ++r)
        for (std::size_t k = 1; k < rows[r].cells.size(); ++k) {
            const CsvCell& c = rows[r].cells[k];
            if (!Trim(c.text).empty() && LooksNumeric(c) && !YearLike(c)) return true;
        }
    return false;
}

}  // namespace

bool LooksLikeHeader(const std::vector<CsvRow>& rows) {
    const CsvRow& row = rows.front();
    if (row.cells.size() < 2) return true;
    std::size_t text = 0, filled = 0;
    for (const CsvCell& c : row.cells) {
        if (Trim(c.text).empty()) continue;
        ++filled;
        text += !LooksNumeric(c) && !CellYear(c.text);
    }
    if (2 * text > filled) return true;
    // USData.csv quotes its names and not its numbers; a header quotes all or nothing.
    const bool quotedNameOnly = row.cells[0].quoted && std::none_of(row.cells.begin() + 1, row.cells.end(),
                                                                    [](const CsvCell& c) { return c.quoted; });
    if (quotedNameOnly) return false;
    // Years above populations: a header even when a date repeats, the dates are out of order
    // or the first cell is empty (what is wrong with it is then said by the reader).
    if (YearsOnly(row) && NumbersBelowAreNotYears(rows)) return true;
    int years = 0, prev = 0;
    bool increasing = true;
    for (std::size_t k = 1; k < row.cells.size(); ++k) {
        const CsvCell& c = row.cells[k];
        const std::string t = Trim(c.text);
        if (t.empty()) continue;
        if (const auto y = CellYear(t)) {
            if (years > 0 && *y <= prev) increasing = false;
            prev = *y;
            ++years;
        } else if (const auto p = ParseHeaderYear(t); p && p->before.empty() && p->after == " BC") {
            if (years > 0 && p->year <= prev) increasing = false;
            prev = p->year;
            ++years;
        } else if (!LooksNumeric(c)) {
            return true;
        } else {
            return false;
        }
    }
    return years >= 1 && increasing;
}

int DetectColumn(const std::vector<std::string>& header, std::initializer_list<const char*> keys,
                 const std::vector<char>& taken) {
    for (const char* k : keys)
        for (std::size_t c = 0; c < header.size(); ++c)
            if (!taken[c] && Key(header[c]) == k) return static_cast<int>(c);
    return -1;
}

TableLayout DetectLayout(const RawTable& raw, bool header) {
    if (!header) return TableLayout::Plain;
    std::vector<std::string> h;
    for (const auto& c : raw.rows[0].cells) h.push_back(Trim(c.text));
    std::vector<char> none(h.size(), 0);
    int dateHeaders = 0;
    for (const auto& x : h) {
        const auto p = ParseHeaderYear(x);
        dateHeaders += p && p->before.empty() && p->after.empty();
    }
    const bool yearColumn = DetectColumn(h, {"year", "date", "census", "yr"}, none) >= 0;
    return yearColumn && dateHeaders < 2 ? TableLayout::Long : TableLayout::Wide;
}

int FindColumn(const std::vector<std::string>& header, const std::string& wanted, const std::string& file,
               const char* what) {
    if (wanted.empty()) return -1;
    for (std::size_t k = 0; k < header.size(); ++k)
        if (Lower(Trim(header[k])) == Lower(Trim(wanted))) return static_cast<int>(k);
    throw RunError(file + ": there is no column \"" + wanted + "\" for the " + what + " (the columns are " +
                   ColumnList(header) + ")");
}

int DetectNameColumn(const std::vector<std::string>& header, const std::vector<CsvRow>& rows,
                     const std::vector<char>& taken) {
    static const char* words[] = {"name", "city", "place", "agglomeration", "town", "municipality", "settlement",
                                  "locality", "urban"};
    int best = -1;
    std::size_t bestCount = 0;
    for (std::size_t c = 0; c < header.size(); ++c) {
        if (taken[c] || header[c].find_first_of("0123456789") != std::string::npos) continue;
        const std::string k = Key(header[c]);
        if (std::none_of(std::begin(words), std::end(words), [&](const char* w) { return k.find(w) != std::string::npos; }))
            continue;
        // Names of the place's county, state or source are not its own name.
        static const char* others[] = {"county", "country", "state", "region", "province", "source", "type"};
        if (std::any_of(std::begin(others), std::end(others), [&](const char* w) { return k.find(w) != std::string::npos; }))
            continue;
        std::set<std::string> distinct;
        std::size_t length = 0;
        for (std::size_t r = 1; r < rows.size(); ++r)
            if (c < rows[r].cells.size() && !LooksNumeric(rows[r].cells[c])) {
                distinct.emplace(rows[r].cells[c].text);
                length += rows[r].cells[c].text.size();
            }
        // Of equally distinct columns the one with more text ("Kailua, HI" over "Kailua").
        const std::size_t score = distinct.size() * 1000000 + std::min<std::size_t>(length / rows.size(), 999999);
        if (best < 0 || score > bestCount) best = static_cast<int>(c), bestCount = score;
    }
    if (best >= 0) return best;
    for (std::size_t c = 0; c < header.size(); ++c)  // else the first column of text
        if (!taken[c] && rows.size() > 1 && c < rows[1].cells.size() && !LooksNumeric(rows[1].cells[c]))
            return static_cast<int>(c);
    return -1;
}

namespace {

// How much a column looks like populations: its cells above 1 among the first rows (a
// 0/1 indicator or a code column scores low).
std::size_t PopulationLike(const std::vector<CsvRow>& rows, int column) {
    std::size_t n = 0;
    for (std::size_t r = 1; r < rows.size() && r <= 200; ++r) {
        const auto v = CellNumber(CellText(rows[r], column));
        n += v && *v > 1;
    }
    return n;
}

}  // namespace

std::vector<DateColumn> FindDateFamily(const std::vector<std::string>& header, const std::vector<CsvRow>& rows,
                                       std::vector<std::string>& warnings, std::vector<char>& taken) {
    std::map<std::string, std::vector<DateColumn>> families;
    std::vector<std::string> all;
    for (std::size_t c = 0; c < header.size(); ++c) {
        const auto p = ParseHeaderYear(header[c]);
        if (!p) continue;
        const bool bare = p->before.empty() && (p->after.empty() || p->after == " BC");
        const std::string key = bare ? std::string("\x1F") : Lower(p->before) + '\x1F' + Lower(p->after);
        if (!families.count(key)) all.push_back(key);
        families[key].push_back({p->year, static_cast<int>(c)});
    }
    // A prefixed family whose first values are all text is a text column ("Name_2010").
    std::vector<std::string> order;
    for (const auto& key : all) {
        const bool text = key != "\x1F" && rows.size() > 1 &&
                          std::none_of(families[key].begin(), families[key].end(), [&](const DateColumn& d) {
                              return static_cast<std::size_t>(d.column) >= rows[1].cells.size() ||
                                     LooksNumeric(rows[1].cells[static_cast<std::size_t>(d.column)]);
                          });
        if (!text) order.push_back(key);
    }
    if (order.empty()) return {};
    std::string best;
    std::size_t bestSize = 0, bestScore = 0;
    for (const auto& key : order) {
        const auto& f = families[key];
        std::size_t score = 0;
        for (const auto& d : f) score += PopulationLike(rows, d.column);
        if (best.empty() || f.size() > bestSize || (f.size() == bestSize && score > bestScore))
            best = key, bestSize = f.size(), bestScore = score;
    }
    std::vector<DateColumn> dates = families[best];
    std::stable_sort(dates.begin(), dates.end(), [](auto a, auto b) { return a.year < b.year; });
    const std::string span = "\"" + header[static_cast<std::size_t>(dates.front().column)] + "\"" +
                             (dates.size() > 1 ? "\xE2\x80\xA6\"" + header[static_cast<std::size_t>(dates.back().column)] + "\"" : "");
    for (const auto& key : order) {
        if (key == best) continue;
        for (const auto& d : families[key]) {
            taken[static_cast<std::size_t>(d.column)] = 1;
            warnings.push_back("\"" + header[static_cast<std::size_t>(d.column)] + "\": not a date, unlike " + span +
                               " (ignored)");
        }
    }
    return dates;
}

CoordinateColumns FindCoordinateColumns(const std::vector<std::string>& header, const ImportOptions& opt,
                                        const std::string& file) {
    CoordinateColumns cc;
    if (opt.lat == NoColumn || opt.lon == NoColumn) return cc;
    if (!opt.lat.empty() || !opt.lon.empty()) {
        if (opt.lat.empty() || opt.lon.empty())
            throw RunError(file + ": name both the latitude and the longitude column, or \"-\" for none");
        cc.lat = FindColumn(header, opt.lat, file, "latitudes");
        cc.lon = FindColumn(header, opt.lon, file, "longitudes");
        return cc;
    }
    static const std::set<std::string> lats = {"lat", "latitude", "y"}, lons = {"lon", "long", "longitude", "x", "lng"};
    for (std::size_t c = 0; c < header.size(); ++c) {
        const std::string k = Lower(Trim(header[c]));
        if (cc.lat < 0 && lats.count(k)) cc.lat = static_cast<int>(c);
        if (cc.lon < 0 && lons.count(k)) cc.lon = static_cast<int>(c);
    }
    if (cc.lat < 0 || cc.lon < 0) cc = {};
    return cc;
}

std::optional<std::string> ThousandsReason(const std::vector<std::string>& header, bool decimals, double largest) {
    for (const auto& h : header)
        if (Lower(h).find("thousand") != std::string::npos) return "the header \"" + Shown(h) + "\" says thousands";
    if (decimals && largest > 0 && largest < 100000) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.10g", largest);
        return std::string("the populations have decimals and the largest is ") + buf;
    }
    return std::nullopt;
}
