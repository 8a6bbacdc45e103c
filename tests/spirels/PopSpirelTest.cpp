#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "draw/Contrast.h"
#include "TestForm.h"
#include "spirels/PopSpirel.h"

namespace {

// The face of a 9000 x 9000 picture: margins of 700, R = (9000 - 1400) / 2, centre 4500.
constexpr float R = 3800;
constexpr float Centre = 4500;

// Twenty-five cities of 100 people at three dates, city 25 absent at the second: 25, 24
// and 25 present. Shares of the top 10: 10/25, 10/24, 10/25; of the top 50: 1 throughout.
// With three dates each step turns by pi: date 2 straight down, date 3 back at the top.
std::string EqualCities() {
    std::string csv;
    for (int c = 1; c <= 25; ++c)
        csv += "\"C" + std::to_string(c) + "\",100," + (c == 25 ? "0" : "100") + ",100\n";
    return csv;
}

std::vector<DrawOp> CurveOps(const Form& f, int series) {
    std::vector<DrawOp> ops;
    for (const DrawOp& op : f.Picture1.Ops())
        if (op.kind == OpKind::Line && op.tag.series == series) ops.push_back(op);
    return ops;
}

// The vertices of a curve: the mark, then the end of every segment.
std::vector<std::pair<float, float>> Vertices(const std::vector<DrawOp>& ops) {
    std::vector<std::pair<float, float>> v;
    for (const DrawOp& op : ops) v.push_back({op.x2, op.y2});
    return v;
}

double Distance(std::pair<float, float> p) { return std::hypot(p.first - Centre, p.second - Centre); }

std::vector<float> CircleRadii(const Form& f) {
    std::vector<float> r;
    for (const DrawOp& op : f.Picture1.Ops())
        if (op.kind == OpKind::Circle) r.push_back(op.radius);
    return r;
}

}  // namespace

TEST(PopSpirel, BeforePopStatsEveryCurveLiesAtTheCentre) {
    auto f = FormWithRealData();
    f->Click("PopSpirel");
    for (int s = 1; s <= 4; ++s) {
        std::vector<DrawOp> ops = CurveOps(*f, s);
        ASSERT_EQ(ops.size(), 21u) << s;  // dates 2..22: a mark and 20 segments
        for (auto p : Vertices(ops)) EXPECT_LT(Distance(p), 1e-3) << s;
    }
}

TEST(PopSpirel, CurvesStartWithTheSecondDateOnItsOwnSpoke) {
    auto f = FormWithData(EqualCities(), 25, 3);
    f->Click("PopStats");
    f->Click("Clear");
    f->Click("PopSpirel");
    std::vector<DrawOp> ops = CurveOps(*f, 3);  // the ten largest cities
    ASSERT_EQ(ops.size(), 2u);
    // The mark: a line with both ends at date 2's point, 3800 * 10/24 = 1583.33 below the
    // centre (not 3800 * 10/25 = 1520, the first date's share).
    EXPECT_EQ(ops[0].x1, ops[0].x2);
    EXPECT_EQ(ops[0].y1, ops[0].y2);
    EXPECT_NEAR(ops[0].x2, Centre, 0.01);
    EXPECT_NEAR(ops[0].y2, Centre + 1583.333, 0.01);
    // Date 3 back at the top: 3800 * 0.4 = 1520 above the centre.
    EXPECT_NEAR(ops[1].x2, Centre, 0.01);
    EXPECT_NEAR(ops[1].y2, Centre - 1520, 0.01);
    // A share of 1 lies on the outer ring.
    const std::vector<float> rings = CircleRadii(*f);
    ASSERT_EQ(rings.size(), 5u);
    for (auto p : Vertices(CurveOps(*f, 4))) EXPECT_NEAR(Distance(p), rings.front(), 0.01);
    // And a fifth on the innermost ring.
    for (int t = 1; t <= 3; ++t) f->pop.TopTenPctShare(t) = 0.2f;
    f->Click("PopSpirel");
    EXPECT_FLOAT_EQ(rings.back(), R / 5);
    for (auto p : Vertices(CurveOps(*f, 1))) EXPECT_NEAR(Distance(p), rings.back(), 0.01);
}

TEST(PopSpirel, ColoursWidthsAndFaceOnBothBackgrounds) {
    for (int back : {0, 1}) {
        auto f = FormWithData(EqualCities(), 25, 3);
        f->Choose("BackMap", back);
        f->Click("PopSpirel");
        const Colour fg = back == 1 ? LightGrey : Black;
        EXPECT_EQ(f->Picture1.BackColor, back == 1 ? Black : LightGrey);
        int circles = 0, spokes = 0, labels = 0;
        for (const DrawOp& op : f->Picture1.Ops()) {
            if (op.tag.series != 0) continue;
            EXPECT_EQ(op.colour, fg);
            EXPECT_EQ(op.width, 1);
            circles += op.kind == OpKind::Circle;
            spokes += op.kind == OpKind::Line;
            labels += op.kind == OpKind::Text;
        }
        EXPECT_EQ(circles, 5);
        EXPECT_EQ(spokes, 2);  // NumDates - 1
        EXPECT_EQ(labels, 2);
        // Green and red run under blue and yellow: drawn wider, they show on both sides.
        const Colour expected[] = {RGB(0, 255, 0), RGB(255, 0, 0), RGB(0, 0, 255), RGB(255, 255, 0)};
        for (int s = 1; s <= 4; ++s)
            for (const DrawOp& op : CurveOps(*f, s)) {
                EXPECT_EQ(op.colour, Visible(expected[s - 1], f->Picture1.BackColor)) << s;
                EXPECT_EQ(op.width, s <= 2 ? 7 : 3) << s;
            }
        EXPECT_EQ(f->Picture1.DrawWidth, 1);
        EXPECT_EQ(ColourFromFloat(f->frame.PlotColor), Visible(RGB(255, 255, 0), f->Picture1.BackColor));
    }
}

TEST(PopSpirel, RealDataCurvesFollowTheSpokesAtTheirShares) {
    auto f = FormWithRealData();
    f->Click("PopStats");
    f->Click("Clear");
    f->Click("PopSpirel");
    const DataSet& d = *f->data;
    // The spoke ends in drawing order: spoke t belongs to date t; date 22 shares spoke 1.
    std::vector<std::pair<float, float>> spokeEnds;
    for (const DrawOp& op : f->Picture1.Ops())
        if (op.kind == OpKind::Line && op.tag.series == 0) spokeEnds.push_back({op.x2, op.y2});
    ASSERT_EQ(spokeEnds.size(), 21u);

    std::vector<std::pair<float, float>> points = Vertices(CurveOps(*f, 3));
    ASSERT_EQ(points.size(), 21u);
    for (int t = 2; t <= 22; ++t) {
        // The share of the ten largest present cities, summed here from PopTable.
        std::vector<float> pops;
        for (int c = 1; c <= d.NumCities; ++c)
            if (d.Present(c, t) == 1) pops.push_back(d.PopTable(c, t));
        std::sort(pops.begin(), pops.end(), std::greater<float>());
        double top = 0, total = 0;
        for (std::size_t i = 0; i < pops.size(); ++i) {
            total += pops[i];
            if (i < 10) top += pops[i];
        }
        const auto p = points[static_cast<std::size_t>(t - 2)];
        EXPECT_NEAR(Distance(p), R * top / total, 0.01) << d.DateYear(t);
        // On its own spoke: collinear with the centre and on the same side.
        const auto e = spokeEnds[static_cast<std::size_t>(t == 22 ? 0 : t - 1)];
        const double ex = e.first - Centre, ey = e.second - Centre;
        const double px = p.first - Centre, py = p.second - Centre;
        EXPECT_NEAR((ex * py - ey * px) / R, 0, 0.05) << d.DateYear(t);
        EXPECT_GT(ex * px + ey * py, 0) << d.DateYear(t);
    }
}
