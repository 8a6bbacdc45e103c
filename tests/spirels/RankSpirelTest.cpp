#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "TestForm.h"
#include "spirels/SpirelTestUtil.h"
#include "spirels/RankSpirels.h"
#include "core/SpirelModule.h"

namespace {

constexpr int A = 1, B = 2, C = 3, D = 4, E = 5;  // FiveCities()

std::vector<int> CitiesInDrawingOrder(const Picture& p) {
    std::vector<int> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.city != 0 && std::find(out.begin(), out.end(), op.tag.city) == out.end())
            out.push_back(op.tag.city);
    return out;
}

}  // namespace

TEST(RankSpirel, RanksPathsBreaksAndDrawOrder) {
    auto f = FiveCities();
    f->Click("RankSpirel1");
    const Picture& p = f->Picture1;
    EXPECT_EQ(f->Module<SpirelModule>().State(*f->data).SpirelScale, 950.0f);  // R / largest NumPresent = 3800 / 4
    EXPECT_TRUE(f->panel.Visible("PlotCity"));  // the city spirel goes over this variant only

    // Rank change, 101 for an absent city: A 0; B |4-101|+|101-2|+|2-3| = 197;
    // C 0+98+98 = 196; D 1+98+99 = 198; E 1+2+0 = 3. Drawn least changeable first.
    EXPECT_EQ(CitiesInDrawingOrder(p), (std::vector<int>{A, E, C, B, D}));

    // A: a dot and three segments; the last ends on the first spoke, not closing the path.
    auto a = OpsOfCity(p, A);
    ASSERT_EQ(a.size(), 4u);
    EXPECT_TRUE(IsDot(a[0]));
    for (int t = 1; t <= 4; ++t) ExpectAt(a[t - 1].x2, a[t - 1].y2, 950, t);
    EXPECT_EQ(a[3].tag, (OpTag{A, 4, 0}));

    // B: dot at rank 4 (outer ring), break at date 2, new dot at rank 2, segment to rank 3.
    auto b = OpsOfCity(p, B);
    ASSERT_EQ(b.size(), 3u);
    EXPECT_TRUE(IsDot(b[0]) && IsDot(b[1]) && !IsDot(b[2]));
    ExpectAt(b[0].x1, b[0].y1, 3800, 1);
    ExpectAt(b[1].x1, b[1].y1, 1900, 3);
    EXPECT_EQ(b[2].x1, b[1].x2);
    ExpectAt(b[2].x2, b[2].y2, 2850, 4);

    // C, present at date 3 only: one dot.
    auto c = OpsOfCity(p, C);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_TRUE(IsDot(c[0]));
    ExpectAt(c[0].x1, c[0].y1, 2850, 3);

    EXPECT_EQ(p.CurrentTag, OpTag{});
    // EntryOrder A, D, E, B, C; Q = 1.25, step 204: A (255,0,0), D (51,0,0), E/B/C (51,0,204).
    EXPECT_EQ(a[0].colour, RGB(255, 0, 0));
    EXPECT_EQ(OpsOfCity(p, D)[0].colour, RGB(51, 0, 0));
    EXPECT_EQ(c[0].colour, RGB(51, 0, 204));
    EXPECT_EQ(f->frame.PlotColor, static_cast<float>(RGB(51, 0, 0)));  // the last city drawn
}

TEST(RankSpirel, PopulationVariantsMeasureScaleAndTies) {
    auto f = FiveCities();
    f->ModuleCommand("RankSpirel3")->second.handler(*f);
    // |change| left out where either population is the placeholder 1: A 0; B 90 -> 30 only,
    // 60; C 0; D 80 -> 90 only, 10; E 25 + 55 + 35 = 115. A and C tie: C first, A on top.
    EXPECT_EQ(CitiesInDrawingOrder(f->Picture1), (std::vector<int>{C, A, D, B, E}));
    // M = 100 people: 38 twips each. PathStep holds radii: |95 - 70| * 38, |40 - 95| * 38.
    ExpectAt(OpsOfCity(f->Picture1, E)[0].x1, OpsOfCity(f->Picture1, E)[0].y1, 70 * 38, 1);
    EXPECT_EQ(f->Module<SpirelModule>().State(*f->data).PathStep(E, 2, 1), 950.0f);
    EXPECT_EQ(f->Module<SpirelModule>().State(*f->data).PathStep(E, 3, 1), 2090.0f);

    // Other variants, at one point each. Totals per date (absent = 1): 301, 287, 291, 186.
    const double lnTotal[] = {std::log(100.0 * 80 * 70 * 50), std::log(100.0 * 95 * 90),
                              std::log(100.0 * 90 * 60 * 40), std::log(100.0 * 50 * 30 * 5)};
    const double lnMax = *std::max_element(std::begin(lnTotal), std::end(lnTotal));
    struct Case {
        const char* control;
        int city, date;
        double radius;
    } cases[] = {
        {"RankSpirel2", A, 1, 0},  // ln rank 1 at the centre
        {"RankSpirel2", B, 1, 3800},
        {"RankSpirel2", E, 2, 3800 * std::log(2.0) / std::log(4.0)},
        {"RankSpirel4", D, 1, 3800 * std::log(80.0) / std::log(100.0)},
        {"RankSpirel5", E, 2, 3800 * 195.0 / 301},  // ranks 1 and 2 of date 2
        {"RankSpirel6", D, 1, 3800 * std::log(100.0 * 80) / lnMax},
    };
    for (const Case& k : cases) {
        auto g = FiveCities();
        g->ModuleCommand(k.control)->second.handler(*g);
        EXPECT_FALSE(g->panel.Visible("PlotCity"));
        int found = 0;
        for (const DrawOp& op : g->Picture1.Ops()) {
            if (op.tag.city != k.city || op.tag.date != k.date) continue;
            ExpectAt(op.x2, op.y2, k.radius, k.date);
            ++found;
        }
        EXPECT_EQ(found, 1) << k.city << "," << k.date;
    }
}
