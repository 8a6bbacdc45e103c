#include "data/Import.h"

#include <algorithm>
#include <utility>
#include <cmath>
#include <filesystem>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <limits>
#include <map>
#include <set>
#include <unordered_map>

#include "data/CsvReader.h"
#include "data/ImportReading.h"
#include "data/LayoutDetect.h"
#include "data/Loader.h"
#include "data/OgrReader.h"
#include "data/RawTable.h"
#include "data/TableBuild.h"
#include "data/TableCells.h"
#include "draw/RunError.h"

namespace {

void CheckDates(const Reading& rd, std::size_t dates, const std::vector<std::string>& header) {
    if (dates >= 2) return;
    std::string hint = "name the date columns if they were not found";
    std::vector<std::string> empty;
    for (std::size_t c = 0; c < header.size(); ++c)
        if (header[c].empty()) empty.push_back(std::to_string(c + 1));
    if (!empty.empty())
        hint = "the header cell" + std::string(empty.size() > 1 ? "s of columns " : " of column ") + ColumnList(empty) +
               (empty.size() > 1 ? " are" : " is") + " empty (merged cells?): give every column a header in one row";
    throw RunError(rd.file + ": " + std::to_string(dates) + (dates == 1 ? " date" : " dates") +
                   " found; at least 2 dates are needed (" + hint + ")");
}

// Rows shorter than the header read their missing cells as absent, with a warning; a
// number beyond the header's last column would be lost, so it stops the reading.
void CheckRowWidths(Reading& rd, std::size_t width) {
    std::vector<std::size_t> shortRows;
    const auto& rows = rd.raw.rows;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows[r];
        if (row.cells.size() < width) shortRows.push_back(row.line);
        for (std::size_t c = width; c < row.cells.size(); ++c)
            if (!Trim(row.cells[c].text).empty())
                throw RunError(rd.file + ", " + rd.raw.rowWord + " " + std::to_string(row.line) + ", column " +
                               std::to_string(c + 1) + ": \"" + Shown(Trim(row.cells[c].text)) + "\" stands beyond the " +
                               std::to_string(width) + " columns of the header; it would be lost (a delimiter too many " +
                               "in this " + rd.raw.rowWord + ", or a header cell missing?)");
    }
    if (shortRows.empty()) return;
    std::string list;
    for (std::size_t k = 0; k < shortRows.size() && k < LinesNamed; ++k) list += (k ? ", " : "") + std::to_string(shortRows[k]);
    if (shortRows.size() > LinesNamed) list += " and " + Thousands(shortRows.size() - LinesNamed) + " more";
    rd.pv.warnings.push_back(rd.raw.rowWord + (shortRows.size() > 1 ? "s " : " ") + list + ": fewer cells than the " +
                             std::to_string(width) + " of the header; the missing cells are read as absent");
    rd.pv.warnings.back()[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(rd.pv.warnings.back()[0])));
}

// USData.csv's censuses, 1790-2000: the dates a table without a header row is given.
constexpr std::size_t UsCensuses = 22;

Table ReadPlain(Reading& rd) {
    const auto& rows = rd.raw.rows;
    std::size_t fields = 0;
    for (const auto& r : rows) fields += r.cells.size();
    const std::size_t perRecord = rows[0].cells.size();
    if (perRecord < 3)
        throw RunError(rd.file + ", " + rd.raw.rowWord + " 1: a name and at least 2 populations are needed, " +
                       std::to_string(perRecord) + " field" + (perRecord == 1 ? " was" : "s were") + " found");
    CheckDates(rd, perRecord - 1, {});
    const std::size_t records = (fields + perRecord - 1) / perRecord;
    using Count = decltype(DataSet::NumCities);
    if (records > static_cast<std::size_t>(std::numeric_limits<Count>::max()))
        throw RunError(rd.file + ": " + Thousands(records) + " records; a table without a header row can hold at most " +
                       Thousands(static_cast<std::size_t>(std::numeric_limits<Count>::max())) + " (add a header row)");
    // A sheet in this layout is written out as the text file it would be, so both read alike.
    std::string text = rd.raw.text;
    if (text.empty())
        for (const auto& r : rows) {
            for (std::size_t k = 0; k < r.cells.size(); ++k) {
                std::string t(r.cells[k].text);
                if (k == 0) t.erase(std::remove(t.begin(), t.end(), '"'), t.end());
                if (k) text += ',';
                if (k == 0) text.append(1, '"').append(t).append(1, '"');
                else text += t;
            }
            text += '\n';
        }
    auto d = LoadDataText(text, rd.file, static_cast<Count>(records), static_cast<Count>(perRecord - 1));
    Table tab;
    for (int t = 1; t <= d->NumDates; ++t) tab.years.push_back(d->DateYear(t));
    for (int i = 1; i <= d->NumCities; ++i) {
        tab.names.push_back(d->CityName(i));
        tab.groups.emplace_back();
        tab.ids.emplace_back();
        tab.latitude.push_back(std::nan(""));
        tab.longitude.push_back(std::nan(""));
        for (int t = 1; t <= d->NumDates; ++t) {
            const double v = d->Present(i, t) > 0 ? static_cast<double>(d->PopTable(i, t)) : 0.0;
            if (v > 0) rd.largest = std::max(rd.largest, v), rd.decimals = rd.decimals || v != std::floor(v);
            tab.values.push_back(v * rd.opt.unit);
        }
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

Roles FindRoles(const std::vector<std::string>& header, std::vector<char>& taken, Reading& rd) {
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
    if (r.name < 0) r.name = DetectNameColumn(header, rd.raw.rows, taken);
    if (r.name < 0)
        throw RunError(rd.file + ": no column of place names was found (name it; the columns are " + ColumnList(header) +
                       ")");
    taken[static_cast<std::size_t>(r.name)] = 1;
    rd.pv.nameColumn = header[static_cast<std::size_t>(r.name)];
    if (r.group >= 0) rd.pv.groupColumn = header[static_cast<std::size_t>(r.group)];
    if (r.id >= 0) rd.pv.idColumn = header[static_cast<std::size_t>(r.id)];
    return r;
}

std::string NameAt(const Reading& rd, const CsvRow& row, int column, const std::string& header) {
    const std::string n = Trim(CellText(row, column));
    if (n.empty()) throw RunError(rd.At(row, column, header).Text() + ": the place has no name");
    return n;
}

std::vector<std::string> HeaderOf(const RawTable& raw) {
    std::vector<std::string> header;
    for (const auto& c : raw.rows[0].cells) header.push_back(Trim(c.text));
    return header;
}

void WarnIgnored(Reading& rd, const std::vector<std::string>& header, const std::vector<char>& taken) {
    std::vector<std::string> ignored;
    for (std::size_t c = 0; c < header.size(); ++c)
        if (!taken[c] && !header[c].empty()) ignored.push_back(header[c]);
    if (!ignored.empty()) rd.pv.warnings.push_back("Columns ignored: " + ColumnList(ignored));
}

Table ReadWide(Reading& rd) {
    const auto& rows = rd.raw.rows;
    const std::vector<std::string> header = HeaderOf(rd.raw);
    std::vector<char> taken(header.size(), 0);
    std::vector<DateColumn> dates;
    if (!rd.opt.dates.empty()) {
        for (const auto& h : rd.opt.dates) {
            const int c = FindColumn(header, h, rd.file, "dates");
            const auto y = ParseHeaderYear(header[static_cast<std::size_t>(c)]);
            if (!y) throw RunError(rd.file + ": the date column \"" + h + "\" does not name a year");
            dates.push_back({y->year, c});
        }
        std::stable_sort(dates.begin(), dates.end(), [](auto a, auto b) { return a.year < b.year; });
    } else {
        dates = FindDateFamily(header, rows, rd.pv.warnings, taken);
    }
    // Two columns for one date (a revised census beside the first) are refused: either could
    // be the one meant, and each gives other results. --dates chooses.
    std::vector<DateColumn> unique;
    for (const auto& [y, c] : dates) {
        taken[static_cast<std::size_t>(c)] = 1;
        if (!unique.empty() && unique.back().year == y) {
            const int first = unique.back().column;
            throw RunError(rd.file + ": the date " + (y < 0 ? std::to_string(-y) + " BC" : std::to_string(y)) + " is given twice, by column " +
                           std::to_string(first + 1) + " (\"" + Shown(header[static_cast<std::size_t>(first)]) +
                           "\") and column " + std::to_string(c + 1) + " (\"" + Shown(header[static_cast<std::size_t>(c)]) +
                           "\"); keep one of them, or name the date columns to read (--dates)");
        }
        unique.push_back({y, c});
    }
    CheckDates(rd, unique.size(), header);
    CheckRowWidths(rd, header.size());
    const CoordinateColumns cc = Coordinates(rd, header, taken);
    const Roles roles = FindRoles(header, taken, rd);
    WarnIgnored(rd, header, taken);

    Table tab;
    for (const auto& [y, c] : unique) {
        tab.years.push_back(y);
        rd.pv.dateColumns.push_back({header[static_cast<std::size_t>(c)], static_cast<int16_t>(y)});
    }
    tab.values.reserve((rows.size() - 1) * unique.size());
    const std::string& nameHeader = header[static_cast<std::size_t>(roles.name)];
    const bool positioned = Positioned(rd, cc);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows[r];
        tab.names.push_back(NameAt(rd, row, roles.name, nameHeader));
        tab.groups.push_back(Trim(CellText(row, roles.group)));
        tab.ids.push_back(Trim(CellText(row, roles.id)));
        double lat = std::nan(""), lon = std::nan("");
        if (positioned) Position(rd, r, cc, lat, lon);
        tab.latitude.push_back(lat);
        tab.longitude.push_back(lon);
        for (const auto& [y, c] : unique) tab.values.push_back(rd.Value(row, c, header[static_cast<std::size_t>(c)]));
    }
    return tab;
}

Table ReadLong(Reading& rd) {
    const auto& rows = rd.raw.rows;
    const std::vector<std::string> header = HeaderOf(rd.raw);
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
    CheckRowWidths(rd, header.size());
    const CoordinateColumns cc = Coordinates(rd, header, taken);
    const Roles roles = FindRoles(header, taken, rd);
    WarnIgnored(rd, header, taken);

    struct Entry {
        std::size_t place, row;
        int year;
        double value;
    };
    std::vector<Entry> entries;
    Table tab;
    std::unordered_map<std::string, std::size_t> places;
    std::set<int> years;
    const std::string& nameHeader = header[static_cast<std::size_t>(roles.name)];
    const bool positioned = Positioned(rd, cc);
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const CsvRow& row = rows[r];
        const std::string name = NameAt(rd, row, roles.name, nameHeader);
        const std::string group = Trim(CellText(row, roles.group)), id = Trim(CellText(row, roles.id));
        const std::string key = name + '\x1F' + group + '\x1F' + id;
        auto [it, added] = places.try_emplace(key, tab.Places());
        if (added) {
            tab.names.push_back(name);
            tab.groups.push_back(group);
            tab.ids.push_back(id);
            tab.latitude.push_back(std::nan(""));
            tab.longitude.push_back(std::nan(""));
        }
        if (positioned && std::isnan(tab.latitude[it->second]))  // a place's first known position
            Position(rd, r, cc, tab.latitude[it->second], tab.longitude[it->second]);
        const auto y = CellYear(CellText(row, year));
        if (!y)
            throw RunError(rd.At(row, year, header[static_cast<std::size_t>(year)]).Text() + ": \"" +
                           Shown(Trim(CellText(row, year))) + "\" is not a year");
        entries.push_back({it->second, r, *y, rd.Value(row, pop, header[static_cast<std::size_t>(pop)])});
        years.insert(*y);
    }
    CheckDates(rd, years.size(), header);
    tab.years.assign(years.begin(), years.end());
    for (int y : tab.years) rd.pv.dateColumns.push_back({std::to_string(y), static_cast<int16_t>(y)});
    std::map<int, std::size_t> dateOf;
    for (std::size_t t = 0; t < tab.years.size(); ++t) dateOf[tab.years[t]] = t;
    tab.values.assign(tab.Places() * tab.Dates(), 0.0);
    std::vector<std::size_t> rowOf(tab.values.size(), 0);
    for (const auto& e : entries) {
        const std::size_t cell = e.place * tab.Dates() + dateOf[e.year];
        if (rowOf[cell] != 0) {
            std::string place = tab.names[e.place];
            if (!tab.groups[e.place].empty()) place += " (" + tab.groups[e.place] + ")";
            throw RunError(rd.file + ", " + rd.raw.rowWord + "s " + std::to_string(rows[rowOf[cell]].line) + " and " +
                           std::to_string(rows[e.row].line) + ", column " + std::to_string(year + 1) + " (" +
                           header[static_cast<std::size_t>(year)] + "): " + place + " in " + std::to_string(e.year) +
                           " is given twice");
        }
        rowOf[cell] = e.row;
        tab.values[cell] = e.value;
    }
    return tab;
}

void ProposeUnit(Reading& rd) {
    if (rd.opt.unit != 1) return;
    const auto reason = ThousandsReason(rd.pv.columns, rd.decimals, rd.largest);
    if (!reason) return;
    rd.pv.proposedUnit = 1000;
    rd.pv.unitReason = *reason;
    rd.pv.warnings.push_back("The populations look like thousands: " + *reason +
                             "; if they are, load with unit 1000 (--unit 1000)");
}

ImportResult Import(RawTable&& raw, const ImportOptions& opt) {
    if (!(opt.unit > 0) || !std::isfinite(opt.unit)) throw RunError("The unit must be a positive number");
    if (opt.top < 0) throw RunError("The number of places to keep must be positive");
    ImportResult res;
    ImportPreview& pv = res.preview;
    pv.unit = opt.unit;
    pv.encoding = raw.encoding;
    pv.source = raw.source;
    pv.parts = raw.parts;
    pv.part = raw.part;
    const std::string& file = raw.source;
    const auto& rows = raw.rows;
    if (rows.empty()) throw RunError(file + ": the file holds no table");
    TableLayout layout = opt.layout;
    if (raw.headerKnown && layout == TableLayout::Plain)
        throw RunError(file + ": a layer has named fields; it cannot be read in the layout without a header");
    const bool header = raw.headerKnown || (layout == TableLayout::Auto ? LooksLikeHeader(rows) : layout != TableLayout::Plain);
    if (layout == TableLayout::Auto) layout = DetectLayout(raw, header);
    pv.layout = layout;
    // Only the header-less layout reads the text again; a large table's copy goes now.
    if (layout != TableLayout::Plain) std::string().swap(raw.text);
    if (header)
        for (const auto& c : rows[0].cells) pv.columns.emplace_back(c.text);
    for (std::size_t r = header ? 1 : 0; r < rows.size() && pv.firstRows.size() < PreviewRows; ++r) {
        pv.firstRows.emplace_back();
        for (const auto& c : rows[r].cells) pv.firstRows.back().emplace_back(c.text);
    }
    if (header && rows.size() < 2) throw RunError(file + ": the file has a header row but no data");

    pv.warnings = raw.notes;
    Reading rd{raw, file, opt, pv, {}, false, 0, {}};
    Table tab = layout == TableLayout::Plain ? ReadPlain(rd) : layout == TableLayout::Wide ? ReadWide(rd) : ReadLong(rd);
    if (layout == TableLayout::Plain) {
        for (const int y : tab.years) pv.dateColumns.push_back({std::to_string(y), static_cast<int16_t>(y)});
        // Without a header the dates are USData.csv's censuses; a table of another width is
        // told which dates it was given.
        if (tab.years.size() != UsCensuses)
            pv.warnings.push_back("No header row: the " + std::to_string(tab.years.size()) + " dates are taken to be " +
                                  std::to_string(tab.years[0]) + ", " + std::to_string(tab.years[1]) +
                                  (tab.years.size() > 2 ? ", \xE2\x80\xA6, " + std::to_string(tab.years.back()) : "") +
                                  " (every ten years from 1790, as in USData.csv); if they are not, add a header row "
                                  "of years");
    }
    // The cells are in the table now: a large file's split text goes before the data set is made.
    std::vector<CsvRow>().swap(raw.rows);
#ifdef __GLIBC__
    // They were millions of small blocks: their pages go back now, or the data set and the
    // rank tables made next come on top of them.
    malloc_trim(0);
#endif
    for (const auto& a : rd.absence) pv.absence += (pv.absence.empty() ? "" : ", ") + a;
    pv.places = static_cast<int>(tab.Places());
    for (std::size_t t = 1; t < tab.Dates(); ++t)
        if (tab.years[t - 1] >= tab.years[t]) throw RunError(file + ": the years must increase");
    if (tab.years.front() < std::numeric_limits<int16_t>::min() || tab.years.back() > std::numeric_limits<int16_t>::max())
        throw RunError(file + ": the years must lie between -32768 and 32767");
    if (std::none_of(tab.values.begin(), tab.values.end(), [](double v) { return v > 0; }))
        throw RunError(file + ": no place has a population at any date (every population cell is empty, 0 or a mark "
                              "of absence): there is nothing to load");
    ProposeUnit(rd);
    ChoosePlaces(tab, opt.top, pv);
    MakeNamesUnique(tab, pv);
    ReportPositions(rd, tab);
    pv.kept = static_cast<int>(tab.Places());
    // The classic header-less table keeps its single-precision results; every other is exact.
    res.data = ToDataSet(std::move(tab), layout != TableLayout::Plain);
    return res;
}

}  // namespace

ImportPreview PreviewTable(std::string_view bytes, const std::string& name, const ImportOptions& options) {
    return Import(ReadCsvTable(bytes, name), options).preview;
}

ImportResult ImportTable(std::string_view bytes, const std::string& name, const ImportOptions& options) {
    return Import(ReadCsvTable(bytes, name), options);
}

ImportResult ImportRawTable(const RawTable& raw, const ImportOptions& options) { return Import(RawTable(raw), options); }

ImportResult ImportFile(const std::string& path, const ImportOptions& options) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > MaxFileBytes)
        throw RunError(path + ": " + Thousands(static_cast<std::size_t>(size >> 20)) +
                       " MB; files over 2 GB are not read (keep the places or dates you need in a smaller file)");
    ImportResult result = IsOgrFile(path) && !std::filesystem::is_directory(path, ec)
                              ? Import(ReadOgrTable(path, options.part), options)
                              : Import(ReadCsvTable(ReadDataBytes(path), path), options);
#ifdef __GLIBC__
    // The table as read is gone: its pages go back before the rank tables are made.
    malloc_trim(0);
#endif
    return result;
}
