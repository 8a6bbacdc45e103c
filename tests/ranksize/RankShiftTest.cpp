#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestForm.h"

namespace {

// shift22.csv, five cities over 22 dates (1950 is date 17, 2000 date 22):
//   1 Alpha    5000 at every date, 1000 in 2000
//   2 Beta     4000 at 1790..1830 and 1870..1990 (absent 1840..1860), 6000 in 2000
//   3 Gamma    3000 in 1950 only
//   4 Delta    2000 at every date, 2500 in 2000
//   5 Epsilon  100 from 1960 on
std::unique_ptr<Form> Shift22() {
    std::ifstream in(std::string(CITYSIZE_TEST_DATA) + "/ranksize/shift22.csv");
    std::stringstream s;
    s << in.rdbuf();
    return FormWithData(s.str(), 5, 22);
}

std::vector<DrawOp> OpsWhere(const Form& f, bool (*pred)(const DrawOp&)) {
    std::vector<DrawOp> out;
    for (const auto& op : f.Picture1.Ops())
        if (pred(op)) out.push_back(op);
    return out;
}

std::vector<DrawOp> OpsOfCity(const Form& f, int c) {
    std::vector<DrawOp> out;
    for (const auto& op : f.Picture1.Ops())
        if (op.tag.city == c) out.push_back(op);
    return out;
}

bool IsMark(const DrawOp& op) { return op.x1 == op.x2 && op.y1 == op.y2; }

double DataX(const Form& f, float px) { return (px - f.frame.LeftMargin) / f.frame.XScale; }
double DataY(const Form& f, float py) { return (f.frame.PlotHeight + f.frame.TopMargin - py) / f.frame.YScale; }

const Colour Red = 255;

}  // namespace

// In 1950 the order is Alpha, Beta, Gamma, Delta (four present). In 2000 Gamma is gone, so
// the red line runs Alpha (ln 1, ln 1000) -> Beta (ln 2, ln 6000), breaks, and Delta starts
// a new run with a one-point mark at (ln 4, ln 2500). It starts at rank 1 although Alpha
// is no longer the largest city in 2000.
TEST(RankShift, RedLineBreaksAtACityAbsentAtTheLastDate) {
    auto f = Shift22();
    f->Click("DataProperties");
    f->Click("Clear");
    f->Click("RankShift");
    auto red = OpsWhere(*f, [](const DrawOp& op) { return op.kind == OpKind::Line && op.colour == Red; });
    ASSERT_EQ(red.size(), 3u);
    EXPECT_TRUE(IsMark(red[0]));
    EXPECT_FALSE(IsMark(red[1]));
    EXPECT_TRUE(IsMark(red[2]));
    EXPECT_EQ(red[0].x2, f->frame.LeftMargin);
    EXPECT_NEAR(DataY(*f, red[0].y2), std::log(1000.0), 1e-4);
    EXPECT_NEAR(DataX(*f, red[1].x2), std::log(2.0), 1e-4);
    EXPECT_NEAR(DataY(*f, red[1].y2), std::log(6000.0), 1e-4);
    EXPECT_NEAR(DataX(*f, red[2].x2), std::log(4.0), 1e-4);
    EXPECT_NEAR(DataY(*f, red[2].y2), std::log(2500.0), 1e-4);
    for (const auto& op : red) EXPECT_EQ(op.width, 2);
    EXPECT_EQ(red[0].tag, (OpTag{1, 22, 0}));
    EXPECT_EQ(red[1].tag, (OpTag{2, 22, 0}));
    EXPECT_EQ(red[2].tag, (OpTag{4, 22, 0}));

    // Fixed ranges 1.1 ln 10^7 and 1.1 ln 100; log-log axes again; width left at 2.
    EXPECT_NEAR(f->frame.YScale, 7600 / (1.1 * std::log(1e7)), 1e-3);
    EXPECT_NEAR(f->frame.XScale, 6600 / (1.1 * std::log(100.0)), 1e-2);
    EXPECT_EQ(f->frame.AxisKind, 1);
    EXPECT_EQ(f->Picture1.DrawWidth, 2);
    EXPECT_EQ(f->frame.PlotColor, 255);
}

// Underneath, the 22 rank-size curves, all in the axis colour and width 1.
TEST(RankShift, RankSizeCurvesInTheAxisColour) {
    auto f = Shift22();
    f->Choose("BackMap", 1);
    f->Click("RankShift");
    const DataSet& d = *f->data;
    for (int t = 1; t <= 22; ++t) {
        std::vector<DrawOp> curve;
        for (const auto& op : f->Picture1.Ops())
            if (op.tag.city == 0 && op.tag.date == t) curve.push_back(op);
        ASSERT_EQ(static_cast<int>(curve.size()), static_cast<int>(d.NumPresent(t))) << t;
        EXPECT_EQ(curve[0].colour, Black);
        for (std::size_t k = 1; k < curve.size(); ++k) {
            EXPECT_EQ(curve[k].colour, LightGrey);
            EXPECT_EQ(curve[k].width, 1);
        }
    }
    EXPECT_EQ(f->Picture1.BackColor, Black);
}

// With fewer than 17 dates there is no 1950: the curves are drawn, then the command stops.
TEST(RankShift, NeedsSeventeenDates) {
    auto f = FormWithData("\"A\",300,200\n\"B\",100,150\n", 2, 2);
    EXPECT_THROW(f->Click("RankShift"), RunError);
    int curveOps = 0, redOps = 0;
    for (const auto& op : f->Picture1.Ops()) {
        curveOps += op.tag.date != 0;
        redOps += op.colour == Red;
    }
    EXPECT_EQ(curveOps, 4);
    EXPECT_EQ(redOps, 0);
}

// Beta, present at dates 1-5 and 9-22, is two paths: black marks at dates 1 and 9, then
// 4 and 13 segments in its grey. ColorStep = 255 / 6 = 42.5, so city c has grey
// (c - 1) * 42.5 converted ties-to-even: 0, 42, 85, 128, 170. Gamma, present in 1950 only,
// is one black mark. Positions are (ln rank, ln population).
TEST(RankSpace, PathsBreakWhereACityIsAbsent) {
    auto f = Shift22();
    f->Click("RankSpace");
    auto beta = OpsOfCity(*f, 2);
    ASSERT_EQ(beta.size(), 2u + 4u + 13u);
    std::vector<int> markDates;
    for (std::size_t k = 0; k < beta.size(); ++k) {
        EXPECT_EQ(beta[k].width, 2);
        if (beta[k].colour == Black) {
            EXPECT_TRUE(IsMark(beta[k]));
            markDates.push_back(beta[k].tag.date);
        } else {
            EXPECT_EQ(beta[k].colour, RGB(42, 42, 42)) << k;
        }
    }
    EXPECT_EQ(markDates, (std::vector<int>{1, 9}));
    EXPECT_EQ(beta[5].tag, (OpTag{2, 9, 0}));
    // The segment into 1950 starts where 1940 ended: no jump over the gap is drawn.
    EXPECT_EQ(beta[4].tag.date, 5);
    EXPECT_EQ(beta[6].tag.date, 10);
    // 1870: Alpha 5000, Beta 4000, Delta 2000, so Beta is rank 2.
    EXPECT_NEAR(DataX(*f, beta[5].x2), std::log(2.0), 1e-4);
    EXPECT_NEAR(DataY(*f, beta[5].y2), std::log(4000.0), 1e-4);

    auto gamma = OpsOfCity(*f, 3);
    ASSERT_EQ(gamma.size(), 1u);
    EXPECT_TRUE(IsMark(gamma[0]));
    EXPECT_EQ(gamma[0].colour, Black);
    EXPECT_EQ(gamma[0].tag, (OpTag{3, 17, 0}));

    auto delta = OpsOfCity(*f, 4);
    ASSERT_EQ(delta.size(), 22u);
    EXPECT_EQ(delta[1].colour, RGB(128, 128, 128));
    auto epsilon = OpsOfCity(*f, 5);
    ASSERT_EQ(epsilon.size(), 5u);
    EXPECT_EQ(epsilon[1].colour, RGB(170, 170, 170));

    // Ranges: 1.1 ln 6000 (Beta in 2000) and 1.1 ln 4 (four cities from 1950 on).
    EXPECT_NEAR(f->frame.YScale, 7600 / (1.1 * std::log(6000.0)), 1e-2);
    EXPECT_NEAR(f->frame.XScale, 6600 / (1.1 * std::log(4.0)), 1e-2);
    EXPECT_EQ(f->Picture1.DrawWidth, 1);
}

// Rank-Space sets only the background: right after a grey plot and a switch to black,
// its axes stay black on the black background.
TEST(RankSpace, KeepsTheAxisColourOfThePreviousCommand) {
    auto f = Shift22();
    f->Click("SizeRank");
    f->Choose("BackMap", 1);
    f->Click("RankSpace");
    EXPECT_EQ(f->Picture1.BackColor, Black);
    EXPECT_EQ(f->frame.AxisColor, 0);
    const DrawOp& axis = f->Picture1.Ops().front();
    EXPECT_EQ(axis.colour, Black);
    EXPECT_EQ(axis.tag, OpTag{});
}
