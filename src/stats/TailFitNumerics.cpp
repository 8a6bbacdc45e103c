#include "stats/TailFitNumerics.h"
#include "stats/Replicates.h"

#include <algorithm>
#include <boost/math/special_functions/erf.hpp>
#include <cmath>
#include <exception>
#include <limits>
#include <mutex>
#include <numbers>
#include <nlopt.hpp>
#include <random>
#include <thread>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
const double LogSqrt2Pi = 0.5 * std::log(2.0 * std::numbers::pi);

// ln x and the suffix sums of ln x of an ascending sample: the tail above any candidate is
// a suffix, so its sum of logs costs one subtraction.
struct LogTable {
    std::vector<double> lx, suffix;
    void Fill(std::span<const double> x) {
        const std::size_t n = x.size();
        lx.resize(n);
        suffix.assign(n + 1, 0.0);
        for (std::size_t i = 0; i < n; ++i) lx[i] = std::log(x[i]);
        for (std::size_t i = n; i-- > 0;) suffix[i] = suffix[i + 1] + lx[i];
    }
};

// The KS distance of the tail above candidate x[i] from its fitted power law: the largest
// point distance. Stops early, returning false, once a point's distance passes `bound` (or
// reaches it, when `tieLoses`): the candidate can no longer win. The largest of the same
// point distances does not depend on the order they are visited in, so the points most
// likely to pass the bound go first: `probe` (where the last candidate failed), then every
// eighth point, then all of them. `probe` is updated to where this one failed.
bool TailDistance(std::span<const double> x, const LogTable& t, int i, double bound, bool tieLoses, int& probe,
                  double& alpha, double& distance) {
    const int n = static_cast<int>(x.size());
    const int nt = n - i;
    const double logSum = t.suffix[i] - nt * t.lx[i];
    if (!(logSum > 0)) return false;
    alpha = 1.0 + nt / logSum;
    const double e = 1.0 - alpha;
    const double base = t.lx[i];
    auto fails = [&](int j) {
        const double P = -std::expm1(e * (t.lx[j] - base));
        const double diff = std::fabs(static_cast<double>(j - i) / nt - P);
        if (diff > bound || (tieLoses && diff == bound)) {
            probe = j;
            return true;
        }
        return false;
    };
    if (probe >= i && probe < n && fails(probe)) return false;
    constexpr int Stride = 8;
    for (int j = i + Stride - 1; j < n; j += Stride)
        if (fails(j)) return false;
    double d = 0;
    for (int j = i; j < n; ++j) {
        const double P = -std::expm1(e * (t.lx[j] - base));
        const double diff = std::fabs(static_cast<double>(j - i) / nt - P);
        if (diff > d) {
            d = diff;
            if (d > bound || (tieLoses && d == bound)) {
                probe = j;
                return false;
            }
        }
    }
    distance = d;
    return true;
}

// The candidate with the smallest D, the smaller xmin on a tie. `hint` (an index, or -1)
// is a candidate likely to be close to the best: scanned first, its D lets every other
// candidate's scan stop early. Each D is computed by the same operations whatever the
// order, so the hint changes the time taken, never the result.
PowerLawFit Scan(std::span<const double> x, const LogTable& t, int minTail, const std::atomic<bool>* cancel,
                 int hint = -1) {
    PowerLawFit best;
    best.D = std::numeric_limits<double>::infinity();
    int bestIndex = -1;
    const int n = static_cast<int>(x.size());
    int probe = -1;
    auto consider = [&](int i) {
        double alpha = 0, d = 0;
        if (!TailDistance(x, t, i, best.D, i > bestIndex, probe, alpha, d)) return;
        if (d == best.D && i > bestIndex) return;
        const int nt = n - i;
        best.xmin = x[i];
        best.alpha = alpha;
        best.zeta = alpha - 1.0;
        best.se = best.zeta / std::sqrt(static_cast<double>(nt));
        best.D = d;
        best.nTail = nt;
        best.ok = true;
        bestIndex = i;
    };
    const bool hinted = hint >= 0 && hint + minTail <= n && (hint == 0 || x[hint] != x[hint - 1]);
    if (hinted) consider(hint);
    for (int i = 0; i + minTail <= n; ++i) {
        if (i > 0 && x[i] == x[i - 1]) continue;  // the candidate is each distinct value once
        if (hinted && i == hint) continue;
        if (cancel && cancel->load(std::memory_order_relaxed)) throw FitCancelled();
        consider(i);
    }
    if (!best.ok) best.D = NaN;
    return best;
}

// ln of the upper tail of the standard normal, also far out where erfc underflows.
double LogUpperTail(double z) {
    if (z < 30) return std::log(0.5 * boost::math::erfc(z / std::sqrt(2.0)));
    const double z2 = z * z;
    return -0.5 * z2 - std::log(z) - LogSqrt2Pi + std::log1p(-1.0 / z2 + 3.0 / (z2 * z2));
}

struct LogMoments {
    double n = 0, sumLog = 0, mean = 0, centred = 0;  // centred = sum (ln x - mean)^2
};

LogMoments Moments(std::span<const double> tail) {
    LogMoments m;
    m.n = static_cast<double>(tail.size());
    for (double v : tail) m.sumLog += std::log(v);
    m.mean = m.sumLog / m.n;
    for (double v : tail) m.centred += (std::log(v) - m.mean) * (std::log(v) - m.mean);
    return m;
}

double LognormalLogLik(const LogMoments& m, double logXmin, double mu, double sigma) {
    const double sumZ2 = (m.centred + m.n * (m.mean - mu) * (m.mean - mu)) / (sigma * sigma);
    return -m.sumLog - m.n * (std::log(sigma) + LogSqrt2Pi) - 0.5 * sumZ2 -
           m.n * LogUpperTail((logXmin - mu) / sigma);
}

double Uniform(std::mt19937_64& g) { return static_cast<double>(g() >> 11) * 0x1.0p-53; }

}  // namespace

RankHalfFit FitRankHalf(std::span<const double> x) {
    std::vector<double> s(x.begin(), x.end());
    std::sort(s.begin(), s.end(), std::greater<>());
    const std::size_t n = s.size();
    double mx = 0, my = 0;
    for (std::size_t i = 0; i < n; ++i) {
        mx += std::log(s[i]);
        my += std::log(i + 0.5);
    }
    mx /= n;
    my /= n;
    double sxy = 0, sxx = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = std::log(s[i]) - mx;
        sxy += dx * (std::log(i + 0.5) - my);
        sxx += dx * dx;
    }
    RankHalfFit r;
    r.zeta = sxx > 0 ? -sxy / sxx : NaN;
    r.se = r.zeta * std::sqrt(2.0 / n);
    return r;
}

PowerLawFit FitPowerLaw(std::span<const double> sorted, int minTail, const std::atomic<bool>* cancel, int hint) {
    LogTable t;
    t.Fill(sorted);
    return Scan(sorted, t, minTail, cancel, hint);
}

double TruncatedLognormalLogCcdf(double x, double xmin, double mu, double sigma) {
    return LogUpperTail((std::log(x) - mu) / sigma) - LogUpperTail((std::log(xmin) - mu) / sigma);
}

double TruncatedLognormalLogPdf(double x, double xmin, double mu, double sigma) {
    const double z = (std::log(x) - mu) / sigma;
    return -std::log(x) - std::log(sigma) - LogSqrt2Pi - 0.5 * z * z - LogUpperTail((std::log(xmin) - mu) / sigma);
}

LognormalFit FitTruncatedLognormal(std::span<const double> tail, double xmin) {
    const LogMoments m = Moments(tail);
    const double logXmin = std::log(xmin);
    const double sd = std::max(std::sqrt(m.centred / m.n), 1e-6);
    // Searched over (mu, ln sigma), so sigma stays positive without a bound.
    nlopt::opt opt(nlopt::LN_SBPLX, 2);
    auto objective = [](const std::vector<double>& p, std::vector<double>&, void* data) {
        const auto* args = static_cast<const std::pair<const LogMoments*, double>*>(data);
        const double v = -LognormalLogLik(*args->first, args->second, p[0], std::exp(p[1]));
        return std::isfinite(v) ? v : std::numeric_limits<double>::max();
    };
    std::pair<const LogMoments*, double> args{&m, logXmin};
    opt.set_min_objective(objective, &args);
    opt.set_xtol_rel(1e-10);
    opt.set_ftol_abs(1e-10);
    opt.set_maxeval(20000);
    opt.set_initial_step({sd, 0.5});
    std::vector<double> p{m.mean, std::log(sd)};
    double value = 0;
    try {
        opt.optimize(p, value);
    } catch (const nlopt::roundoff_limited&) {
        // p holds the best point found; that is as close as double precision gets.
    }
    LognormalFit fit;
    fit.mu = p[0];
    fit.sigma = std::exp(p[1]);
    fit.logLik = LognormalLogLik(m, logXmin, fit.mu, fit.sigma);
    return fit;
}

VuongTest ComparePowerLawLognormal(std::span<const double> tail, const PowerLawFit& pl, const LognormalFit& ln) {
    const std::size_t n = tail.size();
    std::vector<double> d(n);
    const double logNorm = std::log(pl.alpha - 1.0) - std::log(pl.xmin);
    double sum = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double logPL = logNorm - pl.alpha * std::log(tail[i] / pl.xmin);
        d[i] = logPL - TruncatedLognormalLogPdf(tail[i], pl.xmin, ln.mu, ln.sigma);
        sum += d[i];
    }
    const double mean = sum / n;
    double ss = 0;
    for (double v : d) ss += (v - mean) * (v - mean);
    VuongTest r;
    r.R = sum;
    const double sigma = n > 1 ? std::sqrt(ss / (n - 1)) : 0.0;
    // Where the lognormal's likelihood keeps rising as mu -> -inf it turns into the power law
    // itself; the optimiser stops somewhere along that ridge, and R and sigma are then both
    // rounding noise whose ratio means nothing. Two fits whose log-densities agree at every
    // point to 1e-4 are the same fit: no preference, p = 1.
    double largest = 0;
    for (double v : d) largest = std::max(largest, std::fabs(v));
    if (sigma > 0 && largest >= 1e-4) {
        r.normalised = sum / (sigma * std::sqrt(static_cast<double>(n)));
        r.p = boost::math::erfc(std::fabs(sum) / (sigma * std::sqrt(2.0 * n)));
    } else {
        r.normalised = 0;
        r.p = 1;
    }
    if (r.p < 0.1) r.favoured = sum > 0 ? "power law" : "lognormal";
    return r;
}

std::vector<HillPoint> HillEstimates(std::span<const double> x) {
    std::vector<double> s(x.begin(), x.end());
    std::sort(s.begin(), s.end(), std::greater<>());
    std::vector<HillPoint> out;
    double prefix = 0;
    for (std::size_t k = 1; k < s.size(); ++k) {
        prefix += std::log(s[k - 1]);
        const double denom = prefix - k * std::log(s[k]);
        HillPoint h;
        h.k = static_cast<int>(k);
        h.zeta = denom > 0 ? k / denom : NaN;
        const double half = 1.96 * h.zeta / std::sqrt(static_cast<double>(k));
        h.lower = h.zeta - half;
        h.upper = h.zeta + half;
        out.push_back(h);
    }
    return out;
}

double BootstrapP(std::span<const double> sorted, const PowerLawFit& pl, const BootstrapOptions& o) {
    const int R = o.replicates;
    if (R <= 0 || !pl.ok) return NaN;
    const std::size_t n = sorted.size();
    const std::size_t nBelow = n - pl.nTail;
    const double tailShare = static_cast<double>(pl.nTail) / n;
    const double inverseExponent = -1.0 / (pl.alpha - 1.0);
    std::vector<double> D(R, NaN);
    RunReplicates(
        R, o.threads,
        [&](bool) {
            return [&, x = std::vector<double>(n), t = LogTable()](int r) mutable {
                if (o.cancel && o.cancel->load(std::memory_order_relaxed)) throw FitCancelled();
                std::seed_seq seq{static_cast<std::uint32_t>(o.seed), static_cast<std::uint32_t>(o.seed >> 32),
                                  static_cast<std::uint32_t>(o.stream), static_cast<std::uint32_t>(o.stream >> 32),
                                  static_cast<std::uint32_t>(r)};
                std::mt19937_64 g(seq);
                for (std::size_t k = 0; k < n; ++k) {
                    if (Uniform(g) < tailShare)
                        x[k] = pl.xmin * std::pow(1.0 - Uniform(g), inverseExponent);
                    else
                        x[k] = sorted[std::min(nBelow - 1, static_cast<std::size_t>(Uniform(g) * nBelow))];
                }
                std::sort(x.begin(), x.end());
                t.Fill(x);
                // The replicate is drawn from the fit, so its best xmin is usually near the fit's.
                const auto near = std::lower_bound(x.begin(), x.end(), pl.xmin) - x.begin();
                D[r] = Scan(x, t, o.minTail, o.cancel, static_cast<int>(near)).D;  // NaN (not counted) if no fit
            };
        },
        [&](int d, bool caller) {
            if (caller && o.progress) o.progress(d);
        });
    const auto atLeast = std::count_if(D.begin(), D.end(), [&](double v) { return v >= pl.D; });
    return static_cast<double>(atLeast) / R;
}
