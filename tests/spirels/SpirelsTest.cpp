// The rank, distance and city spirels and their face on hand-ranked data; each expected radius
// is a rank (or a population) times the scale worked out beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "TestForm.h"
#include "core/SpirelModule.h"
#include "draw/Contrast.h"
#include "draw/Formats.h"
#include "draw/SpirelFace.h"
#include "spirels/SpirelState.h"

namespace {

// Five cities, four dates (1790..1820: three steps of 2 pi / 3, so date 4 is back on the
// spoke of date 1). Ranks by hand (absent cities take the last ranks, in city order):
//   date 1: A 1, D 2, E 3, B 4, C 5 (absent)      NumPresent 4
//   date 2: A 1, E 2, D 3, B 4, C 5 (both absent) NumPresent 3
//   date 3: A 1, B 2, C 3, E 4, D 5 (absent)      NumPresent 4
//   date 4: A 1, D 2, B 3, E 4, C 5 (absent)      NumPresent 4
const char* const FiveCsv = "\"A\",100,100,100,100\n\"B\",50,0,90,30\n\"C\",0,0,60,0\n\"D\",80,90,0,50\n\"E\",70,95,40,5\n";
constexpr int A = 1, B = 2, C = 3, D = 4, E = 5;

std::unique_ptr<Form> AfterRankSpirel1(const char* csv = FiveCsv, int cities = 5) {
    auto f = FormWithData(csv, cities, 4);
    f->Click("RankSpirel1");
    f->Text.Clear();
    return f;
}

// The ops of one city (and one series, if given), the untagged face left out.
std::vector<DrawOp> OpsOfCity(const Picture& p, int city, int series = -1) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.city == city && (series < 0 || op.tag.series == series) && op.tag != OpTag{}) out.push_back(op);
    return out;
}

std::vector<int> CitiesInDrawingOrder(const Picture& p) {
    std::vector<int> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag != OpTag{} && std::find(out.begin(), out.end(), op.tag.city) == out.end()) out.push_back(op.tag.city);
    return out;
}

bool IsDot(const DrawOp& op) { return op.x1 == op.x2 && op.y1 == op.y2; }

// Where radius r at date t of 4 lands (clockwise from straight up, centre 4500, 4500).
void ExpectAt(float x, float y, double r, int t) {
    const double a = 6.283185307179586 * (t - 1) / 3;
    EXPECT_NEAR(x, 4500 + r * std::sin(a), 0.05) << "r " << r << " date " << t;
    EXPECT_NEAR(y, 4500 - r * std::cos(a), 0.05) << "r " << r << " date " << t;
}

}  // namespace

TEST(RankSpirel, RanksPathsBreaksAndDrawOrder) {
    auto f = AfterRankSpirel1();
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
    auto f = FormWithData(FiveCsv, 5, 4);
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
        auto g = FormWithData(FiveCsv, 5, 4);
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

TEST(CitySpirel, FirstPressDrawsAnEmptyFaceAndTheCityInRed) {
    auto f = FormWithData(FiveCsv, 5, 4);
    f->Click("RankSpirel1");
    f->Choose("Cities", B - 1);
    f->Click("PlotCity");
    const Picture& p = f->Picture1;
    // The rank spirel is gone: a face of its own colours (white ground, grey 150) and B.
    EXPECT_EQ(p.BackColor, 0xFFFFFF);
    EXPECT_EQ(p.Ops().front().colour, RGB(150, 150, 150));
    auto b = OpsOfCity(p, B);
    ASSERT_EQ(b.size(), 4u);
    // Ranks 4, absent, 2, 3: two dots 3 pixels wide (no segment yet), one segment of 4.
    const int dates[] = {1, 3, 4}, widths[] = {3, 3, 4};
    const double radii[] = {3800, 1900, 2850};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(b[k].colour, RGB(255, 0, 0));
        EXPECT_EQ(b[k].width, widths[k]);
        EXPECT_EQ(b[k].tag.date, dates[k]);
        ExpectAt(b[k].x2, b[k].y2, radii[k], dates[k]);
    }
    EXPECT_TRUE(IsDot(b[1]));
    // The name at the end of the path, bold, 11 points, in the face colour.
    EXPECT_TRUE(b[3].text == "B" && b[3].bold && b[3].fontSize == 11.0f && b[3].colour == RGB(150, 150, 150));
    EXPECT_TRUE(b[3].x1 == b[2].x2 && b[3].y1 == b[2].y2);
    EXPECT_EQ(f->Module<SpirelModule>().State(*f->data).CityPlotCount, 2);
    // The table: print zones of 14 columns, rank and population 0 where B is absent; B's rank 4
    // in 1790 is the last present one (the golden plot-city.txt has no such case).
    std::vector<std::string> table(10, "");
    table.insert(table.end(), {"   B", "", "   Year       Rank          Population", "",
                               "    1790       4             50 ", "    1800       0             0 ",
                               "    1810       2             90 ", "    1820       3             30 "});
    EXPECT_EQ(f->Text.Lines(), table);
}

TEST(DistanceSpirel, HandMadeMovesAveragedPrintedAndDrawn) {
    // All present at 1790..1820. Ranks: date 1 W X Y Z; date 2 W Z Y X; date 3 W X Z Y;
    // date 4 W Y X Z. Distances into dates 2, 3, 4: W 0 0 0; X 2 2 1; Y 0 1 2; Z 2 1 1.
    auto f = AfterRankSpirel1("\"W\",100,100,100,100\n\"X\",90,50,80,20\n\"Y\",80,60,30,60\n\"Z\",70,90,40,10\n", 4);
    f->Click("DistancePlot");
    const SpirelState& s = f->Module<SpirelModule>().State(*f->data);
    const int W = 1, X = 2, Y = 3, Z = 4;

    // Per date: (2 + 2) / 2 moves, (2 + 1 + 1) / 3, (1 + 2 + 1) / 3; overall 12 / 8. Ten empty
    // lines, the heading, the rows, the average and the empty line the drawing adds.
    auto row = [](int from, const char* distance) {
        return std::string("  ").append(Unformatted(from)).append("   ").append(Unformatted(from + 10)).append("   ").append(distance);
    };
    std::vector<std::string> table(10, "");
    table.insert(table.end(), {"   From      To        Distance", "", row(1790, " 2 "), row(1800, " 1.333333 "),
                               row(1810, " 1.333333 "), "", "   Av Dis       =       1.5 ", ""});
    EXPECT_EQ(f->Text.Lines(), table);
    // Per city and move: X 5 / 3, Y 3 / 2, Z 4 / 3; W never moved (Y's 1 into 1810 is drawn below).
    EXPECT_EQ(s.AvCityDistance(W), 0.0f);
    EXPECT_FLOAT_EQ(s.AvCityDistance(X), 5.0f / 3);
    EXPECT_FLOAT_EQ(s.AvCityDistance(Y), 1.5f);

    // Largest distance 2: Scale = 3800 / 2, kept for the city spirel.
    EXPECT_EQ(s.SpirelScale, 1900.0f);
    EXPECT_FALSE(f->panel.Visible("PlotCity"));
    // W sorts last and is drawn first, with nothing to draw; then Z, Y, X; the average last.
    EXPECT_EQ(s.DrawOrder(4), W);
    EXPECT_EQ(CitiesInDrawingOrder(f->Picture1), (std::vector<int>{Z, Y, X, 0}));

    // Y did not move into 1800: a dot at 1810 (1 rank), then 2 ranks on the spoke of 1790.
    auto y = OpsOfCity(f->Picture1, Y, 0);
    ASSERT_EQ(y.size(), 2u);
    EXPECT_TRUE(IsDot(y[0]));
    ExpectAt(y[0].x1, y[0].y1, 1900, 3);
    ExpectAt(y[1].x2, y[1].y2, 3800, 4);
    EXPECT_EQ(y[1].width, 2);
    // The average: black on grey, 3 pixels, 2, 4/3 and 4/3 ranks.
    auto av = OpsOfCity(f->Picture1, 0, 1);
    ASSERT_EQ(av.size(), 3u);
    EXPECT_TRUE(IsDot(av[0]));
    ExpectAt(av[0].x1, av[0].y1, 3800, 2);
    ExpectAt(av[2].x2, av[2].y2, 1900 * 4.0 / 3, 4);
    EXPECT_EQ(av[2].colour, Black);
    EXPECT_EQ(av[2].width, 3);
}

// The face's radius comes from the shorter side of the plot area, its centre from both.
TEST(SpirelFace, RadiusFromTheShorterSideAndCentreFromBoth) {
    auto f = AfterRankSpirel1();
    f->Picture1.Clear();
    f->Picture1.Width = 12000;  // PlotWidth 10600 > PlotHeight 7600
    EXPECT_EQ(DrawSpirelRingsAndSpokes(CanvasOf(*f), DialOf(*f->data), 0), 3800.0f);
    const DrawOp& spoke = *std::find_if(f->Picture1.Ops().begin(), f->Picture1.Ops().end(),
                                        [](const DrawOp& op) { return op.kind == OpKind::Line; });
    EXPECT_EQ(spoke.x1, 6000.0f);
    EXPECT_NEAR(spoke.x2, 6000, 1e-3);
    EXPECT_NEAR(spoke.y2, 700, 1e-3);
    EXPECT_TRUE(std::none_of(f->Picture1.Ops().begin(), f->Picture1.Ops().end(),
                             [](const DrawOp& op) { return op.kind == OpKind::Text; }));
    f->Picture1.Width = 7000;  // PlotWidth 5600 < PlotHeight
    EXPECT_EQ(DrawSpirelRingsAndSpokes(CanvasOf(*f), DialOf(*f->data), 0), 2800.0f);
}
