#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "draw/Contrast.h"
#include "TestForm.h"
#include "spirels/RankShiftSpirel.h"

namespace {

// Picture1 is 9000 twips square: R = (9000 - 1400) / 2 = 3800 about (4500, 4500); a rank
// shift of 35 reaches the outer ring, so one rank is 3800 / 35 twips.
constexpr double R = 3800, Cx = 4500, Cy = 4500;
constexpr Colour Yellow = 65535, Red = 255, Green = 65280;

double Distance(const DrawOp& op) { return std::hypot(op.x2 - Cx, op.y2 - Cy); }

std::map<int, std::vector<DrawOp>> Curves(const Picture& p) {
    std::map<int, std::vector<DrawOp>> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.series > 0) out[op.tag.series].push_back(op);
    return out;
}

TEST(RankShiftSpirel, AFaceWithoutLabelsAndThreeCurvesAtTheCentreBeforeTheStatistics) {
    auto f = FormWithRealData();
    f->Click("RankShiftSpirel");
    const Picture& p = f->Picture1;
    int circles = 0, spokes = 0, texts = 0;
    for (const DrawOp& op : p.Ops()) {
        if (op.tag.series != 0) continue;
        circles += op.kind == OpKind::Circle;
        spokes += op.kind == OpKind::Line;
        texts += op.kind == OpKind::Text;
    }
    EXPECT_EQ(circles, 5);
    EXPECT_EQ(spokes, 21);
    EXPECT_EQ(texts, 0);
    auto curves = Curves(p);
    ASSERT_EQ(curves.size(), 3u);
    const Colour colours[3] = {Yellow, Red, Green};
    for (int s = 1; s <= 3; ++s) {
        ASSERT_EQ(curves[s].size(), 21u);
        for (const DrawOp& op : curves[s]) {
            EXPECT_EQ(op.colour, Visible(colours[s - 1], p.BackColor));
            EXPECT_EQ(op.width, s == 1 ? 7 : 3);  // the mean, under the others, drawn wider
            EXPECT_NEAR(Distance(op), 0.0, 1e-3);
        }
    }
    EXPECT_EQ(p.DrawWidth, 1);
    EXPECT_EQ(f->frame.PlotColor, static_cast<float>(Green));  // left at the first colour, not the one drawn
    EXPECT_TRUE(f->panel.Visible("RankShiftSpirel"));
}

TEST(RankShiftSpirel, SevenRanksLieOnTheInnermostRing) {
    auto f = FormWithRealData();
    for (int t = 2; t <= 22; ++t) {
        f->info.AvRankShift(t) = 7;    // 7 * 3800 / 35 = 760 = R / 5
        f->info.PctRankShift(t) = 35;  // the outer ring
        f->info.CumRankShift(t) = static_cast<float>(t);
    }
    f->Click("RankShiftSpirel");
    auto curves = Curves(f->Picture1);
    for (int k = 0; k < 21; ++k) {
        const int t = k + 2;
        EXPECT_NEAR(Distance(curves[1][k]), R / 5, 0.05);
        EXPECT_NEAR(Distance(curves[2][k]), R, 0.05);
        // The point of date t is on date t's spoke, 2 pi / 21 per date right of the top.
        const double angle = 6.2831853 / 4 + (t - 1) * 2 * 3.14159265 / 21;
        EXPECT_NEAR(curves[3][k].x2, Cx - t * R / 35 * std::cos(angle), 0.05) << t;
        EXPECT_NEAR(curves[3][k].y2, Cy - t * R / 35 * std::sin(angle), 0.05) << t;
    }
    // The first point is a dot; the last lies on the spoke of date 1, straight up.
    EXPECT_EQ(curves[3][0].x1, curves[3][0].x2);
    EXPECT_NEAR(curves[3][20].x2, Cx, 0.05);
    EXPECT_NEAR(curves[3][20].y2, Cy - 22 * R / 35, 0.05);
}

TEST(RankShiftSpirel, DrawsWhatTheStatisticsLeftOnEitherBackground) {
    auto f = FormWithRealData();
    f->Click("InfoStats");
    f->Click("Clear");
    f->Choose("BackMap", 1);
    f->Click("RankShiftSpirel");
    EXPECT_EQ(f->Picture1.BackColor, 0);
    EXPECT_EQ(f->Picture1.Ops().front().colour, LightGrey);
    auto curves = Curves(f->Picture1);
    for (int k = 0; k < 21; ++k) {
        const int t = k + 2;
        EXPECT_NEAR(Distance(curves[1][k]), R / 35 * f->info.AvRankShift(t), 0.05) << t;
        EXPECT_NEAR(Distance(curves[2][k]), R / 35 * f->info.PctRankShift(t), 0.05) << t;
        EXPECT_NEAR(Distance(curves[3][k]), R / 35 * f->info.CumRankShift(t), 0.05) << t;
    }
    f->Choose("BackMap", 0);
    f->Click("RankShiftSpirel");
    EXPECT_EQ(f->Picture1.BackColor, LightGrey);
    EXPECT_EQ(f->Picture1.Ops().front().colour, Black);
}

}  // namespace
