#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>

#include "draw/Contrast.h"
#include "TestForm.h"
#include "draw/Formats.h"

namespace {

std::unique_ptr<Form> Load(const std::string& name, int cities, int dates) {
    return FormWithTestFile("ranksize/" + name, cities, dates);
}

}  // namespace

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
        EXPECT_EQ(curve.back().colour, VisiblePaletteColour(g % 16, f->Picture1.BackColor)) << g;  // black at 16, unless too close
    }
    f->Click("NextGraph");
    EXPECT_FALSE(f->panel.Visible("NextGraph"));
    for (auto name : MainCommandSet) EXPECT_TRUE(f->panel.Visible(name)) << name;
    EXPECT_TRUE(f->Picture1.Ops().empty());
    EXPECT_TRUE(f->Text.Lines().empty());
}
