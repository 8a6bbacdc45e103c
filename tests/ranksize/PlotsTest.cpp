// The rank-size pictures and Zipf estimates on small hand-ranked tables (tests/data/ranksize).
#include <gtest/gtest.h>

#include <cmath>

#include "draw/Contrast.h"
#include "draw/Ticks.h"
#include "TestForm.h"

namespace {

std::unique_ptr<Form> Load(const std::string& name, int cities, int dates) { return FormWithTestFile("ranksize/" + name, cities, dates); }

// shift22.csv, 22 dates (1950 is date 17): 1 Alpha 5000, 1000 in 2000; 2 Beta 4000, absent
// 1840..1860, 6000 in 2000; 3 Gamma 3000 in 1950 only; 4 Delta 2000, 2500 in 2000;
// 5 Epsilon 100 from 1960. Present: 3 cities, 2 in 1840..1860, 4 from 1950.
std::unique_ptr<Form> Shift22() { return Load("shift22.csv", 5, 22); }

// Ops of one city (city >= 1) or of one date's curve (city 0).
std::vector<DrawOp> Ops(const Form& f, int city, int date = 0) {
    std::vector<DrawOp> out;
    for (const auto& op : f.Picture1.Ops())
        if (op.tag.city == city && (date == 0 || op.tag.date == date)) out.push_back(op);
    return out;
}

bool IsMark(const DrawOp& op) { return op.x1 == op.x2 && op.y1 == op.y2; }

std::vector<int> MarkDates(const std::vector<DrawOp>& ops) {
    std::vector<int> dates;
    for (const auto& op : ops)
        if (IsMark(op)) dates.push_back(op.tag.date);
    return dates;
}

Colour Grey(int level) { return RGB(level, level, level); }

}  // namespace

// Each date's curve has NumPresent(t) points (black mark, then n - 1 segments in the fading
// greys 255 - (t - 1) * 255/22: 255, 243, ..., 127 at t = 12, ..., 12); point k is rank k.
// 1950's points are (rank, population), (ln population, ln cumulative rank) and
// (population, cumulative rank) counted from the smallest present city.
TEST(Distributions, OneCurvePerDateThroughItsPresentCities) {
    const int greys[22] = {255, 243, 232, 220, 209, 197, 185, 174, 162, 151, 139,
                           127, 116, 104, 93,  81,  70,  58,  46,  35,  23,  12};
    const struct {
        const char* command;
        double want[4][2];
    } families[] = {
        {"SizeRank", {{1, 5000}, {2, 4000}, {3, 3000}, {4, 2000}}},
        {"CumRankSize", {{std::log(5000), std::log(4)},
                         {std::log(4000), std::log(3)},
                         {std::log(3000), std::log(2)},
                         {std::log(2000), 0}}},
        {"CumSizeRank", {{5000, 4}, {4000, 3}, {3000, 2}, {2000, 1}}},
    };
    for (const auto& fam : families) {
        SCOPED_TRACE(fam.command);
        auto f = Shift22();
        f->Click(fam.command);
        for (int t = 1; t <= 22; ++t) {
            auto curve = Ops(*f, 0, t);
            ASSERT_EQ(static_cast<int>(curve.size()), static_cast<int>(f->data->NumPresent(t))) << t;
            EXPECT_EQ(curve[0].colour, Black);
            EXPECT_EQ(curve.back().colour, Visible(Grey(greys[t - 1]), f->Picture1.BackColor)) << t;
            EXPECT_EQ(curve.back().tag.series, RankCurve);
            EXPECT_EQ(curve.back().tag.point, static_cast<int>(curve.size()));
        }
        const PlotFrame& fr = f->frame;
        auto c1950 = Ops(*f, 0, 17);
        for (int k = 0; k < 4; ++k) {
            EXPECT_NEAR((c1950[k].x2 - 1200) / fr.XScale, fam.want[k][0], 1e-3 * std::fmax(1, fam.want[k][0]));
            EXPECT_NEAR((8300 - c1950[k].y2) / fr.YScale, fam.want[k][1], 1e-3 * std::fmax(1, fam.want[k][1]));
        }
        EXPECT_EQ(f->Picture1.Ops().back().kind, OpKind::Text);  // axes redrawn on top
    }
}

// 1950 order: Alpha, Beta, Gamma, Delta. In 2000 Gamma is gone: the red line goes from
// Alpha (ln 1, ln 1000) to Beta (ln 2, ln 6000), breaks, and Delta starts a new run with a
// one-point mark at (ln 4, ln 2500). It starts at rank 1 though Alpha has fallen.
TEST(RankShift, RedLineBreaksAtACityAbsentAtTheLastDate) {
    auto f = Shift22();
    f->Click("DataProperties");
    f->Click("Clear");
    f->Click("RankShift");
    std::vector<DrawOp> red;
    for (const auto& op : f->Picture1.Ops())
        if (op.colour == RGB(255, 0, 0)) red.push_back(op);
    ASSERT_EQ(red.size(), 3u);
    EXPECT_EQ(MarkDates(red), (std::vector<int>{22, 22}));
    EXPECT_TRUE(IsMark(red[0]) && !IsMark(red[1]) && IsMark(red[2]));
    const double xs = 6600 / (1.1 * std::log(100)), ys = 7600 / (1.1 * std::log(1e7));
    const double want[3][2] = {{0, std::log(1000)}, {std::log(2), std::log(6000)}, {std::log(4), std::log(2500)}};
    const int city[3] = {1, 2, 4};
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(red[k].x2, 1200 + want[k][0] * xs, 0.05);
        EXPECT_NEAR(red[k].y2, 8300 - want[k][1] * ys, 0.05);
        EXPECT_EQ(red[k].tag.city, city[k]);
        EXPECT_EQ(red[k].width, 2);
    }
    EXPECT_EQ(Ops(*f, 0, 17).back().colour, Black);  // rank-size curves in the axis colour
    EXPECT_EQ(f->Picture1.DrawWidth, 2);
}

// Beta (present 1..5 and 9..22) is two paths, black marks at 1790 and 1870; Gamma (1950
// only) is one black mark. Greys step by 255/6 = 42.5 per city, ties to even: Beta 42.
TEST(RankSpace, PathsBreakWhereACityIsAbsent) {
    auto f = Shift22();
    f->Click("RankSpace");
    auto beta = Ops(*f, 2);
    ASSERT_EQ(beta.size(), 2u + 4u + 13u);
    std::vector<int> blackDates;  // Beta stands still at times, so marks are told by colour
    for (const auto& op : beta) {
        if (op.colour == Black) blackDates.push_back(op.tag.date);
        else EXPECT_EQ(op.colour, Grey(42));
        EXPECT_EQ(op.width, 2);
    }
    EXPECT_EQ(blackDates, (std::vector<int>{1, 9}));
    EXPECT_EQ(Ops(*f, 4)[1].colour, Grey(128));  // 3 * 42.5 = 127.5
    auto gamma = Ops(*f, 3);
    ASSERT_EQ(gamma.size(), 1u);
    EXPECT_EQ(gamma[0].colour, Black);
    EXPECT_EQ(gamma[0].tag, (OpTag{3, 17, 0}));
    // Beta in 1870 is rank 2 of 4000: (ln 2, ln 4000) on ranges 1.1 ln 6000 and 1.1 ln 4.
    EXPECT_NEAR(beta[5].x2, 1200 + std::log(2) * 6600 / (1.1 * std::log(4)), 0.05);
    EXPECT_NEAR(beta[5].y2, 8300 - std::log(4000) * 7600 / (1.1 * std::log(6000)), 0.05);
}

// traj.csv, 1790..1820: 1 Unit 100, 1 (a true 1), -, -; 2 Early 300, 400, 500, 600;
// 3 Late -, -, 200, 700; 4 Gap 200, -, 100, 150; 5 Once -, 50, -, -. Order in 1790: Early,
// Gap, Unit, Late, Once. Rank Change greys step 255/5 = 51 from 0, Pop Change from 25.
// Unit's 1 ranks 3rd of the 3 present in 1800 (ties by city number), so Rank Change draws
// it, while Pop Change treats exactly 1.0 as absent.
TEST(Trajectories, LinesBreakWhereCitiesAreAbsent) {
    auto f = Load("traj.csv", 5, 4);
    const struct {
        const char* command;
        int city;
        std::vector<int> marks;
        std::size_t ops;
        int grey;
    } cases[] = {
        {"RankChange", 2, {1}, 4, 0},    {"RankChange", 4, {1, 3}, 3, 51}, {"RankChange", 1, {1}, 2, 102},
        {"RankChange", 3, {3}, 2, 153},  {"RankChange", 5, {2}, 1, 204},   {"PopChange", 1, {1}, 1, 127},
        {"PopChange", 4, {1, 3}, 3, 76}, {"PopChange", 5, {2}, 1, 229},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.command) + " city " + std::to_string(c.city));
        f->Click(c.command);
        auto ops = Ops(*f, c.city);
        ASSERT_EQ(ops.size(), c.ops);
        EXPECT_EQ(MarkDates(ops), c.marks);
        EXPECT_EQ(ops[0].colour, Visible(Grey(c.grey), f->Picture1.BackColor));  // the mark too is in the city's colour
    }
    // Dates at 1200 + 1650 * 4 * (t - 1) / 3; rank 1 lowest, 7600 / 3.3 above the axis.
    f->Click("RankChange");
    auto early = Ops(*f, 2);
    EXPECT_NEAR(early[0].y1, 8300 - 7600 / 3.3, 1e-2);
    EXPECT_NEAR(early[3].x2, 7800, 1e-2);
    EXPECT_NEAR(early[3].y2, 8300 - 2 * 7600 / 3.3, 1e-2);  // rank 2 in 1820
}

// Data Properties: the label "2000" centred over the curve's last point (its segments are 2 wide).
TEST(DataProperties, TheYearAxisMeetsTheCurve) {
    auto f = FormWithRealData();
    f->Click("DataProperties");
    const DrawOp *last = nullptr, *label = nullptr;
    for (const auto& op : f->Picture1.Ops()) {
        if (op.kind == OpKind::Line && op.width == 2) last = &op;
        if (op.kind == OpKind::Text && op.text == "2000") label = &op;
    }
    ASSERT_TRUE(last && label);
    EXPECT_NEAR(label->x1 + LabelWidth(label->text, label->fontSize) / 2, last->x2, 30);
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
        EXPECT_EQ(curve.back().colour, VisiblePaletteColour(g % 16, f->Picture1.BackColor)) << g;  // black at 16, unless too close
    }
    f->Click("NextGraph");
    EXPECT_FALSE(f->panel.Visible("NextGraph"));
    for (auto name : MainCommandSet) EXPECT_TRUE(f->panel.Visible(name)) << name;
    EXPECT_TRUE(f->Picture1.Ops().empty());
    EXPECT_TRUE(f->Text.Lines().empty());
}
