#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "draw/Contrast.h"
#include "TestForm.h"
#include "spirels/CitySpirel.h"

namespace {

// Five cities, four dates; ranks by hand (absent cities last, in city order):
//   date 1: A 1, D 2, E 3, B 4, C 5 (absent)      NumPresent 4
//   date 2: A 1, E 2, D 3, B 4, C 5 (both absent) NumPresent 3
//   date 3: A 1, B 2, C 3, E 4, D 5 (absent)      NumPresent 4
//   date 4: A 1, D 2, B 3, E 4, C 5 (absent)      NumPresent 4
// "Rank-Spirel1" leaves SpirelScale = R / 4 = 950 twips per rank.
std::unique_ptr<Form> AfterRankSpirel1(int backMap) {
    auto f = FormWithData(
        "\"A\",100,100,100,100\n\"B\",50,0,90,30\n\"C\",0,0,60,0\n\"D\",80,90,0,50\n\"E\",70,95,40,5\n", 5, 4);
    f->Choose("BackMap", backMap);
    f->Click("RankSpirel1");
    return f;
}
constexpr int B = 2, C = 3, D = 4;
constexpr Colour White = 0xFFFFFF;

std::vector<DrawOp> OpsOfCity(const Picture& p, int city) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.city == city) out.push_back(op);
    return out;
}

void PlotCityNumber(Form& f, int city) {
    f.Choose("Cities", city - 1);
    f.Click("PlotCity");
}

void ExpectAt(float x, float y, double r, int t) {
    const double a = 6.283185307179586 * (t - 1) / 3;
    EXPECT_NEAR(x, 4500 + r * std::sin(a), 0.05) << "r " << r << " date " << t;
    EXPECT_NEAR(y, 4500 - r * std::cos(a), 0.05) << "r " << r << " date " << t;
}

const size_t FaceOps = 5 + 3 + 3;  // rings, spokes and labels of four dates

}  // namespace

TEST(CitySpirel, FirstPressDrawsAnEmptyFaceAndTheCityInRed) {
    auto f = AfterRankSpirel1(0);
    PlotCityNumber(*f, B);
    const Picture& p = f->Picture1;
    // The rank spirel is gone: a face of its own colours (white ground, grey 150) and B.
    EXPECT_EQ(p.BackColor, White);
    EXPECT_EQ(p.Ops().front().colour, RGB(150, 150, 150));
    auto b = OpsOfCity(p, B);
    ASSERT_EQ(b.size(), 4u);
    EXPECT_EQ(p.Ops().size(), FaceOps + b.size());

    // Ranks 4, absent, 2, 3: two dots 3 pixels wide (no segment yet), one segment of 4.
    const int dates[] = {1, 3, 4}, widths[] = {3, 3, 4};
    const double radii[] = {3800, 1900, 2850};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(b[k].colour, RGB(255, 0, 0));
        EXPECT_EQ(b[k].width, widths[k]);
        EXPECT_EQ(b[k].tag.date, dates[k]);
        ExpectAt(b[k].x2, b[k].y2, radii[k], dates[k]);
    }
    EXPECT_TRUE(b[1].x1 == b[1].x2 && b[1].y1 == b[1].y2);
    EXPECT_EQ(b[2].x1, b[1].x2);
    // The name at the end of the path, bold, 11 points, in the face colour.
    EXPECT_EQ(b[3].text, "B");
    EXPECT_TRUE(b[3].bold);
    EXPECT_EQ(b[3].fontSize, 11.0f);
    EXPECT_EQ(b[3].colour, RGB(150, 150, 150));
    EXPECT_EQ(b[3].x1, b[2].x2);
    EXPECT_EQ(b[3].y1, b[2].y2);
    EXPECT_EQ(p.CurrentTag, OpTag{});
    EXPECT_EQ(f->spirel.CityPlotCount, 2);
    EXPECT_EQ(f->spirel.CityChoice, 1);

    // The table: print zones of 14 columns, rank and population 0 where B is absent.
    std::vector<std::string> table(10, "");
    table.insert(table.end(), {"   B", "", "   Year       Rank          Population", "",
                               "    1790       4             50 ", "    1800       0             0 ",
                               "    1810       2             90 ", "    1820       3             30 "});
    EXPECT_EQ(f->Text.Lines(), table);
}

TEST(CitySpirel, LaterPressesAddCitiesInTheColourSequence) {
    auto f = AfterRankSpirel1(0);
    PlotCityNumber(*f, B);
    PlotCityNumber(*f, D);
    const Picture& p = f->Picture1;
    // No second face; B stays red, D comes in green; the table shows only D.
    int rings = 0;
    for (const DrawOp& op : p.Ops()) rings += op.kind == OpKind::Circle;
    EXPECT_EQ(rings, 5);
    EXPECT_EQ(OpsOfCity(p, B).front().colour, Visible(RGB(255, 0, 0), p.BackColor));
    EXPECT_EQ(OpsOfCity(p, D).front().colour, Visible(RGB(0, 255, 0), p.BackColor));
    ASSERT_EQ(f->Text.Lines().size(), 18u);
    EXPECT_EQ(f->Text.Lines()[10], "   D");
    EXPECT_EQ(f->Text.Lines()[14], "    1790       2             80 ");

    // Presses 4 to 10, then the 11th keeps the 10th colour.
    for (Colour expected : {RGB(0, 0, 255), RGB(255, 255, 0), RGB(255, 0, 255), RGB(0, 255, 255), RGB(0, 0, 0),
                            RGB(150, 150, 150), RGB(255, 100, 0), RGB(255, 100, 0)}) {
        PlotCityNumber(*f, B);
        EXPECT_EQ(p.Ops()[p.Ops().size() - 4].colour, Visible(expected, p.BackColor));  // B's first dot
    }
    EXPECT_EQ(f->spirel.CityPlotCount, 11);
}

TEST(CitySpirel, CityAbsentAtTheLastDateIsNamedWhereItsRankFalls) {
    auto f = AfterRankSpirel1(1);
    PlotCityNumber(*f, C);
    EXPECT_EQ(f->Picture1.BackColor, Black);  // white face on black
    EXPECT_EQ(f->Picture1.Ops().front().colour, White);
    auto c = OpsOfCity(f->Picture1, C);
    ASSERT_EQ(c.size(), 2u);  // the dot of date 3 and the name
    // Date 4: rank 5 (absent) at 5 * 950 twips on the first spoke, above the picture's top.
    ExpectAt(c[1].x1, c[1].y1, 4750, 4);
    EXPECT_EQ(c[1].colour, White);
}

TEST(CitySpirel, NothingChosenEndsSilentlyAfterTheEmptyLines) {
    auto f = AfterRankSpirel1(0);
    f->Choose("Cities", -1);
    EXPECT_NO_THROW(f->Click("PlotCity"));
    EXPECT_EQ(f->Picture1.Ops().size(), FaceOps);
    EXPECT_EQ(f->Picture1.BackColor, White);
    EXPECT_EQ(f->spirel.CityPlotCount, 2);
    EXPECT_EQ(f->spirel.CityChoice, -1);
    EXPECT_EQ(f->Text.Lines(), std::vector<std::string>(10, ""));
    // The next press works on that face in the next colour.
    PlotCityNumber(*f, B);
    EXPECT_EQ(f->Picture1.Ops().size(), FaceOps + 4);
    EXPECT_EQ(OpsOfCity(f->Picture1, B).front().colour, Visible(RGB(0, 255, 0), f->Picture1.BackColor));
}
