// Splitting delimited text into rows of cells, each cell held in its row's one string.
// Every expected row below is worked out by hand from the reading rules in CsvCells.h.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "data/CsvCells.h"
#include "TestForm.h"

namespace {

// A row as "line N: [text] [text]q ...", q marking a quoted cell.
std::string Shown(const CsvRow& row) {
    std::string s = std::string("line ").append(std::to_string(row.line)).append(":");
    for (const CsvCell& c : row.cells) s.append(" [").append(c.text).append(c.quoted ? "]q" : "]");
    return s;
}

std::vector<std::string> Split(const std::string& text, char delimiter) {
    std::vector<std::string> rows;
    for (const CsvRow& r : SplitCells(text, delimiter, "t.csv")) rows.push_back(Shown(r));
    return rows;
}

struct Case {
    const char* what;
    std::string text;
    char delimiter;
    std::vector<std::string> rows;
};

}  // namespace

TEST(CsvCells, EachRuleOfTheSplit) {
    const Case cases[] = {
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
    for (const Case& c : cases) EXPECT_EQ(Split(c.text, c.delimiter), c.rows) << c.what;
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
    EXPECT_EQ(Shown(copy), "line 1: [first, quoted]q [22] [333]");

    CsvRow built;
    for (const CsvCell& c : {CsvCell{"from a layer", false}, CsvCell{"", true}, copy.cells[0]}) built.cells.push_back(c);
    EXPECT_EQ(Shown(built), "line 0: [from a layer] []q [first, quoted]q");
    const auto begin = built.cells.begin(), end = built.cells.end();
    EXPECT_TRUE(std::count_if(begin + 1, end, [](const CsvCell& c) { return c.quoted; }) == 2 && end - begin == 3 &&
                (*(end - 1)).text == "first, quoted");
}
