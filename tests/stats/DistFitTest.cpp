// Dist-Fit: the three laws' densities and CDFs, their fits on seeded samples, the boundary
// limits and the tests beside them (the real tables against scipy: DistFitRealTest).
#include <gtest/gtest.h>

#include <boost/math/quadrature/gauss_kronrod.hpp>
#include <boost/math/special_functions/erf.hpp>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "data/Import.h"
#include "data/Loader.h"
#include "stats/DistFit.h"
#include "stats/DistFitTests.h"

namespace {

LawFit Fit(Law law, double a, double b, double c, double d) {
    LawFit f;
    f.law = law;
    f.ok = true;
    if (law == Law::Lognormal) f.lognormal = {a, b};
    if (law == Law::Dpln) f.dpln = {a, b, c, d};
    if (law == Law::LognormalPareto) f.lp = LognormalParetoFrom(a, b, c, d);
    return f;
}

// The density of ln x, f(e^y) e^y, integrated over y from lo to hi in pieces split at `cuts`.
double Mass(const LawFit& f, double lo, double hi, std::vector<double> cuts = {}) {
    auto g = [&](double y) {
        const double v = LogPdf(f, std::exp(y)) + y;
        return std::isfinite(v) ? std::exp(v) : 0.0;
    };
    cuts.insert(cuts.begin(), lo);
    cuts.push_back(hi);
    double sum = 0;
    for (std::size_t i = 0; i + 1 < cuts.size(); ++i)
        sum += boost::math::quadrature::gauss_kronrod<double, 61>::integrate(g, cuts[i], cuts[i + 1], 15, 1e-13);
    return sum;
}

struct LawCase {
    const char* name;
    LawFit fit;
    double kink;  // ln of where the density bends sharply (mu at sigma = 0, ln t), else NaN
};

std::vector<LawCase> Laws() {
    LawFit limit = Fit(Law::LognormalPareto, 0, 1, 1.1, std::exp(9.0));
    limit.lp.b = 1.7;  // the power-law body: sigma -> inf with (mu - ln t) / sigma^2 = 1.7
    limit.lp.s = 0;
    return {
        {"lognormal", Fit(Law::Lognormal, 8.5, 1.3, 0, 0), NAN},
        {"dpln inside", Fit(Law::Dpln, 8.3, 0.25, 0.9, 2.9), NAN},
        {"dpln wide", Fit(Law::Dpln, 7.0, 1.5, 1.8, 0.7), NAN},
        {"dpln beta infinite", Fit(Law::Dpln, 8.0, 0.4, 1.2, Infinity), NAN},
        {"double Pareto", Fit(Law::Dpln, 8.0, 0, 1.1, 2.3), 8.0},
        {"Pareto (sigma 0, beta inf)", Fit(Law::Dpln, 8.0, 0, 1.1, Infinity), 8.0},
        {"lognormal-pareto", Fit(Law::LognormalPareto, 8.6, 1.1, 1.05, 30000), std::log(30000.0)},
        {"lognormal-pareto, t below the mode", Fit(Law::LognormalPareto, 9.0, 0.5, 2.0, 2000), std::log(2000.0)},
        {"lognormal-pareto, power-law body", limit, 9.0},
    };
}

}  // namespace

TEST(DistFit, EachDensityIntegratesToOneAndToItsCdf) {
    for (const auto& c : Laws()) {
        SCOPED_TRACE(c.name);
        std::vector<double> cuts;
        if (std::isfinite(c.kink)) cuts.push_back(c.kink);
        EXPECT_NEAR(Mass(c.fit, -40, 250, cuts), 1.0, 1e-8);
        for (double y : {6.0, 8.0, 9.0, 9.5, 12.0}) {
            std::vector<double> below;
            if (std::isfinite(c.kink) && c.kink < y) below.push_back(c.kink);
            EXPECT_NEAR(Cdf(c.fit, std::exp(y)), Mass(c.fit, -40, y, below), 1e-8) << "at ln x = " << y;
        }
    }
}

TEST(DistFit, LognormalParetoIsContinuousAtTheSwitchPoint) {
    for (const auto& c : Laws()) {
        if (c.fit.law != Law::LognormalPareto) continue;
        SCOPED_TRACE(c.name);
        const double t = c.fit.lp.t;
        EXPECT_NEAR(LogPdf(c.fit, t * (1 - 1e-12)), LogPdf(c.fit, t), 1e-9);
        EXPECT_NEAR(Cdf(c.fit, t * (1 - 1e-12)), Cdf(c.fit, t), 1e-9);
        // Above t a Pareto: the log-density falls by alpha + 1 per unit of ln x.
        EXPECT_NEAR(LogPdf(c.fit, t * std::exp(1.0)) - LogPdf(c.fit, t * std::exp(2.0)), c.fit.lp.alpha + 1, 1e-9);
    }
}

TEST(DistFit, NormalTailsStayFiniteAndAgreeAcrossTheSwitchToTheSeries) {
    // Expected values from /usr/bin/python3 -c
    // "from scipy.special import log_ndtr; print(log_ndtr(-35), log_ndtr(-29.999), log_ndtr(-1e4))"
    EXPECT_NEAR(LogPhi(-35), -616.9751012619225, 1e-9);
    EXPECT_NEAR(LogPhi(-29.999), -454.2912111961239, 1e-9);
    EXPECT_NEAR(LogPhi(-1e4), -50000010.12927892, 1e-6);
    EXPECT_NEAR(LogPhi(-30.0001) - LogPhi(-29.9999), -30 * 0.0002, 1e-5);  // slope about -z across the switch
    EXPECT_NEAR(LogPhiRatio(-1e6, 3), LogPhi(-1e6 + 3) - LogPhi(-1e6), 1e-3);
    EXPECT_NEAR(LogPhiRatio(-1e8, 1e-3), 1e5, 1e-3);  // -delta (z0 + delta / 2), no cancellation
}

namespace {

std::vector<double> DplnSample(double mu, double sigma, double a, double b, int n, std::uint64_t seed) {
    // Reed and Jorgensen: ln X = mu + sigma Z + E1 / alpha - E2 / beta.
    std::mt19937_64 g(seed);
    std::normal_distribution<double> z;
    std::exponential_distribution<double> e;
    std::vector<double> x(static_cast<std::size_t>(n));
    for (auto& v : x) v = std::exp(mu + sigma * z(g) + e(g) / a - (std::isinf(b) ? 0 : e(g) / b));
    return x;
}

std::vector<double> LognormalParetoSample(const LognormalParetoLaw& m, int n, std::uint64_t seed) {
    std::mt19937_64 g(seed);
    std::uniform_real_distribution<double> u;
    std::normal_distribution<double> z;
    const double w = m.BodyWeight();
    std::vector<double> x;
    while (static_cast<int>(x.size()) < n) {
        const double pick = u(g);
        if (pick < w && m.s == 0) {
            x.push_back(m.t * std::pow(u(g), 1 / m.b));  // the power-law body b x^(b-1) / t^b
        } else if (pick < w) {
            const double v = std::exp(m.Mu() + m.Sigma() * z(g));
            if (v < m.t) x.push_back(v);  // the body truncated at t by rejection
        } else {
            x.push_back(m.t * std::pow(1 - u(g), -1 / m.alpha));
        }
    }
    return x;
}

}  // namespace

TEST(DistFit, SeededSamplesGiveBackTheirParameters) {
    struct Case {
        const char* name;
        std::vector<double> x;
        Law law;
        double mu, sigma, alpha, beta, tolerance;  // tolerance on each parameter, about 4 standard errors
    };
    const LognormalParetoLaw lp = LognormalParetoFrom(8.5, 1.0, 1.1, std::exp(10.0));
    std::lognormal_distribution<double> ln(8.2, 1.3);
    std::mt19937_64 g(7);
    std::vector<double> lnSample(4000);
    for (auto& v : lnSample) v = ln(g);
    const std::vector<Case> cases = {
        {"lognormal", lnSample, Law::Lognormal, 8.2, 1.3, NAN, NAN, 0.1},
        {"dpln", DplnSample(8.0, 0.5, 1.3, 2.5, 20000, 11), Law::Dpln, 8.0, 0.5, 1.3, 2.5, 0.35},
        {"lognormal-pareto", LognormalParetoSample(lp, 8000, 13), Law::LognormalPareto, 8.5, 1.0, 1.1, NAN, 0.15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const SizeSample s = MakeSample(c.x);
        const LawFit f = c.law == Law::Lognormal ? FitLognormal(s) : c.law == Law::Dpln ? FitDpln(s) : FitLognormalPareto(s);
        ASSERT_TRUE(f.ok) << f.reason;
        const bool ln = c.law == Law::Lognormal, dp = c.law == Law::Dpln;
        EXPECT_NEAR(ln ? f.lognormal.mu : dp ? f.dpln.mu : f.lp.Mu(), c.mu, c.tolerance);
        EXPECT_NEAR(ln ? f.lognormal.sigma : dp ? f.dpln.sigma : f.lp.Sigma(), c.sigma, c.tolerance);
        if (!ln) { EXPECT_NEAR(dp ? f.dpln.alpha : f.lp.alpha, c.alpha, c.tolerance); }
        if (dp) { EXPECT_NEAR(f.dpln.beta, c.beta, c.tolerance * 2); }
        if (!ln && !dp) { EXPECT_NEAR(std::log(f.lp.t), 10.0, 0.3); }
        // The fitted law is near the sample's: KS within the 1% critical value 1.63 / sqrt(n).
        EXPECT_LT(f.ks, 1.63 / std::sqrt(s.n));
    }
}

TEST(DistFit, MaximaOnTheBoundaryAreFoundAsTheirLimits) {
    // A Pareto sample: the DPLN's maximum is sigma = 0 with no lower tail (beta infinite),
    // alpha = n / sum ln(x / x_min) and mu = ln x_min (the Pareto MLE, by hand below).
    std::vector<double> pareto = DplnSample(std::log(5000.0), 0, 1.2, Infinity, 3000, 21);
    const SizeSample p = MakeSample(pareto);
    const LawFit d = FitDpln(p);
    ASSERT_TRUE(d.ok);
    double sum = 0;
    for (double v : p.x) sum += std::log(v / p.x.front());
    EXPECT_TRUE(d.dpln.sigma == 0 && std::isinf(d.dpln.beta) && !d.limit.empty()) << d.dpln.sigma << " " << d.dpln.beta;
    EXPECT_NEAR(d.dpln.alpha, p.n / sum, 1e-9);
    EXPECT_NEAR(d.dpln.mu, std::log(p.x.front()), 1e-12);

    // A body whose log-density is convex in ln x (two power laws below t = e^9, mixed), which
    // no lognormal body bends to: the lognormal-Pareto's supremum is the power-law body,
    // sigma -> inf. The parameters shown are finite, within 1e-6 of it.
    std::mt19937_64 g(23);
    std::exponential_distribution<double> e;
    std::uniform_real_distribution<double> u;
    std::vector<double> q;
    for (int i = 0; i < 5000; ++i) {
        const double pick = u(g);
        const double y = pick < 0.4 ? 9 - e(g) / 3 : pick < 0.6 ? 9 - e(g) / 0.7 : 9 + e(g) / 1.1;
        q.push_back(std::exp(y));
    }
    const SizeSample k = MakeSample(q);
    const LawFit f = FitLognormalPareto(k);
    ASSERT_TRUE(f.ok);
    EXPECT_TRUE(!f.limit.empty() && f.lp.Sigma() > 50 && f.lp.b > 0) << "sigma " << f.lp.Sigma() << ", b " << f.lp.b;
    LawFit limit = f;
    limit.lp.s = 0;
    double supremum = 0;
    for (double v : k.x) supremum += LogPdf(limit, v);
    EXPECT_GE(f.logL, supremum - 1e-6);
    EXPECT_LE(f.logL, supremum + 1e-9);
}

TEST(DistFit, SmallOrFlatSamplesPrintDashesWithTheReason) {
    std::vector<double> x;
    for (int i = 0; i < 19; ++i) x.push_back(1000.0 + 37 * i);
    const DistFitRow small = FitDistDate(x, 1850, 7, 10);
    EXPECT_EQ(small.reason, "19 places present, fewer than 20");
    for (const auto& f : small.fits) EXPECT_FALSE(f.ok);
    EXPECT_EQ(small.best, "-");
    x.push_back(5000);
    const DistFitRow enough = FitDistDate(x, 1850, 7, 10);
    EXPECT_TRUE(enough.reason.empty());
    for (const auto& f : enough.fits) EXPECT_TRUE(f.ok) << LawName(f.law) << ": " << f.reason;
    const DistFitRow flat = FitDistDate(std::vector<double>(30, 2500.0), 1850, 7, 10);
    for (const auto& f : flat.fits) EXPECT_FALSE(f.ok) << LawName(f.law);

    // The printed table: the reason below it, "-" for a parameter a law lacks (the columns and a
    // row of a date not fitted: DistFitCliTest).
    DistFitState state;
    state.rows = {small, enough};
    TextSurface text;
    PrintDistFit(state, text);
    const auto& fits = text.Tables.at(0);
    EXPECT_EQ((std::vector<std::string>{fits.rows[0][4], fits.rows[3][2], fits.rows[3][10], fits.rows[5][11]}),
              (std::vector<std::string>{"-", "20", "-", "-"}));  // small's logL; n, lognormal alpha, lognormal-pareto beta
    EXPECT_NE(fits.rows[5][12], "-");  // its switch point
    EXPECT_NE(text.ToString().find("1850: not fitted, 19 places present, fewer than 20"), std::string::npos);
}

TEST(DistFit, CurvatureTestOnStraightAndBentTails) {
    // Exact Pareto quantiles, x_i = (n / (i - 1/2))^(1/zeta): ln(rank - 1/2) is exactly linear in
    // ln x with slope -zeta, so q = 0 and b = -zeta.
    std::vector<double> straight;
    for (int i = 1; i <= 500; ++i) straight.push_back(std::pow(500.0 / (i - 0.5), 1 / 1.3));
    const CurvatureTest s = GabaixIbragimov(straight);
    ASSERT_TRUE(s.ok && !s.reject);
    EXPECT_NEAR(s.q, 0, 1e-9);
    EXPECT_NEAR(s.b, -1.3, 1e-9);
    // A lognormal's upper half bends down on the log-log plot: rejected.
    std::vector<double> bent;
    for (int i = 1; i <= 1000; ++i)  // quantiles of the upper half of a lognormal of 2000
        bent.push_back(std::exp(8 + 1.2 * std::sqrt(2.0) * boost::math::erfc_inv(2 * (i - 0.5) / 2000)));
    const CurvatureTest b = GabaixIbragimov(bent);
    EXPECT_TRUE(b.ok && b.q < 0 && b.reject) << b.q << " " << b.stat;
    EXPECT_FALSE(GabaixIbragimov(std::vector<double>(20, 7.0)).ok);
}

TEST(DistFit, VuongSignFavoursTheLawThatFits) {
    const std::vector<double> x = DplnSample(8.0, 0.3, 1.1, 2.0, 3000, 31);
    const LawFit truth = Fit(Law::Dpln, 8.0, 0.3, 1.1, 2.0), wrong = Fit(Law::Lognormal, 8.0, 1.0, 0, 0);
    const VuongResult v = Vuong(x, truth, wrong);
    EXPECT_TRUE(v.ok && v.z > 3 && v.p < 0.01) << v.z << " " << v.p;
    EXPECT_NEAR(Vuong(x, wrong, truth).z, -v.z, 1e-12);
    EXPECT_FALSE(Vuong(x, truth, truth).ok);  // the differences do not vary
}
