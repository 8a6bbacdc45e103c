#include "ranksize/Zipf.h"

#include <cmath>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "data/Precision.h"
#include "data/Ranking.h"
#include "draw/Canvas.h"
#include "draw/Contrast.h"
#include "ranksize/ZipfState.h"
#include "draw/Formats.h"

namespace {

std::string YearOf(const DataSet& d, int t) { return std::to_string(d.DateYear(t)); }

// Least-squares slope of ln(population) on ln(rank) over the n present ranks.
float RegressionSlope(const RankTables& r, int t, int n) {
    double sx = 0, sy = 0;
    for (int i = 1; i <= n; ++i) {
        sx += r.LogRank(i);
        sy += r.LogRankPop(i, t);
    }
    const double mx = sx / n, my = sy / n;
    double sxy = 0, sxx = 0;
    for (int i = 1; i <= n; ++i) {
        const double dx = r.LogRank(i) - mx;
        sxy += dx * (r.LogRankPop(i, t) - my);
        sxx += dx * dx;
    }
    return static_cast<float>(sxy / sxx);
}

// Population share of each present rank among the present cities of date t, summed and
// divided in the table's arithmetic (Real).
template <typename Real>
void FillShares(const DataSet& d, const RankTables& r, int t, int n, CityDateGrid& share) {
    Real s = 0;
    for (int i = 1; i <= n; ++i) s = s + RankedPop<Real>(d, r, i, t);
    for (int i = 1; i <= n; ++i) share(i, t) = static_cast<float>(RankedPop<Real>(d, r, i, t) / s);
}

// Hill estimates at every cut-off of date t, stored for Next-Graph, and the date's
// summary line: all cities, the two largest, the mean over cut-offs, the slope.
void EstimateAndPrint(const DataSet& d, ZipfState& z, TextSurface& text, const CityDateGrid& share, float slope, int t, int n, ResultTable& table) {
    if (n < 2)
        throw RunError("Zipf-Exponents: fewer than two cities are present in " + YearOf(d, t) +
                       ", so no exponent can be estimated for that year");
    CityVec est(d.NumCities);
    // Running sums of ln share give every cut-off in one pass: sum ln(s_j / s_k) =
    // sum ln s_j - k ln s_k. Up to ExactTermsUpTo present places the sum is taken term by
    // term over the single-precision ratios, as the published estimates were, so that those
    // tables keep every digit; the running form agrees with it to a unit in the last place.
    constexpr int ExactTermsUpTo = 400;
    std::vector<double> logSum;
    if (n > ExactTermsUpTo) {
        logSum.assign(static_cast<std::size_t>(n) + 1, 0.0);
        for (int j = 1; j <= n; ++j)
            logSum[static_cast<std::size_t>(j)] = logSum[static_cast<std::size_t>(j - 1)] + std::log(static_cast<double>(share(j, t)));
    }
    // Index i stands for the cut-off rank k = n - i + 1: i = 1 takes all present cities.
    for (int i = 1; i <= n - 1; ++i) {
        const int k = n - i + 1;
        const float sk = share(k, t);
        double h = 0;
        if (n > ExactTermsUpTo) {
            h = logSum[static_cast<std::size_t>(k)] - k * std::log(static_cast<double>(sk));
            // Equal populations leave only rounding: the sum of ln ratios is 0 exactly then.
            if (share(1, t) == sk) h = 0;
        } else {
            for (int j = 1; j <= k; ++j) h += std::log(static_cast<double>(share(j, t) / sk));
        }
        if (h == 0)
            throw RunError("Zipf-Exponents: the " + std::to_string(k) + " largest cities of " + YearOf(d, t) +
                           " have equal populations, so the Hill estimate is undefined");
        est(i) = static_cast<float>(k / h + 1);
        z.HillEstimate(i, t) = est(i) - 1;
        z.CutoffShare(i, t) = sk;
    }
    double sum = 0;
    for (int i = 1; i <= n - 1; ++i) sum += est(i);
    const float mean = static_cast<float>(sum / (n - 1));
    text.Put("  ")
        .Put(Format(est(1) - 1, "#.###"))
        .Zone()
        .Put(Format(est(n - 1) - 1, "#.###"))
        .Zone()
        .Put(Format(mean - 1, "#.###"))
        .Zone()
        .Put(Format(slope, "#.###"))
        .End();
    table.Row().Add(static_cast<int>(d.DateYear(t))).Add(est(1) - 1).Add(est(n - 1) - 1).Add(mean - 1).Add(slope);
}

}  // namespace

void ZipfExponents(const DataSet& d, const RankTables& r, ZipfState& z, const Canvas& c) {
    ApplyBackgroundChoice(c, true);
    c.text.Line();

    // The slope needs two present cities; a date with fewer is reported when its line is due.
    DateVec slope(d.NumDates);
    for (int t = 1; t <= d.NumDates; ++t) {
        const int n = ToCount(d.NumPresent(t));
        if (n >= 2) slope(t) = RegressionSlope(r, t, n);
    }
    CityDateGrid share(d.NumCities, d.NumDates);
    ByPrecision(d, [&](auto real) {
        for (int t = 1; t <= d.NumDates; ++t) FillShares<decltype(real)>(d, r, t, ToCount(d.NumPresent(t)), share);
    });
    ResultTable table;
    table.title = "Zipf-Exponents";
    table.columns = {"Year", "HillAllCities", "HillTwoLargest", "HillMean", "RegressionSlope"};
    try {
        for (int t = 1; t <= d.NumDates; ++t)
            EstimateAndPrint(d, z, c.text, share, slope(t), t, ToCount(d.NumPresent(t)), table);
        c.text.Tables.push_back(std::move(table));
    } catch (const RunError&) {
        // The lines printed so far stay; the next Next-Graph returns to the main panel
        // instead of drawing estimates that were never completed.
        z.GraphDate = Add16(d.NumDates, 1);
        if (!table.rows.empty()) c.text.Tables.push_back(std::move(table));
        throw;
    }
    z.GraphDate = 1;

    float maxEstimate = -10, maxShare = -10;
    for (int t = 1; t <= d.NumDates; ++t) {
        const int m = ToCount(d.NumPresent(t) - 1);
        for (int i = 1; i <= m; ++i) {
            if (z.HillEstimate(i, t) > maxEstimate) maxEstimate = z.HillEstimate(i, t);
            if (z.CutoffShare(i, t) > maxShare) maxShare = z.CutoffShare(i, t);
        }
    }
    const float yRange = static_cast<float>(1.1 * maxEstimate);
    const float xRange = static_cast<float>(1.1 * maxShare);
    ClearPicture(c);
    DrawAxes(c, yRange, xRange, "Zipf Parameter", "Cut-off City's Share of Population",
             Axes{AxisScale::Linear, AxisScale::Linear, {}});
}

bool NextGraph(const DataSet& d, ZipfState& z, const Canvas& c) {
    Picture& p = c.pic;
    const int16_t g = z.GraphDate;
    p.DrawWidth = 1;
    if (g > d.NumDates) return false;
    const int m = ToCount(d.NumPresent(g) - 1);
    CityVec ys(d.NumCities), xs(d.NumCities);
    for (int i = 1; i <= m; ++i) {
        ys(i) = z.HillEstimate(i, g);
        xs(i) = z.CutoffShare(i, g);
    }
    // Date 16 takes palette colour 0, black, like every sixteenth date; a colour lost on the
    // background gives way to the next palette entry.
    c.frame.PlotColor = static_cast<float>(VisiblePaletteColour(g & 15, p.BackColor));
    p.CurrentTag = OpTag{0, g, 0};
    PlotCurve(c, ys, xs, m);
    p.CurrentTag = OpTag{};
    z.GraphDate = Add16(g, 1);
    return true;
}
