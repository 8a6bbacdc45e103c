#include "stats/PopStats.h"

#include <algorithm>
#include <string>
#include <vector>
#include <utility>

#include "data/DataSet.h"
#include "data/Precision.h"
#include "data/Ranking.h"
#include "draw/Canvas.h"
#include "stats/PopStatsState.h"
#include "draw/Formats.h"
#include "stats/HalfLives.h"

namespace {

constexpr int OverlapColumns = 22;  // the overlap table is as wide as the standard calendar

// The sum of the populations of the present cities is the divisor of every share; a date
// without present cities has none to share. Sums run in the table's arithmetic (Real).
template <typename Real>
Real PresentTotal(const DataSet& d, const RankTables& r, int t, int n) {
    Real total = 0;
    for (int i = 1; i <= n; ++i) total = total + RankedPop<Real>(d, r, i, t);
    if (total == 0)
        throw RunError("No city is present in " + std::to_string(d.DateYear(t)) +
                       ": the population shares of that date cannot be computed");
    return total;
}

// Where the k-th of the ten percent bands ends among n present cities: k n / 10 to the
// nearest rank, halves to the even neighbour.
int PercentBandEnd(float n, int k) {
    const float step = n / 10;
    return ToCount(static_cast<float>(k) * step);
}

// The sums of the leading ranks 1..last of date t for every last = 0..n, each added in rank
// order as a sum of its own would be.
template <typename Real>
std::vector<Real> LeadingSums(const DataSet& d, const RankTables& r, int t, int n) {
    std::vector<Real> sum(static_cast<std::size_t>(n) + 1, Real(0));
    for (int i = 1; i <= n; ++i)
        sum[static_cast<std::size_t>(i)] = sum[static_cast<std::size_t>(i - 1)] + RankedPop<Real>(d, r, i, t);
    return sum;
}

template <typename Real>
void ComputePercentBands(const DataSet& d, const RankTables& r, PopStatsState& s) {
    for (int t = 1; t <= d.NumDates; ++t) {
        const float n = d.NumPresent(t);
        const Real total = PresentTotal<Real>(d, r, t, ToCount(n));
        const std::vector<Real> leading = LeadingSums<Real>(d, r, t, ToCount(n));
        for (int k = 1; k <= 10; ++k)
            s.PopBands(k, t) = static_cast<float>(leading.at(static_cast<std::size_t>(PercentBandEnd(n, k))) / total);
    }
}

template <typename Real>
void ComputeRankBands(const DataSet& d, const RankTables& r, PopStatsState& s) {
    for (int t = 1; t <= d.NumDates; ++t) {
        const int n = ToCount(d.NumPresent(t));
        const Real total = PresentTotal<Real>(d, r, t, n);
        const std::vector<Real> leading = LeadingSums<Real>(d, r, t, std::min(n, 200));
        for (int k = 1; k <= 20; ++k) {
            const int last = 10 * k < n ? 10 * k : n;
            s.PopBands(k, t) = static_cast<float>(leading[static_cast<std::size_t>(last)] / total);
        }
    }
}

// `columns` name the bands in the CSV, where a bare "10" or "10%" would read as a number.
void PrintBandTable(const DataSet& d, const PopStatsState& s, TextSurface& out, const char* title, std::initializer_list<const char*> headings,
                    std::initializer_list<const char*> columns, std::initializer_list<int> bands) {
    ResultTable table;
    table.title = title;
    table.columns = {"Year"};
    table.columns.insert(table.columns.end(), columns.begin(), columns.end());
    out.Line();
    out.Put("      ").Zone().Put("Time ");
    for (const char* h : headings) out.Zone().Put(h);
    out.End();
    out.Line();
    for (int t = 1; t <= d.NumDates; ++t) {
        out.Put("      ").Zone().Put(Unformatted(d.DateYear(t)));
        table.Row().Add(d.DateYear(t));
        for (int k : bands) {
            out.Zone().Put(Format(s.PopBands(k, t), "###.#####"));
            table.Add(s.PopBands(k, t));
        }
        out.End();
    }
    out.Tables.push_back(std::move(table));
}

// The overlaps as printed (row t, column d holds TopOverlap(d, t)), but one column per date
// of the calendar rather than the printed fixed width.
ResultTable OverlapTable(const DataSet& d, const HalfLivesState& h) {
    ResultTable table;
    table.title = "Overlap of the top 25 cities";
    table.columns = {"Year"};
    for (int c = 1; c <= d.NumDates; ++c) table.columns.push_back(std::to_string(d.DateYear(c)));
    for (int t = 1; t <= d.NumDates; ++t) {
        table.Row().Add(d.DateYear(t));
        for (int c = 1; c <= d.NumDates; ++c) table.Add(h.TopOverlap(c, t));
    }
    table.Row().Add("Average");
    for (int c = 1; c <= d.NumDates; ++c) table.Add(h.AvTopOverlap(c));
    return table;
}

}  // namespace

void PopStats(const DataSet& d, const RankTables& r, PopStatsState& s, HalfLivesState& half, const Canvas& c) {
    // The flag goes back to 0 even on an error, or "Half-Lives" would stop drawing.
    struct NoDrawWhileComputing {
        int16_t& flag;
        explicit NoDrawWhileComputing(int16_t& fl) : flag(fl) { flag = 1; }
        ~NoDrawWhileComputing() { flag = 0; }
    };
    {
        NoDrawWhileComputing noDraw(half.HalfLivesNoDraw);
        HalfLives(d, r, half, c);
    }

    ByPrecision(d, [&](auto real) { ComputePercentBands<decltype(real)>(d, r, s); });

    PrintBandTable(d, s, c.text, "Population share of the top percent of cities",
                   {"10%", "20%", "30%", "40%", "50%", "60%", "70%", "80%", "90%", "100%"},
                   {"Top10Pct", "Top20Pct", "Top30Pct", "Top40Pct", "Top50Pct", "Top60Pct", "Top70Pct", "Top80Pct",
                    "Top90Pct", "Top100Pct"},
                   {1, 2, 3, 4, 5, 6, 7, 8, 9, 10});

    const int T = d.NumDates;
    for (int t = 1; t <= T; ++t) {
        s.TopTenPctShare(t) = s.PopBands(1, t);
        s.TopHalfShare(t) = s.PopBands(5, t);
    }
    ByPrecision(d, [&](auto real) { ComputeRankBands<decltype(real)>(d, r, s); });
    for (int t = 1; t <= T; ++t) {
        s.TopTenShare(t) = s.PopBands(1, t);
        s.TopFiftyShare(t) = s.PopBands(5, t);
    }
}

void NextPop(const DataSet& d, const PopStatsState& s, TextSurface& out) {
    out.Clear();
    PrintBandTable(d, s, out, "Population share of the top cities",
                   {"10", "20", "30", "40", "50", "60", "70", "80", "90", "100", "200"},
                   {"Top10", "Top20", "Top30", "Top40", "Top50", "Top60", "Top70", "Top80", "Top90", "Top100", "Top200"},
                   {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 20});
}

void LastPop(const DataSet& d, const HalfLivesState& h, TextSurface& out) {
    out.Clear();
    out.Line();
    out.Put("    ").Put("Time");
    for (int c = 1; c <= OverlapColumns; ++c) out.Put("     ").Put(Format(d.DateYear(c), "######"));
    out.End();
    out.Line();
    for (int t = 1; t <= d.NumDates; ++t) {
        out.Put("      ").Put(Unformatted(d.DateYear(t))).Put("     ").Put(Format(h.TopOverlap(1, t), "###"));
        for (int c = 2; c <= OverlapColumns; ++c) out.Put("        ").Put(Format(h.TopOverlap(c, t), "###"));
        out.End();
    }
    out.Line();
    out.Put("     ").Put("Average").Put("   ").Put(Format(h.AvTopOverlap(1), "###"));
    for (int c = 2; c <= OverlapColumns; ++c) out.Put("        ").Put(Format(h.AvTopOverlap(c), "###"));
    out.End();
    out.Tables.push_back(OverlapTable(d, h));
}
