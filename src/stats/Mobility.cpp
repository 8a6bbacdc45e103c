#include "stats/Mobility.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>

#include "draw/ResultTable.h"
#include "draw/RunError.h"
#include "stats/RankShiftSum.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

// Sums over groups of equal values of t(t-1)/2 and the three tie terms of the variance.
struct Ties {
    int64_t pairs = 0;      // sum t(t-1)/2
    double v = 0;           // sum t(t-1)(2t+5)
    double t1 = 0;          // sum t(t-1)
    double t2 = 0;          // sum t(t-1)(t-2)
    void Add(int64_t t) {
        const double d = static_cast<double>(t);
        pairs += t * (t - 1) / 2;
        v += d * (d - 1) * (2 * d + 5);
        t1 += d * (d - 1);
        t2 += d * (d - 1) * (d - 2);
    }
};

// Ties among consecutive equal values of a sorted sequence.
template <typename Seq, typename Eq>
Ties CountTies(const Seq& s, Eq equal) {
    Ties ties;
    int64_t run = 1;
    for (std::size_t i = 1; i <= s.size(); ++i) {
        if (i < s.size() && equal(s[i - 1], s[i])) {
            ++run;
        } else {
            ties.Add(run);
            run = 1;
        }
    }
    return ties;
}

// Sorts v ascending by merging, returning the number of swaps an exchange sort would make
// (the pairs out of order; equal values are not out of order).
int64_t SortCountingSwaps(std::vector<double>& v) {
    std::vector<double> buf(v.size());
    int64_t swaps = 0;
    const std::size_t n = v.size();
    for (std::size_t width = 1; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
            std::size_t i = lo, j = mid, k = lo;
            while (i < mid && j < hi) {
                if (v[j] < v[i]) {
                    swaps += static_cast<int64_t>(mid - i);
                    buf[k++] = v[j++];
                } else {
                    buf[k++] = v[i++];
                }
            }
            while (i < mid) buf[k++] = v[i++];
            while (j < hi) buf[k++] = v[j++];
        }
        std::swap(v, buf);
    }
    return swaps;
}

std::string Printf(const char* format, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

// A right-aligned cell of `width`; a value without meaning prints as "-".
std::string Cell(double v, const char* format, int width) {
    std::string s = std::isfinite(v) ? Printf(format, v) : "-";
    return std::string(static_cast<std::size_t>(std::max(0, width - static_cast<int>(s.size()))), ' ') + s;
}
std::string Cell(long v, int width) { return Cell(static_cast<double>(v), "%.0f", width); }

// p spans many decades: fixed point while it reads well, then an exponent.
std::string PCell(double p, int width) { return Cell(p, p >= 1e-4 || p == 0 ? "%.4f" : "%.2e", width); }

ResultTable& AddFinite(ResultTable& t, double v) { return std::isfinite(v) ? t.Add(v) : t.Add(MissingCsvCell); }

}  // namespace

// With n pairs sorted by (x, y) (Knight's algorithm, O(n log n)):
//   n0 = n(n-1)/2, n1 = sum over groups of tied x of t(t-1)/2, n2 the same over tied y,
//   n3 the same over groups tied in both, S = C - D = n0 - n1 - n2 + n3 - 2 swaps, where
//   swaps counts the exchanges that sort the y sequence;
//   tau_b = S / sqrt((n0 - n1)(n0 - n2));
//   Var S = [n(n-1)(2n+5) - sum t(t-1)(2t+5) - sum u(u-1)(2u+5)] / 18
//         + [sum t(t-1)] [sum u(u-1)] / (2n(n-1))
//         + [sum t(t-1)(t-2)] [sum u(u-1)(u-2)] / (9n(n-1)(n-2)),
//   t over the groups of tied x, u over those of tied y; z = S / sqrt(Var S), p = erfc(|z|/sqrt 2).
KendallResult KendallTauB(std::span<const double> x, std::span<const double> y) {
    if (x.size() != y.size()) throw RunError("Kendall's tau needs two lists of the same length");
    const std::size_t n = x.size();
    if (n < 2) return {NaN, NaN, NaN};
    std::vector<std::pair<double, double>> xy(n);
    for (std::size_t i = 0; i < n; ++i) xy[i] = {x[i], y[i]};
    std::sort(xy.begin(), xy.end());
    const Ties tx = CountTies(xy, [](const auto& a, const auto& b) { return a.first == b.first; });
    const Ties txy = CountTies(xy, [](const auto& a, const auto& b) { return a == b; });
    std::vector<double> ys(n);
    for (std::size_t i = 0; i < n; ++i) ys[i] = xy[i].second;
    const int64_t swaps = SortCountingSwaps(ys);
    const Ties ty = CountTies(ys, [](double a, double b) { return a == b; });

    const double nd = static_cast<double>(n);
    const int64_t n0 = static_cast<int64_t>(n) * static_cast<int64_t>(n - 1) / 2;
    const double s = static_cast<double>(n0 - tx.pairs - ty.pairs + txy.pairs - 2 * swaps);
    const double denom = std::sqrt(static_cast<double>(n0 - tx.pairs) * static_cast<double>(n0 - ty.pairs));
    KendallResult k;
    k.tau = denom > 0 ? s / denom : NaN;
    double var = (nd * (nd - 1) * (2 * nd + 5) - tx.v - ty.v) / 18 + tx.t1 * ty.t1 / (2 * nd * (nd - 1));
    if (n > 2) var += tx.t2 * ty.t2 / (9 * nd * (nd - 1) * (nd - 2));
    k.z = var > 0 ? s / std::sqrt(var) : NaN;
    k.p = std::isfinite(k.z) ? std::erfc(std::fabs(k.z) / std::sqrt(2.0)) : NaN;
    return k;
}

int RankClassOf(int rank) {
    if (rank <= 10) return 0;
    if (rank <= 25) return 1;
    if (rank <= 50) return 2;
    if (rank <= 100) return 3;
    return 4;
}

const char* RankClassLabel(int k) {
    static const char* const labels[NumRankClasses] = {"1-10", "11-25", "26-50", "51-100", ">100", "outside"};
    return k >= 0 && k < NumRankClasses ? labels[k] : "?";
}

MobilityState ComputeMobility(const RankPanel& panel) {
    const std::size_t T = panel.rank.size();
    if (T < 2 || panel.years.size() != T) throw RunError("Mobility needs at least two dates");
    MobilityState s;
    std::vector<double> x, y;
    for (std::size_t t = 1; t < T; ++t) {
        const std::vector<int>& r0 = panel.rank[t - 1];
        const std::vector<int>& r1 = panel.rank[t];
        if (r0.size() != r1.size()) throw RunError("Mobility needs the same cities at every date");
        MobilityPair m;
        m.fromYear = panel.years[t - 1];
        m.toYear = panel.years[t];
        x.clear();
        y.clear();
        for (std::size_t c = 0; c < r0.size(); ++c) {
            const bool was = r0[c] > 0, is = r1[c] > 0;
            m.entries += !was && is;
            m.exits += was && !is;
            if (was && is) {
                x.push_back(r0[c]);
                y.push_back(r1[c]);
            }
            ++s.counts[static_cast<std::size_t>(was ? RankClassOf(r0[c]) : OutsideClass)]
                      [static_cast<std::size_t>(is ? RankClassOf(r1[c]) : OutsideClass)];
        }
        m.common = static_cast<int>(x.size());
        if (m.common < 2) {
            throw RunError("Mobility needs at least two cities present at both " + std::to_string(m.fromYear) +
                           " and " + std::to_string(m.toYear) + ", but " + std::to_string(m.common) +
                           (m.common == 1 ? " is" : " are"));
        }
        m.turnover = static_cast<double>(m.entries + m.exits) / (m.common + m.entries + m.exits);
        m.kendall = KendallTauB(x, y);
        s.pairs.push_back(m);
    }

    int k = 0;
    double trace = 0;
    for (std::size_t i = 0; i < NumRankClasses; ++i) {
        for (long c : s.counts[i]) s.rowCount[i] += c;
        if (s.rowCount[i] == 0) continue;
        ++k;
        for (std::size_t j = 0; j < NumRankClasses; ++j)
            s.share[i][j] = static_cast<double>(s.counts[i][j]) / static_cast<double>(s.rowCount[i]);
        trace += s.share[i][i];
    }
    s.shorrocks = k >= 2 ? (k - trace) / (k - 1) : NaN;
    const double stay = s.share[0][0];
    s.topTenTime = s.rowCount[0] == 0 ? NaN : stay >= 1 ? std::numeric_limits<double>::infinity() : 1 / (1 - stay);
    return s;
}

MobilityState ComputeMobility(const DataSet& d, const RankTables& r) {
    RankPanel panel;
    for (int t = 1; t <= d.NumDates; ++t) {
        panel.years.push_back(d.DateYear(t));
        std::vector<int>& ranks = panel.rank.emplace_back(static_cast<std::size_t>(d.NumCities), 0);
        for (int c = 1; c <= d.NumCities; ++c)
            if (d.Present(c, t) == 1) ranks[static_cast<std::size_t>(c - 1)] = static_cast<int>(r.CityRank(c, t));
    }
    MobilityState s = ComputeMobility(panel);
    for (std::size_t i = 0; i < s.pairs.size(); ++i) {
        const int t = static_cast<int>(i) + 2;
        s.pairs[i].meanShift = SumRankShifts(d, r, t, t - 1).Mean();
    }
    return s;
}

void PrintMobility(const MobilityState& s, TextSurface& text) {
    text.Line("Rank mobility between consecutive dates (tau_b of the ranks of the cities present at both)");
    std::string header;
    for (auto [name, width] : {std::pair{"From", 6}, {"To", 6}, {"Entries", 8}, {"Exits", 6}, {"Turnover", 9},
                               {"Common", 7}, {"Tau_b", 8}, {"z", 8}, {"p", 10}, {"MeanShift", 11}})
        header += std::string(static_cast<std::size_t>(width) - std::string(name).size(), ' ') + name;
    text.Line(header);
    ResultTable table;
    table.title = "Rank mobility between consecutive dates";
    table.columns = {"From", "To", "Entries", "Exits", "Turnover", "Common", "TauB", "Z", "P", "MeanShift"};
    for (const MobilityPair& m : s.pairs) {
        text.Line(Cell(m.fromYear, 6) + Cell(m.toYear, 6) + Cell(m.entries, 8) + Cell(m.exits, 6) +
                  Cell(m.turnover, "%.4f", 9) + Cell(m.common, 7) + Cell(m.kendall.tau, "%.4f", 8) +
                  Cell(m.kendall.z, "%.2f", 8) + PCell(m.kendall.p, 10) + Cell(m.meanShift, "%.5f", 11));
        table.Row().Add(static_cast<int>(m.fromYear)).Add(static_cast<int>(m.toYear)).Add(m.entries).Add(m.exits);
        table.Add(m.turnover).Add(m.common);
        AddFinite(table, m.kendall.tau);
        AddFinite(table, m.kendall.z);
        AddFinite(table, m.kendall.p);
        table.Add(m.meanShift);
    }
    text.Tables.push_back(std::move(table));
}

void PrintMobilityMatrix(const MobilityState& s, TextSurface& text) {
    text.Line("Rank-class transitions from one date to the next, pooled over all pairs (shares of each row)");
    std::string header = "From\\To   ";
    for (int j = 0; j < NumRankClasses; ++j) header += std::string(9 - std::string(RankClassLabel(j)).size(), ' ') + RankClassLabel(j);
    text.Line(header + "   Cities");
    ResultTable table;
    table.title = "Rank-class transitions";
    table.columns = {"From"};
    for (int j = 0; j < NumRankClasses; ++j) table.columns.push_back(RankClassLabel(j));
    table.columns.push_back("Cities");
    for (std::size_t i = 0; i < NumRankClasses; ++i) {
        std::string line = RankClassLabel(static_cast<int>(i));
        line.resize(10, ' ');
        table.Row().Add(RankClassLabel(static_cast<int>(i)));
        for (std::size_t j = 0; j < NumRankClasses; ++j) {
            const double v = s.rowCount[i] > 0 ? s.share[i][j] : NaN;
            line += Cell(v, "%.4f", 9);
            AddFinite(table, v);
        }
        text.Line(line + Cell(s.rowCount[i], 9));
        table.Add(static_cast<double>(s.rowCount[i]));
    }
    text.Line();
    int k = 0;
    for (long c : s.rowCount) k += c > 0;
    text.Line("Shorrocks M = (k - trace P) / (k - 1) over the k = " + std::to_string(k) + " classes with cities:" +
              (std::isfinite(s.shorrocks) ? Printf(" %.4f", s.shorrocks) : std::string(" undefined (k < 2)")));
    std::string top;
    if (std::isnan(s.topTenTime))
        top = "undefined: no city is in the top 10";
    else if (std::isinf(s.topTenTime))
        top = "unbounded: no city ever leaves the top 10";
    else
        top = Printf("%.2f census steps", s.topTenTime);
    text.Line("Expected time in the top 10 = 1 / (1 - P(top 10 -> top 10)): " + top);
    ResultTable summary;
    summary.title = "Rank-class mobility";
    summary.columns = {"ShorrocksM", "Classes", "TopTenSteps"};
    summary.Row();
    AddFinite(summary, s.shorrocks).Add(k);
    if (std::isfinite(s.topTenTime))
        summary.Add(s.topTenTime);
    else
        summary.Add(std::isinf(s.topTenTime) ? "unbounded" : "undefined");
    text.Tables.push_back(std::move(table));
    text.Tables.push_back(std::move(summary));
}
