#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "draw/Contrast.h"
#include "TestForm.h"
#include "spirels/InfoSpirel.h"

namespace {

// Picture1 is 9000 twips square: PlotWidth = 9000 - 1400 = 7600, R = 3800, centre (4500, 4500).
constexpr double R = 3800, Cx = 4500, Cy = 4500;
constexpr Colour Yellow = 65535, Red = 255, White = 16777215, Blue = 16711680, Green = 65280, Magenta = 16711935;

double Distance(float x, float y) { return std::hypot(x - Cx, y - Cy); }

// The curve ops by series number, in drawing order; the face ops carry no series.
std::map<int, std::vector<DrawOp>> Curves(const Picture& p) {
    std::map<int, std::vector<DrawOp>> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.series > 0) out[op.tag.series].push_back(op);
    return out;
}

int Count(const Picture& p, OpKind kind, bool curve) {
    int n = 0;
    for (const DrawOp& op : p.Ops()) n += op.kind == kind && op.tag.series >= 0 && (op.tag.series > 0) == curve;
    return n;
}

// The angle of date t: date 1 straight up, 2 pi / 21 per date to the right.
double DateAngle(int t) { return 6.2831853 / 4 + (t - 1) * 2 * 3.14159265 / 21; }

TEST(InfoSpirel, BeforeTheStatisticsTheInformationCurvesLieOnTheInnerCircle) {
    auto f = FormWithRealData();
    f->Click("InfoSpirel");
    const Picture& p = f->Picture1;
    // The face: five rings, 21 spokes, 21 year labels.
    EXPECT_EQ(Count(p, OpKind::Circle, false), 5);
    EXPECT_EQ(Count(p, OpKind::Line, false), 21);
    EXPECT_EQ(Count(p, OpKind::Text, false), 21);
    auto curves = Curves(p);
    ASSERT_EQ(curves.size(), 6u);
    const Colour colours[6] = {Yellow, Red, White, Blue, Green, Magenta};
    for (int s = 1; s <= 6; ++s) {
        const auto& ops = curves[s];
        // Dates 2..22: a dot and 20 segments, not closed back to the first point.
        ASSERT_EQ(ops.size(), 21u) << s;
        EXPECT_EQ(ops[0].x1, ops[0].x2);
        EXPECT_EQ(ops[0].y1, ops[0].y2);
        for (std::size_t k = 0; k < ops.size(); ++k) {
            EXPECT_EQ(ops[k].colour, Visible(colours[s - 1], p.BackColor));
            EXPECT_EQ(ops[k].width, 2);
            EXPECT_EQ(ops[k].tag.date, static_cast<int16_t>(k + 2));
            // Every field is still 0: information at 500 twips, growth at the centre.
            EXPECT_NEAR(Distance(ops[k].x2, ops[k].y2), s <= 3 ? 500.0 : 0.0, 0.01) << s << " " << k;
            if (k > 0) {
                EXPECT_EQ(ops[k].x1, ops[k - 1].x2);
                EXPECT_EQ(ops[k].y1, ops[k - 1].y2);
            }
        }
    }
    EXPECT_EQ(p.DrawWidth, 1);
    EXPECT_EQ(f->frame.PlotColor, static_cast<float>(Magenta));
    // The panel is left as it was.
    EXPECT_TRUE(f->panel.Visible("InfoSpirel"));
}

TEST(InfoSpirel, RadiiFollowTheStatisticsOnTheirOwnSpokes) {
    auto f = FormWithRealData();
    InfoStatsState& s = f->info;
    for (int t = 2; t <= 22; ++t) {
        s.Info(t) = 0.25f;     // 500 + 3800 * .25 = 1450
        s.TotInfo(t) = 0.5f;   // 500 + 1900 = 2400; white: 500 + 3800 * .75 = 3350
        s.Growth(t) = 3;       // 3 * 3800 / 3 = 3800, the outer ring
        s.TotGrowth(t) = 1.5f; // 1900; magenta: 4.5 * 3800 / 3 = 5700, outside the face
    }
    f->Click("InfoSpirel");
    auto curves = Curves(f->Picture1);
    const double radius[6] = {1450, 2400, 3350, 3800, 1900, 5700};
    for (int c = 1; c <= 6; ++c) {
        const auto& ops = curves[c];
        ASSERT_EQ(ops.size(), 21u);
        for (int k = 0; k < 21; ++k) {
            const int t = k + 2;
            EXPECT_NEAR(ops[k].x2, Cx - radius[c - 1] * std::cos(DateAngle(t)), 0.05) << c << " " << t;
            EXPECT_NEAR(ops[k].y2, Cy - radius[c - 1] * std::sin(DateAngle(t)), 0.05) << c << " " << t;
        }
        // The last date falls on the spoke of the first: straight above the centre.
        EXPECT_NEAR(ops[20].x2, Cx, 0.05);
        EXPECT_NEAR(ops[20].y2, Cy - radius[c - 1], 0.05);
    }
}

TEST(InfoSpirel, DrawsWhatTheStatisticsLeft) {
    auto f = FormWithRealData();
    f->Click("InfoStats");
    f->Click("Clear");
    f->Click("InfoSpirel");
    const InfoStatsState& s = f->info;
    auto curves = Curves(f->Picture1);
    for (int k = 0; k < 21; ++k) {
        const int t = k + 2;
        EXPECT_NEAR(Distance(curves[1][k].x2, curves[1][k].y2), 500 + R * s.Info(t), 0.05) << t;
        EXPECT_NEAR(Distance(curves[3][k].x2, curves[3][k].y2), 500 + R * (s.Info(t) + s.TotInfo(t)), 0.05) << t;
        EXPECT_NEAR(Distance(curves[6][k].x2, curves[6][k].y2), R * s.Growth(t) * s.TotGrowth(t) / 3, 0.05) << t;
    }
}

TEST(InfoSpirel, FollowsTheBackgroundChoice) {
    auto f = FormWithRealData();
    f->Choose("BackMap", 1);
    f->Click("InfoSpirel");
    EXPECT_EQ(f->Picture1.BackColor, 0);
    EXPECT_EQ(f->Picture1.Ops().front().colour, LightGrey);  // the outer ring
    EXPECT_EQ(f->Picture1.ForeColor, LightGrey);             // the year labels
    const float axis = f->frame.AxisColor;
    f->Choose("BackMap", 0);
    f->Click("InfoSpirel");
    EXPECT_EQ(f->Picture1.BackColor, LightGrey);
    EXPECT_EQ(f->Picture1.Ops().front().colour, Black);
    EXPECT_EQ(f->frame.AxisColor, axis);
    // On grey the white curve is still white.
    EXPECT_EQ(Curves(f->Picture1)[3].front().colour, White);
}

}  // namespace
