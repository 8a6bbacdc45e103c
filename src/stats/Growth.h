#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "draw/TextSurface.h"
#include "stats/GrowthRate.h"
#include "stats/TailFit.h"

// Growth and Gibrat's law: does a place's growth depend on its size? Double precision
// throughout, from DataSet::Pop on every table.
//
// Definitions (the README repeats them):
//  - For each pair of consecutive dates t -> t': the places present (population > 0) at
//    both; places that enter or exit between the two are counted, not used. Growth
//    g = ln(S'/S) / (year' - year) per year; x = ln S. Normalised growth
//    g~ = (g - mean g) / sd g, sd with n - 1.
//  - Regression: OLS of g on x, slope beta, heteroskedasticity-robust (HC1) SE, t and a
//    two-sided p from Student's t with n - 2 degrees of freedom; Spearman's rho of g and x,
//    its p from t = rho sqrt((n - 2) / (1 - rho^2)) on n - 2 degrees of freedom.
//  - Kernel: Nadaraya-Watson, Gaussian kernel, bandwidth
//    h = 0.9 min(sd x, IQR x / 1.34) n^(-1/5) unless given, at 100 equally spaced points
//    from the 1st to the 99th percentile of x (percentiles by linear interpolation). Mean
//    m(x) = NW of g~; spread s(x) = sqrt(NW of g~^2 - m(x)^2). Pointwise 95 % bands: the
//    2.5th and 97.5th percentiles over bootstrap replicates that redraw the places (with
//    replacement) and renormalise g within the replicate, with the same h and grid.
//  - Pooled: every pair stacked, x = ln S minus that pair's mean of ln S (relative size),
//    g~ normalised within each pair; its regression is of g~ on that x, and its bootstrap
//    redraws places within each pair.
//  The kernel is cut off beyond 9 h (weights below e^-40 of the centre's): the curves and
//  bands agree with the full sums to far better than 1e-6.


struct GrowthOptions {
    double bandwidth = 0;  // 0: the rule above
    int replicates = 500;  // 0 skips the bands
    std::uint64_t seed = 20261206;
    int threads = 0;       // 0: all cores
    double cutoff = 9;     // kernel truncation in bandwidths; 0 keeps every term
};

// The growth sample of one pair, or of every pair stacked (`pooled`).
struct GrowthSample {
    int from = 0, to = 0;          // dates (1-based); for the pooled sample the first and last
    int fromYear = 0, toYear = 0;
    bool pooled = false;
    int entered = 0, exited = 0;
    std::vector<int> city;         // place of each row
    std::vector<int> date;         // the pair's first date of each row
    std::vector<int> group;        // the pair of each row (0 for a single pair)
    std::vector<double> x, g, gt;  // ln S (relative when pooled), growth, normalised growth
};

struct GrowthRow {
    int fromYear = 0, toYear = 0;
    bool pooled = false;
    int n = 0, entered = 0, exited = 0;
    double meanGrowth = 0, sdGrowth = 0;
    double beta = 0, seBeta = 0, t = 0, p = 0;
    double spearman = 0, pSpearman = 0;
};

struct GrowthState {
    GrowthOptions options;
    std::vector<GrowthRow> rows;  // one per pair, then the pooled row
};

// The pair from date t to t + 1 (1 <= t < NumDates); throws RunError if the years do not rise.
GrowthSample PairSample(const DataSet& d, int t);
// Every pair stacked; throws RunError if no pair has three places.
GrowthSample PooledSample(const DataSet& d);

// The regression row of a sample (the pooled one regresses g~ on relative x). Fewer than
// three places give NaN statistics.
GrowthRow Regress(const GrowthSample& s);

// Every pair and the pooled row.
GrowthState GrowthAllPairs(const DataSet& d, const GrowthOptions& options);
void PrintGrowth(const GrowthState& state, TextSurface& text);

// Spearman's rank correlation (average ranks for ties) and its two-sided p.
struct RankCorrelation {
    double rho = 0, p = 0;
};
RankCorrelation Spearman(const std::vector<double>& a, const std::vector<double>& b);

// Silverman's rule above; throws RunError when every x is equal.
double RuleBandwidth(const std::vector<double>& x);
// The q-th percentile (0..100) by linear interpolation between order statistics.
double Percentile(std::vector<double> v, double q);

struct GrowthCurves {
    double h = 0;
    int replicates = 0;
    std::uint64_t seed = 0;
    std::vector<double> grid, mean, meanLo, meanHi, sd, sdLo, sdHi;
};

// The kernel curves of a sample with bootstrap bands. The bands are NaN when replicates is
// 0. Each replicate draws from its own stream (seed, replicate), so the result does not
// depend on the number of threads. Progress and cancel as Tail-Fit's (FitCancelled).
GrowthCurves KernelCurves(const GrowthSample& s, const GrowthOptions& options, const TailFitControl& control = {});

// The curves as the table lnS,Mean,Mean_lo,Mean_hi,SD,SD_lo,SD_hi, with a heading.
void PrintGrowthCurves(const GrowthSample& s, const GrowthCurves& c, TextSurface& text);
