#include "data/Ranking.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "data/DataSet.h"
#include "data/Precision.h"
#include "draw/Canvas.h"
#include "draw/Contrast.h"
#include "draw/RunError.h"

void SortDescending(CityVec& values, CityVec& sorted, CityVec& order, int n) {
    // Same order as selection by repeated strict maximum: descending, ties by index.
    if (n < 1) return;
    values(n);  // the capacity check the selection loop would make
    std::vector<int> idx(static_cast<std::size_t>(n));
    std::iota(idx.begin(), idx.end(), 1);
    std::stable_sort(idx.begin(), idx.end(), [&](int a, int b) { return values(a) > values(b); });
    for (int i = 1; i <= n; ++i) {
        int k = idx[static_cast<std::size_t>(i - 1)];
        sorted(i) = values(k);
        order(i) = static_cast<float>(k);
    }
    for (int i = 1; i <= n; ++i) values(i) = -100.0f;
}

void NumberByFirstAppearance(const DataSet& d, RankTables& r) {
    // Up to places x dates appearances: far more than a 16-bit count holds.
    std::vector<float> list;
    list.reserve(static_cast<std::size_t>(d.NumCities));
    for (int t = 1; t <= d.NumDates; ++t) {
        const int present = static_cast<int>(d.NumPresent(t));
        for (int i = 1; i <= present; ++i) list.push_back(r.RankCity(i, t));
    }
    for (int c = 1; c <= d.NumCities; ++c) r.EntryOrder(c) = 0;
    float next = 1;
    for (float c : list) {
        if (r.EntryOrder(c) == 0) {
            r.EntryOrder(c) = next;
            next = next + 1;
        }
    }
}

namespace {

// The order of the places at date t: descending, equal sizes in place order (as selection
// by repeated strict maximum gives). An exact table is ordered by its exact populations,
// which single precision can tie (above 16.7 million) where they differ.
template <typename Real>
void OrderPlaces(const DataSet& d, int t, std::vector<int>& idx) {
    std::vector<Real> key(static_cast<std::size_t>(d.NumCities) + 1);
    for (int c = 1; c <= d.NumCities; ++c) key[static_cast<std::size_t>(c)] = PopAt<Real>(d, c, t);
    std::iota(idx.begin(), idx.end(), 1);
    std::stable_sort(idx.begin(), idx.end(), [&](int a, int b) {
        return key[static_cast<std::size_t>(a)] > key[static_cast<std::size_t>(b)];
    });
}

// Running sums in rank order, in the table's arithmetic, stored as the nearest single.
template <typename Real>
void RunningSums(const DataSet& d, RankTables& r) {
    for (int t = 1; t <= d.NumDates; ++t) {
        Real cum = 0, logcum = 0;
        for (int i = 1; i <= d.NumCities; ++i) {
            cum = cum + RankedPop<Real>(d, r, i, t);
            logcum = logcum + r.LogRankPop(i, t);
            r.CumRankPop(i, t) = static_cast<float>(cum);
            r.CumRankLogPop(i, t) = static_cast<float>(logcum);
        }
    }
}

void BuildRankTables(const DataSet& d, RankTables& r) {
    const int n = d.NumCities;
    for (CityDateGrid* g : {&r.RankPop, &r.RankCity, &r.CityRank, &r.LogRankPop, &r.CumRankPop, &r.CumCityPop,
                            &r.CumRankLogPop, &r.CumCityLogPop})
        g->Resize(n, d.NumDates);
    r.LogRank.Resize(n);
    r.EntryOrder.Resize(n);
    std::vector<int> idx(static_cast<std::size_t>(n));
    for (int t = 1; t <= d.NumDates; ++t) {
        ByPrecision(d, [&](auto real) { OrderPlaces<decltype(real)>(d, t, idx); });
        // Equal sizes are neighbours once sorted (every absent place weighs 1): one log each.
        float lastPop = 0, lastLog = 0;
        for (int i = 1; i <= n; ++i) {
            const int c = idx[static_cast<std::size_t>(i - 1)];
            const float pop = d.PopTable(c, t);
            if (i == 1 || pop != lastPop) {
                lastPop = pop;
                lastLog = static_cast<float>(std::log(static_cast<double>(pop)));
            }
            r.RankPop(i, t) = pop;
            r.RankCity(i, t) = static_cast<float>(c);
            r.LogRankPop(i, t) = lastLog;
        }
    }
    NumberByFirstAppearance(d, r);
    // From a number for each city to a city for each number; never-entering cities first.
    CityVec values(n), sorted(n), order(n);
    for (int c = 1; c <= n; ++c) values(c) = r.EntryOrder(c);
    SortDescending(values, sorted, order, n);
    for (int i = 1; i <= n; ++i) values(n - i + 1) = order(i);
    for (int k = 1; k <= n; ++k) r.EntryOrder(k) = values(k);

    ByPrecision(d, [&](auto real) { RunningSums<decltype(real)>(d, r); });
    for (int t = 1; t <= d.NumDates; ++t) {
        for (int i = 1; i <= n; ++i) {
            const int c = static_cast<int>(r.RankCity(i, t));  // a whole city number
            r.CityRank(c, t) = static_cast<float>(i);
            r.CumCityPop(c, t) = r.CumRankPop(i, t);
            r.CumCityLogPop(c, t) = r.CumRankLogPop(i, t);
        }
    }
    for (int i = 1; i <= n; ++i) r.LogRank(i) = static_cast<float>(std::log(static_cast<double>(i)));
}

}  // namespace

void RankSize(const DataSet& d, RankTables& r, const Canvas& c) {
    Picture& p = c.pic;
    ClearPicture(c);
    p.DrawWidth = 1;
    c.frame.AxisKind = 1;
    ApplyBackgroundChoice(c, true);

    BuildRankTables(d, r);
    const float yRange = static_cast<float>(1.1 * std::log(10000000.0));
    float maxPresent = -10;
    for (int t = 1; t <= d.NumDates; ++t)
        if (d.NumPresent(t) > maxPresent) maxPresent = d.NumPresent(t);
    if (d.DataReady != 1) return;
    // ln 0 has no value: a data set without any present city has no rank axis to draw.
    if (maxPresent < 1) throw RunError("No city has a population at any date: there is no rank-size plot to draw");

    const float xRange = static_cast<float>(1.1 * std::log(static_cast<double>(maxPresent)));
    DrawAxes(c, yRange, xRange, "Log Population", "Log Rank", Axes{});
    r.ColorRed = r.ColorGreen = r.ColorBlue = 255;
    r.ColorStep = 255.0f / d.NumDates;
    CityVec values(d.NumCities);
    std::vector<KeyEntry> key;
    for (int t = 1; t <= d.NumDates; ++t) {
        for (int i = 1; i <= d.NumCities; ++i) values(i) = r.LogRankPop(i, t);
        c.frame.PlotColor = static_cast<float>(
            Visible(RGB(ToInt16(r.ColorRed), ToInt16(r.ColorGreen), ToInt16(r.ColorBlue)), p.BackColor));
        AddFadeKey(t, d.NumDates, d.DateYear(t), ColourFromFloat(c.frame.PlotColor), key);
        p.CurrentTag = OpTag{0, static_cast<int16_t>(t), RankCurve, 0};
        PlotCurve(c, values, r.LogRank, ToCount(d.NumPresent(t)));
        r.ColorGreen = r.ColorGreen - r.ColorStep;
        r.ColorRed = r.ColorRed - r.ColorStep;
        r.ColorBlue = r.ColorBlue - r.ColorStep;
    }
    p.CurrentTag = OpTag{};
    DrawKey(c, key);
}
