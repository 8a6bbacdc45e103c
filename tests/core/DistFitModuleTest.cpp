// Dist-Fit in the window and on the command line's Form: its buttons, its panel, its tables,
// its pictures and what hover says about them.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "TestForm.h"
#include "draw/HitTest.h"
#include "stats/DistFitPlots.h"

namespace {

// The ops of the picture tagged with `series`.
std::vector<DrawOp> Tagged(const Form& f, int16_t series) {
    std::vector<DrawOp> out;
    for (const auto& op : f.Picture1.Ops())
        if (op.tag.series == series) out.push_back(op);
    return out;
}

}  // namespace

TEST(DistFitModule, ButtonSitsUnderGrowthAndTheWindowHoldsIt) {
    Form f;
    const Control& growth = f.panel["Growth"];
    const Control& fit = f.panel["DistFit"];
    EXPECT_EQ(fit.left, growth.left);
    EXPECT_EQ(fit.top, growth.top + growth.height + 150);
    EXPECT_EQ(fit.width, growth.width);
    EXPECT_EQ(fit.height, growth.height);
    EXPECT_GE(f.WindowHeight, fit.top + fit.height);
    EXPECT_FALSE(fit.visible);  // offered with the main command set, once data is loaded
    EXPECT_FALSE(f.panel["DistPlot"].visible);
    // No control overlaps the new one.
    for (const Control& c : f.panel.All()) {
        if (c.name == "DistFit" || c.kind == ControlKind::Label || c.kind == ControlKind::Image) continue;
        const bool apart = c.left + c.width <= fit.left || fit.left + fit.width <= c.left ||
                           c.top + c.height <= fit.top || fit.top + fit.height <= c.top;
        EXPECT_TRUE(apart) << c.name;
    }
}

TEST(DistFitModule, FitPrintsBothTablesAndOffersDistPlot) {
    auto f = FormWithRealData();
    EXPECT_TRUE(f->panel["DistFit"].visible);
    EXPECT_EQ(ErrorOf(*f, "DistFit"), "no error");
    ASSERT_EQ(f->Text.Tables.size(), 2u);
    EXPECT_EQ(f->Text.Tables[0].rows.size(), 3u * static_cast<std::size_t>(f->data->NumDates));
    EXPECT_EQ(f->Text.Tables[1].rows.size(), static_cast<std::size_t>(f->data->NumDates));
    EXPECT_TRUE(f->panel["Dates"].visible);
    EXPECT_TRUE(f->panel["DistPlot"].visible);
    // One point per law and date on the AIC picture, each naming its law and date on hover.
    const auto points = Tagged(*f, DistAicPoint);
    EXPECT_EQ(points.size(), 3u * static_cast<std::size_t>(f->data->NumDates));
    const DrawOp& p = points.front();
    const auto hit = HitTest(f->Picture1, p.x1, p.y1, 30);
    ASSERT_TRUE(hit);
    const std::string said = DescribeHit(*f, *hit, p.x1, p.y1);
    EXPECT_NE(said.find("AIC"), std::string::npos) << said;

    EXPECT_EQ(ErrorOf(*f, "DistPlot"), "Choose a date in the list of dates first");
    f->ChooseText("Dates", "1900");
    EXPECT_EQ(ErrorOf(*f, "DistPlot"), "no error");
    // Every place present in 1900 is a point that names it.
    const auto places = Tagged(*f, DistPlace);
    int present = 0;
    const int t = 12;  // 1900
    ASSERT_EQ(f->data->DateYear(t), 1900);
    for (int c = 1; c <= f->data->NumCities; ++c) present += f->data->Present(c, t) == 1 && f->data->Pop(c, t) > 0;
    EXPECT_EQ(static_cast<int>(places.size()), present);
    const DrawOp& place = places.back();
    const auto onPlace = HitTest(f->Picture1, place.x1, place.y1, 10);
    ASSERT_TRUE(onPlace);
    const std::string named = DescribeHit(*f, *onPlace, place.x1, place.y1);
    EXPECT_EQ(named.rfind(f->data->CityName(onPlace->tag.city) + ", 1900: population", 0), 0u) << named;
    EXPECT_NE(named.find("dpln: P(X >= x)"), std::string::npos) << named;
    // The key names every law with its AIC.
    std::string text;
    for (const auto& op : f->Picture1.Ops()) text += op.text + "\n";
    for (const char* law : {"lognormal, AIC", "dpln, AIC", "lognormal-pareto, AIC", "t: switch point", "x_min"})
        EXPECT_NE(text.find(law), std::string::npos) << law;

    f->Click("Clear");
    EXPECT_FALSE(f->panel["DistPlot"].visible);
}

TEST(DistFitModule, NewDataDropsTheOldFits) {
    auto f = FormWithRealData();
    f->Click("DistFit");
    f->ChooseText("Dates", "2000");
    // A table of 25 places at two dates: Dist-Plot fits the chosen date afresh, not the old row.
    std::string csv;
    for (int i = 1; i <= 25; ++i)
        csv += "\"P" + std::to_string(i) + "\"," + std::to_string(1000 * i + 7 * i * i) + "," + std::to_string(1200 * i) + "\r\n";
    f->InstallData(LoadDataText(csv, "small.csv", 25, 2));
    f->Click("DistFit");
    f->Choose("Dates", 0);
    EXPECT_EQ(ErrorOf(*f, "DistPlot"), "no error");
    EXPECT_EQ(Tagged(*f, DistPlace).size(), 25u);
}
