#include "stats/InfoStats.h"

#include <cmath>
#include <string>
#include <utility>

#include "data/DataSet.h"
#include "data/Precision.h"
#include "data/Ranking.h"
#include "draw/Canvas.h"
#include "stats/InfoStatsState.h"
#include "draw/Formats.h"
#include "stats/RankShiftSum.h"

namespace {

// Shares by rank and date: ranks 1..1500, dates 1..40.
using ShareGrid = Grid<float, MaxCities, MaxStats>;

// ln NumPresent(t) divides the entropy, and a single city has no distribution to speak of.
void RequireTwoCitiesAtEveryDate(const DataSet& d) {
    for (int t = 1; t <= d.NumDates; ++t) {
        if (d.NumPresent(t) < 2) {
            throw RunError("Info-Stats needs at least two cities present at every date, but " +
                           std::to_string(d.DateYear(t)) + " has " + std::to_string(ToCount(d.NumPresent(t))));
        }
    }
}

// Step 1: shares of the population and of the one-over-rank law, and the totals.
void ComputeShares(const DataSet& d, const RankTables& r, ShareGrid& p, ShareGrid& q, Vec1<double, MaxStats>& TotalPop) {
    for (int t = 1; t <= d.NumDates; ++t) {
        const int n = ToCount(d.NumPresent(t));
        ByPrecision(d, [&](auto real) {
            using Real = decltype(real);
            Real total = 0, rankSum = 0;
            for (int i = 1; i <= n; ++i) {
                const int c = static_cast<int>(r.RankCity(i, t));
                total = total + PopAt<Real>(d, c, t);
                rankSum = rankSum + Real(1) / static_cast<Real>(r.CityRank(c, t));
            }
            TotalPop(t) = total;
            for (int i = 1; i <= n; ++i) {
                const int c = static_cast<int>(r.RankCity(i, t));
                p(i, t) = static_cast<float>(PopAt<Real>(d, c, t) / total);
                q(i, t) = static_cast<float>((Real(1) / static_cast<Real>(r.CityRank(c, t))) / rankSum);
            }
        });
    }
}

// Steps 2, 5 and 6: entropy, relative entropy, redundancy and the rank information.
void ComputeLevels(const DataSet& d, const RankTables& r, InfoStatsState& s, const ShareGrid& p, const ShareGrid& q) {
    for (int t = 1; t <= d.NumDates; ++t) {
        const int n = ToCount(d.NumPresent(t));
        float entropy = 0;
        for (int i = 1; i <= n; ++i) {
            const double pi = p(i, t);
            entropy = static_cast<float>(entropy - pi * std::log(pi));
        }
        s.Entropy(t) = entropy;
    }
    for (int t = 1; t <= d.NumDates; ++t) {
        s.RelativeEntropy(t) = static_cast<float>(s.Entropy(t) / std::log(static_cast<double>(d.NumPresent(t))));
        s.Redundancy(t) = 1 - s.RelativeEntropy(t);
    }
    for (int t = 1; t <= d.NumDates; ++t) {
        const int n = ToCount(d.NumPresent(t));
        float exEntRank = 0, infoEnt = 0, infoRank = 0;
        for (int i = 1; i <= n; ++i) {
            const float rank = r.CityRank(r.RankCity(i, t), t);
            const float pi = p(i, t), qi = q(i, t);
            exEntRank = static_cast<float>(exEntRank + pi * std::log(static_cast<double>(rank)));
            infoEnt = static_cast<float>(infoEnt + pi * std::log(static_cast<double>(pi / qi)));
            infoRank = static_cast<float>(infoRank + qi * std::log(static_cast<double>(qi / pi)));
        }
        s.ExEntRank(t) = exEntRank;
        s.InfoEnt(t) = infoEnt;
        s.InfoRank(t) = infoRank;
    }
}

// Steps 3 and 4: positions are compared rank by rank, whatever city holds them, relative
// to the share at the first-named date.
void ComputeShareShifts(const DataSet& d, InfoStatsState& s, const ShareGrid& p) {
    const int T = d.NumDates;
    for (int t = 1; t <= T; ++t) {
        for (int u = 1; u <= T; ++u) {
            const int m = ToCount(d.NumPresent(t) < d.NumPresent(u) ? d.NumPresent(t) : d.NumPresent(u));
            float sum = 0;
            for (int i = 1; i <= m; ++i) sum = sum + std::fabs(p(i, t) - p(i, u)) / p(i, t);
            s.ShareShift(t, u) = (1.0f / m) * sum;
        }
    }
    float total = 0;
    for (int t = 1; t <= T; ++t)
        for (int u = t + 1; u <= T; ++u) total = total + s.ShareShift(t, u);
    s.AvShareShift = total / static_cast<float>(T * (T - 1) / 2);
}

// Step 7.
void ComputeEntropyChange(const DataSet& d, InfoStatsState& s) {
    float sum = 0;
    for (int t = 2; t <= d.NumDates; ++t) {
        s.EntropyChange(t) = s.Entropy(t) - s.Entropy(t - 1);
        sum = sum + s.EntropyChange(t);
        s.CumEntropyChange(t) = sum / s.Entropy(t);
    }
    s.EntropyChange(1) = 0;
    s.CumEntropyChange(1) = 0;
}

// Steps 8 and 9: mean absolute change of rank of the cities present at t that were among
// the present cities at the reference date; newcomers are left out. Returns the pooled
// average over all intervals from the previous date.
float ComputeRankShifts(const DataSet& d, const RankTables& r, InfoStatsState& s) {
    float pooledSum = 0, pooledCount = 0;
    for (int t = 2; t <= d.NumDates; ++t) {
        const RankShiftTotals shift = SumRankShifts(d, r, t, t - 1);
        s.AvRankShift(t) = shift.Mean();
        pooledSum = pooledSum + shift.sum;
        pooledCount = pooledCount + shift.count;
    }
    for (int t = 2; t <= d.NumDates; ++t) {
        s.CumRankShift(t) = SumRankShifts(d, r, t, 1).Mean();
        s.PctRankShift(t) = s.AvRankShift(t) / d.NumPresent(t) * 100;
    }
    return pooledCount > 0 ? pooledSum / pooledCount : 0.0f;
}

// Steps 10 and 11.
void ComputeChangeAndGrowth(const DataSet& d, const RankTables& r, InfoStatsState& s, const Vec1<double, MaxStats>& TotalPop) {
    CityVec SizeT(d.NumCities), SizePrev(d.NumCities), SizeFirst(d.NumCities), a(d.NumCities), b(d.NumCities);
    int Count = 0;
    for (int t = 2; t <= d.NumDates; ++t) {
        for (int i = 1; i <= ToCount(d.NumPresent(t)); ++i) SizeT(i) = r.RankPop(i, t);
        for (int i = 1; i <= ToCount(d.NumPresent(t - 1)); ++i) SizePrev(i) = r.RankPop(i, t - 1);
        for (int i = 1; i <= ToCount(d.NumPresent(1)); ++i) SizeFirst(i) = r.RankPop(i, 1);

        MatchCityShares(r, a, b, SizeT, SizeFirst, Count, d.NumPresent(t), static_cast<float>(t), d.NumPresent(1), 1,
                        d.Exact);
        s.CumInfo(t) = SumInformation(a, a, b, Count);
        s.CumGrowth(t) = SumGrowthRatios(a, a, b, Count, d.Exact);

        MatchCityShares(r, a, b, SizeT, SizePrev, Count, d.NumPresent(t), static_cast<float>(t),
                        d.NumPresent(t - 1), static_cast<float>(t - 1), d.Exact);
        s.Info(t) = SumInformation(a, a, b, Count);
        s.Growth(t) = SumGrowthRatios(a, a, b, Count, d.Exact);
    }
    for (int t = 2; t <= d.NumDates; ++t) {
        // Classic totals are singles, so their ratio is taken in single precision.
        s.TotCumGrowth(t) = d.Exact ? static_cast<float>(TotalPop(t) / TotalPop(1))
                                    : static_cast<float>(TotalPop(t)) / static_cast<float>(TotalPop(1));
        s.TotCumInfo(t) = static_cast<float>(std::log(static_cast<double>(s.TotCumGrowth(t))));
        s.TotGrowth(t) = d.Exact ? static_cast<float>(TotalPop(t) / TotalPop(t - 1))
                                 : static_cast<float>(TotalPop(t)) / static_cast<float>(TotalPop(t - 1));
        s.TotInfo(t) = static_cast<float>(std::log(static_cast<double>(s.TotGrowth(t))));
    }
}

// Step 12: levels weighted by DateWeight, changes by StepFraction.
void ComputeAverages(const DataSet& d, InfoStatsState& s) {
    s.InfoAverages.Fill(0);
    for (int t = 1; t <= d.NumDates; ++t) {
        const float w = d.DateWeight(t), step = d.StepFraction(t);
        const float columns[11][2] = {
            {s.Entropy(t), w},      {s.EntropyChange(t), step}, {s.CumEntropyChange(t), w},
            {s.Redundancy(t), w},   {s.RelativeEntropy(t), w},  {s.ExEntRank(t), w},
            {s.InfoEnt(t), w},      {s.InfoRank(t), w},         {s.AvRankShift(t), step},
            {s.PctRankShift(t), step}, {s.CumRankShift(t), step}};
        for (int k = 1; k <= 11; ++k) s.InfoAverages(k) = s.InfoAverages(k) + columns[k - 1][0] * columns[k - 1][1];
    }
}

std::string Fixed5(float v) { return Format(v, "###.#####"); }

void PrintInfoTable(const DataSet& d, const InfoStatsState& s, TextSurface& out, float avShiftOverall) {
    out.Line();
    out.Put("      ");
    for (const char* h : {"Time ", "Entropy", "EntropyCh", "CumEntCh", "Redundancy", "RelativeE", "ExEntRank",
                          "InfoEnt", "InfoRank", "AvRankShift", "%AvShift", "CumRankS"})
        out.Zone().Put(h);
    out.End();
    out.Line();
    ResultTable table;
    table.title = "Information and rank change statistics";
    table.columns = {"Year",       "Entropy",         "EntropyChange", "CumEntropyChange",
                     "Redundancy", "RelativeEntropy", "ExEntRank",     "InfoEnt",
                     "InfoRank",   "AvRankShift",     "PctRankShift",  "CumRankShift"};
    for (int t = 1; t <= d.NumDates; ++t) {
        out.Put("      ").Zone().Put(Unformatted(d.DateYear(t)));
        table.Row().Add(d.DateYear(t));
        for (float v : {s.Entropy(t), s.EntropyChange(t), s.CumEntropyChange(t), s.Redundancy(t),
                        s.RelativeEntropy(t), s.ExEntRank(t), s.InfoEnt(t), s.InfoRank(t), s.AvRankShift(t),
                        s.PctRankShift(t), s.CumRankShift(t)}) {
            out.Zone().Put(Fixed5(v));
            table.Add(v);
        }
        out.End();
    }
    out.Line();
    out.Put("      ").Zone().Put(Unformatted(d.DateYear(d.NumDates)));
    // Printed under the last year; in the CSV a year there would read as a second row of that date.
    table.Row().Add("Average");
    for (int k = 1; k <= 11; ++k) {
        out.Zone().Put(Fixed5(s.InfoAverages(k)));
        table.Add(s.InfoAverages(k));
    }
    out.End();
    out.Line();
    out.Put("     ").Zone().Put("Average Shift").Zone().Put(Unformatted(avShiftOverall)).Zone();
    out.Put("Overall Average Percent Shift in Ranked Log-Population Order   ").Put(Unformatted(s.AvShareShift)).End();
    ResultTable summary;
    summary.title = "Average shifts";
    summary.columns = {"AvShiftOverall", "AvShareShift"};
    summary.Row().Add(avShiftOverall).Add(s.AvShareShift);
    out.Tables.push_back(std::move(table));
    out.Tables.push_back(std::move(summary));
}

}  // namespace

void MatchCityShares(const RankTables& r, CityVec& A, CityVec& B, const CityVec& SizeT1, const CityVec& SizeT2,
                     int& Count, float N1, float T1, float N2, float T2, bool exact) {
    const int n1 = ToCount(N1), n2 = ToCount(N2);
    Count = 0;
    // Each city holds one rank per date, so its rank at T2 is looked up rather than searched
    // for: linear in the places, and the same pairs in the same order as a scan of T2.
    for (int i = 1; i <= n1; ++i) {
        const float v = r.RankCity(i, T1);
        const long j = RoundToLong(static_cast<double>(r.CityRank(v, T2)));
        if (j >= 1 && j <= n2 && r.RankCity(j, T2) == v) {
            Count = Count + 1;
            A(Count) = SizeT1(i);
            B(Count) = SizeT2(j);
        }
    }
    ByPrecision(exact, [&](auto real) {
        using Real = decltype(real);
        Real sumA = 0, sumB = 0;
        for (int k = 1; k <= Count; ++k) {
            sumA = sumA + A(k);
            sumB = sumB + B(k);
        }
        for (int k = 1; k <= Count; ++k) {
            A(k) = static_cast<float>(A(k) / sumA);
            B(k) = static_cast<float>(B(k) / sumB);
        }
    });
}

float SumInformation(const CityVec& W, const CityVec& X, const CityVec& Y, int Count) {
    double sum = 0;
    for (int k = 1; k <= Count; ++k)
        sum += static_cast<double>(W(k)) * std::log(static_cast<double>(X(k)) / static_cast<double>(Y(k)));
    return static_cast<float>(sum);
}

float SumGrowthRatios(const CityVec& W, const CityVec& X, const CityVec& Y, int Count, bool exact) {
    if (exact) {
        double sum = 0;
        for (int k = 1; k <= Count; ++k) sum += static_cast<double>(X(k)) / static_cast<double>(Y(k)) * W(k);
        return static_cast<float>(sum);
    }
    float sum = 0;
    for (int k = 1; k <= Count; ++k)
        sum = sum + static_cast<float>(static_cast<double>(X(k)) / static_cast<double>(Y(k)) * W(k));
    return sum;
}

void InfoStats(const DataSet& d, const RankTables& r, InfoStatsState& s, const Canvas& c) {
    RequireTwoCitiesAtEveryDate(d);
    ShareGrid p(d.NumCities, d.NumDates), q(d.NumCities, d.NumDates);
    Vec1<double, MaxStats> TotalPop(d.NumDates);  // a float total where the table is classic
    ComputeShares(d, r, p, q, TotalPop);
    ComputeLevels(d, r, s, p, q);
    ComputeShareShifts(d, s, p);
    ComputeEntropyChange(d, s);
    const float avShiftOverall = ComputeRankShifts(d, r, s);
    ComputeChangeAndGrowth(d, r, s, TotalPop);
    ComputeAverages(d, s);
    PrintInfoTable(d, s, c.text, avShiftOverall);
}
