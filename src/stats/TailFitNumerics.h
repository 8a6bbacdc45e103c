#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "draw/RunError.h"

// The estimators of the tail of one size distribution, on plain samples. All in double
// precision: these are new analyses, not reproductions of the single-precision tables,
// and the likelihood sums over 10,000 places need the digits.

// The rank - 1/2 regression of Gabaix and Ibragimov: least squares of ln(rank - 1/2) on
// ln(size), zeta = -slope, se = zeta * sqrt(2 / n). NaN when all sizes are equal.
struct RankHalfFit {
    double zeta = 0, se = 0;
};
RankHalfFit FitRankHalf(std::span<const double> x);

// The continuous power law above xmin fitted by maximum likelihood, xmin chosen by the
// Kolmogorov-Smirnov distance D = max_i |(i - 1)/nTail - P(x_(i))| (the empirical CDF just
// below each point), among the distinct values with at least minTail values at or above;
// the smaller xmin on a tie. alpha = zeta + 1, se = zeta / sqrt(nTail).
struct PowerLawFit {
    double xmin = 0, alpha = 0, zeta = 0, se = 0, D = 0;
    int nTail = 0;
    bool ok = false;  // false when no candidate has a finite estimate (all tail values equal)
};

// Thrown when the cancel flag is raised during a fit or the bootstrap.
class FitCancelled : public RunError {
public:
    FitCancelled() : RunError("Tail-Fit cancelled") {}
};

// `sorted` must be ascending. `cancel` (may be null) is checked once per candidate. `hint`,
// an index into `sorted` (or -1), names a candidate likely to be near the best: it only
// makes the search faster, the result is the same bit for bit.
PowerLawFit FitPowerLaw(std::span<const double> sorted, int minTail, const std::atomic<bool>* cancel = nullptr,
                        int hint = -1);

// Lognormal truncated below at xmin, fitted by maximum likelihood on the tail (NLopt,
// derivative-free), started from the tail's mean and sd of ln x.
struct LognormalFit {
    double mu = 0, sigma = 0, logLik = 0;
};
LognormalFit FitTruncatedLognormal(std::span<const double> tail, double xmin);
double TruncatedLognormalLogPdf(double x, double xmin, double mu, double sigma);
// ln P(X >= x | X >= xmin), safe where the untruncated tail underflows.
double TruncatedLognormalLogCcdf(double x, double xmin, double mu, double sigma);

// Vuong's test of the power law against the lognormal on the same tail: R = sum of
// pointwise log-likelihood differences (positive favours the power law), normalised
// R / (sigma sqrt(n)), two-sided p = erfc(|R| / (sigma sqrt(2 n))), sigma the sample sd of
// the differences. `favoured` is "power law" or "lognormal" when p < 0.1, else "neither".
struct VuongTest {
    double R = 0, normalised = 0, p = 1;
    std::string favoured = "neither";
};
VuongTest ComparePowerLawLognormal(std::span<const double> tail, const PowerLawFit& pl, const LognormalFit& ln);

// Hill estimates on x sorted descending: for k = 1..n-1, zeta_k = k / sum_{i<=k}
// ln(x_(i) / x_(k+1)) with the band zeta_k -+ 1.96 zeta_k / sqrt(k); NaN where ties make
// the sum zero.
struct HillPoint {
    int k = 0;
    double zeta = 0, lower = 0, upper = 0;
};
std::vector<HillPoint> HillEstimates(std::span<const double> x);

// The semi-parametric bootstrap p-value of the fit `pl` of the ascending sample `sorted`:
// each replicate draws n values, each from the fitted power law above xmin with probability
// nTail/n, otherwise uniformly from the data below xmin; xmin and alpha are re-estimated
// and p is the share of replicates with D >= pl.D. Replicate r draws from an mt19937_64
// seeded by (seed, stream, r), so p does not depend on the number of threads.
struct BootstrapOptions {
    int replicates = 1000;
    int minTail = 10;
    std::uint64_t seed = 0;
    std::uint64_t stream = 0;  // e.g. the date index, so dates draw independent samples
    int threads = 0;           // 0: all cores
    const std::atomic<bool>* cancel = nullptr;
    // Called on the calling thread after each of its replicates with the number done so far.
    std::function<void(int done)> progress;
};
double BootstrapP(std::span<const double> sorted, const PowerLawFit& pl, const BootstrapOptions& options);
