// Growth against size, against samples of known laws and an independent python3 script (numpy
// 1.26, scipy 1.11, statsmodels 0.14; USData.csv read as float32), 2026-12-07: per pair
// x = log(a[both]), g = log(b[both] / a[both]) / years; sm.OLS(g, sm.add_constant(x)).fit(
// cov_type="HC1") for beta and SE, p = 2 * st.t.sf(|t|, n - 2); st.spearmanr(g, x); pooled:
// x - x.mean(), (g - g.mean()) / g.std(ddof=1) per pair; h = 0.9 * min(x.std(ddof=1), iqr / 1.34)
// * n ** -0.2 on grid = np.linspace(np.percentile(x, 1), np.percentile(x, 99), 100) and
// KernelReg(gt, x, var_type="c", reg_type="lc", bw=[h]).fit(grid), likewise for gt ** 2.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <random>
#include <string>
#include <tuple>

#include "../TestForm.h"
#include "stats/Growth.h"
#include "core/GrowthModule.h"

namespace {

const DataSet& UsPlaces() {
    static const std::unique_ptr<Form> f = UsPlacesForm();
    return *f->data;
}

const DataSet& UsData() {
    static const std::unique_ptr<Form> f = FormWithRealData();
    return *f->data;
}

// A two-date table of n places: ln S ~ N(9, 1.2); growth per year slope * ln S + N(0.01, 0.02).
std::unique_ptr<DataSet> GibratTable(int n, double slope, unsigned seed) {
    auto d = std::make_unique<DataSet>();
    d->NumCities = static_cast<int16_t>(n);
    d->NumDates = 2;
    d->DateYear(1) = 2000;
    d->DateYear(2) = 2010;
    d->Exact = true;
    std::mt19937_64 rng(seed);
    std::normal_distribution<double> size(9, 1.2), noise(0.01, 0.02);
    for (int i = 0; i < n; ++i) {
        const double x = size(rng);
        d->Population.push_back(std::exp(x));
        d->Population.push_back(std::exp(x + 10 * (slope * (x - 9) + noise(rng))));
    }
    return d;
}

TEST(Growth, RegressionAgreesWithStatsmodelsAndScipy) {
    const struct {
        bool usPlaces;
        int from;  // first date of the pair; 0: pooled
        int n, entered, exited;
        double beta, se, p, rho, pRho;
    } cases[] = {
        {true, 1, 28, 13, 0, -0.0069010029066169541, 0.0050234731864716858, 0.18124837932210403,
         -0.23262178434592229, 0.23356498024516537},
        {true, 15, 3323, 633, 43, -0.0027631609379457846, 0.00030335725239164602, 1.4064120405355071e-19,
         -0.22825140989474588, 1.569161011027642e-40},
        {true, 22, 6475, 458, 443, -8.0955411938554895e-05, 0.00021292226936014494, 0.70380118929357449,
         0.057812998325832463, 3.2389240639711696e-06},
        {true, 0, 52279, 9917, 3012, -0.088098327056233564, 0.0049146808994008041, 1.2222407073389504e-71,
         -0.052569744156771334, 2.5355256243044206e-33},
        {false, 6, 83, 18, 18, 4.4185473875190144e-05, 0.0036514062986928763, 0.9903748322512167,
         0.042798371185088779, 0.70084907293693832},
        {false, 17, 87, 14, 14, -0.0095740032841660407, 0.003020729831053216, 0.002123562572835927,
         -0.38118757745862791, 0.00026989548859703369},
        {false, 0, 1679, 0, 0, -0.11740411301844322, 0.027245407262295362, 1.7340892695389913e-05,
         -0.12548509173460479, 2.4906953790561449e-07},
    };
    for (const auto& c : cases) {
        const DataSet& d = c.usPlaces ? UsPlaces() : UsData();
        const GrowthRow r = Regress(c.from ? PairSample(d, c.from) : PooledSample(d));
        const std::string what = std::to_string(c.usPlaces) + " " + std::to_string(c.from);
        EXPECT_EQ(r.n, c.n) << what;
        EXPECT_TRUE(!c.entered || (r.entered == c.entered && r.exited == c.exited)) << what << ": " << r.entered << " " << r.exited;
        EXPECT_NEAR(r.beta, c.beta, 1e-10 * std::fabs(c.beta)) << what;
        EXPECT_NEAR(r.seBeta, c.se, 1e-10 * c.se) << what;
        EXPECT_NEAR(r.p, c.p, 1e-9 * c.p) << what;
        EXPECT_NEAR(r.spearman, c.rho, 1e-10 * std::fabs(c.rho)) << what;
        EXPECT_NEAR(r.pSpearman, c.pRho, 1e-8 * c.pRho) << what;
    }
}

TEST(Growth, SmallHelpersAgreeWithScipyAndNumpy) {
    // st.spearmanr([1,2,2,3,5,5,5,8], [3,1,4,1,5,9,2,6]): ties in both, 0.5495502618648208,
    // p 0.1582561276787799. np.percentile of the second list at 1, 2.5, 97.5: 1, 1, 8.475.
    const RankCorrelation rc = Spearman({1, 2, 2, 3, 5, 5, 5, 8}, {3, 1, 4, 1, 5, 9, 2, 6});
    EXPECT_NEAR(rc.rho, 0.5495502618648208, 1e-13);
    EXPECT_NEAR(rc.p, 0.1582561276787799, 1e-12);
    const std::vector<double> v{3, 1, 4, 1, 5, 9, 2, 6};
    EXPECT_DOUBLE_EQ(Percentile(v, 2.5), 1);
    EXPECT_DOUBLE_EQ(Percentile(v, 97.5), 8.475);
    EXPECT_DOUBLE_EQ(Percentile(v, 25), 1.75);
    // An absent end or no time between is no growth (the rate itself: the regression above).
    for (const auto& [from, to, years] : {std::tuple{0, 2000, 10}, {1000, 0, 10}, {1000, 2000, 0}})
        EXPECT_TRUE(std::isnan(GrowthRate(from, to, years))) << from << " " << to << " " << years;
}

TEST(Growth, KernelCurvesAgreeWithStatsmodels) {
    const struct {
        bool usPlaces;
        int from;
        double h;
        int j;
        double grid, mean, sd;
    } cases[] = {
        {true, 21, 0.17849173965140644, 0, 6.6205797865040736, 0.17475574176598477, 0.99881134740302824},
        {true, 21, 0.17849173965140644, 50, 9.5283205328649458, -0.011299749680103936, 0.89268683036781526},
        {true, 21, 0.17849173965140644, 99, 12.377906464298599, -0.10208232889894381, 0.61643622104886164},
        {false, 17, 0.27976373727729759, 1, 11.627200870983158, 0.51484556481467614, 1.3532064992186366},
        {false, 17, 0.27976373727729759, 75, 14.333580247989341, -0.49217995592947433, 0.57966562265277477},
        {false, 17, 0.27976373727729759, 99, 15.211324910802157, -0.6231080117288964, 0.19580165123867838},
    };
    GrowthOptions o;
    o.replicates = 0;
    for (const auto& c : cases) {
        const GrowthCurves k = KernelCurves(PairSample(c.usPlaces ? UsPlaces() : UsData(), c.from), o);
        ASSERT_EQ(k.grid.size(), 100u);
        EXPECT_NEAR(k.h, c.h, 1e-12) << c.from;
        EXPECT_NEAR(k.grid[c.j], c.grid, 1e-12) << c.from << " " << c.j;
        EXPECT_NEAR(k.mean[c.j], c.mean, 1e-10) << c.from << " " << c.j;
        EXPECT_NEAR(k.sd[c.j], c.sd, 1e-10) << c.from << " " << c.j;
        EXPECT_TRUE(std::isnan(k.meanLo[c.j]));  // no bootstrap, no band
    }
}

TEST(Growth, TruncatedKernelAndThreadsLeaveTheCurvesAsTheyAre) {
    // us-places' largest pair: the kernel cut at 9 h against every term, one thread against two.
    const GrowthSample s = PairSample(UsPlaces(), 22);
    GrowthOptions cut, full, oneThread;
    cut.replicates = full.replicates = oneThread.replicates = 40;
    full.cutoff = 0;
    cut.threads = full.threads = 2;
    oneThread.threads = 1;
    const GrowthCurves a = KernelCurves(s, cut), b = KernelCurves(s, full), c = KernelCurves(s, oneThread);
    for (std::size_t j = 0; j < a.grid.size(); ++j)
        for (auto m : {&GrowthCurves::mean, &GrowthCurves::meanLo, &GrowthCurves::meanHi, &GrowthCurves::sd,
                       &GrowthCurves::sdLo, &GrowthCurves::sdHi}) {
            EXPECT_NEAR((a.*m)[j], (b.*m)[j], 1e-6) << j;
            EXPECT_EQ((a.*m)[j], (c.*m)[j]) << j;
        }
}

TEST(Growth, BandsCoverGibratAndMissASizeEffect) {
    // Gibrat: the mean's band covers 0 and the spread's covers 1 at >= 90 % of the grid; growth
    // falling 0.01 a year per unit of ln S (half a sd of g): the mean's band mostly leaves 0.
    const struct {
        double slope, minCover, maxCover;
    } cases[] = {{0.0, 0.9, 1.0}, {-0.01, 0.0, 0.3}};
    GrowthOptions o;
    o.replicates = 200;
    for (const auto& c : cases) {
        const GrowthCurves k = KernelCurves(PairSample(*GibratTable(3000, c.slope, 7), 1), o);
        int mean = 0, spread = 0;
        for (std::size_t j = 0; j < k.grid.size(); ++j) {
            mean += k.meanLo[j] <= 0 && 0 <= k.meanHi[j];
            spread += k.sdLo[j] <= 1 && 1 <= k.sdHi[j];
        }
        EXPECT_TRUE(mean / 100.0 >= c.minCover && mean / 100.0 <= c.maxCover) << c.slope << ": " << mean;
        EXPECT_TRUE(c.slope != 0 || spread >= 90) << spread;
    }
    // An endless kernel averages the whole replicate: normalised mean 0, mean square (n - 1) / n.
    o.bandwidth = 1e5;
    const GrowthCurves wide = KernelCurves(PairSample(*GibratTable(500, 0, 3), 1), o);
    for (std::size_t j = 0; j < wide.grid.size(); ++j)
        for (double v : {wide.meanLo[j], wide.meanHi[j], wide.sdLo[j] - std::sqrt(499.0 / 500), wide.sdHi[j] - std::sqrt(499.0 / 500)})
            EXPECT_NEAR(v, 0, 1e-6) << j;
}

TEST(Growth, CommandsOfferThePairsAndPooled) {
    auto f = FormWithRealData();
    f->Module<GrowthModule>().options.replicates = 20;
    f->Click("Growth");
    ASSERT_EQ(f->Text.Tables.size(), 1u);
    EXPECT_EQ(f->Text.Tables[0].rows.size(), 22u);  // 21 pairs and Pooled
    // Cancel in the middle of the bootstrap leaves Growth's table as it was.
    f->ChooseText("Dates", "1950");
    f->Module<GrowthModule>().options.replicates = 5000;
    f->runLongFit = [](const auto& work) {
        std::atomic<bool> cancel{false};
        work(TailFitControl{[&](long done, long) { cancel = done >= 5; }, &cancel});
    };
    EXPECT_NE(ErrorOf(*f, "GrowthPlot").find("cancelled"), std::string::npos);
    EXPECT_EQ(f->Text.Tables[0].columns[0], "From");
    f->runLongFit = nullptr;
    f->Module<GrowthModule>().options.replicates = 20;
    for (const char* entry : {"1950", "Pooled"}) {
        f->ChooseText("Dates", entry);
        EXPECT_EQ(ErrorOf(*f, "GrowthPlot"), "no error") << entry;
        ASSERT_EQ(f->Text.Tables.size(), 1u);
        const auto& t = f->Text.Tables[0];
        EXPECT_EQ(t.columns, (std::vector<std::string>{"lnS", "Mean", "Mean_lo", "Mean_hi", "SD", "SD_lo", "SD_hi"}));
        EXPECT_EQ(t.rows.size(), 100u);
    }
}

}  // namespace
