#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "draw/Contrast.h"
#include "TestForm.h"
#include "spirels/SpirelTestUtil.h"
#include "core/SpirelModule.h"

namespace {

// FiveCities() after "Rank-Spirel1": SpirelScale = R / 4 = 950 twips per rank.
std::unique_ptr<Form> AfterRankSpirel1(int backMap) {
    auto f = FiveCities();
    f->Choose("BackMap", backMap);
    f->Click("RankSpirel1");
    return f;
}
constexpr int B = 2, C = 3, D = 4;
constexpr Colour White = 0xFFFFFF;

void PlotCityNumber(Form& f, int city) {
    f.Choose("Cities", city - 1);
    f.Click("PlotCity");
}

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
    // The name at the end of the path, bold, 11 points, in the face colour.
    EXPECT_TRUE(b[3].text == "B" && b[3].bold && b[3].fontSize == 11.0f && b[3].colour == RGB(150, 150, 150));
    EXPECT_TRUE(b[3].x1 == b[2].x2 && b[3].y1 == b[2].y2);
    EXPECT_EQ(f->Module<SpirelModule>().State(*f->data).CityPlotCount, 2);

    // The table: print zones of 14 columns, rank and population 0 where B is absent.
    std::vector<std::string> table(10, "");
    table.insert(table.end(), {"   B", "", "   Year       Rank          Population", "",
                               "    1790       4             50 ", "    1800       0             0 ",
                               "    1810       2             90 ", "    1820       3             30 "});
    EXPECT_EQ(f->Text.Lines(), table);
}
