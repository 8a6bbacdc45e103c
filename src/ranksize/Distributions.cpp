#include "ranksize/Distributions.h"

#include <cmath>
#include <string>

#include "app/Form.h"

namespace {

struct DistributionMaxima {
    float maxPop = -10;       // largest city over all dates
    float maxPresent = -10;   // most cities present at one date
    float maxLogPop = -10;    // ln of the largest city over all dates
};

DistributionMaxima FindMaxima(const Form& f) {
    const DataSet& d = *f.data;
    const RankTables& r = f.rank;
    DistributionMaxima m;
    for (int t = 1; t <= d.NumDates; ++t) {
        if (r.RankPop(1, t) > m.maxPop) m.maxPop = r.RankPop(1, t);
        if (d.NumPresent(t) > m.maxPresent) m.maxPresent = d.NumPresent(t);
        if (r.LogRankPop(1, t) > m.maxLogPop) m.maxLogPop = r.LogRankPop(1, t);
    }
    return m;
}

// Fills the curve of date t with its n present ranks.
using FillCurve = void (*)(const Form& f, int t, int n, CityVec& ys, CityVec& xs);

// One curve per date in the fading greys of the rank-size plot, axes drawn again on top.
void DrawDistribution(Form& f, float yRange, float xRange, const std::string& yTitle, const std::string& xTitle,
                      FillCurve fill) {
    const DataSet& d = *f.data;
    RankTables& r = f.rank;
    Picture& p = f.Picture1;
    DrawAxes(f, yRange, xRange, yTitle, xTitle);
    r.ColorRed = r.ColorGreen = r.ColorBlue = 255;
    r.ColorStep = 255.0f / d.NumDates;
    for (int t = 1; t <= d.NumDates; ++t) {
        const int16_t n = ToInt16(d.NumPresent(t));
        CityVec ys, xs;
        fill(f, t, n, ys, xs);
        f.frame.PlotColor = static_cast<float>(RGB(ToInt16(r.ColorRed), ToInt16(r.ColorGreen), ToInt16(r.ColorBlue)));
        p.CurrentTag = OpTag{0, static_cast<int16_t>(t), RankCurve};
        PlotCurve(f, ys, xs, n);
        p.CurrentTag = OpTag{};
        r.ColorGreen = r.ColorGreen - r.ColorStep;
        r.ColorRed = r.ColorRed - r.ColorStep;
        r.ColorBlue = r.ColorBlue - r.ColorStep;
    }
    DrawAxes(f, yRange, xRange, yTitle, xTitle);
}

void StartDistributionPlot(Form& f) {
    ClearPicture(f);
    f.Picture1.DrawWidth = 1;
    ApplyBackgroundChoice(f, true);
}

}  // namespace

void SizeRank_Click(Form& f) {
    StartDistributionPlot(f);
    const DistributionMaxima m = FindMaxima(f);
    DrawDistribution(f, static_cast<float>(1.1 * m.maxPop), static_cast<float>(1.1 * m.maxPresent), "Population",
                     "Rank", [](const Form& f, int t, int, CityVec& ys, CityVec& xs) {
                         for (int i = 1; i <= f.data->NumCities; ++i) {
                             ys(i) = f.rank.RankPop(i, t);
                             xs(i) = static_cast<float>(i);
                         }
                     });
    f.Picture1.DrawWidth = 1;
}

// Cumulative rank counted from the smallest present city: n - j + 1 cities are no larger
// than the city at rank j.
void CumRankSize_Click(Form& f) {
    StartDistributionPlot(f);
    const DistributionMaxima m = FindMaxima(f);
    const float yRange = static_cast<float>(1.1 * std::log(static_cast<double>(m.maxPresent)));
    DrawDistribution(f, yRange, static_cast<float>(1.1 * m.maxLogPop), "Log Cumulative Rank", "Log Population",
                     [](const Form& f, int t, int n, CityVec& ys, CityVec& xs) {
                         for (int j = 1; j <= n; ++j) {
                             ys(n - j + 1) = f.rank.LogRank(j);
                             xs(j) = f.rank.LogRankPop(j, t);
                         }
                     });
}

void CumSizeRank_Click(Form& f) {
    StartDistributionPlot(f);
    const DistributionMaxima m = FindMaxima(f);
    DrawDistribution(f, static_cast<float>(1.1 * m.maxPresent), static_cast<float>(1.1 * m.maxPop),
                     "Cumulative Rank", "Population", [](const Form& f, int t, int n, CityVec& ys, CityVec& xs) {
                         for (int j = 1; j <= n; ++j) {
                             ys(n - j + 1) = static_cast<float>(j);
                             xs(j) = f.rank.RankPop(j, t);
                         }
                     });
}
