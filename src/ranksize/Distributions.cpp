#include "ranksize/Distributions.h"

#include <cmath>
#include <string>

#include "data/DataSet.h"
#include "data/Ranking.h"
#include "draw/Canvas.h"
#include "draw/Contrast.h"

namespace {

struct DistributionMaxima {
    float maxPop = -10;       // largest city over all dates
    float maxPresent = -10;   // most cities present at one date
    float maxLogPop = -10;    // ln of the largest city over all dates
};

DistributionMaxima FindMaxima(const DataSet& d, const RankTables& r) {
    DistributionMaxima m;
    for (int t = 1; t <= d.NumDates; ++t) {
        if (r.RankPop(1, t) > m.maxPop) m.maxPop = r.RankPop(1, t);
        if (d.NumPresent(t) > m.maxPresent) m.maxPresent = d.NumPresent(t);
        if (r.LogRankPop(1, t) > m.maxLogPop) m.maxLogPop = r.LogRankPop(1, t);
    }
    return m;
}

// Fills the curve of date t with its n present ranks.
using FillCurve = void (*)(const DataSet& d, const RankTables& r, int t, int n, CityVec& ys, CityVec& xs);

// One curve per date in the fading greys of the rank-size plot, axes drawn again on top.
void DrawDistribution(const DataSet& d, RankTables& r, const Canvas& c, float yRange, float xRange, const std::string& yTitle, const std::string& xTitle,
                      const Axes& axes, FillCurve fill) {
    Picture& p = c.pic;
    DrawAxes(c, yRange, xRange, yTitle, xTitle, axes);
    r.ColorRed = r.ColorGreen = r.ColorBlue = 255;
    r.ColorStep = 255.0f / d.NumDates;
    std::vector<KeyEntry> key;
    for (int t = 1; t <= d.NumDates; ++t) {
        const int n = ToCount(d.NumPresent(t));
        CityVec ys(d.NumCities), xs(d.NumCities);
        fill(d, r, t, n, ys, xs);
        c.frame.PlotColor = static_cast<float>(
            Visible(RGB(ToInt16(r.ColorRed), ToInt16(r.ColorGreen), ToInt16(r.ColorBlue)), p.BackColor));
        AddFadeKey(t, d.NumDates, d.DateYear(t), ColourFromFloat(c.frame.PlotColor), key);
        p.CurrentTag = OpTag{0, static_cast<int16_t>(t), RankCurve};
        PlotCurve(c, ys, xs, n);
        p.CurrentTag = OpTag{};
        r.ColorGreen = r.ColorGreen - r.ColorStep;
        r.ColorRed = r.ColorRed - r.ColorStep;
        r.ColorBlue = r.ColorBlue - r.ColorStep;
    }
    DrawAxes(c, yRange, xRange, yTitle, xTitle, axes);
    DrawKey(c, key);
}

void StartDistributionPlot(const Canvas& c) {
    ClearPicture(c);
    c.pic.DrawWidth = 1;
    ApplyBackgroundChoice(c, true);
}

}  // namespace

void SizeRank(const DataSet& d, RankTables& r, const Canvas& c) {
    StartDistributionPlot(c);
    const DistributionMaxima m = FindMaxima(d, r);
    DrawDistribution(d, r, c, static_cast<float>(1.1 * m.maxPop), static_cast<float>(1.1 * m.maxPresent), "Population",
                     "Rank", Axes{AxisScale::Linear, AxisScale::Linear, {}}, [](const DataSet& d, const RankTables& r, int t, int, CityVec& ys, CityVec& xs) {
                         for (int i = 1; i <= d.NumCities; ++i) {
                             ys(i) = r.RankPop(i, t);
                             xs(i) = static_cast<float>(i);
                         }
                     });
    c.pic.DrawWidth = 1;
}

// Cumulative rank counted from the smallest present city: n - j + 1 cities are no larger
// than the city at rank j.
void CumRankSize(const DataSet& d, RankTables& r, const Canvas& c) {
    StartDistributionPlot(c);
    const DistributionMaxima m = FindMaxima(d, r);
    const float yRange = static_cast<float>(1.1 * std::log(static_cast<double>(m.maxPresent)));
    DrawDistribution(d, r, c, yRange, static_cast<float>(1.1 * m.maxLogPop), "Log Cumulative Rank", "Log Population",
                     Axes{}, [](const DataSet&, const RankTables& r, int t, int n, CityVec& ys, CityVec& xs) {
                         for (int j = 1; j <= n; ++j) {
                             ys(n - j + 1) = r.LogRank(j);
                             xs(j) = r.LogRankPop(j, t);
                         }
                     });
}

void CumSizeRank(const DataSet& d, RankTables& r, const Canvas& c) {
    StartDistributionPlot(c);
    const DistributionMaxima m = FindMaxima(d, r);
    DrawDistribution(d, r, c, static_cast<float>(1.1 * m.maxPresent), static_cast<float>(1.1 * m.maxPop),
                     "Cumulative Rank", "Population", Axes{AxisScale::Linear, AxisScale::Linear, {}}, [](const DataSet&, const RankTables& r, int t, int n, CityVec& ys, CityVec& xs) {
                         for (int j = 1; j <= n; ++j) {
                             ys(n - j + 1) = static_cast<float>(j);
                             xs(j) = r.RankPop(j, t);
                         }
                     });
}
