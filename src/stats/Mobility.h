#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "data/DataSet.h"
#include "data/Ranking.h"
#include "draw/TextSurface.h"

// "Mobility": how much the order of cities changes from each date to the next.
//
// Use:  MobilityState s = ComputeMobility(data, rank);   // throws RunError, prints nothing
//       PrintMobility(s, text);        // page 1: one row per pair of consecutive dates
//       PrintMobilityMatrix(s, text);  // page 2 ("Next-Mobility"): the rank-class matrix
// Each print adds its ResultTable to text.Tables. A picture reads s.pairs directly.
// The new measures are doubles; the mean shift is the single Info-Stats prints.
// ComputeMobility(const RankPanel&) is the same analysis on plain vectors, free of the
// data set's capacity (it leaves meanShift at 0: that number belongs to the rank tables).

// Kendall's tau_b of paired observations, its z under independence and the two-sided p.
struct KendallResult {
    double tau = 0;  // NaN when one side is all ties
    double z = 0;    // NaN when the variance is 0
    double p = 0;
};
KendallResult KendallTauB(std::span<const double> x, std::span<const double> y);

// Rank classes of the transition matrix; the last is "outside" (absent at that date).
inline constexpr int NumRankClasses = 6;
inline constexpr int OutsideClass = NumRankClasses - 1;
int RankClassOf(int rank);  // rank >= 1 of a present city
const char* RankClassLabel(int k);

// One pair of consecutive dates.
struct MobilityPair {
    int16_t fromYear = 0, toYear = 0;
    int entries = 0, exits = 0, common = 0;
    double turnover = 0;  // (entries + exits) / cities present at either date
    KendallResult kendall;  // ranks at both dates of the common cities
    float meanShift = 0;  // mean |rank change| of the common cities, as Info-Stats
};

struct MobilityState {
    std::vector<MobilityPair> pairs;
    // Pooled over all pairs and all cities of the data set, so "outside -> outside" counts
    // the cities absent at both dates. share = count / row total (0 in an empty row).
    std::array<std::array<long, NumRankClasses>, NumRankClasses> counts{};
    std::array<std::array<double, NumRankClasses>, NumRankClasses> share{};
    std::array<long, NumRankClasses> rowCount{};
    double shorrocks = 0;     // (k - trace P) / (k - 1) over the k classes with cities; NaN if k < 2
    double topTenTime = 0;    // 1 / (1 - P(top 10 -> top 10)) in census steps; inf or NaN
};

// The plain form of the input: rank[t][c] = rank of city c at date t, 0 when absent.
struct RankPanel {
    std::vector<int16_t> years;
    std::vector<std::vector<int>> rank;
};

// Throws RunError naming the years when a pair has fewer than 2 common cities.
MobilityState ComputeMobility(const RankPanel& panel);
MobilityState ComputeMobility(const DataSet& d, const RankTables& r);

void PrintMobility(const MobilityState& s, TextSurface& text);
void PrintMobilityMatrix(const MobilityState& s, TextSurface& text);
