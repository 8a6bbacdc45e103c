// Spatial Markov and Moran's I against giddy and esda on their example data; LISA on built clusters.
#include <gtest/gtest.h>

#include <cmath>

#include "PysalData.h"
#include "stats/MoranGrowth.h"
#include "stats/SpatialMarkov.h"

namespace {

// giddy.markov.Spatial_Markov docstring: rpci = pci / pci.mean(axis=0), w = states48.gal
// row-standardised, fixed=True, k = m = 5: P[0] row 0, P[4] row 4 (its Q, LR and dof 60: MarkovModuleTest).
TEST(SpatialMarkov, ReproducesGiddysUsIncomeExample) {
    const SpatialWeights gal = ReadGal(std::string(CITYSIZE_TEST_DATA) + "/pysal/states48.gal", {}, 48);
    NeighbourRule rule;
    rule.gal = &gal;
    const SpatialMarkovResult s = SpatialMarkovOf(RelativeSizes(UsJoin()), rule, 5);
    const double lag1[3] = {0.96341463, 0.0304878, 0.00609756};
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(s.byLag[0].P(0, j), lag1[j], 5e-9);
    EXPECT_NEAR(s.byLag[4].P(4, 3), 0.02352941, 5e-9);
    EXPECT_NEAR(s.byLag[4].P(4, 4), 0.97647059, 5e-9);
    EXPECT_NEAR(s.byLag[4].P(0, 1), 0.66666667, 5e-9);
    EXPECT_TRUE(s.qP < 1e-3 && s.withoutNeighbours == 0) << s.qP << " " << s.withoutNeighbours;
}

// By hand: identical lag classes give Q = LR = 0, p = 1; rows (0.8, 0.2) and (0.2, 0.8) of 10
// against pooled (0.5, 0.5) give Q = 2 * 10 * (0.09 + 0.09) / 0.5 = 7.2, LR = 4 (8 ln 1.6 + 2 ln 0.4).
TEST(SpatialMarkov, HomogeneityTestsByHand) {
    SpatialMarkovResult s;
    s.k = 2;
    s.byLag.assign(2, TransitionMatrix(2));
    s.pooled = TransitionMatrix(2);
    for (auto& lag : s.byLag) lag.Count(1, 1, 5), lag.Count(1, 0, 5);
    s.pooled.Count(1, 1, 10), s.pooled.Count(1, 0, 10);
    HomogeneityTests(s);
    EXPECT_EQ(s.q, 0);
    EXPECT_EQ(s.lr, 0);
    EXPECT_NEAR(s.qP, 1, 1e-12);
    s.byLag[0].Count(0, 0, 8), s.byLag[0].Count(0, 1, 2);
    s.byLag[1].Count(0, 0, 2), s.byLag[1].Count(0, 1, 8);
    s.pooled.Count(0, 0, 10), s.pooled.Count(0, 1, 10);
    HomogeneityTests(s);
    EXPECT_NEAR(s.q, 7.2, 1e-12);
    EXPECT_NEAR(s.lr, 4 * (8 * std::log(1.6) + 2 * std::log(0.4)), 1e-12);
    EXPECT_EQ(s.df, 2);  // rows 0 and 1 each (2 - 1)(2 - 1)
}

// esda's Moran test (esda/tests/test_moran.py): St. Louis homicide rates HR8893 with stl.gal,
// row-standardised: I = 0.24365582621771659, p_norm two-sided 0.00027147862770937614
// (one-sided 0.00013573931385468807 in the newer test), EI = -1/77.
TEST(Moran, ReproducesEsdasStLouisHomicides) {
    const auto rows = PysalCsv("stl_hom.txt", 2);
    std::vector<double> y;
    for (const auto& r : rows) y.push_back(std::stod(r[2]));
    ASSERT_EQ(y.size(), 78u);
    const SpatialWeights w = ReadGal(std::string(CITYSIZE_TEST_DATA) + "/pysal/stl.gal", {}, 78);
    const MoranResult m = MoranI(y, w.neighbours, 999, 12345);
    EXPECT_NEAR(m.i, 0.24365582621771659, 1e-12);
    EXPECT_NEAR(m.ei, -1.0 / 77, 1e-15);
    EXPECT_NEAR(m.pNorm, 0.00027147862770937614, 1e-12);
    EXPECT_TRUE(m.pSim >= 0.001 && m.pSim <= 0.01) << m.pSim;  // near its floor, and seeded
    EXPECT_EQ(MoranI(y, w.neighbours, 999, 12345).pSim, m.pSim);
}

// One-way (nearest-neighbour) links, which esda's symmetric stl.gal lacks: the textbook variance on the dense matrix.
TEST(Moran, VarianceWithAsymmetricWeights) {
    const std::vector<double> y = {3, 1, 4, 1, 5, 9, 2, 6};
    const std::vector<std::vector<int>> nb = {{1}, {0, 2}, {1, 3}, {2}, {3, 5, 6}, {4}, {5, 7}, {6, 0}};
    const std::size_t n = y.size();
    std::vector<std::vector<double>> w(n, std::vector<double>(n, 0));
    for (std::size_t i = 0; i < n; ++i)
        for (int j : nb[i]) w[i][static_cast<std::size_t>(j)] = 1.0 / nb[i].size();
    double s0 = 0, s1 = 0, s2 = 0, mean = 0, num = 0, den = 0;
    for (double v : y) mean += v / n;
    for (std::size_t i = 0; i < n; ++i) {
        double row = 0, col = 0;
        for (std::size_t j = 0; j < n; ++j) {
            s0 += w[i][j];
            s1 += 0.5 * (w[i][j] + w[j][i]) * (w[i][j] + w[j][i]);
            row += w[i][j], col += w[j][i];
            num += w[i][j] * (y[i] - mean) * (y[j] - mean);
        }
        s2 += (row + col) * (row + col);
        den += (y[i] - mean) * (y[i] - mean);
    }
    const double nn = static_cast<double>(n * n), ei = -1.0 / (n - 1);
    const double vi = (nn * s1 - n * s2 + 3 * s0 * s0) / ((nn - 1) * s0 * s0) - ei * ei;
    const MoranResult m = MoranI(y, nb, 0, 1);
    EXPECT_NEAR(m.i, n / s0 * num / den, 1e-12);
    EXPECT_NEAR(m.vi, vi, 1e-12);
    EXPECT_NEAR(m.z, (m.i - ei) / std::sqrt(vi), 1e-12);
}

// 60 places on a line, 3 neighbours each side: 30 high then 30 low, place 10 low among the high and
// 45 high among the low (six random neighbours on one side: p about 1 in 100).
TEST(Lisa, FindsClustersAndOutliersBuiltIntoATable) {
    std::vector<double> y(60);
    std::vector<std::vector<int>> nb(60);
    for (int i = 0; i < 60; ++i) {
        y[static_cast<std::size_t>(i)] = (i < 30 ? 10.0 : 0.0) + 0.01 * (i % 3);
        for (int j = i - 3; j <= i + 3; ++j)
            if (j != i && j >= 0 && j < 60) nb[static_cast<std::size_t>(i)].push_back(j);
    }
    y[10] = 0, y[45] = 10;
    const std::vector<int> c = LisaClasses(y, nb, 999, 2026);
    EXPECT_EQ((std::vector<int>{c[20], c[52], c[10], c[45]}), (std::vector<int>{LisaHighHigh, LisaLowLow, LisaLowHigh, LisaHighLow}));
    EXPECT_EQ(LisaClasses(y, nb, 999, 2026), c);  // seeded
    EXPECT_TRUE(c[29] == LisaNone || c[29] == LisaHighHigh);
}

// The rate itself is checked against numpy in MarkovCliTest; a place absent, or no time, has none.
TEST(Moran, NoGrowthWithoutBothPopulationsAndTime) {
    EXPECT_TRUE(std::isnan(GrowthPercentPerYear(0, 2000, 10)) && std::isnan(GrowthPercentPerYear(1000, 2000, 0)));
}

}  // namespace
