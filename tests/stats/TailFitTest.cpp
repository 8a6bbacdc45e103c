// The tail estimators against hand computations, samples of known laws, and R's poweRlaw.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "TestForm.h"
#include "stats/TailFit.h"

namespace {

// n values from the power law of exponent alpha above xmin, ascending, by the inverse CDF.
std::vector<double> PowerLawSample(int n, double alpha, double xmin, unsigned seed) {
    std::mt19937_64 g(seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<double> x(n);
    for (auto& v : x) v = xmin * std::pow(1.0 - u(g), -1.0 / (alpha - 1.0));
    std::sort(x.begin(), x.end());
    return x;
}

TEST(TailFit, RankHalfOnExactZipf) {
    // x_i = C / i. n = 2 by hand: the slope through two points is -ln 3 / ln 2 and
    // SE = zeta * sqrt(2/2). n = 3 and 1000 from R 4.2, 2026-12-06:
    // i <- 1:n; x <- 5e6/i; -coef(lm(log(i-0.5) ~ log(x)))[2]
    const struct {
        int n;
        double zeta, se;
    } cases[] = {{2, std::log(3.0) / std::log(2.0), std::log(3.0) / std::log(2.0)},
                 {3, 1.47789417838939, 1.20669554362793},
                 {1000, 1.01214642821087, 0.0452645643332625}};
    for (const auto& c : cases) {
        std::vector<double> x;
        for (int i = c.n; i >= 1; --i) x.push_back(5e6 / i);  // order must not matter
        const RankHalfFit f = FitRankHalf(x);
        EXPECT_NEAR(f.zeta, c.zeta, 1e-12) << c.n;
        EXPECT_NEAR(f.se, c.se, 1e-12) << c.n;
    }
}

TEST(TailFit, TruncatedLognormalRecoversItsParameters) {
    // Lognormal(mu = 10, sigma = 1.5) kept above its median: half the sample, truncated.
    std::mt19937_64 g(11);
    std::lognormal_distribution<double> ln(10.0, 1.5);
    const double xmin = std::exp(10.0);
    std::vector<double> tail;
    while (tail.size() < 4000)
        if (double v = ln(g); v >= xmin) tail.push_back(v);
    const LognormalFit f = FitTruncatedLognormal(tail, xmin);
    EXPECT_TRUE(std::fabs(f.mu - 10.0) < 0.1 && std::fabs(f.sigma - 1.5) < 0.06) << f.mu << " " << f.sigma;
}

TEST(TailFit, BootstrapIsReproducibleWhateverTheThreads) {
    const auto x = PowerLawSample(300, 2.2, 1.0, 3);
    const PowerLawFit f = FitPowerLaw(x, 10);
    EXPECT_FALSE(FitPowerLaw(std::vector<double>{2, 2, 2}, 2).ok);  // no spread, no fit
    BootstrapOptions o;
    o.replicates = 60;
    o.seed = 42;
    o.threads = 1;
    const double one = BootstrapP(x, f, o);
    o.threads = 2;
    EXPECT_EQ(BootstrapP(x, f, o), one);
    EXPECT_GT(one, 0.05);  // the sample is a power law: it must not be rejected
}

// The plain search: every distinct candidate's full KS distance, the first smallest kept. The fast
// search must agree bit for bit whatever candidate it tries first.
PowerLawFit PlainSearch(const std::vector<double>& x, int minTail) {
    PowerLawFit best;
    best.D = INFINITY;
    const int n = static_cast<int>(x.size());
    for (int i = 0; i + minTail <= n; ++i) {
        if (i > 0 && x[i] == x[i - 1]) continue;
        const int nt = n - i;
        double logSum = 0;
        for (int j = n - 1; j >= i; --j) logSum += std::log(x[j]);
        logSum -= nt * std::log(x[i]);
        if (!(logSum > 0)) continue;
        const double alpha = 1.0 + nt / logSum, e = 1.0 - alpha;
        double d = 0;
        for (int j = i; j < n; ++j)
            d = std::max(d, std::fabs(static_cast<double>(j - i) / nt -
                                      -std::expm1(e * (std::log(x[j]) - std::log(x[i])))));
        if (d < best.D) {
            best.D = d;
            best.xmin = x[i];
            best.alpha = alpha;
            best.nTail = nt;
        }
    }
    return best;
}

TEST(TailFit, SearchOrderNeverChangesTheFit) {
    std::vector<std::vector<double>> samples = {PowerLawSample(400, 2.1, 10.0, 7), PowerLawSample(60, 3.0, 1.0, 8)};
    // Rounded to whole numbers: runs of equal values, where the tie rule decides.
    auto rounded = PowerLawSample(500, 1.8, 3.0, 9);
    for (auto& v : rounded) v = std::round(v);
    samples.push_back(rounded);
    // A lognormal body under a power-law tail, the shape of a settlement list.
    std::mt19937_64 g(10);
    std::lognormal_distribution<double> ln(6.0, 1.0);
    auto mixed = PowerLawSample(150, 2.0, 2000.0, 11);
    for (int k = 0; k < 600; ++k) mixed.push_back(std::floor(std::min(ln(g), 1999.0)) + 1);
    std::sort(mixed.begin(), mixed.end());
    samples.push_back(mixed);
    for (std::size_t s = 0; s < samples.size(); ++s) {
        const auto& x = samples[s];
        const PowerLawFit plain = PlainSearch(x, 10);
        for (int hint = -1; hint < static_cast<int>(x.size()); hint += 1 + static_cast<int>(x.size()) / 37) {
            const PowerLawFit f = FitPowerLaw(x, 10, nullptr, hint);
            EXPECT_EQ(std::tie(f.D, f.xmin, f.alpha, f.nTail), std::tie(plain.D, plain.xmin, plain.alpha, plain.nTail))
                << s << " hint " << hint;
        }
    }
}

TEST(TailFit, ADateWithTooFewCitiesKeepsItsRowAndSaysWhy) {
    // Three cities; 1800 has two present: 1790 is fitted, 1800 keeps its year and n, no numbers.
    auto d = LoadDataText("\"A\",5000,9000\r\n\"B\",3000,4000\r\n\"C\",2600,0\r\n", "small.csv", 3, 2);
    TextSurface text;
    TailFitOptions o;
    o.minTail = 3;
    o.replicates = 0;
    const TailFitState s = FitAllDates(*d, o);
    ASSERT_EQ(s.rows.size(), 2u);
    EXPECT_TRUE(s.rows[0].reason.empty() && s.rows[1].n == 2);
    EXPECT_EQ(s.rows[1].reason, "2 places present, fewer than the 3 a tail needs");
    PrintTailFit(s, text);  // the "Not fitted" line below: CliTest
    const std::string csv = text.Tables[0].ToCsv();
    EXPECT_EQ(csv.substr(csv.rfind("1800")), "1800,2,,,,,,,,,,,\r\n");
    // When no date can be fitted the command stops and prints nothing.
    o.minTail = 4;
    TextSurface none;
    const std::string why = Thrown([&] { PrintTailFit(FitAllDates(*d, o), none); });
    EXPECT_NE(why.find("no date can be fitted (1790: 3 places present"), std::string::npos) << why;
    EXPECT_TRUE(none.Lines().empty() && none.Tables.empty());
}

TEST(TailFit, CancelAndProgress) {
    auto d = LoadDataFile(std::string(CITYSIZE_REAL_DATA) + "/" + DataFileName);
    TailFitOptions o;
    o.replicates = 5;
    std::vector<long> seen;
    TailFitControl c;
    c.progress = [&](long done, long total) { seen.push_back(total == 22 * 6 ? done : -1); };
    FitAllDates(*d, o, c);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()) && seen.front() >= 0);
    EXPECT_EQ(seen.back(), 22 * 6);
    std::atomic<bool> cancel{true};
    c.cancel = &cancel;
    EXPECT_THROW(FitAllDates(*d, o, c), FitCancelled);
}

TEST(TailFit, AgreesWithPoweRlawOnUsData) {
    // R poweRlaw 0.70.6, 2026-12-06, x = the year's nonzero populations of USData.csv:
    // m <- conpl$new(x); est <- estimate_xmin(m, xmax = Inf)  -> est$xmin, est$pars, est$gof
    // bootstrap_p(m, no_of_sims = 500, threads = 2, xmax = Inf)$p (set.seed(1)) -> 0.208 for 1850.
    // poweRlaw maximises the likelihood numerically, so alpha agrees to about 1e-7.
    const struct {
        int year;
        double xmin, alpha, D;
    } cases[] = {{1800, 4049, 2.4498651423898461, 0.11132440115251707},
                 {1850, 8122, 2.1026573954894983, 0.06688600159482308},
                 {1950, 299017, 2.391143486833748, 0.064817362340856388},
                 {2000, 328014, 2.5975157091612577, 0.052776478624024348}};
    auto d = LoadDataFile(std::string(CITYSIZE_REAL_DATA) + "/" + DataFileName);
    TailFitOptions o;
    o.replicates = 0;
    const TailFitState s = FitAllDates(*d, o);
    for (const auto& c : cases) {
        const TailFitRow& r = s.rows[(c.year - 1790) / 10];
        ASSERT_EQ(r.year, c.year);
        EXPECT_TRUE(r.pl.xmin == c.xmin && !r.pBoot.has_value()) << c.year << ": " << r.pl.xmin;
        EXPECT_NEAR(r.pl.alpha, c.alpha, 1e-6) << c.year;
        EXPECT_NEAR(r.pl.D, c.D, 1e-6) << c.year;
    }
    // The bootstrap of 1850 (1000 replicates) within sampling error of poweRlaw's 500.
    o.replicates = 1000;
    const auto x = PresentPopulations(*d, 7);
    EXPECT_NEAR(*FitDate(x, 1850, 7, o).pBoot, 0.208, 0.07);
    // poweRlaw's lognormal for 1850 (conlnorm, setXmin(8122), estimate_pars): mu 2.471482021,
    // sigma 2.747235981. The likelihood is flat along a ridge there; ours must be no lower.
    const TailFitRow& r1850 = s.rows[6];
    double theirs = 0;
    for (double v : x)
        if (v >= r1850.pl.xmin) theirs += TruncatedLognormalLogPdf(v, r1850.pl.xmin, 2.471482021, 2.747235981);
    EXPECT_GE(r1850.lognormal.logLik, theirs - 1e-9);
}

}  // namespace
