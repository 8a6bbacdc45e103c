#pragma once
#include <cmath>
#include <limits>

// The three laws of the whole size distribution, as densities of x (persons) and CDFs, in
// double precision. The normal tails are taken in logs, so a density far from its mode is a
// finite log rather than 0.

inline constexpr double Infinity = std::numeric_limits<double>::infinity();

// ln Phi(z), ln phi(z) - ln Phi(z) (the log of the inverse Mills ratio), and
// ln Phi(z0 + delta) - ln Phi(z0) without cancellation when both are far in the lower tail.
double LogPhi(double z);
double LogMills(double z);
double LogPhiRatio(double z0, double delta);
// ln Phi(z) and, through `logMills`, ln phi(z) - ln Phi(z), from one evaluation of erfc.
double LogPhiAndMills(double z, double* logMills);

// Lognormal: ln x ~ N(mu, sigma^2).
struct LognormalLaw {
    double mu = 0, sigma = 1;
};
double LogPdf(const LognormalLaw& m, double x);
double Cdf(const LognormalLaw& m, double x);

// The two terms of the DPLN density in logs, d = ln x - mu, s = sigma > 0:
//   upper: -a d + a^2 s^2 / 2 + ln Phi(d/s - a s),  lower: b d + b^2 s^2 / 2 + ln Phi(-(d/s + b s)),
// each taken in the form without cancellation (where the Phi argument is negative, as
// -d^2 / (2 s^2) - ln sqrt(2 pi) - ln Mills). `logMills` receives ln Mills at the Phi
// argument (the gradient's factor).
double DplnUpperTerm(double d, double s, double a, double* logMills = nullptr);
double DplnLowerTerm(double d, double s, double b, double* logMills = nullptr);

// Double Pareto-lognormal (Reed & Jorgensen): alpha the upper tail's exponent, beta the lower
// one's. sigma = 0 is the double Pareto (ln x asymmetric Laplace about mu); beta = Infinity
// drops the lower tail (below e^mu there is then no mass when sigma = 0).
struct DplnLaw {
    double mu = 0, sigma = 1, alpha = 2, beta = 2;
};
double LogPdf(const DplnLaw& m, double x);
double Cdf(const DplnLaw& m, double x);

// A lognormal body below the switch point t and a Pareto tail c x^(-alpha-1) from t on, the
// density continuous at t and of total mass 1. It is held as (t, b, s, alpha) with s = 1/sigma
// and b = (mu - ln t) / sigma^2, the form that stays finite as the body tends to a power law
// x^(b-1) (sigma -> infinity with b fixed, s = 0 here). The body's weight is alpha / (alpha + h)
// with h = t f_body(t) / F_body(t) (h = b when s = 0).
struct LognormalParetoLaw {
    double t = 1, b = 0, s = 1, alpha = 1;
    double Sigma() const { return s > 0 ? 1 / s : Infinity; }
    double Mu() const { return s > 0 ? std::log(t) + b / (s * s) : Infinity; }
    // ln h; -Infinity where the parameters admit no body (s = 0 with b <= 0).
    double LogH() const;
    // The body's share of the mass.
    double BodyWeight() const;
};
LognormalParetoLaw LognormalParetoFrom(double mu, double sigma, double alpha, double t);
double LogPdf(const LognormalParetoLaw& m, double x);
double Cdf(const LognormalParetoLaw& m, double x);
