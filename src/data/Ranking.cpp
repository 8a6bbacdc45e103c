#include "data/Ranking.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
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
    // The present places date by date, in rank order: the ranked lists as they are read.
    for (int c = 1; c <= d.NumCities; ++c) r.EntryOrder(c) = 0;
    float next = 1;
    for (int t = 1; t <= d.NumDates; ++t) {
        const int present = static_cast<int>(d.NumPresent(t));
        for (int i = 1; i <= present; ++i) {
            const float c = r.RankCity(i, t);
            if (r.EntryOrder(c) == 0) {
                r.EntryOrder(c) = next;
                next = next + 1;
            }
        }
    }
}

namespace {

// A size's bits turned so that unsigned order is descending size order.
inline std::uint64_t DescendingKey(double v) {
    std::uint64_t k;
    std::memcpy(&k, &v, sizeof k);
    k = (k >> 63) ? ~k : k | (std::uint64_t{1} << 63);
    return ~k;
}

// The size DescendingKey was made from.
inline double SizeOfKey(std::uint64_t key) {
    std::uint64_t k = ~key;
    k = (k >> 63) ? k & ~(std::uint64_t{1} << 63) : ~k;
    double v;
    std::memcpy(&v, &k, sizeof v);
    return v;
}

struct Keyed {
    std::uint64_t key;
    int city;
};

// Sorts a[0..n) by key, equal keys kept in their order: a least-significant-byte radix sort,
// the passes whose byte is the same in every key skipped. `scratch` holds n entries. On a
// table of 100,000 places it takes a fraction of a comparison sort's time.
void RadixSort(Keyed* a, std::size_t n, Keyed* scratch) {
    std::array<std::array<std::size_t, 256>, 8> count{};
    for (std::size_t k = 0; k < n; ++k)
        for (int d = 0; d < 8; ++d) ++count[static_cast<std::size_t>(d)][(a[k].key >> (8 * d)) & 0xFF];
    Keyed *from = a, *to = scratch;
    for (int d = 0; d < 8; ++d) {
        auto& c = count[static_cast<std::size_t>(d)];
        if (std::find(c.begin(), c.end(), n) != c.end()) continue;  // one byte value for all
        std::size_t sum = 0;
        for (auto& m : c) {
            const std::size_t here = m;
            m = sum;
            sum += here;
        }
        for (std::size_t k = 0; k < n; ++k) to[c[(from[k].key >> (8 * d)) & 0xFF]++] = from[k];
        std::swap(from, to);
    }
    if (from != a) std::copy(from, from + n, a);
}

// Every date's order of the places, descending with equal sizes in place order (as selection
// by repeated strict maximum gives), and the totals of the sizes and their logs, both in the
// table's arithmetic Real: an exact table is ordered and summed by its exact populations, which
// single precision ties above 16.7 million and rounds in a sum. Sums are stored as the nearest
// single.
template <typename Real>
void OrderAndSum(const DataSet& d, RankTables& r) {
    const int n = d.NumCities;
    const std::size_t places = static_cast<std::size_t>(n);
    // The keys of a block of dates are made in one pass over the places, each place's dates
    // side by side as the exact populations are stored; a block holds about a million keys (16 MB).
    const int block = std::clamp(static_cast<int>((std::size_t{1} << 20) / std::max<std::size_t>(places, 1)), 1,
                                 static_cast<int>(d.NumDates));
    std::vector<Keyed> keys(places * static_cast<std::size_t>(block)), scratch(places);
    for (int first = 1; first <= d.NumDates; first += block) {
        const int last = std::min<int>(d.NumDates, first + block - 1);
        // Descending, equal sizes in place order: the places go in by number and the sort is
        // stable. A single is widened to a double exactly, so both orders are the same.
        for (int c = 1; c <= n; ++c)
            for (int t = first; t <= last; ++t)
                keys[static_cast<std::size_t>(t - first) * places + static_cast<std::size_t>(c - 1)] = {
                    DescendingKey(static_cast<double>(PopAt<Real>(d, c, t))), c};
        for (int t = first; t <= last; ++t) {
            Keyed* order = keys.data() + static_cast<std::size_t>(t - first) * places;
            RadixSort(order, places, scratch.data());
            // Equal sizes are neighbours once sorted (every absent place weighs 1): one log each.
            float lastPop = 0, lastLog = 0;
            Real cum = 0, logcum = 0;
            for (int i = 1; i <= n; ++i) {
                const Keyed& k = order[i - 1];
                const int c = k.city;
                const Real size = static_cast<Real>(SizeOfKey(k.key));
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
            }
            r.TotalPop(t) = static_cast<float>(cum);
            r.TotalLogPop(t) = static_cast<float>(logcum);
        }
    }
}

void BuildRankTables(const DataSet& d, RankTables& r) {
    const int n = d.NumCities;
    for (CityDateGrid* g : {&r.RankPop, &r.RankCity, &r.CityRank, &r.LogRankPop})
        g->SizeFor(n, d.NumDates);  // every cell of the table is written below
    // The running sums of an earlier ranking are stale: they go, and come back when read.
    r.CumCityPop = CityDateGrid();
    r.CumCityLogPop = CityDateGrid();
    r.cumulativeReady = false;
    r.TotalPop.Resize(d.NumDates);
    r.TotalLogPop.Resize(d.NumDates);
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
        }
    }
    for (int i = 1; i <= n; ++i) r.LogRank(i) = static_cast<float>(std::log(static_cast<double>(i)));
}

// The sums as OrderAndSum makes its totals, term by term in the same order and arithmetic,
// so the last rank's sum is TotalPop and TotalLogPop to the bit.
template <typename Real>
void RunningSums(const DataSet& d, RankTables& r) {
    for (int t = 1; t <= d.NumDates; ++t) {
        Real cum = 0, logcum = 0;
        for (int i = 1; i <= d.NumCities; ++i) {
            cum = cum + RankedPop<Real>(d, r, i, t);
            logcum = logcum + static_cast<Real>(r.LogRankPop(i, t));
            const int c = static_cast<int>(r.RankCity(i, t));
            r.CumCityPop(c, t) = static_cast<float>(cum);
            r.CumCityLogPop(c, t) = static_cast<float>(logcum);
        }
    }
}

}  // namespace

void CityRunningSums(const DataSet& d, RankTables& r) {
    if (r.cumulativeReady) return;
    r.CumCityPop.Resize(d.NumCities, d.NumDates);
    r.CumCityLogPop.Resize(d.NumCities, d.NumDates);
    ByPrecision(d, [&](auto real) { RunningSums<decltype(real)>(d, r); });
    r.cumulativeReady = true;
}

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
