#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>

#include "TestForm.h"
#include "draw/Formats.h"

namespace {

std::unique_ptr<Form> Load(const std::string& name, int cities, int dates) {
    return FormWithTestFile("ranksize/" + name, cities, dates);
}

// Two blanks, then the four values in print zones of 14 columns.
std::string Summary(const std::string& a, const std::string& b, const std::string& c, const std::string& d) {
    std::string s = "  " + a;
    for (const std::string* v : {&b, &c, &d}) {
        s.resize((s.size() / 14 + 1) * 14, ' ');
        s += *v;
    }
    return s;
}

}  // namespace

// zipfhand.csv, 1790: 400, 200, 100, shares 4/7, 2/7, 1/7.
//   k = 3: H = ln 4 + ln 2 = 3 ln 2, estimate 1 / ln 2 = 1.4427; k = 2: 2 / ln 2 = 2.8854;
//   mean 2.1640; slope: Sxy = -ln 2 ln 3 = -.76146, Sxx = .61727, -1.23366.
// 1800: 300, 200, 100: k = 3: 3 / ln 6 = 1.6743; k = 2: 2 / ln 1.5 = 4.9326; mean 3.3035;
//   slope -.58968 / .61727 = -.95531.
// zipfformats.csv, 1790: 7389056 / 1000000 = e^2 to 7 digits, so 2 / 2 = 1 prints "1.";
//   slope ln(1 / 7.389056) / ln 2 = -2.885. 1800: 1000000, 504330: 2 / ln 1.982829 = 2.9217,
//   slope ln .50433 / ln 2 = -.98756 prints "-.988".
TEST(Zipf, HandWorkedSummaryLinesAndTheirFormats) {
    auto f = Load("zipfhand.csv", 3, 2);
    f->Click("Zipf");
    EXPECT_EQ(f->Text.Lines(), (std::vector<std::string>{"", Summary("1.443", "2.885", "2.164", "-1.234"),
                                                         Summary("1.674", "4.933", "3.303", "-.955")}));
    EXPECT_NEAR(f->zipf.CutoffShare(1, 1), 1.0 / 7, 1e-7);  // index 1 is cut-off rank 3
    EXPECT_TRUE(f->panel.Visible("NextGraph") && !f->panel.Visible("Zipf"));
    // Empty axes: yRange 1.1 * 4.9326 and xRange 1.1 * 2/6, the largest estimate and share.
    EXPECT_NEAR(f->frame.YScale, 7600 / (1.1 * 2 / std::log(1.5)), 1e-2);
    EXPECT_NEAR(f->frame.XScale, 6600 / (1.1 * 2 / 6), 1e-1);

    auto g = Load("zipfformats.csv", 2, 2);
    g->Click("Zipf");
    EXPECT_EQ(g->Text.Lines()[1], Summary("1.", "1.", "1.", "-2.885"));
    EXPECT_EQ(g->Text.Lines()[2], Summary("2.922", "2.922", "2.922", "-.988"));
}

// Populations 720720 / i, ranks 1..6: ln population falls by exactly ln rank, slope -1.
TEST(Zipf, ExactZipfDataHasSlopeMinusOne) {
    std::string csv;
    for (int i = 1; i <= 6; ++i) {
        const std::string pop = std::to_string(720720 / i);
        csv += "\"C" + std::to_string(i) + "\"," + pop + "," + pop + "\n";
    }
    auto f = FormWithData(csv, 6, 2);
    f->Click("Zipf");
    EXPECT_EQ(f->Text.Lines()[1].substr(42), "-1.");
    EXPECT_EQ(f->Text.Lines()[2], f->Text.Lines()[1]);
}

// zipffail.csv, 1800: 500, 500, 100, so cut-off k = 2 has H = 0; zipffew.csv, 1800: one
// city. Each stops with a message naming the year; the 1790 line stays, and Next-Graph
// then leads back to the main panel instead of drawing unfinished estimates.
TEST(Zipf, UndefinedEstimatesStopWithAMessageNamingTheYear) {
    auto f = Load("zipffail.csv", 3, 2);
    const std::string equal = ErrorOf(*f, "Zipf");
    EXPECT_NE(equal.find("the 2 largest cities of 1800"), std::string::npos) << equal;
    EXPECT_EQ(f->Text.Lines().size(), 2u);
    f->Click("NextGraph");
    EXPECT_TRUE(f->panel.Visible("Zipf"));

    auto g = Load("zipffew.csv", 3, 2);
    const std::string few = ErrorOf(*g, "Zipf");
    EXPECT_NE(few.find("fewer than two cities are present in 1800"), std::string::npos) << few;
    EXPECT_EQ(g->Text.Lines().size(), 2u);
}

// Twenty-two presses add the 22 curves of n - 1 points in palette colour (date AND 15), so
// the 16th is black; the 23rd runs Clear-Data.
TEST(Zipf, NextGraphCyclesThePaletteAndReturnsToTheMainPanel) {
    auto f = FormWithRealData();
    f->Click("Zipf");
    for (int g = 1; g <= 22; ++g) {
        f->Click("NextGraph");
        std::vector<DrawOp> curve;
        for (const auto& op : f->Picture1.Ops())
            if (op.tag.date == g) curve.push_back(op);
        ASSERT_EQ(static_cast<int>(curve.size()), static_cast<int>(f->data->NumPresent(g)) - 1) << g;
        EXPECT_EQ(curve.front().colour, Black);
        EXPECT_EQ(curve.back().colour, g == 16 ? Black : PaletteColour(g % 16)) << g;
    }
    f->Click("NextGraph");
    EXPECT_FALSE(f->panel.Visible("NextGraph"));
    for (auto name : MainCommandSet) EXPECT_TRUE(f->panel.Visible(name)) << name;
    EXPECT_TRUE(f->Picture1.Ops().empty());
    EXPECT_TRUE(f->Text.Lines().empty());
}
