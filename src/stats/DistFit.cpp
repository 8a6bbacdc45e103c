// The lognormal and DPLN fits of Dist-Fit, the sample they share and the KS distance.
#include "stats/DistFit.h"

#include <algorithm>
#include <cmath>

#include "stats/MultiStart.h"

const char* LawName(Law law) {
    switch (law) {
        case Law::Lognormal: return "lognormal";
        case Law::Dpln: return "dpln";
        case Law::LognormalPareto: return "lognormal-pareto";
    }
    return "";
}

int LawParameters(Law law) { return law == Law::Lognormal ? 2 : 4; }

double LogPdf(const LawFit& fit, double x) {
    switch (fit.law) {
        case Law::Lognormal: return LogPdf(fit.lognormal, x);
        case Law::Dpln: return LogPdf(fit.dpln, x);
        case Law::LognormalPareto: return LogPdf(fit.lp, x);
    }
    return -Infinity;
}

double Cdf(const LawFit& fit, double x) {
    switch (fit.law) {
        case Law::Lognormal: return Cdf(fit.lognormal, x);
        case Law::Dpln: return Cdf(fit.dpln, x);
        case Law::LognormalPareto: return Cdf(fit.lp, x);
    }
    return 0;
}

SizeSample MakeSample(std::span<const double> sizes) {
    SizeSample s;
    s.x.assign(sizes.begin(), sizes.end());
    std::sort(s.x.begin(), s.x.end());
    for (std::size_t i = 0; i < s.x.size(); ++i) {
        const double y = std::log(s.x[i]);
        if (i > 0 && s.x[i] == s.x[i - 1]) {
            s.count.back() += 1;
        } else {
            s.y.push_back(y);
            s.count.push_back(1);
            s.distinct.push_back(s.x[i]);
        }
        s.sumY += y;
    }
    s.n = static_cast<double>(s.x.size());
    return s;
}

double KsDistance(std::span<const double> x, const LawFit& fit) {
    const double n = static_cast<double>(x.size());
    double D = 0;
    for (std::size_t i = 0; i < x.size();) {
        std::size_t j = i;
        while (j < x.size() && x[j] == x[i]) ++j;
        const double F = Cdf(fit, x[i]);
        D = std::max({D, std::fabs(static_cast<double>(j) / n - F), std::fabs(static_cast<double>(i) / n - F)});
        i = j;
    }
    return D;
}

namespace {

void Score(LawFit& f, const SizeSample& s) {
    const int k = LawParameters(f.law);
    f.aic = 2 * k - 2 * f.logL;
    f.bic = k * std::log(s.n) - 2 * f.logL;
    f.ks = KsDistance(s.x, f);
}

double SampleLogL(const SizeSample& s, const LawFit& f) {
    double sum = 0;
    for (std::size_t i = 0; i < s.y.size(); ++i) sum += s.count[i] * LogPdf(f, std::exp(s.y[i]));
    return sum;
}

struct Moments {
    double mean = 0, sd = 0;
};
Moments LogMoments(const SizeSample& s) {
    Moments m;
    m.mean = s.sumY / s.n;
    double ss = 0;
    for (std::size_t i = 0; i < s.y.size(); ++i) ss += s.count[i] * (s.y[i] - m.mean) * (s.y[i] - m.mean);
    m.sd = std::sqrt(ss / s.n);
    return m;
}

// The DPLN log-likelihood at theta = (mu, ln sigma, ln alpha[, ln beta]) and its gradient;
// with three parameters beta is infinite (no lower tail).
double DplnLogL(const SizeSample& s, const std::vector<double>& th, double* grad) {
    const bool noLower = th.size() == 3;
    const double mu = th[0], sg = std::exp(th[1]), a = std::exp(th[2]), b = noLower ? Infinity : std::exp(th[3]);
    double sum = 0, gMu = 0, gS = 0, gA = 0, gB = 0;
    for (std::size_t i = 0; i < s.y.size(); ++i) {
        const double w = s.count[i], d = s.y[i] - mu;
        double millsA = 0, millsB = 0;
        const double A = DplnUpperTerm(d, sg, a, &millsA);
        double wA = 1, wB = 0, lse = A, B = 0;
        if (!noLower) {
            B = DplnLowerTerm(d, sg, b, &millsB);
            const double top = std::max(A, B), eA = std::exp(A - top), eB = std::exp(B - top);
            lse = top + std::log(eA + eB);
            wA = eA / (eA + eB);
            wB = 1 - wA;
        }
        sum += w * (lse - s.y[i]);
        if (!grad) continue;
        const double lA = std::exp(millsA);
        gMu += w * wA * (a - lA / sg);
        gS += w * wA * (a * a * sg + lA * (-d / (sg * sg) - a));
        gA += w * wA * (-d + a * sg * sg - lA * sg);
        if (!noLower && wB > 0) {
            const double lB = std::exp(millsB);
            gMu += w * wB * (-b + lB / sg);
            gS += w * wB * (b * b * sg + lB * (d / (sg * sg) - b));
            gB += w * wB * (d + b * sg * sg - lB * sg);
        }
    }
    const double n = s.n;
    if (noLower) {
        sum += n * std::log(a);
        gA += n / a;
    } else {
        sum += n * (std::log(a) + std::log(b) - std::log(a + b));
        gA += n * (1 / a - 1 / (a + b));
        gB += n * (1 / b - 1 / (a + b));
    }
    if (grad) {
        grad[0] = gMu;
        grad[1] = sg * gS;
        grad[2] = a * gA;
        if (!noLower) grad[3] = b * gB;
    }
    return sum;
}

// The double Pareto (sigma = 0) by maximum likelihood: for mu at a sample value the best
// alpha = n / (S+ + sqrt(S+ S-)), beta = n / (S- + sqrt(S+ S-)), S+- the sums of (y - mu)
// above and below mu; the profile -2n ln(sqrt S+ + sqrt S-) is concave between sample values,
// so its maximum is at one of them. Beta is infinite when mu is the smallest value.
LawFit FitDoublePareto(const SizeSample& s) {
    LawFit best;
    best.law = Law::Dpln;
    best.logL = -Infinity;
    const double n = s.n;
    double below = 0, sumBelow = 0;  // count and sum of y below the candidate
    for (std::size_t k = 0; k < s.y.size(); ++k) {
        const double mu = s.y[k];
        const double sPlus = (s.sumY - sumBelow) - (n - below) * mu, sMinus = below * mu - sumBelow;
        below += s.count[k];
        sumBelow += s.count[k] * mu;
        if (!(sPlus > 0)) continue;
        DplnLaw m{mu, 0, 0, Infinity};
        double logL;
        if (sMinus > 0) {
            const double root = std::sqrt(sPlus * sMinus);
            m.alpha = n / (sPlus + root);
            m.beta = n / (sMinus + root);
            logL = n * std::log(n) - 2 * n * std::log(std::sqrt(sPlus) + std::sqrt(sMinus)) - n - s.sumY;
        } else {
            m.alpha = n / sPlus;
            logL = n * std::log(m.alpha) - n - s.sumY;
        }
        if (logL > best.logL) {
            best.logL = logL;
            best.dpln = m;
            best.ok = true;
        }
    }
    return best;
}

}  // namespace

LawFit FitLognormal(const SizeSample& s) {
    LawFit f;
    f.law = Law::Lognormal;
    const Moments m = LogMoments(s);
    if (s.y.size() < 2) {
        f.reason = "all sizes are equal";
        return f;
    }
    f.lognormal = {m.mean, m.sd};
    f.logL = -s.sumY - s.n * (std::log(m.sd) + 0.5 * std::log(2 * M_PI) + 0.5);
    f.ok = true;
    Score(f, s);
    return f;
}

LawFit FitDpln(const SizeSample& s, const std::atomic<bool>* cancel) {
    const Moments m = LogMoments(s);
    LawFit out;
    out.law = Law::Dpln;
    if (s.y.size() < 2) {
        out.reason = "all sizes are equal";
        return out;
    }
    const LawFit dp = FitDoublePareto(s);
    const double med = s.y[s.y.size() / 2];
    MultiStartProblem problem;
    problem.useGradient = true;
    problem.xtolRel = 1e-9;
    problem.ftolAbs = 1e-9;
    problem.objective = [&](const std::vector<double>& th, double* g) { return DplnLogL(s, th, g); };
    auto start = [&](double mu, double sigma, double a, double b) {
        std::vector<double> th{mu, std::log(sigma), std::log(a)};
        if (b > 0) th.push_back(std::log(b));
        return th;
    };
    const double aDp = dp.ok ? std::clamp(dp.dpln.alpha, 0.3, 20.0) : 1.5;
    const double bDp = dp.ok && std::isfinite(dp.dpln.beta) ? std::clamp(dp.dpln.beta, 0.3, 20.0) : 20;
    const double muDp = dp.ok ? dp.dpln.mu : med;
    const MultiStartResult inner = MaximiseFromStarts(problem,
        {start(m.mean, 0.8 * m.sd, 3, 3), start(m.mean, 0.5 * m.sd, 1.5, 2), start(m.mean - 0.5 * m.sd, 0.4 * m.sd, 1.2, 1),
         start(med, 0.2 * m.sd, 1, 4), start(muDp, 0.1 * m.sd, aDp, bDp)}, cancel);
    const MultiStartResult noLower = MaximiseFromStarts(problem,
        {start(m.mean - m.sd, 0.7 * m.sd, 1.5, 0), start(muDp, 0.1 * m.sd, aDp, 0), start(m.mean, 0.5 * m.sd, 3, 0)}, cancel);
    if (cancel && cancel->load()) throw FitCancelled();

    // The highest maximum; within 1e-6 of it the boundary is preferred (sigma = 0 or beta
    // infinite is the limit the interior only approaches).
    struct Candidate {
        double logL;
        DplnLaw law;
        std::string limit;
    };
    std::vector<Candidate> c;
    if (dp.ok)
        c.push_back({dp.logL, dp.dpln,
                     std::isinf(dp.dpln.beta) ? "sigma = 0 and beta infinite: a Pareto law from e^mu"
                                              : "sigma = 0: a double Pareto law"});
    if (noLower.converged) {
        const auto& x = noLower.x;
        c.push_back({noLower.value, {x[0], std::exp(x[1]), std::exp(x[2]), Infinity}, "beta infinite: no lower tail"});
    }
    if (inner.converged) {
        const auto& x = inner.x;
        c.push_back({inner.value, {x[0], std::exp(x[1]), std::exp(x[2]), std::exp(x[3])}, ""});
    }
    if (c.empty()) {
        out.reason = inner.failure.empty() ? "no start converged" : inner.failure;
        return out;
    }
    double top = -Infinity;
    for (const auto& k : c) top = std::max(top, k.logL);
    for (const auto& k : c) {
        if (k.logL < top - 1e-6) continue;
        out.dpln = k.law;
        out.limit = k.limit;
        break;
    }
    out.ok = true;
    out.logL = SampleLogL(s, out);
    if (!std::isfinite(out.logL)) {
        out.ok = false;
        out.reason = "the likelihood is not finite at the maximum";
        return out;
    }
    Score(out, s);
    return out;
}

// Shared with the lognormal-Pareto fit (DistFitPareto.cpp).
void ScoreLawFit(LawFit& f, const SizeSample& s) {
    f.logL = SampleLogL(s, f);
    Score(f, s);
}
