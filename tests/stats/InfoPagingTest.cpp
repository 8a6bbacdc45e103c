#include <gtest/gtest.h>

#include "InfoTestData.h"
#include "stats/InfoPaging.h"

#include <sstream>
#include <string>
#include <vector>

#include "TestForm.h"
#include "data/Loader.h"

namespace {

using Fields = std::vector<std::string>;

// " "; year, row average (zones at 14 and 28), then the values joined by blanks.
std::string MatrixRowPrefix(const std::string& year, const std::string& average) {
    std::string s = " " + year;
    s.resize(14, ' ');
    s += average;
    s.resize(28, ' ');
    return s;
}

std::string Repeat(const std::string& item, int n) {
    std::string s;
    for (int k = 0; k < n; ++k) s += " " + item;
    return s;
}

TEST(InfoPagingButtons, TheThreePagesFollowInOrder) {
    auto f = ShiftsForm();
    f->Click("InfoStats");
    f->Click("NextInfo");
    EXPECT_FALSE(f->panel.Visible("NextInfo"));
    EXPECT_FALSE(f->panel.Visible("LastInfo"));
    EXPECT_TRUE(f->panel.Visible("NextLastInfo"));
    f->Click("NextLastInfo");
    EXPECT_FALSE(f->panel.Visible("NextInfo"));
    EXPECT_FALSE(f->panel.Visible("NextLastInfo"));
    EXPECT_TRUE(f->panel.Visible("LastInfo"));
    f->Click("LastInfo");
    EXPECT_TRUE(f->panel.Visible("LastInfo"));
    EXPECT_FALSE(f->panel.Visible("NextInfo"));
    EXPECT_FALSE(f->panel.Visible("NextLastInfo"));
    EXPECT_FALSE(f->panel.Visible("InfoStats"));
    // Clear-Data brings the main panel back from the last page.
    f->Click("Clear");
    EXPECT_TRUE(f->panel.Visible("InfoStats"));
    EXPECT_FALSE(f->panel.Visible("LastInfo"));
}

TEST(InfoPagingNextInfo, OneRowPerIntervalLabelledWithItsFirstYear) {
    auto f = ShiftsForm();
    f->Click("InfoStats");
    f->Click("NextInfo");
    const auto& lines = f->Text.Lines();
    // The first table is gone: two empty lines, header, empty, T - 1 = 2 rows, empty,
    // averages, empty.
    ASSERT_EQ(lines.size(), 9u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2],
              "       Time+  CumInfo       TotCumIn      CumInfoGr     CumGr         TotCumGr      CumTotGr      "
              "Info          TotIn         InfoGr        Growth        TotGrowth     PopGr");
    EXPECT_EQ(lines[3], "");
    // 1790 -> 1800 (see InfoStatsTest for the arithmetic): CumInfo = Info = .0053883,
    // ln 1.1 = .0953102, their sum .1006985; CumGrowth = Growth = 91/90; 1.1; 91/90 * 1.1 = 1.1122222.
    EXPECT_EQ(ZoneFields(lines[4]), (Fields{"1790", ".0054", ".0953", ".1007", "1.0111", "1.1", "1.1122", ".0054",
                                            ".0953", ".1007", "1.0111", "1.1", "1.1122"}));
    // 1800 -> 1810: CumInfo .0061856 (against 1790), total back to 100 so TotCumInfo 0 and
    // TotCumGrowth 1; CumGrowth 82/81; Info .2220654, TotInfo ln(10/11) = -.0953102, sum
    // .1267552; Growth 341/245 = 1.3918367; TotGrowth .9090909; product 1.2653061.
    EXPECT_EQ(ZoneFields(lines[5]), (Fields{"1800", ".0062", ".", ".0062", "1.0123", "1.", "1.0123", ".2221",
                                            "-.0953", ".1268", "1.3918", ".9091", "1.2653"}));
    EXPECT_EQ(lines[6], "");
    // Averages over the two intervals, StepFraction 1/2 each, labelled with the first year:
    // (.0053883 + .0061856)/2 = .0057870, .0953102/2, (.1006985 + .0061856)/2 = .0534420, ...
    EXPECT_EQ(ZoneFields(lines[7]), (Fields{"1790", ".00579", ".04766", ".05344", "1.01173", "1.05", "1.06228",
                                            ".11373", ".", ".11373", "1.20147", "1.00455", "1.18876"}));
    EXPECT_EQ(lines[8], "");
}

TEST(InfoPagingNextInfo, ReplacesTheAveragesOfTheFirstTable) {
    auto f = ShiftsForm();
    f->Click("InfoStats");
    ASSERT_NE(f->info.InfoAverages(1), 0.0f);
    f->Click("NextInfo");
    const InfoStatsState& s = f->info;
    for (int k = 1; k <= 11; ++k) EXPECT_EQ(s.InfoAverages(k), 0.0f) << k;
    EXPECT_NEAR(s.InfoAverages(12), (0.0053883 + 0.0061856) / 2, 1e-6);
    EXPECT_NEAR(s.InfoAverages(21), (91.0 / 90 + 341.0 / 245) / 2, 1e-6);
    EXPECT_EQ(s.InfoAverages(24), 0.0f);
    EXPECT_EQ(s.InfoAverages(25), 0.0f);
}

TEST(InfoPagingNextLastInfo, CitiesPresentAtBothDates) {
    auto f = ShiftsForm();
    f->Click("InfoStats");
    f->Click("NextInfo");
    f->Click("NextLastInfo");
    const auto& lines = f->Text.Lines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "");
    // Present: 1790 A B C, 1800 A C D, 1810 A B C D. In common: 1790-1800 A C (2),
    // 1790-1810 A B C (3), 1800-1810 A C D (3); the diagonal is the count present.
    // Row averages leave out the diagonal: (2 + 3)/2, (2 + 3)/2, (3 + 3)/2. Dates 4 to 33
    // print the formatted zero, a lone point.
    EXPECT_EQ(lines[1], MatrixRowPrefix(" 1790 ", " 2.5 ") + "3. 2. 3." + Repeat(".", 30));
    EXPECT_EQ(lines[2], MatrixRowPrefix(" 1800 ", " 2.5 ") + "2. 3. 3." + Repeat(".", 30));
    EXPECT_EQ(lines[3], MatrixRowPrefix(" 1810 ", " 3 ") + "3. 3. 4." + Repeat(".", 30));
    EXPECT_EQ(lines[4], "");
    // (2 + 3 + 2 + 3 + 3 + 3) / (9 - 3) = 16/6.
    EXPECT_EQ(lines[5], "     Average Overall   2.666667");
}

TEST(InfoPagingLastInfo, TheShareShiftMatrixWithRowAverages) {
    auto f = ShiftsForm();
    f->Click("InfoStats");
    f->Click("NextInfo");
    f->Click("NextLastInfo");
    f->Click("LastInfo");
    const auto& lines = f->Text.Lines();
    ASSERT_EQ(lines.size(), 6u);
    // ShareShift (InfoStatsTest): (1,2) 13/99, (1,3) 1/15, (2,1) .125, (2,3) .395/3,
    // (3,1) 1/12, (3,2) (1/3)(.0545454/.4 + .0636364/.3 + .0181818/.2) = .1464646.
    // Twenty-two columns whatever the number of dates.
    const double averages[3] = {(13.0 / 99 + 1.0 / 15) / 2, (0.125 + 0.395 / 3) / 2, (1.0 / 12 + 0.1464646) / 2};
    const std::string values[3] = {". .131 .067", ".125 . .132", ".083 .146 ."};
    for (int t = 0; t < 3; ++t) {
        const std::string& line = lines[1 + t];
        ASSERT_GE(line.size(), 28u);
        EXPECT_EQ(line.substr(0, 14), std::string(" ") + " " + std::to_string(1790 + 10 * t) + "        ");
        EXPECT_NEAR(std::stod(line.substr(14, 14)), averages[t], 1e-6) << t;
        EXPECT_EQ(line.substr(28), values[t] + Repeat(".", 19)) << t;
    }
    EXPECT_EQ(lines[4], "");
    // AvShareShift = (13/99 + 1/15 + .395/3)/3 = .1098822.
    EXPECT_EQ(lines[5], "     Average Overall   .109882");
}

}  // namespace

TEST(InfoPagingLastInfo, ColumnsBeyondTheLoadedDatesStayZeroAfterALargerDataSet) {
    // First the real data (22 dates) leaves ShareShift filled; then a table of 3 dates.
    auto f = FormWithRealData();
    f->Click("InfoStats");
    f->InstallData(LoadDataText("\"A\",50,40,30\n\"B\",30,35,45\n\"C\",20,25,25\n", "small.csv", 3, 3));
    for (const char* step : {"InfoStats", "NextInfo", "NextLastInfo", "LastInfo"}) f->Click(step);
    int rows = 0;
    for (const std::string& line : f->Text.Lines()) {
        std::istringstream in(line);
        std::vector<std::string> tokens;
        for (std::string tok; in >> tok;) tokens.push_back(tok);
        if (tokens.size() != 24) continue;  // year, row average, 22 columns
        ++rows;
        for (std::size_t k = 5; k < tokens.size(); ++k) EXPECT_EQ(tokens[k], ".") << line;
    }
    EXPECT_EQ(rows, 3);
}
