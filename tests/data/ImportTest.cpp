// City tables in their published layouts: excerpts of the real tables and hand-made bytes, each
// with what must load or the exact message; then the full tables against an independent count.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "data/Import.h"
#include "TestForm.h"
#include "ranksize/RankShift.h"

namespace {

std::string Excerpt(const std::string& name) { return FileBytes(std::string(CITYSIZE_TEST_DATA) + "/import/" + name); }

std::string Utf16Le(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

// A table's text in UTF-16, in either byte order, with or without a byte order mark.
std::string Utf16(const std::u16string& text, bool little, bool bom) {
    std::string out;
    if (bom) out = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t u : text) {
        const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
        out += little ? std::string{lo, hi} : std::string{hi, lo};
    }
    return out;
}

struct Cell {
    std::string place;
    int year;
    float value;  // 0: absent
};

struct Case {
    const char* what;
    std::string bytes;
    ImportOptions options;
    std::string error;  // the exact message; empty when the table loads
    int places = 0, dates = 0, firstYear = 0, lastYear = 0;
    std::vector<Cell> cells = {};
    std::vector<std::string> warnings = {};  // each found in one warning
    std::string encoding = "UTF-8";
};

ImportOptions Unit(double unit) {
    ImportOptions o;
    o.unit = unit;
    return o;
}

std::vector<Case> Cases() {
    ImportOptions top1;
    top1.top = 1;
    ImportOptions noSuchName;
    noSuchName.name = "Town";
    ImportOptions noGroupNoId;
    noGroupNoId.group = NoColumn;
    noGroupNoId.id = NoColumn;
    ImportOptions datesNamed;
    datesNamed.dates = {"1900", "name"};
    ImportOptions longByHand;
    longByHand.layout = TableLayout::Long;
    return {
        {"USData.csv's own layout: no header, years from 1790 by ten", Excerpt("usdata-excerpt.csv"), {}, "", 3, 22,
         1790, 2000, {{"Akron, OH", 1790, 0}, {"Akron, OH", 2000, 217074}, {"Albany, NY", 1790, 3498}}, {}},
        {"wide, CR line ends, a second 2010 column, equal names told apart by ID",
         Excerpt("us-places-excerpt.csv"), {}, "", 6, 23, 1790, 2010,
         {{"Boston, MA", 1790, 18320}, {"Boston, MA", 2010, 617594}, {"Kailua, HI (1521)", 1980, 4751},
          {"Kailua, HI (1522)", 1950, 7715}, {"Anchorage, AK", 1900, 0}},
         {"\"STPLFIPS_2010\": not a date, unlike \"1790\"\xE2\x80\xA6\"2010\"", "2 names made unique: Kailua, HI (1521); Kailua, HI (1522)"}},
        {"long, rows in any order, NA and 0 absent, thousands", Excerpt("europop-excerpt.csv"), Unit(1000), "", 3, 7,
         1500, 1800,
         {{"LONDON", 1800, 865000}, {"PARIS", 1500, 100000}, {"BERGEN", 1700, 0}, {"BERGEN", 1600, 0},
          {"BERGEN", 1750, 14000}}, {}},
        {"Windows-1252 names, space as thousands separator, names told apart by country",
         Excerpt("un-excerpt.csv"), Unit(1000), "", 5, 18, 1950, 2035,
         {{"Tiranë (Tirana)", 1950, 85000}, {"São Paulo", 1950, 2334000}, {"Herat", 2035, 1058000},
          {"London, United Kingdom", 1950, 8361000}, {"London, Canada", 1950, 125000}},
         {"Columns ignored: Index, Country Code, Note", "2 names made unique"}, "Windows-1252"},
        {"UTF-16 with a byte order mark", Utf16Le("name,1900,1950\r\nA,10,20\r\nB,5,30\r\n"), {}, "", 2, 2, 1900, 1950,
         {{"A", 1950, 20}, {"B", 1900, 5}}, {}, "UTF-16LE"},
        {"UTF-16LE without a byte order mark, a name beyond ASCII",
         Utf16(u"name,1900,1950\r\nS\u00E3o Paulo,10,20\r\nB,5,30\r\n", true, false), {}, "", 2, 2, 1900, 1950,
         {{"S\xC3\xA3o Paulo", 1950, 20}, {"B", 1900, 5}}, {}, "UTF-16LE"},
        {"UTF-16BE without a byte order mark", Utf16(u"name,1900,1950\nS\u00E3o Paulo,10,20\nB,5,30\n", false, false),
         {}, "", 2, 2, 1900, 1950, {{"S\xC3\xA3o Paulo", 1900, 10}, {"B", 1950, 30}}, {}, "UTF-16BE"},
        {"UTF-16BE with a byte order mark", Utf16(u"name,1900,1950\nA,10,20\nB,5,30\n", false, true), {}, "", 2, 2,
         1900, 1950, {{"A", 1950, 20}}, {}, "UTF-16BE"},
        // A first row of years above populations is a header, whatever else is wrong with it.
        {"a repeated date beside its twin", "city,1900,1950,1950\nA,10,20,21\nB,5,30,31\n", {},
         "t.csv: the date 1950 is given twice, by column 3 (\"1950\") and column 4 (\"1950\"); keep one of them, or "
         "name the date columns to read (--dates)"},
        {"a repeated date apart from its twin", "city,1900,1950,1900\nA,10,20,11\nB,5,30,6\n", {},
         "t.csv: the date 1900 is given twice, by column 2 (\"1900\") and column 4 (\"1900\"); keep one of them, or "
         "name the date columns to read (--dates)"},
        {"a repeated date under an empty first header cell", ",1900,1950,1950\nA,10,20,21\nB,5,30,31\n", {},
         "t.csv: the date 1950 is given twice, by column 3 (\"1950\") and column 4 (\"1950\"); keep one of them, or "
         "name the date columns to read (--dates)"},
        {"a repeated BC date", "city,200 BC,100 BC,100 bc\nA,10,20,21\nB,5,30,31\n", {},
         "t.csv: the date 100 BC is given twice, by column 3 (\"100 BC\") and column 4 (\"100 bc\"); keep one of "
         "them, or name the date columns to read (--dates)"},
        {"four censuses, one of them twice", "place,1880,1890,1900,1890\nA,100,200,300,250\nB,50,60,70,65\n", {},
         "t.csv: the date 1890 is given twice, by column 3 (\"1890\") and column 5 (\"1890\"); keep one of them, or "
         "name the date columns to read (--dates)"},
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
          {"C", 1850, 12}}, {"look like thousands: the populations have decimals and the largest is 1500.5"}},
        {"the largest place at one date or more; absent where it is not among them",
         "name,1800,1900\nA,50,60\nB,40,70\nC,10,20\n", top1, "", 2, 2, 1800, 1900,
         {{"A", 1800, 50}, {"A", 1900, 0}, {"B", 1800, 0}, {"B", 1900, 70}},
         {"Kept 2 of 3 places: those among the 1 largest at one or more dates"}},
        {"group and ID columns refused: equal names numbered", "name,state,id,1800,1900\nA,X,7,1,2\nA,Y,8,3,4\n",
         noGroupNoId, "", 2, 2, 1800, 1900, {{"A (#1)", 1900, 2}, {"A (#2)", 1900, 4}},
         {"2 names made unique: A (#1); A (#2)"}},
        {"told apart by group, then by position; each final name listed once",
         "name,state,1800,1900\nXinyi,China,1,2\nXinyi,China,3,4\nXinyi,Taiwan,5,6\n", {}, "", 3, 2, 1800, 1900,
         {{"Xinyi, China (#2)", 1900, 4}, {"Xinyi, Taiwan", 1800, 5}},
         {"3 names made unique: Xinyi, China (#1); Xinyi, China (#2); Xinyi, Taiwan"}},
        {"a repeated place and year names both lines", "place,year,pop\nA,1900,1\nA,1950,2\nA,1900,3\n", longByHand,
         "t.csv, lines 2 and 4, column 2 (year): A in 1900 is given twice"},
        {"text where a population stands", "name,1800,1950\nA,1,2\nB,3,abc\n", {},
         "t.csv, line 3, column 3 (1950): \"abc\" is not a number"},
        {"one date", "name,1800\nA,1\n", {},
         "t.csv: 1 date found; at least 2 dates are needed (name the date columns if they were not found)"},
        {"a column that is not there", "name,1800,1900\nA,1,2\n", noSuchName,
         "t.csv: there is no column \"Town\" for the names (the columns are name, 1800, 1900)"},
        {"every cell absent", "name,1900,1950\nA,0,\nB,NA,-\n", {},
         "t.csv: no place has a population at any date (every population cell is empty, 0 or a mark of absence): "
         "there is nothing to load"},
        {"a place without a name", "name,1900,1950\nA,1,2\n,3,4\n", {},
         "t.csv, line 3, column 1 (name): the place has no name"},
        {"a header and nothing under it", "name,1900,1950\n", {}, "t.csv: the file has a header row but no data"},
        {"a long table without a year column", "place,pop\nA,1\n", longByHand,
         "t.csv: no column of years was found (the columns are place, pop)"},
        {"a date column that names no year", "name,1900,1950\nA,1,2\n", datesNamed,
         "t.csv: the date column \"name\" does not name a year"},
        {"the header-less layout keeps the loader's messages", "\"A\",1,2,3\n\"B\",4\n", {},
         "t.csv: input past end of file in record 2 (field 3 of 4); 2 complete records of a name and 3 "
         "populations are needed, 1 were found"},
    };
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
        ASSERT_EQ(d.NumCities, c.places);
        ASSERT_EQ(d.NumDates, c.dates);
        EXPECT_EQ(r.preview.kept, c.places);
        EXPECT_EQ(d.DateYear(1), c.firstYear);
        EXPECT_EQ(d.DateYear(d.NumDates), c.lastYear);
        for (const Cell& cell : c.cells) {
            int i = 0, t = 0;
            for (int k = 1; k <= d.NumCities; ++k)
                if (d.CityName(k) == cell.place) i = k;
            for (int k = 1; k <= d.NumDates; ++k)
                if (d.DateYear(k) == cell.year) t = k;
            ASSERT_TRUE(i > 0 && t > 0) << cell.place << " " << cell.year;
            EXPECT_EQ(d.Present(i, t), cell.value > 0 ? 1.0f : 0.0f) << cell.place << " " << cell.year;
            EXPECT_EQ(d.PopTable(i, t), cell.value > 0 ? cell.value : 1.0f) << cell.place << " " << cell.year;
        }
        const auto& have = r.preview.warnings;
        for (const auto& w : c.warnings)
            EXPECT_TRUE(std::any_of(have.begin(), have.end(), [&](const std::string& h) { return h.find(w) != std::string::npos; })) << w;
        EXPECT_TRUE(!c.warnings.empty() || have.empty()) << have.front();
    }
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

// The full tables (USData.csv is the loader's), the count of present places and their
// total at three dates of each, against an independent count made with Python's csv module (2025-06, /usr/bin/python3):
//   text = open(path,'rb').read().decode(enc); rows = list(csv.reader(io.StringIO(text, newline='')))
//   per date column c: vals = [float(r[c].strip().replace(' ','')) * unit for r in rows[1:]
//                              if r[c].strip() not in ('', 'NA') and float(...) > 0]
//   -> (year, len(vals), int(sum(vals))); the long table grouped by (city, region) and year.
TEST(ImportTest, TheRealTablesAgainstAnIndependentCount) {
    struct Date {
        int year, present;
        long long total;
    };
    struct Real {
        const char* file;
        double unit;
        int places, numDates;
        std::vector<Date> dates;
    };
    const std::vector<Real> tables = {
        {"us-places-1790-2010.csv", 1, 8915, 23,
         {{1790, 28, 206355}, {1900, 2136, 30623695}, {2010, 6933, 183918311}}},
        {"europop-1500-1800.csv", 1000, 379, 7, {{1500, 133, 2693000}, {1650, 211, 5754000}, {1800, 370, 12249000}}},
        {"un-wup2018-f12-cities-1950-2035.csv", 1000, 1860, 18,
         {{1950, 1855, 419119000}, {1990, 1860, 1287324000}, {2035, 1860, 3282336000}}},
    };
    for (const Real& t : tables) {
        SCOPED_TRACE(t.file);
        ImportOptions o;
        o.unit = t.unit;
        const ImportResult r = ImportFile(std::string(CITYSIZE_REAL_DATA) + "/" + t.file, o);
        const DataSet& d = *r.data;
        ASSERT_EQ(d.NumCities, t.places);
        ASSERT_EQ(d.NumDates, t.numDates);
        for (const Date& e : t.dates) {
            int k = 1;
            while (k < d.NumDates && d.DateYear(k) != e.year) ++k;
            double total = 0, exact = 0;
            for (int i = 1; i <= d.NumCities; ++i) {
                if (d.Present(i, k) > 0) total += d.PopTable(i, k);
                exact += d.Pop(i, k);
            }
            // Exact: the same totals as sums of fractions.Fraction(cell) * unit (2026-12).
            EXPECT_EQ(exact, static_cast<double>(e.total)) << e.year;
            ASSERT_EQ(d.DateYear(k), e.year);
            EXPECT_EQ(d.NumPresent(k), e.present) << e.year;
            EXPECT_EQ(static_cast<long long>(total), e.total) << e.year;
        }
    }
}
