// One small table written with every delimiter, line-end convention, byte order mark and
// final line end the readers accept: each writing must give the same places and values, and
// a fault on line N must be reported on line N whatever ends the lines before it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/Import.h"
#include "data/Loader.h"
#include "draw/RunError.h"

namespace {

// '@' stands for the delimiter and '^' for the line end, in cells as well as between them.
std::string Written(const std::string& pattern, char delimiter, const std::string& end, bool bom, bool finalEnd) {
    std::string s = bom ? "\xEF\xBB\xBF" : "";
    for (char c : pattern) s += c == '@' ? std::string(1, delimiter) : c == '^' ? end : std::string(1, c);
    return finalEnd ? s + end : s;
}

// Three places at two dates: a name holding a comma, one holding the delimiter itself, and
// the second place absent at its second date. Wide rows carry a note column (ignored) whose
// quoted cell runs over two lines, so the rows after it start one line further down.
const std::string Wide = "name@note@1900@1950^\"Paris, TX\"@@10@20^\"Ab@cd\"@\"two^lines\"@5@^C@  x y @ 3 @4";
const std::string Long = "place@note@year@pop^\"Paris, TX\"@@1900@10^\"Paris, TX\"@@1950@20^\"Ab@cd\"@\"two^lines\"@1900@5^"
                         "C@@1900@3^C@@1950@4";
const std::string Plain = "\"Paris, TX\"@10@20^\"Ab@cd\"@5@^\"C\"@3@4";

struct Case {
    const char* what;
    std::string pattern;
    std::string error;  // with "t.csv" as the file's name; empty: the table loads
    int firstYear = 1900;
};

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
        {"header-less", Plain, "", 1790},
        {"header-less, text in the third record", with(Plain, "@4", "@4x"),
         "t.csv, record 3 (C), field 3 (1800): \"4x\" is not a number"},
        {"header-less, a quote opened on line 4", Plain + "^\"D@1@2", "t.csv: a quoted field opened on line 4 is not closed before the end of the file"},
    };
}

// The table, or the message refusing it.
ImportResult Outcome(const std::string& bytes, std::string& error) {
    try {
        return ImportTable(bytes, "t.csv");
    } catch (const RunError& e) {
        error = e.what();
    }
    return {};
}

}  // namespace

TEST(Delimiters, EveryWritingGivesTheSameTableAndTheSameLines) {
    for (char delimiter : {',', ';', '\t'})
        for (const std::string end : {"\n", "\r\n", "\r"})
            for (bool bom : {false, true})
                    for (const Case& c : Cases()) {
                        const bool finalEnd = !bom;  // each of the two with and without the other
                        const bool plain = c.pattern.front() == '"';
                        // The header-less layout is USData.csv's own: commas only.
                        if (plain && delimiter != ',') continue;
                        const std::string bytes = Written(c.pattern, delimiter, end, bom, finalEnd);
                        SCOPED_TRACE(std::string(c.what) + (delimiter == '\t' ? ", tab" : delimiter == ';' ? ", semicolon" : ", comma") +
                                     (end == "\n" ? ", LF" : end == "\r" ? ", CR" : ", CR LF") + (bom ? ", BOM" : "") +
                                     (finalEnd ? ", final line end" : ""));
                        std::string error;
                        const ImportResult r = Outcome(bytes, error);
                        EXPECT_EQ(error, c.error);
                        if (!r.data) continue;
                        const DataSet& d = *r.data;
                        ASSERT_EQ(d.NumCities, 3);
                        ASSERT_EQ(d.NumDates, 2);
                        EXPECT_EQ(d.DateYear(1), c.firstYear);
                        EXPECT_EQ(d.DateYear(2), c.firstYear + (plain ? 10 : 50));
                        const std::vector<std::string> names = {"Paris, TX", std::string("Ab") + delimiter + "cd", "C"};
                        const float values[3][2] = {{10, 20}, {5, 0}, {3, 4}};
                        for (int i = 1; i <= 3; ++i) {
                            EXPECT_EQ(d.CityName(i), names[static_cast<std::size_t>(i - 1)]);
                            for (int t = 1; t <= 2; ++t) {
                                const float v = values[i - 1][t - 1];
                                EXPECT_EQ(d.Present(i, t), v > 0 ? 1.0f : 0.0f) << i << " " << t;
                                EXPECT_EQ(d.PopTable(i, t), v > 0 ? v : 1.0f) << i << " " << t;
                            }
                        }
                        if (plain) {
                            // The loader reads the same bytes to the same table.
                            const auto l = LoadDataText(bytes, "t.csv", 3, 2);
                            for (int i = 1; i <= 3; ++i) {
                                EXPECT_EQ(l->CityName(i), d.CityName(i));
                                for (int t = 1; t <= 2; ++t) EXPECT_EQ(l->PopTable(i, t), d.PopTable(i, t));
                            }
                            continue;
                        }
                        // The preview shows the header as written, without the byte order mark.
                        const ImportPreview& pv = r.preview;
                        EXPECT_EQ(pv.columns.front(), c.pattern.substr(0, c.pattern.find('@')));
                        EXPECT_EQ(pv.nameColumn, pv.columns.front());
                        const std::size_t ab = c.pattern == Wide ? 1 : 2;  // the row of the two-line note
                        ASSERT_EQ(pv.firstRows.size(), c.pattern == Wide ? 3u : 5u);
                        EXPECT_EQ(pv.firstRows[ab][1], "two" + end + "lines");
                    }
}
