#pragma once
#include <cmath>
#include <cstdint>
#include <vector>

#include "draw/TextSurface.h"
#include "stats/Markov.h"
#include "stats/SpatialWeights.h"

// Growth in per cent a year, 100 ln(P'/P) / years; NaN where either size is absent.
double GrowthPercentPerYear(double p0, double p1, int years);

// Moran's I of y with row-standardised weights (`neighbours[i]` indexes y; every list
// non-empty): I, its expectation -1/(n-1), the variance under normality (S1, S2 from the
// possibly asymmetric weights), z, the two-sided normal p, and the pseudo p of `permutations`
// random permutations of y, (min(L, perms - L) + 1) / (perms + 1) with L the permuted I >= I.
struct MoranResult {
    int n = 0;
    double i = NAN, ei = NAN, vi = NAN, z = NAN, pNorm = NAN, pSim = NAN;
};
MoranResult MoranI(const std::vector<double>& y, const std::vector<std::vector<int>>& neighbours, int permutations,
                   std::uint64_t seed);

// Local Moran classes of y: 1 high-high, 2 low-low, 3 high-low, 4 low-high where the
// conditional-permutation pseudo p is below `alpha`, 0 otherwise.
enum LisaClass { LisaNone = 0, LisaHighHigh = 1, LisaLowLow = 2, LisaHighLow = 3, LisaLowHigh = 4 };
std::vector<int> LisaClasses(const std::vector<double>& y, const std::vector<std::vector<int>>& neighbours,
                             int permutations, std::uint64_t seed, double alpha = 0.05);

// The growth sample of a pair of dates (0-based t -> t + 1): places present at both that keep
// a neighbour among them, their growth and their neighbours (indices into the sample).
struct GrowthNeighbours {
    std::vector<int> rows;
    std::vector<double> growth;
    std::vector<std::vector<int>> neighbours;
    int withoutNeighbours = 0;
};
GrowthNeighbours GrowthSampleWithNeighbours(const SizePanel& p, const NeighbourRule& rule, int t);

struct MoranGrowthRow {
    int fromYear = 0, toYear = 0;
    int withoutNeighbours = 0;
    bool skipped = false;  // too few places for --neighbours
    MoranResult moran;
};
std::vector<MoranGrowthRow> MoranGrowthOf(const SizePanel& p, const NeighbourRule& rule, int permutations,
                                          std::uint64_t seed);

void PrintMoranGrowth(const std::vector<MoranGrowthRow>& rows, TextSurface& text);
