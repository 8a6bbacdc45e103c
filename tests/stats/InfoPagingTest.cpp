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
