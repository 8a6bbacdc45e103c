// Splitting delimited text into rows of cells, each rule worked out by hand from CsvCells.h; then one
// small table in every delimiter, line end, byte order mark and final line end the readers accept:
// the same places and values each time, and a fault on line N reported on line N.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/CsvCells.h"
#include "data/Import.h"
#include "TestForm.h"

namespace {

// A row as "line N: [text] [text]q ...", q marking a quoted cell.
std::string ShownRow(const CsvRow& row) {
    std::string s = std::string("line ").append(std::to_string(row.line)).append(":");
    for (const CsvCell& c : row.cells) s.append(" [").append(c.text).append(c.quoted ? "]q" : "]");
    return s;
}

std::vector<std::string> Rows(const std::string& text, char delimiter) {
    std::vector<std::string> rows;
    for (const CsvRow& r : SplitCells(text, delimiter, "t.csv")) rows.push_back(ShownRow(r));
    return rows;
}

struct Split { const char* what; std::string text; char delimiter; std::vector<std::string> rows; };

// '@' stands for the delimiter and '^' for the line end, in cells as well as between them.
std::string Written(const std::string& pattern, char delimiter, const std::string& end, bool bom, bool finalEnd) {
    std::string s = bom ? "\xEF\xBB\xBF" : "";
    for (char c : pattern) s += c == '@' ? std::string(1, delimiter) : c == '^' ? end : std::string(1, c);
    return finalEnd ? s + end : s;
}

// Three places at two dates: a name holding a comma, one holding the delimiter itself, and
// the second place absent at its second date. Wide and long rows carry a note column
// (ignored) whose quoted cell runs over two lines, so the rows after it start a line lower.
const std::string Wide = "name@note@1900@1950^\"Paris, TX\"@@10@20^\"Ab@cd\"@\"two^lines\"@5@^C@  x y @ 3 @4";
const std::string Long = "place@note@year@pop^\"Paris, TX\"@@1900@10^\"Paris, TX\"@@1950@20^\"Ab@cd\"@\"two^lines\"@1900@5^"
                         "C@@1900@3^C@@1950@4";
const std::string Plain = "\"Paris, TX\"@10@20^\"Ab@cd\"@5@^\"C\"@3@4";

// The error with "t.csv" as the file's name; empty: the table loads.
struct Case { const char* what; std::string pattern, error; };

std::vector<Case> Cases() {
    auto with = [](std::string s, const std::string& from, const std::string& to) {
        return s.replace(s.rfind(from), from.size(), to);
    };
    return {
        {"wide", Wide, ""},
        {"wide, text on line 5", with(Wide, "@4", "@4x"), "t.csv, line 5, column 4 (1950): \"4x\" is not a number"},
        {"wide, a quote opened on line 6", Wide + "^\"D@1@2", "t.csv: a quoted field opened on line 6 is not closed before the end of the file"},
        {"long", Long, ""},
        {"long, a place and year given twice", with(Long, "1950@4", "1900@4"),
         "t.csv, lines 6 and 7, column 3 (year): C in 1900 is given twice"},
        {"header-less", Plain, ""},
        {"header-less, text in the third record", with(Plain, "@4", "@4x"),
         "t.csv, record 3 (C), field 3 (1800): \"4x\" is not a number"},
        {"header-less, a quote opened on line 4", Plain + "^\"D@1@2", "t.csv: a quoted field opened on line 4 is not closed before the end of the file"},
    };
}

// The table as "year year | name: value value | ...", absent values as "-".
std::string Shown(const DataSet& d) {
    std::string s = std::to_string(d.DateYear(1)) + " " + std::to_string(d.DateYear(d.NumDates));
    for (int i = 1; i <= d.NumCities; ++i) {
        s += " | " + d.CityName(i) + ":";
        for (int t = 1; t <= d.NumDates; ++t)
            s.append(" ").append(d.Present(i, t) > 0 ? std::to_string(static_cast<int>(d.PopTable(i, t))) : "-");
    }
    return s;
}

void CheckEveryWriting(const std::vector<char>& delimiters, bool plainOnly) {
    for (char delimiter : delimiters)
        for (const std::string end : {"\n", "\r\n", "\r"})
            for (bool bom : {false, true})
                for (const Case& c : Cases()) {
                    const bool plain = c.pattern.front() == '"', finalEnd = !bom;  // each with and without the other
                    if (plainOnly ? !plain : plain && delimiter != ',') continue;
                    const std::string bytes = Written(c.pattern, delimiter, end, bom, finalEnd);
                    SCOPED_TRACE(std::string(c.what) + (delimiter == '\t' ? ", tab" : delimiter == ';' ? ", semicolon" : ", comma") +
                                 (end == "\n" ? ", LF" : end == "\r" ? ", CR" : ", CR LF") + (bom ? ", BOM" : ", final line end"));
                    const std::string error = c.error.empty() ? "no error" : c.error;
                    ImportResult r;
                    EXPECT_EQ(Thrown([&] { r = ImportTable(bytes, "t.csv"); }), error);
                    const std::string table = std::string(plain ? "1790 1800" : "1900 1950") + " | Paris, TX: 10 20 | Ab" +
                                              delimiter + "cd: 5 - | C: 3 4";
                    if (r.data) { EXPECT_EQ(Shown(*r.data), table); }
                    if (plain && delimiter == ',') {  // the loader reads the same bytes the same way
                        const auto records = static_cast<int16_t>(std::count(c.pattern.begin(), c.pattern.end(), '^') + 1);
                        std::unique_ptr<DataSet> loaded;
                        EXPECT_EQ(Thrown([&] { loaded = LoadDataText(bytes, "t.csv", records, 2); }), error);
                        if (loaded) { EXPECT_EQ(Shown(*loaded), table); }
                    }
                    if (plain || !r.data) continue;
                    // The preview shows the header as written, without the byte order mark, and
                    // the two-line note with its own line end.
                    const ImportPreview& pv = r.preview;
                    EXPECT_EQ(pv.nameColumn, c.pattern.substr(0, c.pattern.find('@')));
                    EXPECT_EQ(pv.columns.front(), pv.nameColumn);
                    ASSERT_EQ(pv.firstRows.size(), c.pattern == Wide ? 3u : 5u);
                    EXPECT_EQ(pv.firstRows[c.pattern == Wide ? 1 : 2][1], "two" + end + "lines");
                }
}

}  // namespace

TEST(Delimiters, EveryWritingGivesTheSameTableAndTheSameLines) { CheckEveryWriting({',', ';', '\t'}, false); }

// The header-less layout (USData.csv's) with the other delimiters: a comma inside a quoted
// first name ("Paris, TX") does not make the delimiter a comma.
TEST(Delimiters, TheHeaderlessLayoutTakesEveryDelimiter) { CheckEveryWriting({';', '\t'}, true); }

TEST(CsvCells, EachRuleOfTheSplit) {
    const Split cases[] = {
        {"doubled quotes are one quote; the delimiter inside quotes is text", "\"a \"\"b\"\", c\",1\n", ',',
         {"line 1: [a \"b\", c]q [1]"}},
        {"a quote that is all doubled quotes", "\"\"\"\"\"\",x\n", ',', {"line 1: [\"\"]q [x]"}},
        {"a cell over two lines keeps its line end; the next cells and rows follow it",
         "\"x\r\ny\",2,\"\"\"\"\nz,3\n", ',', {"line 1: [x\r\ny]q [2] [\"]q", "line 3: [z] [3]"}},
        {"blanks around an unquoted cell go, inside quotes they stay", "  a  ,\" b \"  , c\t\n", ',',
         {"line 1: [a] [ b ]q [c]"}},
        {"with tabs as delimiter only spaces are blanks", "a\t b \t\tc\n", '\t', {"line 1: [a] [b] [] [c]"}},
        {"empty lines are skipped and counted; CR alone ends a line", "a;1\r\r \rb;2\r", ';',
         {"line 1: [a] [1]", "line 4: [b] [2]"}},
        {"text after a closing quote is dropped", "\"a\"xyz,1\n", ',', {"line 1: [a]q [1]"}},
        {"a delimiter at the end gives an empty last cell", "a,\n,\n", ',', {"line 1: [a] []", "line 2: [] []"}},
        {"an empty quoted cell is a row, an empty line is not", "\"\"\n\n", ',', {"line 1: []q"}},
        {"no final line end", "a,\"b\"", ',', {"line 1: [a] [b]q"}},
        {"nothing", "", ',', {}},
    };
    for (const Split& c : cases) EXPECT_EQ(Rows(c.text, c.delimiter), c.rows) << c.what;
    EXPECT_EQ(Thrown([] { SplitCells("a,1\n\"b,2\n", ',', "t.csv"); }),
              "t.csv: a quoted field opened on line 2 is not closed before the end of the file");
}

// A row owns its text: a copy outlives and ignores what happens to the row it came from,
// cells added one by one read back as added, and the cells work as a range.
TEST(CsvCells, ARowIsAValue) {
    CsvRow copy;
    {
        std::vector<CsvRow> rows = SplitCells("\"first, quoted\",22,333\n", ',', "t.csv");
        copy = rows[0];
        rows[0].cells.clear();
        rows[0].cells.push_back({"other", false});
    }
    EXPECT_EQ(ShownRow(copy), "line 1: [first, quoted]q [22] [333]");

    CsvRow built;
    for (const CsvCell& c : {CsvCell{"from a layer", false}, CsvCell{"", true}, copy.cells[0]}) built.cells.push_back(c);
    EXPECT_EQ(ShownRow(built), "line 0: [from a layer] []q [first, quoted]q");
    const auto begin = built.cells.begin(), end = built.cells.end();
    EXPECT_TRUE(std::count_if(begin + 1, end, [](const CsvCell& c) { return c.quoted; }) == 2 && end - begin == 3 &&
                (*(end - 1)).text == "first, quoted");
}
