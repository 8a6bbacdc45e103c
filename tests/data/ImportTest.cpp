// City tables in their published layouts: excerpts of the real tables and hand-made bytes, each
// with what must load (and what the preview says) or the exact message; the full tables against an
// independent count; a table converted by GDAL's own tools to each format reads back as its CSV.
// (Delimiters and line ends: DelimiterTest.)
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "data/Import.h"
#include "TestForm.h"
#include "ranksize/RankShift.h"

// Each case names the one option it sets; g++ 12 would also want every option it leaves alone.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

const std::string Dir = std::string(CITYSIZE_TEST_DATA) + "/import/";
std::string Excerpt(const std::string& name) { return FileBytes(Dir + name); }

// A table's text in UTF-16, in either byte order, with or without a byte order mark.
std::string Utf16(const std::u16string& text, bool little, bool bom) {
    std::string out = !bom ? "" : little ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t u : text) {
        const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        out += little ? std::string{lo, hi} : std::string{hi, lo};
    }
    return out;
}

bool HasWarning(const ImportPreview& pv, const std::string& w) {
    const auto& have = pv.warnings;
    return std::any_of(have.begin(), have.end(), [&](const std::string& h) { return h.find(w) != std::string::npos; });
}

// The message for a date given by two columns.
std::string Twice(const std::string& date, int a, int b, const std::string& bText = "") {
    return std::string("t.csv: the date ").append(date).append(" is given twice, by column ").append(std::to_string(a))
        .append(" (\"").append(date).append("\") and column ").append(std::to_string(b)).append(" (\"")
        .append(bText.empty() ? date : bText).append("\"); keep one of them, or name the date columns to read (--dates)");
}

struct Cell {
    std::string place;
    int year;
    float value;  // 0: absent
};

struct Case {
    std::string what;
    std::string bytes;
    ImportOptions options;
    std::string error;  // the exact message; empty when the table loads
    int places = 0, dates = 0, firstYear = 0, lastYear = 0;
    std::vector<Cell> cells = {};
    std::vector<std::string> warnings = {};  // each found in one warning
    std::string encoding = "UTF-8";
    int positioned = -1;  // -1: not checked
    double proposedUnit = 0;
};

std::vector<Case> Cases() {
    const ImportOptions longByHand{.layout = TableLayout::Long};
    std::vector<Case> cases = {
        {"USData.csv's own layout: no header, years from 1790 by ten", Excerpt("usdata-excerpt.csv"), {}, "", 3, 22,
         1790, 2000, {{"Akron, OH", 1790, 0}, {"Akron, OH", 2000, 217074}, {"Albany, NY", 1790, 3498}}, {}},
        {"wide, CR line ends, a second 2010 column, equal names told apart by ID",
         Excerpt("us-places-excerpt.csv"), {}, "", 6, 23, 1790, 2010,
         {{"Boston, MA", 1790, 18320}, {"Boston, MA", 2010, 617594}, {"Kailua, HI (1521)", 1980, 4751},
          {"Kailua, HI (1522)", 1950, 7715}, {"Anchorage, AK", 1900, 0}},
         {"\"STPLFIPS_2010\": not a date, unlike \"1790\"\xE2\x80\xA6\"2010\"", "2 names made unique: Kailua, HI (1521); Kailua, HI (1522)"}},
        {"long, rows in any order, NA and 0 absent, thousands", Excerpt("europop-excerpt.csv"), {.unit = 1000}, "", 3, 7,
         1500, 1800,
         {{"LONDON", 1800, 865000}, {"PARIS", 1500, 100000}, {"BERGEN", 1700, 0}, {"BERGEN", 1600, 0},
          {"BERGEN", 1750, 14000}}, {}},
        {"Windows-1252 names, space as thousands separator, names told apart by country",
         Excerpt("un-excerpt.csv"), {.unit = 1000}, "", 5, 18, 1950, 2035,
         {{"Tiranë (Tirana)", 1950, 85000}, {"São Paulo", 1950, 2334000}, {"Herat", 2035, 1058000},
          {"London, United Kingdom", 1950, 8361000}, {"London, Canada", 1950, 125000}},
         {"Columns ignored: Index, Country Code, Note", "2 names made unique"}, "Windows-1252"},
        // A first row of years above populations is a header, whatever else is wrong with it.
        {"a repeated date beside its twin", "city,1900,1950,1950\nA,10,20,21\nB,5,30,31\n", {}, Twice("1950", 3, 4)},
        {"a repeated date apart from its twin", "city,1900,1950,1900\nA,10,20,11\nB,5,30,6\n", {}, Twice("1900", 2, 4)},
        {"under an empty first header cell", ",1900,1950,1950\nA,10,20,21\nB,5,30,31\n", {}, Twice("1950", 3, 4)},
        {"a repeated BC date", "city,200 BC,100 BC,100 bc\nA,10,20,21\nB,5,30,31\n", {}, Twice("100 BC", 3, 4, "100 bc")},
        {"four censuses, one twice", "place,1880,1890,1900,1890\nA,100,200,300,250\nB,50,60,70,65\n", {}, Twice("1890", 3, 5)},
        {"dates out of order, BC years", "city,100 BC,200 BC,50 BC\nA,20,10,30\nB,3000,4000,5000\n", {}, "", 2, 3,
         -200, -50, {{"A", -200, 10}, {"A", -100, 20}, {"B", -50, 5000}}, {}},
        {"an empty first header cell, dates out of order", ",1950,1900\nA,20,10\nB,30000,5\n", {}, "", 2, 2, 1900,
         1950, {{"A", 1900, 10}, {"B", 1950, 30000}}, {}},
        {"no header and not USData's 22 dates: the dates assumed are said", "\"A\",10,20,30\n\"B\",4,5,6\n", {}, "",
         2, 3, 1790, 1810, {{"A", 1790, 10}, {"B", 1810, 6}},
         {"No header row: the 3 dates are taken to be 1790, 1800, \xE2\x80\xA6, 1810 (every ten years from 1790"}},
        {"no header, a small first place of equal populations is a place", "A,5,5\nB,7000,8000\n", {}, "", 2, 2, 1790,
         1800, {{"A", 1790, 5}, {"B", 1800, 8000}}, {"No header row: the 2 dates are taken to be 1790, 1800 ("}},
        {"prefixed years in any order; quoted, separated and decimal numbers; every way of writing absence",
         "\xEF\xBB\xBF" "City,y1900,y1850,y1800\n"
         "A,\"1,234\",1 500.5,N/A\nB,..,-,-3\nC,NA,\"12\",\n",
         {}, "", 3, 3, 1800, 1900,
         {{"A", 1900, 1234}, {"A", 1850, 1500.5f}, {"A", 1800, 0}, {"B", 1900, 0}, {"B", 1850, 0}, {"B", 1800, 0},
          {"C", 1850, 12}}, {"look like thousands: the populations have decimals and the largest is 1500.5"}, "UTF-8", -1, 1000},
        {"the largest place at one date or more; absent where it is not among them",
         "name,1800,1900\nA,50,60\nB,40,70\nC,10,20\n", {.top = 1}, "", 2, 2, 1800, 1900,
         {{"A", 1800, 50}, {"A", 1900, 0}, {"B", 1800, 0}, {"B", 1900, 70}},
         {"Kept 2 of 3 places: those among the 1 largest at one or more dates"}},
        {"group and ID columns refused: equal names numbered", "name,state,id,1800,1900\nA,X,7,1,2\nA,Y,8,3,4\n",
         {.group = NoColumn, .id = NoColumn}, "", 2, 2, 1800, 1900, {{"A (#1)", 1900, 2}, {"A (#2)", 1900, 4}},
         {"2 names made unique: A (#1); A (#2)"}},
        {"told apart by group, then by position; each final name listed once",
         "name,state,1800,1900\nXinyi,China,1,2\nXinyi,China,3,4\nXinyi,Taiwan,5,6\n", {}, "", 3, 2, 1800, 1900,
         {{"Xinyi, China (#2)", 1900, 4}, {"Xinyi, Taiwan", 1800, 5}},
         {"3 names made unique: Xinyi, China (#1); Xinyi, China (#2); Xinyi, Taiwan"}},
        {"a 0/1 column ending in digits is not a date", "name,Pop1840,Pop1850,Pop1860,RAIL.10\nA,5,6,7,1\nB,1,2,3,0\n", {}, "",
         2, 3, 1840, 1860, {{"A", 1850, 6}}, {"\"RAIL.10\": not a date, unlike \"Pop1840\"\xE2\x80\xA6\"Pop1860\""}},
        {"two families of equal size: the one holding populations", "name,code1,code2,y1900,y2000\nA,0,1,5000,7000\nB,1,0,300,900\n",
         {}, "", 2, 2, 1900, 2000, {{"B", 1900, 300}}, {"\"code1\": not a date"}},
        {"years before Christ and the year 0 are years; the header is no place", "name,-500,0,500\nA,1,2,3\n", {}, "", 1, 3,
         -500, 500, {{"A", 0, 2}}},
        {"\"BC\" after the digits", "name,500 BC,1,500\nA,1,2,3\n", {}, "", 1, 3, -500, 500, {{"A", 1, 2}}},
        {"a short row's missing cells are absent, and said", "name,1900,1950\nA,1,2\nB,3\n", {}, "", 2, 2, 1900, 1950,
         {{"B", 1900, 3}, {"B", 1950, 0}}, {"Line 3: fewer cells than the 3 of the header; the missing cells are read as absent"}},
        {"positions: out of range, not a number and (0, 0) are said and dropped",
         "name,Latitude,Longitude,1900,1950\nA,91,0,1,2\nB,x,3,1,2\nC,0,0,1,2\nD,-33.9,151.2,1,2\n", {}, "", 4, 2, 1900, 1950, {},
         {"t.csv, line 2: latitude 91, longitude 0 is out of range; the place is kept without a position",
          "t.csv, line 3: \"x\" is not a number", "t.csv, line 4: (0, 0) stands for an unknown position"}, "UTF-8", 1},
        // Longitudes beyond 90 degrees: columns read the wrong way round would be out of range.
        {"lat and lon", "name,lat,lon,1900,1950\nA,40,-120,1,2\nB,-33.9,151.2,1,2\n", {}, "", 2, 2, 1900, 1950, {}, {}, "UTF-8", 2},
        {"y and x", "name,x,y,1900,1950\nA,-120,40,1,2\nB,151.2,-33.9,1,2\n", {}, "", 2, 2, 1900, 1950, {}, {}, "UTF-8", 2},
        {"latitude and long", "name,long,latitude,1900,1950\nA,-120,40,1,2\n", {}, "", 1, 2, 1900, 1950, {}, {}, "UTF-8", 1},
        {"decimals below 100,000 look like thousands", "name,1950,1960\nMoscow,14425.208,15000.5\n", {}, "", 1, 2, 1950, 1960, {},
         {"The populations look like thousands: the populations have decimals and the largest is 15000.5"}, "UTF-8", -1, 1000},
        {"a header saying thousands", "name,1950 (thousands),1960 (thousands)\nA,14,15\n", {}, "", 1, 2, 1950, 1960, {},
         {"the header \"1950 (thousands)\" says thousands"}, "UTF-8", -1, 1000},
        {"a repeated place and year names both lines", "place,year,pop\nA,1900,1\nA,1950,2\nA,1900,3\n", longByHand,
         "t.csv, lines 2 and 4, column 2 (year): A in 1900 is given twice"},
        {"text where a population stands", "name,1800,1950\nA,1,2\nB,3,abc\n", {},
         "t.csv, line 3, column 3 (1950): \"abc\" is not a number"},
        {"one date", "name,1800\nA,1\n", {},
         "t.csv: 1 date found; at least 2 dates are needed (name the date columns if they were not found)"},
        {"a column that is not there", "name,1800,1900\nA,1,2\n", {.name = "Town"},
         "t.csv: there is no column \"Town\" for the names (the columns are name, 1800, 1900)"},
        {"every cell absent", "name,1900,1950\nA,0,\nB,NA,-\n", {},
         "t.csv: no place has a population at any date (every population cell is empty, 0 or a mark of absence): "
         "there is nothing to load"},
        {"a place without a name", "name,1900,1950\nA,1,2\n,3,4\n", {},
         "t.csv, line 3, column 1 (name): the place has no name"},
        {"a header and nothing under it", "name,1900,1950\n", {}, "t.csv: the file has a header row but no data"},
        {"a long table without a year column", "place,pop\nA,1\n", longByHand,
         "t.csv: no column of years was found (the columns are place, pop)"},
        {"a date column that names no year", "name,1900,1950\nA,1,2\n", {.dates = {"1900", "name"}},
         "t.csv: the date column \"name\" does not name a year"},
        {"the header-less layout keeps the loader's messages", "\"A\",1,2,3\n\"B\",4\n", {},
         "t.csv: input past end of file in record 2 (field 3 of 4); 2 complete records of a name and 3 "
         "populations are needed, 1 were found"},
    };
    // UTF-16 in either byte order, with and without a byte order mark (CR LF line ends in little-endian).
    for (const bool little : {true, false})
        for (const bool bom : {true, false})
            cases.push_back({std::string(little ? "UTF-16LE" : "UTF-16BE").append(bom ? " with" : " without").append(" a mark"),
                             Utf16(little ? u"name,1900,1950\r\nS\u00E3o Paulo,10,20\r\nB,5,30\r\n"
                                          : u"name,1900,1950\nS\u00E3o Paulo,10,20\nB,5,30\n", little, bom), {}, "", 2, 2, 1900, 1950,
                             {{"S\xC3\xA3o Paulo", 1900, 10}, {"S\xC3\xA3o Paulo", 1950, 20}, {"B", 1900, 5}, {"B", 1950, 30}}, {},
                             little ? "UTF-16LE" : "UTF-16BE"});
    return cases;
}

}  // namespace

TEST(ImportTest, LayoutsValuesAndMessages) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.what);
        if (!c.error.empty()) {
            EXPECT_EQ(Thrown([&] { ImportTable(c.bytes, "t.csv", c.options); }), c.error);
            continue;
        }
        const ImportResult r = ImportTable(c.bytes, "t.csv", c.options);
        const DataSet& d = *r.data;
        EXPECT_EQ(r.preview.encoding, c.encoding);
        EXPECT_TRUE(c.positioned < 0 || r.preview.positioned == c.positioned) << r.preview.positioned;
        EXPECT_EQ(r.preview.proposedUnit, c.proposedUnit);
        ASSERT_TRUE(d.NumCities == c.places && d.NumDates == c.dates && r.preview.kept == c.places) << d.NumCities;
        EXPECT_TRUE(d.DateYear(1) == c.firstYear && d.DateYear(d.NumDates) == c.lastYear) << d.DateYear(1);
        for (const Cell& cell : c.cells) {
            int i = d.NumCities, t = d.NumDates;
            while (i > 0 && d.CityName(i) != cell.place) --i;
            while (t > 0 && d.DateYear(t) != cell.year) --t;
            SCOPED_TRACE(cell.place + " " + std::to_string(cell.year));
            ASSERT_TRUE(i > 0 && t > 0);
            EXPECT_EQ(d.Present(i, t), cell.value > 0 ? 1.0f : 0.0f);
            EXPECT_EQ(d.PopTable(i, t), cell.value > 0 ? cell.value : 1.0f);
        }
        for (const auto& w : c.warnings) EXPECT_TRUE(HasWarning(r.preview, w)) << w;
        EXPECT_TRUE(!c.warnings.empty() || r.preview.warnings.empty()) << r.preview.warnings.front();
    }
    // A decimal in thousands becomes the whole number it stands for, not 14425207.999999998.
    EXPECT_EQ(ImportTable("name,1950,1960\nMoscow,14425.208,15000.5\n", "t.csv", {.unit = 1000}).data->Pop(1, 1), 14425208.0);
}

// Uneven steps 50, 50, 10: intervals 50, 50, 50, 10 (the first taken as the second), sum 160.
TEST(ImportTest, UnevenYearsGiveTheirOwnCalendarAndRankShiftDate) {
    const auto d = ImportTable("name,1800,1850,1900,1910\nA,1,2,3,4\nB,4,3,2,1\n", "u.csv").data;
    EXPECT_FLOAT_EQ(d->TimeFraction(2), 50.0f / 110);
    EXPECT_FLOAT_EQ(d->StepFraction(4), 10.0f / 110);
    EXPECT_FLOAT_EQ(d->DateWeight(1), 50.0f / 160);
    EXPECT_FLOAT_EQ(d->DateWeight(4), 10.0f / 160);
    EXPECT_FLOAT_EQ(d->AngleStep(3), static_cast<float>(2 * (10.0 / 110) * 3.14159265));
    EXPECT_EQ(RankShiftDate(*d), 2);  // 1850 is nearest to 1910 - 50
}

// Present places and their total at three dates of each full table, counted with Python's csv module:
//   rows = list(csv.reader(io.StringIO(open(path,'rb').read().decode(enc), newline=''))); per date column c:
//   vals = [float(r[c].strip().replace(' ','')) * unit for r in rows[1:] if r[c].strip() not in ('', 'NA') and
//   float(...) > 0] -> (year, len(vals), int(sum(vals))); the long table grouped by (city, region) and year.
TEST(ImportTest, TheRealTablesAgainstAnIndependentCount) {
    struct Date { int year, present; long long total; };
    struct Real { const char* file; double unit; int places, numDates; std::vector<Date> dates; };
    const std::vector<Real> tables = {
        {"us-places-1790-2010.csv", 1, 8915, 23, {{1790, 28, 206355}, {1900, 2136, 30623695}, {2010, 6933, 183918311}}},
        {"europop-1500-1800.csv", 1000, 379, 7, {{1500, 133, 2693000}, {1650, 211, 5754000}, {1800, 370, 12249000}}},
        {"un-wup2018-f12-cities-1950-2035.csv", 1000, 1860, 18,
         {{1950, 1855, 419119000}, {1990, 1860, 1287324000}, {2035, 1860, 3282336000}}},
    };
    for (const Real& t : tables) {
        SCOPED_TRACE(t.file);
        const auto data = ImportFile(std::string(CITYSIZE_REAL_DATA) + "/" + t.file, {.unit = t.unit}).data;
        const DataSet& d = *data;
        ASSERT_TRUE(d.NumCities == t.places && d.NumDates == t.numDates) << d.NumCities << " " << d.NumDates;
        for (const Date& e : t.dates) {
            int k = 1;
            while (k < d.NumDates && d.DateYear(k) != e.year) ++k;
            double total = 0, exact = 0;
            for (int i = 1; i <= d.NumCities; ++i) {
                if (d.Present(i, k) > 0) total += d.PopTable(i, k);
                exact += d.Pop(i, k);
            }
            // Exact: the same totals as sums of fractions.Fraction(cell) * unit.
            ASSERT_EQ(d.DateYear(k), e.year);
            EXPECT_TRUE(exact == e.total && static_cast<long long>(total) == e.total && d.NumPresent(k) == e.present)
                << e.year << ": " << exact << " " << total << " " << d.NumPresent(k);
        }
    }
}

// places.csv was written from the UN table with Python's csv module; Herat's row there:
// 1,Afghanistan,Herat,34.3482,62.1997,82,102,183,359,1058 (thousands, read with unit 1).
TEST(Readers, ConvertedFilesReadAsTheirCsv) {
    const ImportResult csv = ImportFile(Dir + "places.csv");
    const DataSet& c = *csv.data;
    ASSERT_TRUE(c.NumCities == 150 && c.NumDates == 5);
    EXPECT_TRUE(c.CityName(1) == "Herat" && c.Pop(1, 5) == 1058 && c.Latitude[0] == 34.3482 && c.Longitude[0] == 62.1997);
    EXPECT_EQ(csv.preview.positioned, 150);
    // The tolerance in degrees: the shapefile went through Web Mercator and back.
    for (const auto& [file, tolerance, part, source] : {std::tuple{"book.xlsx", 0.0, "Cities", "sheet Cities"},
             std::tuple{"places.ods", 0.0, "Cities", "sheet Cities"}, std::tuple{"places.gpkg", 0.0, "cities", "layer cities"},
             std::tuple{"places_3857.shp", 1e-9, "places_3857", "layer places_3857"}}) {
        SCOPED_TRACE(file);
        const ImportResult r = ImportFile(Dir + file);
        const DataSet& d = *r.data;
        EXPECT_TRUE(r.preview.part == part && r.preview.source == Dir + file + ", " + source) << r.preview.source;
        ASSERT_TRUE(d.NumCities == c.NumCities && d.NumDates == c.NumDates);
        for (int t = 1; t <= d.NumDates; ++t) EXPECT_EQ(d.DateYear(t), c.DateYear(t));
        EXPECT_TRUE(d.Population == c.Population && d.CityGroup == c.CityGroup && d.CityID == c.CityID);
        for (int i = 1; i <= d.NumCities; ++i) {
            EXPECT_EQ(d.CityName(i), c.CityName(i));
            EXPECT_NEAR(d.Latitude[i - 1], c.Latitude[i - 1], tolerance) << i;
            EXPECT_NEAR(d.Longitude[i - 1], c.Longitude[i - 1], tolerance) << i;
        }
    }
}

// Bad input: one message naming the source, the row and the column where they apply.
TEST(Readers, BadInputIsRefusedWithWhereAndWhat) {
    const auto tmp = std::filesystem::temp_directory_path() / "citysize-readers-test";
    std::filesystem::create_directories(tmp);
    auto write = [&](const std::string& name, const std::string& bytes) {
        std::ofstream(tmp / name, std::ios::binary) << bytes;
        return (tmp / name).string();
    };
    const std::string xlsx = FileBytes(Dir + "book.xlsx");
    const std::string damaged = write("damaged.xlsx", xlsx.substr(0, xlsx.size() / 2));
    const std::string textAsXlsx = write("text.xlsx", "name,1900,1950\nA,1,2\n");
    const std::string zipAsCsv = write("zip.csv", xlsx);
    const std::string bare = write("bare.geojson",
                                   "{\"type\":\"FeatureCollection\",\"features\":[{\"type\":\"Feature\",\"properties\":{},"
                                   "\"geometry\":{\"type\":\"Point\",\"coordinates\":[1,2]}}]}");
    const std::string huge = write("huge.csv", "");
    std::filesystem::resize_file(huge, MaxFileBytes + 1);  // sparse: nothing is written
    struct Case {
        const char* what;
        std::function<void()> load;
        std::string message;  // the start of it, when it ends in GDAL's own words
    };
    const std::vector<Case> cases = {
        {"a number beyond the header's last column", [] { ImportTable("name,1900,1950\nA,1,2\nB,3,4,5\n", "t.csv"); },
         "t.csv, line 3, column 4: \"5\" stands beyond the 3 columns of the header; it would be lost"},
        {"empty (merged) header cells", [] { ImportTable("name,Population,,\n,1900,1950,2000\nA,1,2,3\n", "t.csv"); },
         "t.csv: 0 dates found; at least 2 dates are needed (the header cells of columns 3, 4 are empty (merged cells?)"},
        {"text in a number cell of a sheet", [] { ImportFile(Dir + "textcell.xlsx"); },
         Dir + "textcell.xlsx, sheet textcell, row 2, column 4 (P1970): \"abc\" is not a number"},
        {"a sheet that is not there", [&] { ImportFile(Dir + "book.xlsx", {.part = "9"}); },
         Dir + "book.xlsx: there is no sheet \"9\" (the sheets are About, Cities)"},
        {"a damaged workbook", [&] { ImportFile(damaged); },
         damaged + ": the workbook is damaged (its zip archive cannot be read)"},
        {"text with a workbook's extension", [&] { ImportFile(textAsXlsx); },
         textAsXlsx + ": the file is text, not a workbook or GIS layer (a CSV file? give it the extension .csv)"},
        {"a workbook with a text extension", [&] { ImportFile(zipAsCsv); },
         zipAsCsv + ": not a text table: the file is a zip archive (an .xlsx or .ods workbook?)"},
        {"a file over 2 GB, refused before it is read", [&] { ImportFile(huge); },
         huge + ": 2,048 MB; files over 2 GB are not read"},
        {"a layer without attributes", [&] { ImportFile(bare); }, bare + ", layer bare: the layer has no columns"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string got = Thrown(c.load);
        EXPECT_EQ(got.substr(0, c.message.size()), c.message) << got;
    }
    std::filesystem::remove_all(tmp);
    // A formula saved without its value would vanish as an empty cell: it is said instead.
    EXPECT_TRUE(HasWarning(ImportFile(Dir + "formula.xlsx").preview,
                           "formula.xlsx, sheet textcell, cell D2: a formula without its computed value, read as empty"));
}
