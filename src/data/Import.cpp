#include "data/Import.h"

#include <algorithm>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>
#include <unordered_map>

#include "data/CsvCells.h"
#include "data/Loader.h"
#include "data/TextDecode.h"
#include "draw/RunError.h"

namespace {

constexpr std::size_t PreviewRows = 10;

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// A header reduced to lower-case letters and digits, so "Country or area" matches "countryorarea".
std::string Key(const std::string& header) {
    std::string k;
    for (char c : Lower(header))
        if (std::isalnum(static_cast<unsigned char>(c))) k += c;
    return k;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::string Trim(const std::string& s) {
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
    return s.substr(b, e - b);
}


// The year a header names: one run of 1 to 4 digits, bare or with a prefix or suffix
// without digits ("1790", "Pop1840", "y1950", "2010_pop"); -1 if none.
int HeaderYear(const std::string& header) {
    const std::string h = Trim(header);
    std::size_t first = h.find_first_of("0123456789");
    if (first == std::string::npos) return -1;
    std::size_t end = first;
    while (end < h.size() && IsDigit(h[end])) ++end;
    if (end - first > 4 || h.find_first_of("0123456789", end) != std::string::npos) return -1;
    return std::atoi(h.substr(first, end - first).c_str());
}

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

struct Where {
    const std::string& file;
    std::size_t line;
    std::size_t column;  // from 1
    const std::string& header;
    std::string Text() const {
        return file + ", line " + std::to_string(line) + ", column " + std::to_string(column) +
               (header.empty() ? std::string() : " (" + Shown(header) + ")");
    }
};

// A population cell: a number (absent when not above 0) or one of the ways of writing absence.
// `seen` collects how absence was written, for the preview.
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
    bool plain = true;
    for (char c : n)
        if (!(IsDigit(c) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) plain = false;
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

// The same test as CellValue without its message (no exception per text cell: name
// detection asks it of every row).
bool LooksNumeric(const CsvCell& cell) {
    const std::string t = Trim(cell.text);
    if (double v = 0; PlainDigits(t, v)) return true;
    if (t.empty() || IsAbsenceWord(t)) return true;
    const std::string n = WithoutSeparators(t, cell.quoted);
    for (char c : n)
        if (!(IsDigit(c) || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return false;
    char* end = nullptr;
    const double v = std::strtod(n.c_str(), &end);
    return end != n.c_str() && *end == '\0' && !std::isnan(v);
}

// The header-less layout has a data row first: a name, then numbers; a header has text
// after its first cell, or years in increasing order.
bool LooksLikeHeader(const CsvRow& row) {
    if (row.cells.size() < 2) return true;
    // USData.csv quotes its names and not its numbers; a header quotes all or nothing.
    const bool quotedNameOnly = row.cells[0].quoted && std::none_of(row.cells.begin() + 1, row.cells.end(),
                                                                    [](const CsvCell& c) { return c.quoted; });
    if (quotedNameOnly) return false;
    int years = 0, prev = -1;
    bool increasing = true;
    for (std::size_t k = 1; k < row.cells.size(); ++k) {
        const CsvCell& c = row.cells[k];
        const std::string t = Trim(c.text);
        if (t.empty()) continue;
        if (!LooksNumeric(c)) return true;
        if (t.size() <= 4 && std::all_of(t.begin(), t.end(), IsDigit)) {
            const int y = std::atoi(t.c_str());
            if (y <= prev) increasing = false;
            prev = y;
            ++years;
        } else {
            return false;
        }
    }
    return years >= 1 && increasing;
}

// The table as read, before the choice of places: values are 0 where absent.
struct Table {
    std::vector<std::string> names, groups, ids;
    std::vector<int> years;
    std::vector<float> values;  // place p, date t at p * years.size() + t
    std::size_t Dates() const { return years.size(); }
    std::size_t Places() const { return names.size(); }
    float& At(std::size_t p, std::size_t t) { return values[p * Dates() + t]; }
    float At(std::size_t p, std::size_t t) const { return values[p * Dates() + t]; }
};

std::string Thousands(std::size_t n) {
    const std::string digits = std::to_string(n);
    std::string s;
    for (std::size_t k = 0; k < digits.size(); ++k) {
        if (k > 0 && (digits.size() - k) % 3 == 0) s += ',';
        s += digits[k];
    }
    return s;
}

// Places among the `top` largest at date t (ties with the last one included).
std::vector<char> TopAt(const Table& tab, std::size_t t, int top) {
    std::vector<char> in(tab.Places(), 0);
    std::vector<float> v;
    for (std::size_t p = 0; p < tab.Places(); ++p)
        if (tab.At(p, t) > 0) v.push_back(tab.At(p, t));
    float threshold = 0;
    if (v.size() > static_cast<std::size_t>(top)) {
        std::nth_element(v.begin(), v.begin() + (top - 1), v.end(), std::greater<float>());
        threshold = v[static_cast<std::size_t>(top - 1)];
    }
    for (std::size_t p = 0; p < tab.Places(); ++p) in[p] = tab.At(p, t) > 0 && tab.At(p, t) >= threshold;
    return in;
}

// Keeps the places among the `top` largest at one or more dates; a kept place is absent at
// the dates where it is not among them (the rule USData.csv was built with).
std::vector<char> SelectTop(Table& tab, int top, bool apply) {
    std::vector<char> keep(tab.Places(), 0);
    std::vector<std::vector<char>> in;
    for (std::size_t t = 0; t < tab.Dates(); ++t) {
        in.push_back(TopAt(tab, t, top));
        for (std::size_t p = 0; p < tab.Places(); ++p) keep[p] |= in.back()[p];
    }
    if (apply)
        for (std::size_t t = 0; t < tab.Dates(); ++t)
            for (std::size_t p = 0; p < tab.Places(); ++p)
                if (!in[t][p]) tab.At(p, t) = 0;
    return keep;
}

void KeepPlaces(Table& tab, const std::vector<char>& keep) {
    Table out;
    out.years = tab.years;
    for (std::size_t p = 0; p < tab.Places(); ++p) {
        if (!keep[p]) continue;
        out.names.push_back(tab.names[p]);
        out.groups.push_back(tab.groups[p]);
        out.ids.push_back(tab.ids[p]);
        for (std::size_t t = 0; t < tab.Dates(); ++t) out.values.push_back(tab.At(p, t));
    }
    tab = std::move(out);
}

void ChoosePlaces(Table& tab, int top, ImportPreview& pv) {
    const std::size_t all = tab.Places();
    if (top <= 0 && all <= MaxCities) return;
    int n = top;
    if (n <= 0) {  // too many places: the largest number of ranks whose places fit
        int lo = 1, hi = static_cast<int>(MaxCities);
        while (lo < hi) {
            const int mid = (lo + hi + 1) / 2;
            auto k = SelectTop(tab, mid, false);
            if (static_cast<std::size_t>(std::count(k.begin(), k.end(), 1)) <= MaxCities) lo = mid;
            else hi = mid - 1;
        }
        n = lo;
    }
    const auto keep = SelectTop(tab, n, true);
    KeepPlaces(tab, keep);
    if (tab.Places() > MaxCities)
        throw RunError(std::to_string(tab.Places()) + " places rank among the " + std::to_string(n) +
                       " largest at one or more dates; at most " + std::to_string(MaxCities) +
                       " can be loaded: choose a smaller number of places to keep");
    pv.warnings.push_back("Kept " + Thousands(tab.Places()) + " of " + Thousands(all) + " places: those among the " +
                          std::to_string(n) + " largest at one or more dates (absent at the other dates)" +
                          (top <= 0 ? "; more places than the " + Thousands(MaxCities) + " that can be loaded" : ""));
}

// Places with the same name are told apart by their group ("Springfield, MA"), else their ID.
void MakeNamesUnique(Table& tab, ImportPreview& pv) {
    auto counts = [&]() {
        std::unordered_map<std::string, int> c;
        for (const auto& n : tab.names) ++c[n];
        return c;
    };
    auto c = counts();
    std::vector<char> renamed(tab.Places(), 0);
    for (std::size_t p = 0; p < tab.Places(); ++p) {
        const std::string& g = tab.groups[p];
        if (c[tab.names[p]] > 1 && !g.empty() && tab.names[p].find(g) == std::string::npos) {
            tab.names[p] += ", " + g;
            renamed[p] = 1;
        }
    }
    c = counts();
    std::unordered_map<std::string, int> seen;
    for (std::size_t p = 0; p < tab.Places(); ++p) {
        if (c[tab.names[p]] < 2) continue;
        const std::string base = tab.names[p];
        const int k = ++seen[base];
        tab.names[p] = base + " (" + (tab.ids[p].empty() ? std::string("#").append(std::to_string(k)) : tab.ids[p]) + ")";
        renamed[p] = 1;
    }
    // Only the names as loaded, each once (two places may still share one when their IDs repeat).
    std::vector<std::string> changed;
    std::set<std::string> listed;
    for (std::size_t p = 0; p < tab.Places(); ++p)
        if (renamed[p] && listed.insert(tab.names[p]).second) changed.push_back(tab.names[p]);
    if (changed.empty()) return;
    std::string list;
    for (std::size_t k = 0; k < changed.size() && k < 12; ++k) list += (k ? "; " : "") + changed[k];
    if (changed.size() > 12) list += "; ...";
    pv.warnings.push_back(std::to_string(changed.size()) + " names made unique: " + list);
}

std::unique_ptr<DataSet> ToDataSet(const Table& tab) {
    auto d = std::make_unique<DataSet>();
    d->Resize(static_cast<int>(tab.Places()), static_cast<int>(tab.Dates()));
    d->NumCities = static_cast<int16_t>(tab.Places());
    d->NumDates = static_cast<int16_t>(tab.Dates());
    d->DataReady = 0;
    d->FirstYear = static_cast<int16_t>(tab.years.front());
    for (std::size_t t = 0; t < tab.Dates(); ++t) d->DateYear(t + 1) = static_cast<int16_t>(tab.years[t]);
    d->Exact = true;
    d->CityGroup = tab.groups;
    d->CityID = tab.ids;
    d->Latitude.assign(tab.Places(), std::nan(""));
    d->Longitude.assign(tab.Places(), std::nan(""));
    d->Population.reserve(tab.values.size());
    for (std::size_t p = 0; p < tab.Places(); ++p) {
        d->CityName(p + 1) = tab.names[p];
        for (std::size_t t = 0; t < tab.Dates(); ++t) {
            d->PopTable(p + 1, t + 1) = tab.At(p, t);
            d->Population.push_back(tab.At(p, t) > 0 ? static_cast<double>(tab.At(p, t)) : 0.0);
        }
    }
    DeriveTimeMeasures(*d);
    MarkPresence(*d);
    return d;
}

std::string ColumnList(const std::vector<std::string>& header) {
    std::string s;
    for (std::size_t k = 0; k < header.size(); ++k) s += (k ? ", " : "") + Shown(header[k]);
    return s;
}

// The column an option names (its header, ignoring case), or -1 for none.
int FindColumn(const std::vector<std::string>& header, const std::string& wanted, const std::string& file,
               const char* what) {
    if (wanted.empty()) return -1;
    for (std::size_t k = 0; k < header.size(); ++k)
        if (Lower(Trim(header[k])) == Lower(Trim(wanted))) return static_cast<int>(k);
    throw RunError(file + ": there is no column \"" + wanted + "\" for the " + what + " (the columns are " +
                   ColumnList(header) + ")");
}

// The first header whose key is in `keys`, by the order of `keys`.
int DetectColumn(const std::vector<std::string>& header, std::initializer_list<const char*> keys,
                 const std::vector<char>& taken) {
    for (const char* k : keys)
        for (std::size_t c = 0; c < header.size(); ++c)
            if (!taken[c] && Key(header[c]) == k) return static_cast<int>(c);
    return -1;
}

// The name column: of the headers that speak of names or places, the one whose text
// tells the most rows apart ("City, ST" rather than "City").
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
                distinct.insert(rows[r].cells[c].text);
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

const std::string& CellText(const CsvRow& row, int column) {
    static const std::string none;
    return column >= 0 && static_cast<std::size_t>(column) < row.cells.size() ? row.cells[static_cast<std::size_t>(column)].text
                                                                              : none;
}

struct Reading {
    const std::string& file;
    const ImportOptions& opt;
    ImportPreview& pv;
    std::set<std::string> absence;
};

void CheckDates(const std::string& file, std::size_t dates) {
    if (dates < 2)
        throw RunError(file + ": " + std::to_string(dates) +
                       " date found; at least 2 dates are needed (name the date columns if they were not found)");
    if (dates > MaxDates)
        throw RunError(file + ": " + std::to_string(dates) + " dates; at most " + std::to_string(MaxDates) +
                       " can be loaded (name the date columns to read)");
}

Table ReadPlain(const std::string& text, const std::vector<CsvRow>& rows, Reading& rd) {
    std::size_t fields = 0;
    for (const auto& r : rows) fields += r.cells.size();
    const std::size_t perRecord = rows.empty() ? 0 : rows[0].cells.size();
    if (perRecord < 3)
        throw RunError(rd.file + ", line 1: a name and at least 2 populations are needed, " +
                       std::to_string(perRecord) + " field" + (perRecord == 1 ? " was" : "s were") + " found");
    CheckDates(rd.file, perRecord - 1);
    const std::size_t records = (fields + perRecord - 1) / perRecord;
    if (records > MaxCities)
        throw RunError(rd.file + ": " + Thousands(records) + " records; a table without a header row can hold at most " +
                       Thousands(MaxCities) + " (add a header row to choose the largest places)");
    auto d = LoadDataText(text, rd.file, static_cast<int16_t>(records), static_cast<int16_t>(perRecord - 1));
    Table tab;
    for (int t = 1; t <= d->NumDates; ++t) tab.years.push_back(d->DateYear(t));
    for (int i = 1; i <= d->NumCities; ++i) {
        tab.names.push_back(d->CityName(i));
        tab.groups.emplace_back();
        tab.ids.emplace_back();
        for (int t = 1; t <= d->NumDates; ++t)
            tab.values.push_back(d->Present(i, t) > 0 ? static_cast<float>(d->PopTable(i, t) * rd.opt.unit) : 0.0f);
    }
    for (const auto& r : rows)
        for (std::size_t k = 1; k < r.cells.size(); ++k) {
            const std::string t = Trim(r.cells[k].text);
            if (t.empty()) rd.absence.insert("empty");
            else if (t == "0") rd.absence.insert("0");
            else if (t[0] == '-') rd.absence.insert("negative");
        }
    return tab;
}

struct Roles {
    int name = -1, group = -1, id = -1;
};

Roles FindRoles(const std::vector<std::string>& header, const std::vector<CsvRow>& rows, std::vector<char>& taken,
                Reading& rd) {
    Roles r;
    r.name = FindColumn(header, rd.opt.name, rd.file, "names");
    if (rd.opt.group != NoColumn) r.group = FindColumn(header, rd.opt.group, rd.file, "groups");
    if (rd.opt.id != NoColumn) r.id = FindColumn(header, rd.opt.id, rd.file, "IDs");
    for (int c : {r.name, r.group, r.id})
        if (c >= 0) taken[static_cast<std::size_t>(c)] = 1;
    if (r.id < 0 && rd.opt.id.empty())
        r.id = DetectColumn(header, {"id", "citycode", "placeid", "geoid", "code", "index"}, taken);
    if (r.id >= 0) taken[static_cast<std::size_t>(r.id)] = 1;
    if (r.group < 0 && rd.opt.group.empty())
        r.group = DetectColumn(header, {"st", "state", "country", "countryorarea", "countryname", "region", "province"}, taken);
    if (r.group >= 0) taken[static_cast<std::size_t>(r.group)] = 1;
    if (r.name < 0) r.name = DetectNameColumn(header, rows, taken);
    if (r.name < 0)
        throw RunError(rd.file + ": no column of place names was found (name it; the columns are " + ColumnList(header) +
                       ")");
    taken[static_cast<std::size_t>(r.name)] = 1;
    rd.pv.nameColumn = header[static_cast<std::size_t>(r.name)];
    if (r.group >= 0) rd.pv.groupColumn = header[static_cast<std::size_t>(r.group)];
    if (r.id >= 0) rd.pv.idColumn = header[static_cast<std::size_t>(r.id)];
    return r;
}

std::string NameAt(const CsvRow& row, int column, const std::string& header, const std::string& file) {
    const std::string n = Trim(CellText(row, column));
    if (n.empty())
        throw RunError(Where{file, row.line, static_cast<std::size_t>(column) + 1, header}.Text() +
                       ": the place has no name");
    return n;
}

Table ReadWide(const std::vector<CsvRow>& rows, Reading& rd) {
    std::vector<std::string> header;
    for (const auto& c : rows[0].cells) header.push_back(Trim(c.text));
    std::vector<char> taken(header.size(), 0);
    // Date columns: named ones, else every header that is a year (a prefixed one only when
    // its first value is a number, so "Name_2010" stays text).
    std::vector<std::pair<int, int>> dates;  // year, column
    if (!rd.opt.dates.empty()) {
        for (const auto& h : rd.opt.dates) {
            const int c = FindColumn(header, h, rd.file, "dates");
            const int y = HeaderYear(header[static_cast<std::size_t>(c)]);
            if (y < 0) throw RunError(rd.file + ": the date column \"" + h + "\" does not name a year");
            dates.push_back({y, c});
        }
    } else {
        for (std::size_t c = 0; c < header.size(); ++c) {
            const int y = HeaderYear(header[c]);
            if (y < 0) continue;
            const bool bare = std::all_of(header[c].begin(), header[c].end(), IsDigit);
            if (!bare && rows.size() > 1 && c < rows[1].cells.size() && !LooksNumeric(rows[1].cells[c])) continue;
            dates.push_back({y, static_cast<int>(c)});
        }
    }
    std::stable_sort(dates.begin(), dates.end(), [](auto a, auto b) { return a.first < b.first; });
    std::vector<std::pair<int, int>> unique;
    for (const auto& [y, c] : dates) {
        taken[static_cast<std::size_t>(c)] = 1;
        if (!unique.empty() && unique.back().first == y) {
            rd.pv.warnings.push_back("Column \"" + header[static_cast<std::size_t>(c)] + "\" ignored: a second column for " +
                                     std::to_string(y) + " (\"" + header[static_cast<std::size_t>(unique.back().second)] +
                                     "\" is read)");
            continue;
        }
        unique.push_back({y, c});
    }
    CheckDates(rd.file, unique.size());
    const Roles roles = FindRoles(header, rows, taken, rd);
    std::vector<std::string> ignored;
    for (std::size_t c = 0; c < header.size(); ++c)
        if (!taken[c]) ignored.push_back(header[c]);
    if (!ignored.empty()) rd.pv.warnings.push_back("Columns ignored: " + ColumnList(ignored));

    Table tab;
    for (const auto& [y, c] : unique) {
        tab.years.push_back(y);
        rd.pv.dateColumns.push_back({header[static_cast<std::size_t>(c)], static_cast<int16_t>(y)});
    }
    tab.values.reserve((rows.size() - 1) * unique.size());
    const std::string& nameHeader = header[static_cast<std::size_t>(roles.name)];
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows[r];
        tab.names.push_back(NameAt(row, roles.name, nameHeader, rd.file));
        tab.groups.push_back(Trim(CellText(row, roles.group)));
        tab.ids.push_back(Trim(CellText(row, roles.id)));
        for (const auto& [y, c] : unique) {
            static const CsvCell empty;
            const CsvCell& cell = static_cast<std::size_t>(c) < row.cells.size() ? row.cells[static_cast<std::size_t>(c)] : empty;
            const double v = CellValue(cell, Where{rd.file, row.line, static_cast<std::size_t>(c) + 1,
                                                   header[static_cast<std::size_t>(c)]}, rd.absence);
            tab.values.push_back(v > 0 ? static_cast<float>(v * rd.opt.unit) : 0.0f);
        }
    }
    return tab;
}

Table ReadLong(const std::vector<CsvRow>& rows, Reading& rd) {
    std::vector<std::string> header;
    for (const auto& c : rows[0].cells) header.push_back(Trim(c.text));
    std::vector<char> taken(header.size(), 0);
    int year = FindColumn(header, rd.opt.year, rd.file, "years");
    int pop = FindColumn(header, rd.opt.population, rd.file, "populations");
    if (year < 0) year = DetectColumn(header, {"year", "date", "census", "yr"}, taken);
    if (year < 0) throw RunError(rd.file + ": no column of years was found (the columns are " + ColumnList(header) + ")");
    taken[static_cast<std::size_t>(year)] = 1;
    if (pop < 0) {
        for (std::size_t c = 0; c < header.size() && pop < 0; ++c)
            if (!taken[c] && (Key(header[c]).rfind("pop", 0) == 0 || Key(header[c]) == "value" ||
                              Key(header[c]) == "inhabitants" || Key(header[c]) == "size"))
                pop = static_cast<int>(c);
    }
    if (pop < 0)
        throw RunError(rd.file + ": no column of populations was found (the columns are " + ColumnList(header) + ")");
    taken[static_cast<std::size_t>(pop)] = 1;
    rd.pv.yearColumn = header[static_cast<std::size_t>(year)];
    rd.pv.populationColumn = header[static_cast<std::size_t>(pop)];
    const Roles roles = FindRoles(header, rows, taken, rd);

    struct Entry {
        std::size_t place, row;
        int year;
        float value;
    };
    std::vector<Entry> entries;
    Table tab;
    std::unordered_map<std::string, std::size_t> places;
    std::set<int> years;
    const std::string& nameHeader = header[static_cast<std::size_t>(roles.name)];
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows[r];
        const std::string name = NameAt(row, roles.name, nameHeader, rd.file);
        const std::string group = Trim(CellText(row, roles.group)), id = Trim(CellText(row, roles.id));
        const std::string key = name + '\x1F' + group + '\x1F' + id;
        auto [it, added] = places.try_emplace(key, tab.Places());
        if (added) {
            tab.names.push_back(name);
            tab.groups.push_back(group);
            tab.ids.push_back(id);
        }
        const std::string y = Trim(CellText(row, year));
        const Where yw{rd.file, row.line, static_cast<std::size_t>(year) + 1, header[static_cast<std::size_t>(year)]};
        if (y.empty() || y.size() > 4 || !std::all_of(y.begin(), y.end(), IsDigit))
            throw RunError(yw.Text() + ": \"" + Shown(y) + "\" is not a year");
        static const CsvCell empty;
        const CsvCell& pc = static_cast<std::size_t>(pop) < row.cells.size() ? row.cells[static_cast<std::size_t>(pop)] : empty;
        const double v = CellValue(pc, Where{rd.file, row.line, static_cast<std::size_t>(pop) + 1,
                                             header[static_cast<std::size_t>(pop)]}, rd.absence);
        entries.push_back({it->second, r, std::atoi(y.c_str()), v > 0 ? static_cast<float>(v * rd.opt.unit) : 0.0f});
        years.insert(entries.back().year);
    }
    CheckDates(rd.file, years.size());
    tab.years.assign(years.begin(), years.end());
    for (int y : tab.years) rd.pv.dateColumns.push_back({std::to_string(y), static_cast<int16_t>(y)});
    std::map<int, std::size_t> dateOf;
    for (std::size_t t = 0; t < tab.years.size(); ++t) dateOf[tab.years[t]] = t;
    tab.values.assign(tab.Places() * tab.Dates(), 0.0f);
    std::vector<std::size_t> rowOf(tab.values.size(), 0);
    for (const auto& e : entries) {
        const std::size_t cell = e.place * tab.Dates() + dateOf[e.year];
        if (rowOf[cell] != 0) {
            std::string place = tab.names[e.place];
            if (!tab.groups[e.place].empty()) place += " (" + tab.groups[e.place] + ")";
            throw RunError(rd.file + ", lines " + std::to_string(rows[rowOf[cell]].line) + " and " +
                           std::to_string(rows[e.row].line) + ", column " + std::to_string(year + 1) + " (" +
                           header[static_cast<std::size_t>(year)] + "): " + place + " in " + std::to_string(e.year) +
                           " is given twice");
        }
        rowOf[cell] = e.row;
        tab.values[cell] = e.value;
    }
    return tab;
}

ImportResult Import(std::string_view bytes, const std::string& file, const ImportOptions& opt) {
    if (!(opt.unit > 0) || !std::isfinite(opt.unit)) throw RunError("The unit must be a positive number");
    if (opt.top < 0) throw RunError("The number of places to keep must be positive");
    ImportResult res;
    ImportPreview& pv = res.preview;
    pv.unit = opt.unit;
    const DecodedText dec = DecodeText(bytes);
    pv.encoding = dec.encoding;
    const std::vector<CsvRow> rows = SplitCells(dec.text, GuessDelimiter(dec.text), file);
    if (rows.empty()) throw RunError(file + ": the file holds no table");
    TableLayout layout = opt.layout;
    const bool header = layout == TableLayout::Auto ? LooksLikeHeader(rows[0]) : layout != TableLayout::Plain;
    if (layout == TableLayout::Auto) {
        layout = TableLayout::Plain;
        if (header) {
            std::vector<std::string> h;
            for (const auto& c : rows[0].cells) h.push_back(c.text);
            std::vector<char> none(h.size(), 0);
            int dateHeaders = 0;
            for (const auto& x : h) dateHeaders += HeaderYear(x) >= 0 && std::all_of(x.begin(), x.end(), IsDigit);
            const bool yearColumn = DetectColumn(h, {"year", "date", "census", "yr"}, none) >= 0;
            layout = yearColumn && dateHeaders < 2 ? TableLayout::Long : TableLayout::Wide;
        }
    }
    pv.layout = layout;
    if (header)
        for (const auto& c : rows[0].cells) pv.columns.push_back(c.text);
    for (std::size_t r = header ? 1 : 0; r < rows.size() && pv.firstRows.size() < PreviewRows; ++r) {
        pv.firstRows.emplace_back();
        for (const auto& c : rows[r].cells) pv.firstRows.back().push_back(c.text);
    }
    if (header && rows.size() < 2) throw RunError(file + ": the file has a header row but no data");

    Reading rd{file, opt, pv, {}};
    Table tab = layout == TableLayout::Plain ? ReadPlain(dec.text, rows, rd)
                : layout == TableLayout::Wide ? ReadWide(rows, rd)
                                              : ReadLong(rows, rd);
    if (layout == TableLayout::Plain)
        for (const int y : tab.years) pv.dateColumns.push_back({std::to_string(y), static_cast<int16_t>(y)});
    for (const auto& a : rd.absence) pv.absence += (pv.absence.empty() ? "" : ", ") + a;
    pv.places = static_cast<int>(tab.Places());
    for (std::size_t t = 1; t < tab.Dates(); ++t)
        if (tab.years[t] > 32767 || tab.years[t - 1] >= tab.years[t]) throw RunError(file + ": the years must increase");
    ChoosePlaces(tab, opt.top, pv);
    MakeNamesUnique(tab, pv);
    pv.kept = static_cast<int>(tab.Places());
    res.data = ToDataSet(tab);
    return res;
}

}  // namespace

ImportPreview PreviewTable(std::string_view bytes, const std::string& name, const ImportOptions& options) {
    return Import(bytes, name, options).preview;
}

ImportResult ImportTable(std::string_view bytes, const std::string& name, const ImportOptions& options) {
    return Import(bytes, name, options);
}

ImportResult ImportFile(const std::string& path, const ImportOptions& options) {
    return Import(ReadDataBytes(path), path, options);
}
