// The three spirels of the statistics, through one check: with the statistics set by
// hand, every curve's point of date t (2..22) lies at its radius on date t's spoke.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>

#include "TestForm.h"
#include "core/StatsModules.h"

namespace {

// Picture1 is 9000 twips square: R = (9000 - 1400) / 2 = 3800 about (4500, 4500).
constexpr double R = 3800, Cx = 4500, Cy = 4500;

// Date 1 straight up, 2 pi / 21 per date clockwise, with the written constants.
double DateAngle(int t) { return 6.2831853 / 4 + (t - 1) * 2 * 3.14159265 / 21; }

struct Case {
    const char* command;
    std::function<void(Form&, int)> set;  // the statistics of date t
    std::vector<double> radius;            // of series 1, 2, ...
    std::vector<float> width;              // curves under others are drawn wider, to show on both sides
};

const Case Cases[] = {
    {"PopSpirel",
     [](Form& f, int t) {  // a share of 1 is the outer ring
         auto& s = f.Module<PopStatsModule>().State(*f.data);
         s.TopTenPctShare(t) = 0.2f, s.TopHalfShare(t) = 0.5f, s.TopTenShare(t) = 0.75f, s.TopFiftyShare(t) = 1;
     },
     {R / 5, R / 2, 0.75 * R, R},
     {7, 7, 3, 3}},
    {"RankShiftSpirel",
     [](Form& f, int t) {  // 35 ranks reach the outer ring
         auto& s = f.Module<InfoStatsModule>().State(*f.data);
         s.AvRankShift(t) = 7, s.PctRankShift(t) = 35, s.CumRankShift(t) = 14;
     },
     {R / 5, R, 2 * R / 5},
     {7, 3, 3}},
    {"InfoSpirel",
     // Info .25 and TotInfo .5 at 500 + 3800 * .25, 500 + 1900, their sum at 500 + 3800 * .75;
     // growth 3 is the outer ring, TotGrowth 1.5 at 1900, their product 4.5 outside the face.
     [](Form& f, int t) {
         auto& s = f.Module<InfoStatsModule>().State(*f.data);
         s.Info(t) = 0.25f, s.TotInfo(t) = 0.5f, s.Growth(t) = 3, s.TotGrowth(t) = 1.5f;
     },
     {1450, 2400, 3350, 3800, 1900, 5700},
     {2, 2, 2, 2, 2, 2}},
};

TEST(StatisticsSpirels, EveryCurveLiesAtItsRadiusOnEachDatesSpoke) {
    for (const Case& c : Cases) {
        SCOPED_TRACE(c.command);
        auto f = FormWithRealData();
        for (int t = 2; t <= 22; ++t) c.set(*f, t);
        f->Click(c.command);
        std::map<int, std::vector<DrawOp>> curves;
        for (const DrawOp& op : f->Picture1.Ops())
            if (op.tag.series > 0 && op.kind == OpKind::Line) curves[op.tag.series].push_back(op);
        ASSERT_EQ(curves.size(), c.radius.size());
        for (int s = 1; s <= static_cast<int>(c.radius.size()); ++s) {
            const auto& ops = curves[s];
            const double r = c.radius[static_cast<std::size_t>(s - 1)];
            ASSERT_EQ(ops.size(), 21u) << s;
            EXPECT_EQ(ops[0].x1, ops[0].x2);  // date 2 starts with a dot
            EXPECT_EQ(ops[0].width, c.width[static_cast<std::size_t>(s - 1)]) << s;
            for (int k = 0; k < 21; ++k) {
                EXPECT_NEAR(ops[k].x2, Cx - r * std::cos(DateAngle(k + 2)), 0.05) << s << " " << k + 2;
                EXPECT_NEAR(ops[k].y2, Cy - r * std::sin(DateAngle(k + 2)), 0.05) << s << " " << k + 2;
            }
        }
    }
}

}  // namespace
