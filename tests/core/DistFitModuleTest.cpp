// Dist-Fit in the window and on the command line's Form: its buttons, its panel, its tables,
// its pictures and what hover says about them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
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

TEST(DistFitModule, FitPrintsBothTablesAndOffersDistPlot) {
    auto f = FormWithRealData();
    EXPECT_TRUE(f->panel["DistFit"].visible);
    EXPECT_EQ(ErrorOf(*f, "DistFit"), "no error");
    ASSERT_EQ(f->Text.Tables.size(), 2u);
    EXPECT_EQ(f->Text.Tables[0].rows.size(), 3u * static_cast<std::size_t>(f->data->NumDates));
    EXPECT_EQ(f->Text.Tables[1].rows.size(), static_cast<std::size_t>(f->data->NumDates));
    EXPECT_TRUE(f->panel["Dates"].visible && f->panel["DistPlot"].visible);
    // One point per law and date on the AIC picture, each naming its law and date on hover.
    const auto points = Tagged(*f, DistAicPoint);
    EXPECT_EQ(points.size(), 3u * static_cast<std::size_t>(f->data->NumDates));
    const auto hit = HitTest(f->Picture1, points.front().x1, points.front().y1, 30);
    ASSERT_TRUE(hit);
    EXPECT_NE(DescribeHit(*f, *hit, points.front().x1, points.front().y1).find("AIC"), std::string::npos);

    EXPECT_EQ(ErrorOf(*f, "DistPlot"), "Choose a date in the list of dates first");
    f->ChooseText("Dates", "1900");
    EXPECT_EQ(ErrorOf(*f, "DistPlot"), "no error");
    // A place's point names it (where each stands: DistPlotDrawsThePlaces...).
    const auto places = Tagged(*f, DistPlace);
    ASSERT_FALSE(places.empty());
    const auto onPlace = HitTest(f->Picture1, places.back().x1, places.back().y1, 10);
    ASSERT_TRUE(onPlace);
    const std::string named = DescribeHit(*f, *onPlace, places.back().x1, places.back().y1);
    EXPECT_EQ(named.rfind(f->data->CityName(onPlace->tag.city) + ", 1900: population", 0), 0u) << named;
    EXPECT_NE(named.find("dpln: P(X >= x)"), std::string::npos) << named;
    // Beside the laws and their AIC (DistPlotDrawsThePlaces...) the key names t and x_min.
    std::string text;
    for (const auto& op : f->Picture1.Ops()) text += op.text + "\n";
    for (const char* law : {"t: switch point", "x_min"}) EXPECT_NE(text.find(law), std::string::npos) << law;

    f->Click("Clear");
    EXPECT_FALSE(f->panel["DistPlot"].visible);
}

// Dist-Plot read back on USData's 1900: each place at its population and the share of places
// at least as large, #{y >= x} / n, counted here; the lognormal's curve at
// 1/2 erfc((ln x - mu) / (sigma sqrt 2)), mu and sigma the mean and divisor-n sd of ln x
// computed here from the table as the README defines them; the key gives each law the AIC
// the table prints and marks the best.
TEST(DistFitModule, DistPlotDrawsThePlacesAndTheLognormalWhereTheyLie) {
    auto f = FormWithRealData();
    f->Click("DistFit");
    const std::vector<ResultTable> tables = f->Text.Tables;
    f->ChooseText("Dates", "1900");
    f->Click("DistPlot");
    const DataSet& d = *f->data;
    const int t = 12;
    ASSERT_EQ(d.DateYear(t), 1900);
    std::vector<double> x;
    for (int c = 1; c <= d.NumCities; ++c)
        if (d.Present(c, t) == 1 && d.Pop(c, t) > 0) x.push_back(d.Pop(c, t));
    const double n = static_cast<double>(x.size());
    double mu = 0, var = 0;
    for (double v : x) mu += std::log(v) / n;
    for (double v : x) var += (std::log(v) - mu) * (std::log(v) - mu) / n;
    const double sigma = std::sqrt(var);
    const auto share = [&](double v) { return static_cast<double>(std::count_if(x.begin(), x.end(), [&](double y) { return y >= v; })) / n; };
    const auto places = Tagged(*f, DistPlace);
    ASSERT_EQ(places.size(), x.size());
    // The axes from the smallest place (share 1) and the largest (share 1 / n).
    const auto by = [&](const DrawOp& a, const DrawOp& b) { return d.Pop(a.tag.city, t) < d.Pop(b.tag.city, t); };
    const DrawOp lo = *std::min_element(places.begin(), places.end(), by), hi = *std::max_element(places.begin(), places.end(), by);
    const double b = (hi.x1 - lo.x1) / std::log10(d.Pop(hi.tag.city, t) / d.Pop(lo.tag.city, t)), a = lo.x1 - b * std::log10(d.Pop(lo.tag.city, t));
    const double c = lo.y1, e = (hi.y1 - lo.y1) / std::log10(1 / n);
    for (const DrawOp& op : places) {
        const double v = d.Pop(op.tag.city, t);
        EXPECT_NEAR(op.x1, a + b * std::log10(v), 1) << d.CityName(op.tag.city);
        EXPECT_NEAR(op.y1, c + e * std::log10(share(v)), 1) << d.CityName(op.tag.city);
    }
    const auto& ops = f->Picture1.Ops();
    const Colour lognormal = KeyColour(f->Picture1, "lognormal, AIC");
    int onCurve = 0;
    for (const DrawOp& op : ops) {
        if (op.kind != OpKind::Line || op.colour != lognormal || op.width != 4 || op.tag.series == KeySeries || op.x2 > hi.x1 + 300) continue;
        const double lnx = (op.x2 - a) / b * std::log(10.0);
        EXPECT_NEAR(op.y2, c + e * std::log10(0.5 * std::erfc((lnx - mu) / (sigma * std::sqrt(2.0)))), 1.5) << op.x2;
        ++onCurve;
    }
    EXPECT_GT(onCurve, 50);
    std::string best;
    for (const auto& r : tables[1].rows)
        if (r[0] == "1900") best = r[2];
    int keyed = 0;
    for (const auto& r : tables[0].rows) {
        if (r[0] != "1900") continue;
        char want[80];
        std::snprintf(want, sizeof want, "%s, AIC %.1f", r[1].c_str(), std::stod(r[5]));
        for (const DrawOp& op : ops)
            if (op.kind == OpKind::Text && op.text.rfind(want, 0) == 0) {
                EXPECT_EQ(op.text.find("(best)") != std::string::npos, r[1] == best) << op.text;
                ++keyed;
            }
    }
    EXPECT_EQ(keyed, 3);
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
