#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TestForm.h"
#include "draw/Formats.h"
#include "spirels/CitySpirel.h"
#include "spirels/DistanceSpirel.h"
#include "spirels/RankSpirels.h"

namespace {

// Four cities, all present at the four dates 1790..1820. Ranks by hand:
//   date 1: W 1, X 2, Y 3, Z 4
//   date 2: W 1, Z 2, Y 3, X 4
//   date 3: W 1, X 2, Z 3, Y 4
//   date 4: W 1, Y 2, X 3, Z 4
// Rank distances d(c, t) for t = 2, 3, 4: W 0 0 0; X 2 2 1; Y 0 1 2; Z 2 1 1.
const char* FourCities =
    "\"W\",100,100,100,100\n"
    "\"X\",90,50,80,20\n"
    "\"Y\",80,60,30,60\n"
    "\"Z\",70,90,40,10\n";
constexpr int W = 1, X = 2, Y = 3, Z = 4;

constexpr double ExactTwoPi = 6.283185307179586;

std::unique_ptr<Form> AfterRankSpirel1(const char* csv, int cities, int backMap = 0) {
    auto f = FormWithData(csv, cities, 4);
    f->Choose("BackMap", backMap);
    f->Click("RankSpirel1");
    return f;
}

std::string Row(int from, int to, const std::string& distance) {
    return "  " + Unformatted(from) + "   " + Unformatted(to) + "   " + distance;
}

std::vector<std::string> Heading() {
    std::vector<std::string> lines(10, "");
    lines.push_back(std::string("  ") + " From    " + "  " + "To    " + "   " + " Distance");
    lines.push_back("");
    return lines;
}

std::vector<DrawOp> OpsTagged(const Picture& p, int city, int series) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.city == city && op.tag.series == series && (city != 0 || series != 0)) out.push_back(op);
    return out;
}

bool IsDot(const DrawOp& op) { return op.x1 == op.x2 && op.y1 == op.y2; }

void ExpectAt(float x, float y, double r, int t, const char* what) {
    const double a = ExactTwoPi * (t - 1) / 3;
    EXPECT_NEAR(x, 4500 + r * std::sin(a), 0.01) << what;
    EXPECT_NEAR(y, 4500 - r * std::cos(a), 0.01) << what;
}

}  // namespace

TEST(DistanceSpirel, AveragesAndTableOfHandMadeMoves) {
    auto f = AfterRankSpirel1(FourCities, 4);
    f->Text.Clear();
    f->Click("DistancePlot");
    const SpirelState& s = f->spirel;

    // Per date: 1800 (2 + 0 + 2) / 2 moves = 2; 1810 (2 + 1 + 1) / 3; 1820 (1 + 2 + 1) / 3.
    EXPECT_EQ(s.AvStepDistance(2), 2.0f);
    EXPECT_EQ(s.AvStepDistance(3), 4.0f / 3);
    EXPECT_EQ(s.AvStepDistance(4), 4.0f / 3);
    // All moves: 12 / 8.
    EXPECT_EQ(s.AvAllDistance, 1.5f);
    // Per city and move: X 5 / 3, Y 3 / 2, Z 4 / 3, W never moved.
    EXPECT_EQ(s.AvCityDistance(W), 0.0f);
    EXPECT_FLOAT_EQ(s.AvCityDistance(X), 5.0f / 3);
    EXPECT_FLOAT_EQ(s.AvCityDistance(Y), 1.5f);
    EXPECT_FLOAT_EQ(s.AvCityDistance(Z), 4.0f / 3);
    // Layer 2 marks exactly the moves.
    const float moved[4][4] = {{0, 0, 0, 0}, {0, 1, 1, 1}, {0, 0, 1, 1}, {0, 1, 1, 1}};
    for (int c = 1; c <= 4; ++c)
        for (int t = 1; t <= 4; ++t) EXPECT_EQ(s.PathStep(c, t, 2), moved[c - 1][t - 1]) << c << "," << t;

    std::vector<std::string> table = Heading();
    table.push_back(Row(1790, 1800, " 2 "));
    table.push_back(Row(1800, 1810, " 1.333333 "));
    table.push_back(Row(1810, 1820, " 1.333333 "));
    table.push_back("");
    table.push_back("   Av Dis       =       1.5 ");
    table.push_back("");  // the drawing ends with one more empty line
    EXPECT_EQ(f->Text.Lines(), table);
    EXPECT_EQ(table[12], "   1790     1800     2 ");
}

TEST(DistanceSpirel, PathsBrokenWhereNoMoveMostMobileLastAverageOnTop) {
    auto f = AfterRankSpirel1(FourCities, 4);
    f->Click("DistancePlot");
    const Picture& p = f->Picture1;
    // M = 2: Scale = 3800 / 2 twips per rank moved; the city spirel will use it.
    EXPECT_EQ(f->spirel.SpirelScale, 1900.0f);
    EXPECT_FALSE(f->panel.Visible("PlotCity"));
    EXPECT_TRUE(f->panel.Visible("DistancePlot"));

    // Draw order by AvCityDistance: W (0, drawn first, but it has no move to draw), Z, Y, X.
    std::vector<int> order;
    for (const DrawOp& op : p.Ops())
        if (op.tag.city != 0 && (order.empty() || order.back() != op.tag.city)) order.push_back(op.tag.city);
    EXPECT_EQ(order, (std::vector<int>{Z, Y, X}));
    EXPECT_EQ(f->spirel.DrawOrder(4), W);
    EXPECT_TRUE(OpsTagged(p, W, 0).empty());

    // Y does not move into 1800: its path starts with a dot at 1810 (1 rank = 1900 twips),
    // then reaches 2 ranks on the spoke of 1790, shared by 1820.
    auto y = OpsTagged(p, Y, 0);
    ASSERT_EQ(y.size(), 2u);
    EXPECT_TRUE(IsDot(y[0]));
    ExpectAt(y[0].x1, y[0].y1, 1900, 3, "Y at 1810");
    ExpectAt(y[1].x2, y[1].y2, 3800, 4, "Y at 1820");
    EXPECT_EQ(y[1].width, 2);

    // The average curve last, in black on grey, 3 pixels: 2, 4/3, 4/3 ranks.
    auto av = OpsTagged(p, 0, 1);
    ASSERT_EQ(av.size(), 3u);
    EXPECT_EQ(p.Ops().back().tag, (OpTag{0, 4, 1}));
    EXPECT_TRUE(IsDot(av[0]));
    ExpectAt(av[0].x1, av[0].y1, 3800, 2, "average at 1800");
    ExpectAt(av[2].x2, av[2].y2, 1900 * 4.0 / 3, 4, "average at 1820");
    for (const DrawOp& op : av) {
        EXPECT_EQ(op.colour, Black);
        EXPECT_EQ(op.width, 3);
    }

    // A second press gives the same picture and table.
    const auto lines = f->Text.Lines();
    const auto n = p.Ops().size();
    DistancePlot_Click(*f);
    EXPECT_EQ(f->Text.Lines(), lines);
    EXPECT_EQ(p.Ops().size(), n);

    // The city spirel now draws ranks at the distance scale: W's rank 1 at 1900 twips.
    f->spirel.CityPlotCount = 2;
    f->panel.Show("Cities");
    f->Choose("Cities", W - 1);
    PlotCity_Click(*f);
    auto w = OpsTagged(p, W, 0);
    ASSERT_FALSE(w.empty());
    ExpectAt(w[0].x1, w[0].y1, 1900, 1, "W by the distance scale");
}

TEST(DistanceSpirel, FaceAndAverageColoursOnBlack) {
    auto f = AfterRankSpirel1(FourCities, 4, 1);
    f->Click("DistancePlot");
    const Picture& p = f->Picture1;
    EXPECT_EQ(p.BackColor, Black);
    EXPECT_EQ(p.Ops().front().colour, RGB(200, 200, 200));
    EXPECT_EQ(p.Ops().back().colour, RGB(255, 255, 255));
}

TEST(DistanceSpirel, DateWithoutMovesPrintsZeroAndBreaksTheAverageCurve) {
    // P and Q swap places into 1800, keep them into 1810, swap back into 1820; R stays third.
    const char* csv =
        "\"P\",100,50,50,100\n"
        "\"Q\",50,100,100,50\n"
        "\"R\",10,10,10,10\n";
    auto f = AfterRankSpirel1(csv, 3);
    f->Text.Clear();
    f->Click("DistancePlot");
    EXPECT_EQ(f->spirel.AvStepDistance(3), 0.0f);
    EXPECT_EQ(f->spirel.AvAllDistance, 1.0f);  // 4 ranks in 4 moves

    const auto& lines = f->Text.Lines();
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[12], Row(1790, 1800, " 1 "));
    EXPECT_EQ(lines[13], Row(1800, 1810, " 0 "));
    EXPECT_EQ(lines[14], Row(1810, 1820, " 1 "));

    // The average curve has a dot at 1800 and a new dot at 1820; nothing for 1810.
    auto av = OpsTagged(f->Picture1, 0, 1);
    ASSERT_EQ(av.size(), 2u);
    EXPECT_TRUE(IsDot(av[0]) && IsDot(av[1]));
    EXPECT_EQ(av[0].tag.date, 2);
    EXPECT_EQ(av[1].tag.date, 4);
    for (const DrawOp& op : f->Picture1.Ops())
        EXPECT_TRUE(std::isfinite(op.x1) && std::isfinite(op.y1) && std::isfinite(op.x2) && std::isfinite(op.y2));
}

TEST(DistanceSpirel, NoMoveAtAllLeavesAnEmptyFaceAndTheOldScale) {
    const char* csv =
        "\"P\",100,100,100,100\n"
        "\"Q\",50,50,50,50\n";
    auto f = AfterRankSpirel1(csv, 2);
    const float rankScale = f->spirel.SpirelScale;  // 3800 / 2
    f->Text.Clear();
    EXPECT_NO_THROW(f->Click("DistancePlot"));
    std::vector<std::string> table = Heading();
    table.push_back(Row(1790, 1800, " 0 "));
    table.push_back(Row(1800, 1810, " 0 "));
    table.push_back(Row(1810, 1820, " 0 "));
    table.push_back("");
    table.push_back("   Av Dis       =       0 ");
    table.push_back("");
    EXPECT_EQ(f->Text.Lines(), table);
    // Rings, spokes and labels only.
    EXPECT_EQ(f->Picture1.Ops().size(), 5u + 3u + 3u);
    EXPECT_EQ(f->spirel.SpirelScale, rankScale);
    EXPECT_EQ(f->spirel.AvCityDistance(1), 0.0f);
}

TEST(DistanceSpirel, RealDataTableAfterRankSpirel1) {
    auto f = FormWithRealData();
    f->Click("RankSpirel1");
    f->Click("DistancePlot");
    const DataSet& d = *f->data;

    // Rank distances derived from the presence mask and the ranks, apart from the spirel.
    std::vector<std::string> expected = Heading();
    double allD = 0, allK = 0;
    std::vector<double> cityD(d.NumCities + 1), cityK(d.NumCities + 1);
    for (int t = 2; t <= d.NumDates; ++t) {
        double D = 0, K = 0;
        for (int c = 1; c <= d.NumCities; ++c) {
            if (d.Present(c, t) != 1 || d.Present(c, t - 1) != 1) continue;
            const double step = std::fabs(double(f->rank.CityRank(c, t)) - f->rank.CityRank(c, t - 1));
            D += step;
            K += step > 0;
            cityD[c] += step;
            cityK[c] += step > 0;
        }
        ASSERT_GT(K, 0) << t;
        expected.push_back(Row(d.DateYear(t - 1), d.DateYear(t), Unformatted(static_cast<float>(D / K))));
        allD += D;
        allK += K;
    }
    expected.push_back("");
    expected.push_back("   Av Dis       =      " + Unformatted(static_cast<float>(allD / allK)));
    expected.push_back("");
    EXPECT_EQ(f->Text.Lines(), expected);
    ASSERT_EQ(expected.size(), 10u + 2u + 21u + 3u);
    EXPECT_EQ(expected[12], Row(1790, 1800, Unformatted(f->spirel.AvStepDistance(2))));
    EXPECT_EQ(f->Text.Lines()[32].substr(0, 17), "   1990     2000 ");

    // The most mobile city per move is drawn last, just before the average curve.
    int most = 1;
    for (int c = 1; c <= d.NumCities; ++c) {
        const double av = cityK[c] > 0 ? cityD[c] / cityK[c] : 0;
        const double best = cityK[most] > 0 ? cityD[most] / cityK[most] : 0;
        if (static_cast<float>(av) > static_cast<float>(best)) most = c;
    }
    int lastCity = 0;
    for (const DrawOp& op : f->Picture1.Ops())
        if (op.tag.city != 0) lastCity = op.tag.city;
    EXPECT_EQ(lastCity, most) << d.CityName(most);
}
