// Rank mobility: Kendall's tau_b and its test, entries and exits, the rank-class matrix.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "TestForm.h"
#include "stats/Mobility.h"

namespace {

// Worked by hand over the n(n-1)/2 pairs; C concordant, D discordant, ties in neither count.
//  a: no ties, one discordant pair: C=5, D=1, tau = 4/6; Var S = 4*3*13/18 = 8.667.
//  b: x tied in (1,2), y tied in (2,3): C=4, D=0, n1=n2=1, tau_b = 4/sqrt(5*5) = 0.8;
//     Var S = (156 - 18 - 18)/18 + 2*2/(2*12) = 6.833.
//  c: x groups 3+2, y groups 2+2+1: C=1, D=3, n1=4, n2=2, tau_b = -2/sqrt(6*8);
//     Var S = (300 - 84 - 36)/18 + 8*4/(2*20) + 6*0 = 10.8.
//  d: a three-way tie on both sides, the same three pairs: S = 6-3-3+3 = 3, tau_b = 3/sqrt(3*3) = 1;
//     Var S = (156 - 66 - 66)/18 + 6*6/24 + 6*6/(9*24) = 3.
// z = S / sqrt(Var S), p = erfc(|z|/sqrt 2) (the p agree with scipy.stats.kendalltau, asymptotic).
TEST(Mobility, KendallTauBOnHandWorkedCases) {
    struct Case {
        std::vector<double> x, y;
        double tau, z, p;
    };
    const Case cases[] = {
        {{1, 2, 3, 4}, {1, 3, 2, 4}, 4.0 / 6, 4 / std::sqrt(104.0 / 12), 0.17423138824802498},
        {{1, 1, 2, 3}, {1, 2, 2, 3}, 0.8, 4 / std::sqrt(41.0 / 6), 0.12597116307723114},
        {{1, 1, 1, 2, 2}, {1, 2, 3, 1, 2}, -2 / std::sqrt(48.0), -2 / std::sqrt(10.8), 0.5428024537573732},
        {{1, 1, 1, 2}, {1, 1, 1, 2}, 1.0, 3 / std::sqrt(3.0), 0.0832645166635504},
    };
    for (const Case& c : cases) {
        const KendallResult k = KendallTauB(c.x, c.y);
        EXPECT_NEAR(k.tau, c.tau, 1e-12);
        EXPECT_NEAR(k.z, c.z, 1e-12);
        EXPECT_NEAR(k.p, c.p, 1e-12);
        // Listing the pairs in another order changes nothing.
        const KendallResult r = KendallTauB(std::vector<double>(c.x.rbegin(), c.x.rend()),
                                            std::vector<double>(c.y.rbegin(), c.y.rend()));
        EXPECT_NEAR(r.tau, k.tau, 1e-12);
    }
}

// scipy 1.10.1, 2026-12-06: kendalltau(x, y, method='asymptotic') of the ranks (descending
// population, equal ones in file order) of the US cities present at both dates.
TEST(Mobility, UsPairsAgreeWithScipy) {
    auto f = FormWithRealData();
    const MobilityState s = ComputeMobility(*f->data, f->rank);
    ASSERT_EQ(s.pairs.size(), 21u);
    struct Fact {
        int pair, from, common, entries, exits;
        double tau, p, meanShift;
    };
    const Fact facts[] = {
        {0, 1790, 23, 10, 1, 0.7154150197628459, 1.7504024628947267e-06, 3.391304347826087},
        {15, 1940, 94, 7, 7, 0.8453443148021048, 1.5423606277496817e-33, 6.212765957446808},
        {20, 1990, 95, 6, 6, 0.8512877939529674, 2.414176734700976e-34, 5.536842105263158},
    };
    for (const Fact& e : facts) {
        const MobilityPair& m = s.pairs[static_cast<std::size_t>(e.pair)];
        EXPECT_EQ((std::vector<int>{m.fromYear, m.toYear, m.common, m.entries, m.exits}),
                  (std::vector<int>{e.from, e.from + 10, e.common, e.entries, e.exits}));
        EXPECT_NEAR(m.kendall.tau, e.tau, 1e-12);
        EXPECT_NEAR(m.kendall.p / e.p, 1.0, 1e-9);
        EXPECT_NEAR(m.meanShift, e.meanShift, 1e-5);
    }
}

// Five cities over 1790, 1800, 1810 (0 = absent):
//   1790: A 500, B 300, D 100        ranks A1 B2 D3
//   1800: A 400, C 200, D 100        ranks A1 C2 D3   C enters, B exits; A, D keep their ranks
//   1810: B 100, C 300, D 400, E 50  ranks D1 C2 B3 E4  B, E enter, A exits; C, D swap order
// 1790-1800: 1 entry, 1 exit of 4 cities, tau 1, shift 0; 1800-1810: 2 entries, 1 exit of 5,
// tau -1, shift (0 + 2)/2. All ranks are in the top 10: from it 4 stay and 2 leave; from
// outside 3 come in and 1 (E in 1790-1800) stays out. M = (2 - 4/6 - 1/4)/1, top-10 time 1/(1-4/6).
// With n = 2 and no ties Var S = 2*1*9/18 = 1, so z = S = tau and p = erfc(1/sqrt 2).
TEST(Mobility, CitiesThatComeAndGo) {
    auto f = FormWithData("\"A\",500,400,0\r\n\"B\",300,0,100\r\n\"C\",0,200,300\r\n\"D\",100,100,400\r\n"
                          "\"E\",0,0,50\r\n",
                          5, 3);
    const MobilityState s = ComputeMobility(*f->data, f->rank);
    ASSERT_EQ(s.pairs.size(), 2u);
    const double expected[2][6] = {{1, 1, 2, 1, 0.5, 0}, {2, 1, 2, -1, 0.6, 1}};  // entries, exits, common, tau, turnover, shift
    for (int i = 0; i < 2; ++i) {
        const MobilityPair& m = s.pairs[static_cast<std::size_t>(i)];
        EXPECT_EQ((std::vector<double>{double(m.entries), double(m.exits), double(m.common), m.kendall.tau, m.turnover,
                                       m.meanShift}),
                  std::vector<double>(expected[i], expected[i] + 6));
    }
    EXPECT_DOUBLE_EQ(s.share[0][0], 4.0 / 6);
    EXPECT_DOUBLE_EQ(s.share[OutsideClass][0], 3.0 / 4);
    EXPECT_EQ(s.rowCount[0] + s.rowCount[OutsideClass], 10);
    EXPECT_DOUBLE_EQ(s.shorrocks, 2 - 4.0 / 6 - 1.0 / 4);
    EXPECT_DOUBLE_EQ(s.topTenTime, 3.0);
}

TEST(Mobility, FewerThanTwoCommonCitiesIsAnError) {
    auto f = FormWithData("\"X\",100,0\r\n\"Y\",0,100\r\n\"Z\",50,50\r\n", 3, 2);
    EXPECT_EQ(Thrown([&] { ComputeMobility(*f->data, f->rank); }),
              "Mobility needs at least two cities present at both 1790 and 1800, but 1 is");
}

}  // namespace
