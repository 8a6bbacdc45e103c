#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestForm.h"

namespace {

// shift22.csv: five cities over 22 dates. Present cities per date: 3 at 1790..1830 and
// 1870..1940, 2 at 1840..1860, 4 from 1950 on. 1950: 5000, 4000, 3000, 2000 (and one absent);
// the largest population anywhere is 6000 (2000).
std::unique_ptr<Form> Shift22() {
    std::ifstream in(std::string(CITYSIZE_TEST_DATA) + "/ranksize/shift22.csv");
    std::stringstream s;
    s << in.rdbuf();
    return FormWithData(s.str(), 5, 22);
}

struct Point {
    double x, y;
};

// The points of the curve of date t, back in data units of the last frame.
std::vector<Point> CurveOfDate(const Form& f, int t) {
    std::vector<Point> pts;
    for (const auto& op : f.Picture1.Ops())
        if (op.tag.city == 0 && op.tag.date == t)
            pts.push_back({(op.x2 - f.frame.LeftMargin) / f.frame.XScale,
                           (f.frame.PlotHeight + f.frame.TopMargin - op.y2) / f.frame.YScale});
    return pts;
}

std::vector<DrawOp> OpsOfDate(const Form& f, int t) {
    std::vector<DrawOp> out;
    for (const auto& op : f.Picture1.Ops())
        if (op.tag.city == 0 && op.tag.date == t) out.push_back(op);
    return out;
}

void ExpectPoints(const std::vector<Point>& got, const std::vector<Point>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t k = 0; k < want.size(); ++k) {
        EXPECT_NEAR(got[k].x, want[k].x, 1e-3 * std::max(1.0, std::abs(want[k].x))) << k;
        EXPECT_NEAR(got[k].y, want[k].y, 1e-3 * std::max(1.0, std::abs(want[k].y))) << k;
    }
}

bool HasText(const Form& f, const std::string& text) {
    for (const auto& op : f.Picture1.Ops())
        if (op.kind == OpKind::Text && op.text == text) return true;
    return false;
}

// The fading greys of 22 dates: 255 - (t - 1) * 255/22 in single steps, converted ties-to-even.
const int Greys[22] = {255, 243, 232, 220, 209, 197, 185, 174, 162, 151, 139,
                       127, 116, 104, 93,  81,  70,  58,  46,  35,  23,  12};

}  // namespace

// Each date gives NumPresent(t) points (the black mark and n - 1 segments) in its grey, and
// absent cities (population 1) are never among them.
TEST(Distributions, OneCurvePerDateWithItsPresentCitiesInFadingGreys) {
    for (const char* command : {"SizeRank", "CumRankSize", "CumSizeRank"}) {
        SCOPED_TRACE(command);
        auto f = Shift22();
        f->Click(command);
        const DataSet& d = *f->data;
        for (int t = 1; t <= 22; ++t) {
            auto ops = OpsOfDate(*f, t);
            ASSERT_EQ(static_cast<int>(ops.size()), static_cast<int>(d.NumPresent(t))) << t;
            EXPECT_EQ(ops[0].colour, Black);
            EXPECT_EQ(ops[0].x1, ops[0].x2);
            EXPECT_EQ(ops[0].y1, ops[0].y2);
            const Colour grey = RGB(Greys[t - 1], Greys[t - 1], Greys[t - 1]);
            for (std::size_t k = 0; k < ops.size(); ++k) {
                if (k > 0) {
                    EXPECT_EQ(ops[k].colour, grey) << t;
                }
                // Point k + 1 of the curve is the city at rank k + 1.
                EXPECT_EQ(ops[k].tag.series, RankCurve);
                EXPECT_EQ(ops[k].tag.point, static_cast<int>(k) + 1);
            }
        }
        // Axes drawn again on top: the picture ends with the two titles.
        EXPECT_EQ(f->Picture1.Ops().back().kind, OpKind::Text);
        EXPECT_EQ(f->Picture1.DrawWidth, 1);
        EXPECT_EQ(f->frame.AxisKind, 1);  // unchanged from loading
    }
}

// 1950 in shift22.csv: n = 4, populations 5000, 4000, 3000, 2000.
TEST(Distributions, PointsAndRangesOfTheThreeFamilies) {
    auto f = Shift22();
    // Size-rank: (rank, population); yRange = 1.1 * 6000, xRange = 1.1 * 4.
    f->Click("SizeRank");
    EXPECT_FLOAT_EQ(f->frame.YScale, 7600 / 6600.0f);
    EXPECT_FLOAT_EQ(f->frame.XScale, 6600 / 4.4f);
    ExpectPoints(CurveOfDate(*f, 17), {{1, 5000}, {2, 4000}, {3, 3000}, {4, 2000}});

    // Cumulative rank from the smallest, logarithms: (ln population, ln(n - j + 1));
    // yRange = 1.1 ln 4, xRange = 1.1 ln 6000.
    f->Click("CumRankSize");
    EXPECT_NEAR(f->frame.YScale, 7600 / (1.1 * std::log(4.0)), 1e-2);
    EXPECT_NEAR(f->frame.XScale, 6600 / (1.1 * std::log(6000.0)), 1e-2);
    ExpectPoints(CurveOfDate(*f, 17), {{std::log(5000.0), std::log(4.0)},
                                       {std::log(4000.0), std::log(3.0)},
                                       {std::log(3000.0), std::log(2.0)},
                                       {std::log(2000.0), 0}});

    // Cumulative rank against population: from (largest, n) down to (smallest, 1);
    // yRange = 1.1 * 4, xRange = 1.1 * 6000.
    f->Click("CumSizeRank");
    EXPECT_FLOAT_EQ(f->frame.YScale, 7600 / 4.4f);
    ExpectPoints(CurveOfDate(*f, 17), {{5000, 4}, {4000, 3}, {3000, 2}, {2000, 1}});
    // 1840: only 5000 and 2000 are present.
    ExpectPoints(CurveOfDate(*f, 6), {{5000, 2}, {2000, 1}});
}

// The axis kind is whatever the last command set: log-log labels right after loading, the
// year and "m" labels after Data Properties; the axis colour follows the background.
TEST(Distributions, AxesFollowThePersistentAxisKindAndTheBackground) {
    auto f = Shift22();
    f->Click("SizeRank");
    EXPECT_TRUE(HasText(*f, "10000000"));
    EXPECT_FALSE(HasText(*f, "1790"));
    f->Click("DataProperties");
    f->Click("Clear");
    f->Choose("BackMap", 1);
    f->Click("CumSizeRank");
    EXPECT_TRUE(HasText(*f, "1790"));
    EXPECT_TRUE(HasText(*f, "100m"));
    EXPECT_FALSE(HasText(*f, "10000000"));
    EXPECT_EQ(f->Picture1.BackColor, Black);
    EXPECT_EQ(f->Picture1.Ops().front().colour, LightGrey);  // the vertical axis
}

// A single present city at every date gives ln 1 = 0 as the vertical range of Cum-Rank-S.
TEST(Distributions, CumRankSizeWithOneCityStopsAtTheScale) {
    auto f = FormWithData("\"A\",10,20\n\"B\",0,0\n", 2, 2);
    EXPECT_THROW(f->Click("CumRankSize"), RunError);
    EXPECT_TRUE(f->Picture1.Ops().empty());
}
