#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "TestForm.h"
#include "draw/SpirelFace.h"
#include "spirels/RankSpirels.h"

namespace {

// Five cities, four dates (1790..1820: three steps of 2 pi / 3, so date 4 is back on the
// spoke of date 1). Ranks worked out by hand (absent cities take the last ranks in city order):
//   date 1: A 1, D 2, E 3, B 4, C 5 (absent)      NumPresent 4
//   date 2: A 1, E 2, D 3, B 4, C 5 (both absent) NumPresent 3
//   date 3: A 1, B 2, C 3, E 4, D 5 (absent)      NumPresent 4
//   date 4: A 1, D 2, B 3, E 4, C 5 (absent)      NumPresent 4
const char* FiveCities =
    "\"A\",100,100,100,100\n"
    "\"B\",50,0,90,30\n"
    "\"C\",0,0,60,0\n"
    "\"D\",80,90,0,50\n"
    "\"E\",70,95,40,5\n";
constexpr int A = 1, B = 2, C = 3, D = 4, E = 5;

constexpr double ExactTwoPi = 6.283185307179586;

std::unique_ptr<Form> FiveCityForm() { return FormWithData(FiveCities, 5, 4); }

std::vector<DrawOp> OpsOfCity(const Picture& p, int city) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.city == city) out.push_back(op);
    return out;
}

// The cities in the order their first op appears on the picture.
std::vector<int> CitiesInDrawingOrder(const Picture& p) {
    std::vector<int> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.city != 0 && std::find(out.begin(), out.end(), op.tag.city) == out.end())
            out.push_back(op.tag.city);
    return out;
}

// Where a value of radius r at date t (of 4, steps of 2 pi / 3) should land.
void ExpectAt(float x, float y, double r, int t, const char* what) {
    const double a = ExactTwoPi * (t - 1) / 3;
    EXPECT_NEAR(x, 4500 + r * std::sin(a), 0.01) << what;
    EXPECT_NEAR(y, 4500 - r * std::cos(a), 0.01) << what;
}

bool IsDot(const DrawOp& op) { return op.kind == OpKind::Line && op.x1 == op.x2 && op.y1 == op.y2; }

// 266 cities in two dates, city i larger than city i + 1: city k is the k-th to enter.
std::string CitiesInEntryOrder(int n) {
    std::string csv;
    for (int i = 1; i <= n; ++i) {
        const std::string pop = std::to_string(1000 - i);
        csv += "\"City" + std::to_string(i) + "\"," + pop + "," + pop + "\n";
    }
    return csv;
}

}  // namespace

TEST(RankSpirel, RanksPathsBreaksAndDrawOrder) {
    auto f = FiveCityForm();
    f->Click("RankSpirel1");
    const Picture& p = f->Picture1;

    // Largest NumPresent is 4: Scale = R / 4 = 3800 / 4 twips per rank.
    EXPECT_EQ(f->spirel.SpirelScale, 950.0f);
    EXPECT_EQ(f->spirel.CityPlotCount, 1);

    // Rank change with 101 for an absent city: A 0; B |4-101|+|101-2|+|2-3| = 197;
    // C 0+|101-3|+|3-101| = 196; D |2-3|+|3-101|+|101-2| = 198; E 1+2+0 = 3.
    // DrawOrder D, B, C, E, A; drawn from the least changeable: A, E, C, B, D.
    EXPECT_EQ(CitiesInDrawingOrder(p), (std::vector<int>{A, E, C, B, D}));
    EXPECT_EQ(f->spirel.DrawOrder(1), D);
    EXPECT_EQ(f->spirel.DrawOrder(5), A);

    // A present throughout: a dot and three segments, ending on the first spoke at rank 1
    // without a segment back to its start.
    auto a = OpsOfCity(p, A);
    ASSERT_EQ(a.size(), 4u);
    EXPECT_TRUE(IsDot(a[0]));
    ExpectAt(a[0].x1, a[0].y1, 950, 1, "A at date 1");
    for (int t = 2; t <= 4; ++t) {
        EXPECT_FALSE(IsDot(a[t - 1]));
        EXPECT_EQ(a[t - 1].tag, (OpTag{A, static_cast<int16_t>(t), 0}));
        ExpectAt(a[t - 1].x2, a[t - 1].y2, 950, t, "A");
    }

    // B: rank 4 dot, absent at date 2 (break), back as a new dot at rank 2, then a segment
    // to rank 3 on the spoke of date 1: (4500, 4500 - 2850).
    auto b = OpsOfCity(p, B);
    ASSERT_EQ(b.size(), 3u);
    EXPECT_TRUE(IsDot(b[0]));
    ExpectAt(b[0].x1, b[0].y1, 3800, 1, "B at date 1 on the outer ring");
    EXPECT_TRUE(IsDot(b[1]));
    EXPECT_EQ(b[1].tag, (OpTag{B, 3, 0}));
    ExpectAt(b[1].x1, b[1].y1, 1900, 3, "B back at date 3");
    EXPECT_FALSE(IsDot(b[2]));
    EXPECT_EQ(b[2].x1, b[1].x2);
    EXPECT_EQ(b[2].y1, b[1].y2);
    ExpectAt(b[2].x2, b[2].y2, 2850, 4, "B at date 4");
    EXPECT_NEAR(b[2].x2, 4500, 0.01);
    EXPECT_NEAR(b[2].y2, 1650, 0.01);

    // C is present at date 3 only: a single dot at rank 3.
    auto c = OpsOfCity(p, C);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_TRUE(IsDot(c[0]));
    ExpectAt(c[0].x1, c[0].y1, 2850, 3, "C");

    for (const DrawOp& op : p.Ops()) {
        if (op.tag.city != 0) {
            EXPECT_EQ(op.width, 2);
        }
    }
    EXPECT_EQ(p.CurrentTag, OpTag{});

    // EntryOrder A, D, E, B, C; with five cities Q = 1.25 and the step is 204: A (255, 0, 0),
    // D (51, 0, 0), E (51, 0, 204), B and C (51, 0, 204) (green clamps at 0).
    EXPECT_EQ(a[0].colour, RGB(255, 0, 0));
    EXPECT_EQ(OpsOfCity(p, D)[0].colour, RGB(51, 0, 0));
    EXPECT_EQ(OpsOfCity(p, E)[0].colour, RGB(51, 0, 204));
    EXPECT_EQ(c[0].colour, RGB(51, 0, 204));
    // PlotColor is left at the colour of the last city drawn (D).
    EXPECT_EQ(f->frame.PlotColor, static_cast<float>(RGB(51, 0, 0)));
}

TEST(RankSpirel, PathStepHoldsRankMovesOnlyBetweenPresentDates) {
    auto f = FiveCityForm();
    // Leftovers of an earlier run must go, in both layers.
    f->spirel.PathStep(A, 1, 2) = 5;
    f->spirel.PathStep(C, 4, 1) = 7;
    f->spirel.PathStep(B, 3, 1) = 9;
    RankSpirel1_Click(*f);
    // By hand: D 2 -> 3 at date 2; E 3 -> 2 at date 2 and 2 -> 4 at date 3; B 2 -> 3 at
    // date 4. B at date 3 and D at date 4 come back after an absence: nothing recorded.
    const float expected[5][4] = {
        {0, 0, 0, 0}, {0, 0, 0, 1}, {0, 0, 0, 0}, {0, 1, 0, 0}, {0, 1, 2, 0},
    };
    for (int city = 1; city <= 5; ++city)
        for (int t = 1; t <= 4; ++t) {
            EXPECT_EQ(f->spirel.PathStep(city, t, 1), expected[city - 1][t - 1]) << city << "," << t;
            EXPECT_EQ(f->spirel.PathStep(city, t, 2), 0.0f) << city << "," << t;
        }
}

TEST(RankSpirel, PopulationMeasureSkipsMissingValuesAndBreaksTiesByCityNumber) {
    auto f = FiveCityForm();
    RankSpirel3_Click(*f);
    // |change| left out where either population is the placeholder 1:
    // A 0; B only 90 -> 30 = 60; C 0; D only 80 -> 90 = 10; E 25 + 55 + 35 = 115.
    // DrawOrder E, B, D, A, C: A and C tie at 0, so C is drawn first and A on top of it.
    EXPECT_EQ(CitiesInDrawingOrder(f->Picture1), (std::vector<int>{C, A, D, B, E}));

    // M = 100 (A's population), Scale = 38 twips per person: E at date 1 is 70 * 38 out.
    auto e = OpsOfCity(f->Picture1, E);
    ExpectAt(e[0].x1, e[0].y1, 2660, 1, "E at date 1");
    // PathStep records radii here: 95 * 38 - 70 * 38 = 950, then |1520 - 3610| = 2090.
    EXPECT_EQ(f->spirel.PathStep(E, 2, 1), 950.0f);
    EXPECT_EQ(f->spirel.PathStep(E, 3, 1), 2090.0f);
    EXPECT_EQ(f->spirel.PathStep(E, 4, 1), 1330.0f);
}

TEST(RankSpirel, EachVariantPlotsItsOwnValueOnItsOwnScale) {
    // Total populations per date (absent = 1): 301, 287, 291, 186.
    const double lnSum1 = std::log(100.0) + std::log(80.0) + std::log(70.0) + std::log(50.0);
    const double lnSum2 = std::log(100.0) + std::log(95.0) + std::log(90.0);
    const double lnSum3 = std::log(100.0) + std::log(90.0) + std::log(60.0) + std::log(40.0);
    const double lnSum4 = std::log(100.0) + std::log(50.0) + std::log(30.0) + std::log(5.0);
    const double lnMax = std::max({lnSum1, lnSum2, lnSum3, lnSum4});
    struct Case {
        void (*click)(Form&);
        int city;
        int date;
        double radius;
    };
    const Case cases[] = {
        // ln rank: rank 1 at the centre, rank 4 (= largest NumPresent) on the outer ring.
        {RankSpirel2_Click, A, 1, 0},
        {RankSpirel2_Click, B, 1, 3800},
        {RankSpirel2_Click, E, 2, 3800 * std::log(2.0) / std::log(4.0)},
        // ln population over ln 100.
        {RankSpirel4_Click, D, 1, 3800 * std::log(80.0) / std::log(100.0)},
        // Cumulative population of the city's rank over the largest total (301, date 1).
        {RankSpirel5_Click, A, 1, 3800 * 100.0 / 301},
        {RankSpirel5_Click, E, 2, 3800 * 195.0 / 301},
        // Cumulative log population over the largest total of logs.
        {RankSpirel6_Click, D, 1, 3800 * (std::log(100.0) + std::log(80.0)) / lnMax},
    };
    for (const Case& k : cases) {
        auto f = FiveCityForm();
        k.click(*f);
        bool found = false;
        for (const DrawOp& op : f->Picture1.Ops())
            if (op.tag.city == k.city && op.tag.date == k.date) {
                const double a = ExactTwoPi * (k.date - 1) / 3;
                EXPECT_NEAR(op.x2, 4500 + k.radius * std::sin(a), 0.05) << k.city << "," << k.date;
                EXPECT_NEAR(op.y2, 4500 - k.radius * std::cos(a), 0.05) << k.city << "," << k.date;
                found = true;
            }
        EXPECT_TRUE(found) << k.city << "," << k.date;
    }
}

TEST(RankSpirel, FaceColourFollowsBackgroundAndVariant) {
    struct Case {
        void (*click)(Form&);
        int backMap;
        Colour back, face;
    };
    const Case cases[] = {
        {RankSpirel1_Click, 1, Black, RGB(200, 200, 200)}, {RankSpirel1_Click, 0, LightGrey, Black},
        {RankSpirel2_Click, 1, Black, RGB(255, 255, 255)}, {RankSpirel4_Click, 1, Black, RGB(255, 255, 255)},
        {RankSpirel6_Click, -1, LightGrey, Black},
    };
    for (const Case& k : cases) {
        auto f = FiveCityForm();
        f->Choose("BackMap", k.backMap);
        const float axis = f->frame.AxisColor;
        k.click(*f);
        EXPECT_EQ(f->Picture1.BackColor, k.back);
        const DrawOp& ring = f->Picture1.Ops().front();
        EXPECT_EQ(ring.kind, OpKind::Circle);
        EXPECT_EQ(ring.colour, k.face);
        EXPECT_EQ(ring.width, 1);
        EXPECT_EQ(f->frame.AxisColor, axis);
    }
}

TEST(RankSpirel, PanelAndHintAfterEachVariant) {
    auto f = FiveCityForm();
    f->Text.Line("earlier text");
    f->Click("RankSpirel1");
    EXPECT_TRUE(f->panel.Visible("Cities"));
    EXPECT_TRUE(f->panel.Visible("PlotCity"));
    EXPECT_TRUE(f->panel.Visible("DistancePlot"));
    EXPECT_FALSE(f->panel.Visible("RankSpirel1"));
    const std::vector<std::string> hint = {"earlier text",
                                           "",
                                           "",
                                           "",
                                           "     If you wish to plot a city from ",
                                           "     the above pull down menu, be sure",
                                           "     to select a city first"};
    EXPECT_EQ(f->Text.Lines(), hint);

    // Pressed again, the hint goes below what is there.
    RankSpirel1_Click(*f);
    ASSERT_EQ(f->Text.Lines().size(), 13u);
    EXPECT_EQ(f->Text.Lines()[12], hint[6]);

    // The other variants print nothing and show only the list; PlotCity stays as it was.
    auto g = FiveCityForm();
    g->Click("RankSpirel2");
    EXPECT_TRUE(g->panel.Visible("Cities"));
    EXPECT_FALSE(g->panel.Visible("PlotCity"));
    EXPECT_TRUE(g->Text.Lines().empty());
    EXPECT_EQ(g->spirel.CityPlotCount, 0);
    RankSpirel1_Click(*g);
    RankSpirel5_Click(*g);
    EXPECT_TRUE(g->panel.Visible("PlotCity"));
    EXPECT_EQ(g->Text.Lines().size(), 6u);
}

TEST(RankSpirel, ColourRampThresholdsWith266Cities) {
    auto f = FormWithData(CitiesInEntryOrder(266), 266, 2);
    for (int k = 1; k <= 266; ++k) ASSERT_EQ(f->rank.EntryOrder(k), k);
    RampColours col;
    AssignRampColours(*f, col);
    EXPECT_EQ(RampColourOf(col, 1), RGB(255, 0, 0));
    // Q = 66.5, step 255 / 66.5 = 3.8346.
    for (int k = 2; k <= 66; ++k) {
        EXPECT_GT(col.Green(k), col.Green(k - 1)) << k;
        EXPECT_EQ(col.Red(k), 255.0f);
        EXPECT_EQ(col.Blue(k), 0.0f);
    }
    for (int k = 67; k <= 133; ++k) {
        EXPECT_LT(col.Red(k), col.Red(k - 1)) << k;
        EXPECT_EQ(col.Green(k), col.Green(66));
    }
    EXPECT_GT(col.Red(132), 0.0f);  // 255 - 66 steps = 1.92
    EXPECT_EQ(col.Red(133), 0.0f);  // 255 - 67 steps < 0: clamped
    for (int k = 134; k <= 199; ++k) {
        EXPECT_GT(col.Blue(k), col.Blue(k - 1)) << k;
        EXPECT_EQ(col.Red(k), 0.0f);
    }
    for (int k = 200; k <= 264; ++k) EXPECT_LT(col.Green(k), col.Green(k - 1)) << k;
    EXPECT_GT(col.Green(263), 0.0f);
    EXPECT_EQ(col.Green(264), 0.0f);  // 65 raises, then 65 lowerings: clamped at 0
    EXPECT_EQ(col.Green(266), 0.0f);
    // Landmarks: 65 steps of green = 249.25, 66 steps of blue = 253.08.
    EXPECT_EQ(RampColourOf(col, 66), RGB(255, 249, 0));
    EXPECT_EQ(RampColourOf(col, 133), RGB(0, 249, 0));
    EXPECT_EQ(RampColourOf(col, 199), RGB(0, 249, 253));
    for (int k = 264; k <= 266; ++k) EXPECT_EQ(RampColourOf(col, k), RGB(0, 0, 253)) << k;

    // The paths are drawn in these colours, and the ramp is left in the colour fields.
    RankSpirel1_Click(*f);
    for (int k : {1, 2, 66, 67, 133, 134, 200, 263, 266})
        EXPECT_EQ(OpsOfCity(f->Picture1, k).front().colour, RampColourOf(col, k)) << k;
    EXPECT_EQ(f->rank.ColorBlue, col.Blue(266));
    EXPECT_EQ(f->rank.ColorStep, 255 / 66.5f);
}

TEST(RankSpirel, RealDataDrawsEveryPresentCityAndRecordsItsRankMoves) {
    auto f = FormWithRealData();
    f->Click("RankSpirel1");
    const DataSet& d = *f->data;
    const Picture& p = f->Picture1;
    // Every op of a city path is a dot where the city (re)enters or a segment where it stays.
    std::vector<int> dots(d.NumCities + 1), segments(d.NumCities + 1);
    for (const DrawOp& op : p.Ops())
        if (op.tag.city != 0) (IsDot(op) ? dots : segments)[op.tag.city]++;
    for (int c = 1; c <= d.NumCities; ++c) {
        int expectDots = 0, expectSegments = 0;
        for (int t = 1; t <= d.NumDates; ++t) {
            const bool here = d.Present(c, t) == 1;
            const bool before = t > 1 && d.Present(c, t - 1) == 1;
            if (here && before) ++expectSegments;
            if (here && !before) ++expectDots;
            const float step = here && before ? std::fabs(f->rank.CityRank(c, t) - f->rank.CityRank(c, t - 1)) : 0;
            ASSERT_EQ(f->spirel.PathStep(c, t, 1), step) << c << "," << t;
        }
        EXPECT_EQ(dots[c], expectDots) << d.CityName(c);
        EXPECT_EQ(segments[c], expectSegments) << d.CityName(c);
    }
    // The largest NumPresent lands on the outer ring.
    float most = 0;
    for (int t = 1; t <= d.NumDates; ++t) most = std::max(most, d.NumPresent(t));
    EXPECT_EQ(f->spirel.SpirelScale, 3800.0f / most);
}
