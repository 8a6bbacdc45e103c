#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TestForm.h"
#include "spirels/SpirelTestUtil.h"
#include "draw/Formats.h"
#include "spirels/CitySpirel.h"
#include "spirels/DistanceSpirel.h"
#include "core/SpirelModule.h"

namespace {

std::unique_ptr<Form> AfterRankSpirel1(const char* csv, int cities, int backMap = 0) {
    auto f = FormWithData(csv, cities, 4);
    f->Choose("BackMap", backMap);
    f->Click("RankSpirel1");
    f->Text.Clear();
    return f;
}

std::string Row(int from, int to, const std::string& distance) {
    return "  " + Unformatted(from) + "   " + Unformatted(to) + "   " + distance;
}

// Ten empty lines, the heading and an empty line, the rows, the average, and the empty
// line the drawing adds.
std::vector<std::string> Table(const std::vector<std::string>& rows, const std::string& average) {
    std::vector<std::string> lines(10, "");
    lines.push_back(std::string("  ") + " From    " + "  " + "To    " + "   " + " Distance");
    lines.push_back("");
    lines.insert(lines.end(), rows.begin(), rows.end());
    lines.insert(lines.end(), {"", "   Av Dis       =      " + average, ""});
    return lines;
}

std::vector<DrawOp> OpsTagged(const Picture& p, int city, int series) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.city == city && op.tag.series == series && op.tag != OpTag{}) out.push_back(op);
    return out;
}

}  // namespace

TEST(DistanceSpirel, HandMadeMovesAveragedPrintedAndDrawn) {
    // All present at 1790..1820. Ranks: date 1 W X Y Z; date 2 W Z Y X; date 3 W X Z Y;
    // date 4 W Y X Z. Distances into dates 2, 3, 4: W 0 0 0; X 2 2 1; Y 0 1 2; Z 2 1 1.
    auto f = AfterRankSpirel1("\"W\",100,100,100,100\n\"X\",90,50,80,20\n\"Y\",80,60,30,60\n\"Z\",70,90,40,10\n", 4);
    f->Click("DistancePlot");
    const SpirelState& s = f->Module<SpirelModule>().State(*f->data);
    const int W = 1, X = 2, Y = 3, Z = 4;

    // Per date: (2 + 2) / 2 moves, (2 + 1 + 1) / 3, (1 + 2 + 1) / 3; overall 12 / 8.
    EXPECT_EQ(f->Text.Lines(), Table({Row(1790, 1800, " 2 "), Row(1800, 1810, " 1.333333 "),
                                      Row(1810, 1820, " 1.333333 ")},
                                     " 1.5 "));
    // Per city and move: X 5 / 3, Y 3 / 2, Z 4 / 3; W never moved.
    EXPECT_EQ(s.AvCityDistance(W), 0.0f);
    EXPECT_FLOAT_EQ(s.AvCityDistance(X), 5.0f / 3);
    EXPECT_FLOAT_EQ(s.AvCityDistance(Y), 1.5f);
    EXPECT_EQ(s.PathStep(Y, 3, 2), 1.0f);

    // Largest distance 2: Scale = 3800 / 2, kept for the city spirel.
    EXPECT_EQ(s.SpirelScale, 1900.0f);
    EXPECT_FALSE(f->panel.Visible("PlotCity"));
    // W sorts last and is drawn first, with nothing to draw; then Z, Y, X; the average last.
    EXPECT_EQ(s.DrawOrder(4), W);
    std::vector<int> order;
    for (const DrawOp& op : f->Picture1.Ops())
        if (op.tag != OpTag{} && (order.empty() || order.back() != op.tag.city)) order.push_back(op.tag.city);
    EXPECT_EQ(order, (std::vector<int>{Z, Y, X, 0}));

    // Y did not move into 1800: a dot at 1810 (1 rank), then 2 ranks on the spoke of 1790.
    auto y = OpsTagged(f->Picture1, Y, 0);
    ASSERT_EQ(y.size(), 2u);
    EXPECT_TRUE(IsDot(y[0]));
    ExpectAt(y[0].x1, y[0].y1, 1900, 3);
    ExpectAt(y[1].x2, y[1].y2, 3800, 4);
    EXPECT_EQ(y[1].width, 2);
    // The average: black on grey, 3 pixels, 2, 4/3 and 4/3 ranks.
    auto av = OpsTagged(f->Picture1, 0, 1);
    ASSERT_EQ(av.size(), 3u);
    EXPECT_TRUE(IsDot(av[0]));
    ExpectAt(av[0].x1, av[0].y1, 3800, 2);
    ExpectAt(av[2].x2, av[2].y2, 1900 * 4.0 / 3, 4);
    EXPECT_EQ(av[2].colour, Black);
    EXPECT_EQ(av[2].width, 3);
}
