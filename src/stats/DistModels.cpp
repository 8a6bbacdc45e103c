#include "stats/DistModels.h"

#include <algorithm>
#include <boost/math/special_functions/erf.hpp>

namespace {

using namespace boost::math::policies;
// Double arithmetic inside erfc: the fits call it millions of times, and long double buys
// nothing at the tolerances the optimiser works to.
using Fast = policy<promote_double<false>>;

constexpr double HalfLog2Pi = 0.91893853320467274178;  // ln sqrt(2 pi)
// Below this, erfc is within a few hundred orders of underflow: the asymptotic series of
// Phi(z) = phi(z) / (-z) * S(z) is used instead, its first omitted term under 3e-14.
constexpr double FarTail = -30;

double Erfc(double v) { return boost::math::erfc(v, Fast()); }

// ln S(z), S = 1 - 1/z^2 + 3/z^4 - 15/z^6 + 105/z^8 - 945/z^10, for z <= FarTail.
double LogSeries(double z) {
    const double q = 1 / (z * z);
    return std::log1p(q * (-1 + q * (3 + q * (-15 + q * (105 - 945 * q)))));
}

double Phi(double z) { return 0.5 * Erfc(-z / std::sqrt(2.0)); }

}  // namespace

double LogPhi(double z) {
    if (z < FarTail) return -0.5 * z * z - HalfLog2Pi - std::log(-z) + LogSeries(z);
    if (z < 0) return std::log(Phi(z));
    return std::log1p(-0.5 * Erfc(z / std::sqrt(2.0)));
}

double LogMills(double z) {
    if (z < FarTail) return std::log(-z) - LogSeries(z);
    return -0.5 * z * z - HalfLog2Pi - LogPhi(z);
}

double LogPhiAndMills(double z, double* logMills) {
    if (z < FarTail) {
        *logMills = std::log(-z) - LogSeries(z);
        return -0.5 * z * z - HalfLog2Pi - *logMills;
    }
    const double logPhi = LogPhi(z);
    *logMills = -0.5 * z * z - HalfLog2Pi - logPhi;
    return logPhi;
}

double LogPhiRatio(double z0, double delta) {
    const double z1 = z0 + delta;
    if (z0 < FarTail && z1 < FarTail)
        return -delta * (z0 + 0.5 * delta) - std::log1p(delta / z0) + LogSeries(z1) - LogSeries(z0);
    return LogPhi(z1) - LogPhi(z0);
}

double LogPdf(const LognormalLaw& m, double x) {
    if (!(x > 0)) return -Infinity;
    const double y = std::log(x), z = (y - m.mu) / m.sigma;
    return -y - std::log(m.sigma) - HalfLog2Pi - 0.5 * z * z;
}

double Cdf(const LognormalLaw& m, double x) { return x > 0 ? Phi((std::log(x) - m.mu) / m.sigma) : 0; }

double DplnUpperTerm(double d, double s, double a, double* logMills) {
    const double p = d / s - a * s;
    double mills;
    const double logPhi = LogPhiAndMills(p, &mills);
    if (logMills) *logMills = mills;
    if (p < 0) return -0.5 * (d / s) * (d / s) - HalfLog2Pi - mills;
    return -a * d + 0.5 * a * a * s * s + logPhi;
}

double DplnLowerTerm(double d, double s, double b, double* logMills) {
    const double z = -(d / s + b * s);
    double mills;
    const double logPhi = LogPhiAndMills(z, &mills);
    if (logMills) *logMills = mills;
    if (z < 0) return -0.5 * (d / s) * (d / s) - HalfLog2Pi - mills;
    return b * d + 0.5 * b * b * s * s + logPhi;
}

double LogPdf(const DplnLaw& m, double x) {
    if (!(x > 0)) return -Infinity;
    const double y = std::log(x), d = y - m.mu, a = m.alpha, b = m.beta, s = m.sigma;
    const bool noLower = std::isinf(b);
    const double logK = noLower ? std::log(a) : std::log(a) + std::log(b) - std::log(a + b);
    if (s == 0) {
        if (d >= 0) return logK - y - a * d;
        return noLower ? -Infinity : logK - y + b * d;
    }
    const double A = DplnUpperTerm(d, s, a);
    if (noLower) return logK - y + A;
    const double B = DplnLowerTerm(d, s, b);
    const double top = std::max(A, B);
    return logK - y + top + std::log(std::exp(A - top) + std::exp(B - top));
}

double Cdf(const DplnLaw& m, double x) {
    if (!(x > 0)) return 0;
    const double d = std::log(x) - m.mu, a = m.alpha, b = m.beta, s = m.sigma;
    const bool noLower = std::isinf(b);
    const double upperShare = noLower ? 1 : b / (a + b), lowerShare = noLower ? 0 : a / (a + b);
    double F;
    if (s == 0) {
        F = d >= 0 ? 1 - upperShare * std::exp(-a * d) : lowerShare * std::exp(b * d);
    } else {
        F = Phi(d / s) - upperShare * std::exp(DplnUpperTerm(d, s, a));
        if (!noLower) F += lowerShare * std::exp(DplnLowerTerm(d, s, b));
    }
    return std::clamp(F, 0.0, 1.0);
}

double LognormalParetoLaw::LogH() const {
    if (s == 0) return b > 0 ? std::log(b) : -Infinity;
    return std::log(s) + LogMills(-b / s);
}

double LognormalParetoLaw::BodyWeight() const {
    const double h = std::exp(LogH());
    return alpha / (alpha + h);
}

LognormalParetoLaw LognormalParetoFrom(double mu, double sigma, double alpha, double t) {
    return {t, (mu - std::log(t)) / (sigma * sigma), 1 / sigma, alpha};
}

double LogPdf(const LognormalParetoLaw& m, double x) {
    if (!(x > 0)) return -Infinity;
    const double y = std::log(x), u = y - std::log(m.t), logH = m.LogH();
    if (std::isinf(logH)) return -Infinity;
    const double h = std::exp(logH);
    const double logK = std::log(m.alpha) + logH - std::log(m.alpha + h);  // ln(alpha h / (alpha + h))
    if (u < 0) return logK - y + m.b * u - 0.5 * m.s * m.s * u * u;
    return logK - y - m.alpha * u;
}

double Cdf(const LognormalParetoLaw& m, double x) {
    if (!(x > 0)) return 0;
    const double u = std::log(x) - std::log(m.t), w = m.BodyWeight();
    if (u >= 0) return std::clamp(1 - (1 - w) * std::exp(-m.alpha * u), 0.0, 1.0);
    const double body = m.s == 0 ? m.b * u : LogPhiRatio(-m.b / m.s, m.s * u);
    return std::clamp(w * std::exp(body), 0.0, 1.0);
}
