#include "data/Ranking.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <utility>
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

// Every date's order of the places, descending with equal sizes in place order (as selection
// by repeated strict maximum gives), and the running sums in rank order, both in the table's
// arithmetic Real: an exact table is ordered and summed by its exact populations, which single
// precision ties above 16.7 million and rounds in a sum. Sums are stored as the nearest single.
template <typename Real>
void OrderAndSum(const DataSet& d, RankTables& r) {
    const int n = d.NumCities;
    std::vector<std::pair<Real, int>> order(static_cast<std::size_t>(n));
    for (int t = 1; t <= d.NumDates; ++t) {
        for (int c = 1; c <= n; ++c) order[static_cast<std::size_t>(c - 1)] = {PopAt<Real>(d, c, t), c};
        // Absent places (size 1) are often half the table and already in place order: only
        // the sizes above and below them need sorting.
        const auto byRank = [](const auto& a, const auto& b) {
            return a.first > b.first || (a.first == b.first && a.second < b.second);
        };
        const auto ones = std::stable_partition(order.begin(), order.end(), [](const auto& e) { return e.first > 1; });
        const auto below = std::stable_partition(ones, order.end(), [](const auto& e) { return e.first == 1; });
        std::sort(order.begin(), ones, byRank);
        std::sort(below, order.end(), byRank);
        // Equal sizes are neighbours once sorted (every absent place weighs 1): one log each.
        float lastPop = 0, lastLog = 0;
        Real cum = 0, logcum = 0;
        for (int i = 1; i <= n; ++i) {
            const auto& [size, c] = order[static_cast<std::size_t>(i - 1)];
            const float pop = d.PopTable(c, t);
            if (i == 1 || pop != lastPop) {
                lastPop = pop;
                lastLog = static_cast<float>(std::log(static_cast<double>(pop)));
            }
            r.RankPop(i, t) = pop;
            r.RankCity(i, t) = static_cast<float>(c);
            r.LogRankPop(i, t) = lastLog;
            cum = cum + size;
            logcum = logcum + lastLog;
            r.CumRankPop(i, t) = static_cast<float>(cum);
            r.CumRankLogPop(i, t) = static_cast<float>(logcum);
        }
    }
}

void BuildRankTables(const DataSet& d, RankTables& r) {
    const int n = d.NumCities;
    for (CityDateGrid* g : {&r.RankPop, &r.RankCity, &r.CityRank, &r.LogRankPop, &r.CumRankPop, &r.CumCityPop,
                            &r.CumRankLogPop, &r.CumCityLogPop})
        g->SizeFor(n, d.NumDates);  // every cell of the table is written below
    r.LogRank.Resize(n);
    r.EntryOrder.Resize(n);
    ByPrecision(d, [&](auto real) { OrderAndSum<decltype(real)>(d, r); });
    NumberByFirstAppearance(d, r);
    // From a number for each city to a city for each number; never-entering cities first.
    CityVec values(n), sorted(n), order(n);
    for (int c = 1; c <= n; ++c) values(c) = r.EntryOrder(c);
    SortDescending(values, sorted, order, n);
    for (int i = 1; i <= n; ++i) values(n - i + 1) = order(i);
    for (int k = 1; k <= n; ++k) r.EntryOrder(k) = values(k);

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
