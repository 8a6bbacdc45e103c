#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TestForm.h"
#include "spirels/CitySpirel.h"
#include "spirels/RankSpirels.h"

namespace {

// Five cities, four dates; ranks by hand (absent cities last, in city order):
//   date 1: A 1, D 2, E 3, B 4, C 5 (absent)      NumPresent 4
//   date 2: A 1, E 2, D 3, B 4, C 5 (both absent) NumPresent 3
//   date 3: A 1, B 2, C 3, E 4, D 5 (absent)      NumPresent 4
//   date 4: A 1, D 2, B 3, E 4, C 5 (absent)      NumPresent 4
// "Rank-Spirel1" leaves SpirelScale = R / 4 = 950.
const char* FiveCities =
    "\"A\",100,100,100,100\n"
    "\"B\",50,0,90,30\n"
    "\"C\",0,0,60,0\n"
    "\"D\",80,90,0,50\n"
    "\"E\",70,95,40,5\n";
constexpr int B = 2, C = 3, D = 4;
constexpr Colour White = 0xFFFFFF;

std::unique_ptr<Form> AfterRankSpirel1(int backMap = 0) {
    auto f = FormWithData(FiveCities, 5, 4);
    f->Choose("BackMap", backMap);
    f->Click("RankSpirel1");
    return f;
}

std::vector<DrawOp> OpsOfCity(const Picture& p, int city) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : p.Ops())
        if (op.tag.city == city) out.push_back(op);
    return out;
}

int Count(const Picture& p, OpKind kind) {
    int n = 0;
    for (const DrawOp& op : p.Ops()) n += op.kind == kind;
    return n;
}

void PlotCityNumber(Form& f, int city) {
    f.Choose("Cities", city - 1);
    f.Click("PlotCity");
}

constexpr double ExactTwoPi = 6.283185307179586;

}  // namespace

TEST(CitySpirel, FirstPressDrawsAnEmptyFaceAndTheCityInRed) {
    auto f = AfterRankSpirel1();
    PlotCityNumber(*f, B);
    const Picture& p = f->Picture1;

    // The rank spirel is gone: an own-coloured face (white ground, grey 150 lines), 3 spokes
    // and 3 labels for 4 dates, and B's ops; nothing else.
    EXPECT_EQ(p.BackColor, White);
    EXPECT_EQ(Count(p, OpKind::Circle), 5);
    EXPECT_EQ(p.Ops().front().colour, RGB(150, 150, 150));
    auto b = OpsOfCity(p, B);
    EXPECT_EQ(p.Ops().size(), 5u + 3u + 3u + b.size());

    // B: rank 4 at date 1, absent at date 2, rank 2 at date 3, rank 3 at date 4, at 950 twips
    // per rank: two dots (3 pixels, no segment yet), one segment (4 pixels), then the name.
    ASSERT_EQ(b.size(), 4u);
    const float widths[] = {3, 3, 4};
    const int dates[] = {1, 3, 4};
    const double radii[] = {3800, 1900, 2850};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(b[k].kind, OpKind::Line);
        EXPECT_EQ(b[k].colour, RGB(255, 0, 0));
        EXPECT_EQ(b[k].width, widths[k]);
        EXPECT_EQ(b[k].tag.date, dates[k]);
        const double a = ExactTwoPi * (dates[k] - 1) / 3;
        EXPECT_NEAR(b[k].x2, 4500 + radii[k] * std::sin(a), 0.01);
        EXPECT_NEAR(b[k].y2, 4500 - radii[k] * std::cos(a), 0.01);
    }
    EXPECT_EQ(b[0].x1, b[0].x2);
    EXPECT_EQ(b[1].y1, b[1].y2);
    EXPECT_EQ(b[2].x1, b[1].x2);

    // The name stands at the end of the path, bold, in the face colour.
    const DrawOp& name = b[3];
    EXPECT_EQ(name.kind, OpKind::Text);
    EXPECT_EQ(name.text, "B");
    EXPECT_TRUE(name.bold);
    EXPECT_EQ(name.fontSize, 11.0f);
    EXPECT_EQ(name.colour, RGB(150, 150, 150));
    EXPECT_EQ(name.x1, b[2].x2);
    EXPECT_EQ(name.y1, b[2].y2);
    EXPECT_EQ(p.CurrentTag, OpTag{});

    EXPECT_EQ(f->spirel.CityPlotCount, 2);
    EXPECT_EQ(f->spirel.CityChoice, 1);
    EXPECT_EQ(f->frame.PlotColor, static_cast<float>(RGB(255, 0, 0)));

    // The window shows the city's table; rank and population 0 where it is absent.
    const std::vector<std::string> table = {
        "", "", "", "", "", "", "", "", "", "",
        "   B",
        "",
        "   Year       Rank          Population",
        "",
        "    1790       4             50 ",
        "    1800       0             0 ",
        "    1810       2             90 ",
        "    1820       3             30 ",
    };
    EXPECT_EQ(f->Text.Lines(), table);
    EXPECT_EQ(f->Text.FontSize, 9.0f);
}

TEST(CitySpirel, LaterPressesAddCitiesInTheColourSequence) {
    auto f = AfterRankSpirel1();
    PlotCityNumber(*f, B);
    PlotCityNumber(*f, D);
    const Picture& p = f->Picture1;
    // No second face; B stays in red, D is added in green.
    EXPECT_EQ(Count(p, OpKind::Circle), 5);
    EXPECT_EQ(OpsOfCity(p, B).front().colour, RGB(255, 0, 0));
    EXPECT_EQ(OpsOfCity(p, D).front().colour, RGB(0, 255, 0));
    // The table shows only D: ranks 2, 3, absent, 2.
    const auto& lines = f->Text.Lines();
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[10], "   D");
    EXPECT_EQ(lines[14], "    1790       2             80 ");
    EXPECT_EQ(lines[16], "    1810       0             0 ");

    const Colour sequence[] = {RGB(0, 0, 255),   RGB(255, 255, 0),   RGB(255, 0, 255), RGB(0, 255, 255),
                               RGB(0, 0, 0),     RGB(150, 150, 150), RGB(255, 100, 0),
                               RGB(255, 100, 0)};  // from the 11th press on the colour stays
    for (Colour expected : sequence) {
        PlotCityNumber(*f, B);
        const DrawOp& dot = f->Picture1.Ops()[f->Picture1.Ops().size() - 4];
        EXPECT_EQ(dot.colour, expected);
    }
    EXPECT_EQ(f->spirel.CityPlotCount, 11);
}

TEST(CitySpirel, CityAbsentAtTheLastDateIsNamedWhereItsRankFalls) {
    auto f = AfterRankSpirel1(1);
    PlotCityNumber(*f, C);
    // On the black background the face is white and so is the name.
    EXPECT_EQ(f->Picture1.BackColor, Black);
    EXPECT_EQ(f->Picture1.Ops().front().colour, White);
    auto c = OpsOfCity(f->Picture1, C);
    ASSERT_EQ(c.size(), 2u);  // one dot (date 3) and the name
    // Date 4: rank 5 (absent) on the first spoke at 5 * 950 = 4750 twips, above the top.
    EXPECT_EQ(c[1].text, "C");
    EXPECT_NEAR(c[1].x1, 4500, 0.01);
    EXPECT_NEAR(c[1].y1, 4500 - 4750, 0.01);
    EXPECT_EQ(c[1].colour, White);
}

TEST(CitySpirel, NothingChosenEndsSilentlyAfterTheEmptyLines) {
    auto f = AfterRankSpirel1();
    f->Choose("Cities", -1);
    EXPECT_NO_THROW(f->Click("PlotCity"));
    // The face was replaced, the count advanced, and the text is ten empty lines.
    EXPECT_EQ(f->Picture1.Ops().size(), 5u + 3u + 3u);
    EXPECT_EQ(f->Picture1.BackColor, White);
    EXPECT_EQ(f->spirel.CityPlotCount, 2);
    EXPECT_EQ(f->spirel.CityChoice, -1);
    EXPECT_EQ(f->Text.Lines(), std::vector<std::string>(10, ""));

    // A later press with a city works on the same face and takes the next colour.
    PlotCityNumber(*f, B);
    EXPECT_EQ(Count(f->Picture1, OpKind::Circle), 5);
    EXPECT_EQ(OpsOfCity(f->Picture1, B).front().colour, RGB(0, 255, 0));
}

TEST(CitySpirel, PathUsesTheScaleLeftInSpirelScale) {
    auto f = AfterRankSpirel1();
    f->spirel.SpirelScale = 100;
    PlotCityNumber(*f, B);
    auto b = OpsOfCity(f->Picture1, B);
    // Rank 4 at date 1 is 400 twips straight up.
    EXPECT_NEAR(b[0].x1, 4500, 0.01);
    EXPECT_NEAR(b[0].y1, 4100, 0.01);
}
