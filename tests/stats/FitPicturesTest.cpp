// Tail-Fit's, Growth's and their plots' pictures read back against their rows and tables, each
// axis read off the picture's own extreme points. Tail-Fit: each date's two exponents and their
// 95 % bands (zeta -/+ 1.96 SE) in the key's colours.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "TestForm.h"
#include "core/GrowthModule.h"
#include "core/TailFitModule.h"
#include "stats/TailFit.h"
#include "stats/Growth.h"
#include "stats/TailFitPlots.h"
#include "stats/GrowthPlots.h"

namespace {

bool ThinLineEndsAt(const Picture& p, Colour colour, float x, float y) {
    for (const DrawOp& op : p.Ops())
        if (op.kind == OpKind::Line && op.width == 1 && op.colour == colour &&
            ((std::fabs(op.x1 - x) < 1 && std::fabs(op.y1 - y) < 1) || (std::fabs(op.x2 - x) < 1 && std::fabs(op.y2 - y) < 1)))
            return true;
    return false;
}

// A linear axis through two (value, position) pairs.
struct Axis {
    double b, a;
    Axis(double v0, double y0, double v1, double y1) : b((y1 - y0) / (v1 - v0)), a(y0 - b * v0) {}
    float operator()(double v) const { return static_cast<float>(a + b * v); }
};

}  // namespace

TEST(TailFitPicture, PointsAndBandsWhereTheRowsPutThem) {
    auto f = FormWithRealData();
    f->SetOption("replicates", "0");
    f->Click("TailFit");
    const Picture& p = f->Picture1;
    const Colour gi = KeyColour(p, "zeta GI (rank - 1/2)"), mle = KeyColour(p, "zeta MLE above x_min");
    EXPECT_NE(gi, mle);
    const auto& rows = f->Module<TailFitModule>().table.rows;
    ASSERT_EQ(rows.size(), 22u);
    // Each date's points by colour: (x, y).
    std::vector<std::pair<float, float>> giAt(rows.size() + 1), mleAt(rows.size() + 1);
    for (const DrawOp& op : p.Ops()) {
        if (op.kind != OpKind::Circle || op.tag.series != TailFitExponents) continue;
        ASSERT_TRUE(op.colour == gi || op.colour == mle);
        (op.colour == gi ? giAt : mleAt)[static_cast<std::size_t>(op.tag.date)] = {op.x1, op.y1};
    }
    const Axis y(rows[0].gi.zeta, giAt[1].second, rows[21].gi.zeta, giAt[22].second);  // from the first and last GI points
    ASSERT_LT(y.b, 0);  // up the page as zeta grows
    for (std::size_t t = 1; t <= rows.size(); ++t) {
        SCOPED_TRACE(rows[t - 1].year);
        const TailFitRow& r = rows[t - 1];
        EXPECT_NEAR(giAt[t].second, y(r.gi.zeta), 1.0);
        EXPECT_NEAR(mleAt[t].second, y(r.pl.zeta), 1.0);
        EXPECT_EQ(giAt[t].first, mleAt[t].first);  // one date, one x
        for (double side : {-1.959964, 1.959964}) {
            EXPECT_TRUE(ThinLineEndsAt(p, gi, giAt[t].first, y(r.gi.zeta + side * r.gi.se)));
            EXPECT_TRUE(ThinLineEndsAt(p, mle, mleAt[t].first, y(r.pl.zeta + side * r.pl.se)));
        }
    }
}

// Growth: each pair's beta in the key's colour for its p, 1.96 robust SE either side, Gibrat's beta = 0.
TEST(GrowthPicture, BetasIntervalsAndColoursAsTheKeySays) {
    auto f = UsPlacesForm();
    f->Click("Growth");
    const Picture& p = f->Picture1;
    const Colour significant = KeyColour(p, "beta, p < 0.05"), not5 = KeyColour(p, "beta, p >= 0.05");
    const Colour interval = KeyColour(p, "95 % interval"), gibrat = KeyColour(p, "beta = 0: Gibrat");
    EXPECT_NE(significant, not5);
    const auto& rows = f->Module<GrowthModule>().table.rows;
    std::vector<const DrawOp*> points(rows.size() + 1, nullptr);
    for (const DrawOp& op : p.Ops())
        if (op.kind == OpKind::Circle && op.tag.series == GrowthBetaPoint) points[static_cast<std::size_t>(op.tag.date)] = &op;
    // The scale from the two points farthest apart in beta.
    std::size_t lo = 0, hi = 0;
    for (std::size_t t = 1; t <= rows.size(); ++t)
        if (points[t]) {
            if (!lo || rows[t - 1].beta < rows[lo - 1].beta) lo = t;
            if (!hi || rows[t - 1].beta > rows[hi - 1].beta) hi = t;
        }
    ASSERT_TRUE(lo && hi && lo != hi);
    const Axis y(rows[lo - 1].beta, points[lo]->y1, rows[hi - 1].beta, points[hi]->y1);
    int drawn = 0;
    for (std::size_t t = 1; t <= rows.size(); ++t) {
        const GrowthRow& r = rows[t - 1];
        EXPECT_EQ(points[t] != nullptr, !r.pooled && std::isfinite(r.beta)) << r.fromYear;
        if (!points[t]) continue;
        ++drawn;
        SCOPED_TRACE(r.fromYear);
        EXPECT_NEAR(points[t]->y1, y(r.beta), 1.0);
        EXPECT_EQ(points[t]->colour, r.p < 0.05 ? significant : not5);
        EXPECT_TRUE(std::any_of(p.Ops().begin(), p.Ops().end(), [&](const DrawOp& op) {
            return op.kind == OpKind::Line && op.colour == interval && std::fabs(op.x1 - points[t]->x1) < 1 &&
                   std::fabs(op.y1 - y(r.beta - 1.959964 * r.seBeta)) < 1 && std::fabs(op.y2 - y(r.beta + 1.959964 * r.seBeta)) < 1;
        }));
    }
    EXPECT_GE(drawn, 20);
    EXPECT_TRUE(std::any_of(p.Ops().begin(), p.Ops().end(), [&](const DrawOp& op) {
        return op.kind == OpKind::Line && op.colour == gibrat && std::fabs(op.y1 - y(0)) < 1 && std::fabs(op.y2 - y(0)) < 1 &&
               op.x2 - op.x1 > 3000;
    }));
}

// Growth-Plot: the kernel mean above and the spread below at each grid point, each with its
// bootstrap band (the key's 95 %); the places at their size and normalised growth on the mean's axes.
TEST(GrowthPlotPicture, CurvesBandsAndPlacesWhereTheCurvesAndTheSamplePutThem) {
    auto f = FormWithRealData();
    f->SetOption("replicates", "40");
    f->Click("Growth");
    f->ChooseText("Dates", "1950");
    f->Click("GrowthPlot");
    const Picture& p = f->Picture1;
    const GrowthCurves& k = f->Module<GrowthModule>().curves;
    const GrowthSample& s = f->Module<GrowthModule>().sample;
    const Colour mean = KeyColour(p, "kernel mean"), spread = KeyColour(p, "kernel spread");
    EXPECT_NE(KeyColour(p, "95 % band, 40 replicates"), -1);
    EXPECT_NE(mean, spread);
    auto curve = [&](Colour c) {  // each point of the wide line drawn in colour c
        std::vector<std::pair<float, float>> at;
        for (const DrawOp& op : p.Ops())
            if (op.kind == OpKind::Line && op.width == 3 && op.colour == c && op.tag.series != KeySeries) at.emplace_back(op.x2, op.y2);
        return at;
    };
    const auto m = curve(mean), sd = curve(spread);
    ASSERT_EQ(m.size(), k.grid.size());
    ASSERT_EQ(sd.size(), k.grid.size());
    const std::size_t n = k.grid.size() - 1;
    const Axis x(k.grid[0], m[0].first, k.grid[n], m[n].first);
    auto scale = [&](const std::vector<std::pair<float, float>>& at, const std::vector<double>& v) {
        const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
        const std::size_t i = static_cast<std::size_t>(lo - v.begin()), j = static_cast<std::size_t>(hi - v.begin());
        return Axis(v[i], at[i].second, v[j], at[j].second);
    };
    const Axis my = scale(m, k.mean), sy = scale(sd, k.sd);
    ASSERT_TRUE(my.b < 0 && sy.b < 0);  // up the page as the value grows
    float meanLowest = 0, spreadHighest = 1e9;
    for (std::size_t j = 0; j <= n; ++j) {
        SCOPED_TRACE(j);
        EXPECT_NEAR(m[j].first, x(k.grid[j]), 1);
        EXPECT_NEAR(sd[j].first, x(k.grid[j]), 1);
        EXPECT_NEAR(m[j].second, my(k.mean[j]), 1);
        EXPECT_NEAR(sd[j].second, sy(k.sd[j]), 1);
        for (double v : {k.meanLo[j], k.meanHi[j]}) EXPECT_TRUE(ThinLineEndsAt(p, mean, x(k.grid[j]), my(v)));
        for (double v : {k.sdLo[j], k.sdHi[j]}) EXPECT_TRUE(ThinLineEndsAt(p, spread, x(k.grid[j]), sy(v)));
        meanLowest = std::max({meanLowest, m[j].second, my(k.meanLo[j])});
        spreadHighest = std::min({spreadHighest, sd[j].second, sy(k.sdHi[j])});
    }
    EXPECT_LT(meanLowest, spreadHighest) << "the spread's panel lies below the mean's";
    int places = 0;
    for (const DrawOp& op : p.Ops()) {
        if (op.tag.series != GrowthPlacePoint) continue;
        std::size_t i = 0;
        while (i < s.city.size() && s.city[i] != op.tag.city) ++i;
        ASSERT_LT(i, s.city.size()) << op.tag.city;
        EXPECT_NEAR(op.x1, x(s.x[i]), 1) << op.tag.city;
        EXPECT_NEAR(op.y1, my(s.gt[i]), 1) << op.tag.city;
        ++places;
    }
    EXPECT_GT(places, static_cast<int>(s.city.size()) * 9 / 10);  // the middle 95 % of growth, and more
}

// Tail-Plot and Hill-Plot of 1950 against numbers worked here from the table: each city at its
// population and the share at least as large; the power law from R poweRlaw's x_min 299017 and
// alpha 2.391143486833748 (TailFitTest); Hill's zeta_k = k / sum_{i <= k} ln(x_i / x_{k+1}) over
// the sizes in falling order, its band zeta_k (1 -/+ 1.96 / sqrt k).
TEST(TailPlotPictures, PointsPowerLawAndHillEstimatesWhereTheTableSays) {
    auto f = FormWithRealData();
    f->SetOption("replicates", "0");
    f->Click("TailFit");
    f->ChooseText("Dates", "1950");
    f->Click("TailPlot");
    const DataSet& d = *f->data;
    const int t = 17;
    std::vector<double> x;
    for (int c = 1; c <= d.NumCities; ++c)
        if (d.Present(c, t) == 1) x.push_back(d.PopTable(c, t));
    std::sort(x.begin(), x.end(), std::greater<>());
    const double n = static_cast<double>(x.size()), xmin = 299017, alpha = 2.391143486833748;
    const auto atLeast = [&](double v) { return static_cast<double>(std::count_if(x.begin(), x.end(), [&](double y) { return y >= v; })); };
    std::vector<const DrawOp*> points;
    for (const DrawOp& op : f->Picture1.Ops())
        if (op.tag.series == CitiesAtOneDate && op.tag.city > 0 && op.kind == OpKind::Circle) points.push_back(&op);
    ASSERT_EQ(points.size(), x.size());
    const auto by = [&](const DrawOp* a, const DrawOp* b) { return d.PopTable(a->tag.city, t) < d.PopTable(b->tag.city, t); };
    const DrawOp* lo = *std::min_element(points.begin(), points.end(), by);
    const DrawOp* hi = *std::max_element(points.begin(), points.end(), by);
    const Axis h(std::log10(x.back()), lo->x1, std::log10(x.front()), hi->x1), v(0, lo->y1, std::log10(1 / n), hi->y1);
    for (const DrawOp* op : points) {
        const double pop = d.PopTable(op->tag.city, t);
        EXPECT_NEAR(op->x1, h(std::log10(pop)), 1) << pop;
        EXPECT_NEAR(op->y1, v(std::log10(atLeast(pop) / n)), 1) << pop;
    }
    const Colour law = KeyColour(f->Picture1, "power law, zeta 1.391");
    const double y0 = std::log10(atLeast(xmin) / n);
    bool drawn = false;
    for (const DrawOp& op : f->Picture1.Ops())
        if (op.kind == OpKind::Line && op.colour == law && op.tag.series != KeySeries && op.x2 > op.x1) {
            EXPECT_NEAR(op.x1, h(std::log10(xmin)), 1);
            EXPECT_NEAR(op.y1, v(y0), 1);
            EXPECT_NEAR(op.x2, h(std::log10(x.front())), 1);
            EXPECT_NEAR(op.y2, v(y0 + (1 - alpha) * std::log10(x.front() / xmin)), 1);
            drawn = true;
        }
    EXPECT_TRUE(drawn);

    f->Click("HillPlot");
    std::vector<double> zeta(x.size(), NAN);
    double sum = 0;
    for (std::size_t k = 1; k < x.size(); ++k) {
        sum += std::log(x[k - 1]);
        zeta[k] = static_cast<double>(k) / (sum - static_cast<double>(k) * std::log(x[k]));
    }
    std::map<int, std::pair<float, float>> at;  // k -> where its point is drawn
    for (const DrawOp& op : f->Picture1.Ops())
        if (op.tag.series == TailHillPoint) at[op.tag.point] = {op.x2, op.y2};
    ASSERT_EQ(at.size(), x.size() - 1);
    const int k1 = 10, k2 = static_cast<int>(x.size()) - 1;
    const Axis kx(k1, at[k1].first, k2, at[k2].first), zy(zeta[k1], at[k1].second, zeta[k2], at[k2].second);
    const Colour band = KeyColour(f->Picture1, "+- 1.96 zeta_k / sqrt(k)");
    const ViewRect& area = f->Picture1.ZoomArea;  // a band beyond the plot is cut at its edge
    for (const auto& [k, xy] : at) {
        const double z = zeta[static_cast<std::size_t>(k)];
        EXPECT_NEAR(xy.first, kx(k), 1) << k;
        EXPECT_NEAR(xy.second, zy(z), 1) << k;
        for (double side : {-1.96, 1.96})
            if (const float y = zy(z * (1 + side / std::sqrt(k))); y > area.top + 1 && y < area.bottom - 1) {
                EXPECT_TRUE(ThinLineEndsAt(f->Picture1, band, xy.first, y)) << k << " " << side;
            }
    }
}
