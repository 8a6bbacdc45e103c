// The Markov chain of size classes against giddy's usjoin.csv example, the classes against mapclassify.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "PysalData.h"
#include "stats/MarkovChain.h"

namespace {

constexpr double Inf = std::numeric_limits<double>::infinity();

void ExpectNear(const std::vector<double>& got, const std::vector<double>& want, double tol, const char* what) {
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < want.size(); ++i)
        if (std::isinf(want[i])) EXPECT_TRUE(std::isinf(got[i])) << what << " [" << i << "] = " << got[i];
        else EXPECT_NEAR(got[i], want[i], tol) << what << " [" << i << "]";
}

void ExpectCounts(const MarkovResult& m, const double (&counts)[5][5]) {
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j) EXPECT_EQ(m.transitions.Counts(i, j), counts[i][j]) << i << "," << j;
}

std::vector<double> Sojourns(const MarkovResult& m) {
    std::vector<double> sojourn;
    for (int i = 0; i < 5; ++i) sojourn.push_back(SojournTime(m.p[static_cast<std::size_t>(i * 6)]));
    return sojourn;
}

// giddy/tests/test_markov.py (test_Markov), giddy/tests/test_mobility.py and the doctests of
// giddy.mobility.markov_mobility: Markov(q5) with q5 the mapclassify quintiles of each year.
TEST(MarkovChain, ReproducesGiddysQuintileChainOnUsIncomes) {
    const MarkovResult m = MarkovOf(RelativeSizes(UsJoin()), 5);
    ExpectCounts(m, {{729, 71, 1, 0, 0}, {72, 567, 80, 3, 0}, {0, 81, 631, 86, 2}, {0, 3, 86, 573, 56}, {0, 0, 1, 57, 741}});
    ExpectNear(m.p, {0.91011236, 0.0886392, 0.00124844, 0, 0, 0.09972299, 0.78531856, 0.11080332, 0.00415512, 0,
                     0, 0.10125, 0.78875, 0.1075, 0.0025, 0, 0.00417827, 0.11977716, 0.79805014, 0.07799443,
                     0, 0, 0.00125156, 0.07133917, 0.92740926}, 5e-9, "p");
    ASSERT_TRUE(m.steady);
    ExpectNear(*m.steady, {0.20774716, 0.18725774, 0.20740537, 0.18821787, 0.20937187}, 5e-9, "steady state");
    ExpectNear(m.firstPassage, {4.81354357, 11.50292712, 29.60921231, 53.38594954, 103.59816743,
                                42.04774505, 5.34023324, 18.74455332, 42.50023268, 92.71316899,
                                69.25849753, 27.21075248, 4.82147603, 25.27184624, 75.43305672,
                                84.90689329, 42.85914824, 17.18082642, 5.31299186, 51.60953369,
                                98.41295543, 56.36521038, 30.66046735, 14.21158356, 4.77619083}, 5e-8, "first passage");
    ExpectNear(Sojourns(m), {11.125, 4.65806452, 4.73372781, 4.95172414, 13.77586207}, 5e-8, "sojourn");
    EXPECT_NEAR(m.mobility.shorrocks, 0.19758992000997844, 1e-12);
    EXPECT_NEAR(m.mobility.shorrocksDet, 0.60684854623695594, 1e-12);
    EXPECT_NEAR(m.mobility.sommersConlisk, 0.039782002308159647, 1e-12);
    // B2 with giddy's example start distribution; the table uses a uniform start.
    EXPECT_NEAR(Mobility(m.p, 5, {0.1, 0.2, 0.2, 0.4, 0.1}).bartholomew, 0.046366601194789261, 1e-12);
}

// giddy's 1929 -> 1930 case (counts, sojourns): classes 1 and 4 absorb, so no steady state. Passage
// times by hand (infinite when never entered; giddy's fmpt ignores the leak to 4): m23 = 9;
// m24 = 1 + 8/9 m24 + 1/9 m34, m34 = 1 + 1/11 m24 + 9/11 m34 give 29, 20; m54 = 10; 2, 3, 5 transient.
TEST(MarkovChain, ReducibleChainHasNoSteadyStateAndInfinitePassages) {
    SizePanel two = UsJoin();
    SizePanel first;
    first.places = two.places, first.dates = 2, first.years = {1929, 1930};
    for (int i = 0; i < two.places; ++i) first.value.insert(first.value.end(), {two.At(i, 0), two.At(i, 1)});
    const MarkovResult m = MarkovOf(RelativeSizes(first), 5);
    ExpectCounts(m, {{10, 0, 0, 0, 0}, {0, 8, 1, 0, 0}, {0, 1, 9, 1, 0}, {0, 0, 0, 8, 0}, {0, 0, 0, 1, 9}});
    EXPECT_FALSE(m.steady);
    ExpectNear(m.firstPassage, {1, Inf, Inf, Inf, Inf, Inf, Inf, 9, 29, Inf, Inf, Inf, Inf, 20, Inf,
                                Inf, Inf, Inf, 1, Inf, Inf, Inf, Inf, 10, Inf}, 1e-9, "first passage");
    ExpectNear(Sojourns(m), {Inf, 9, 5.5, Inf, 10}, 1e-12, "sojourn");  // giddy's values
}

// P = [[1-a, a], [b, 1-b]]: pi = (b, a)/(a+b), m01 = 1/a, m10 = 1/b, returns 1/pi (textbook); by hand
// Shorrocks a + b, 1 - |det| = 1 - |lambda2| = 1 - |1 - a - b|, B2 = (a + b)/2.
TEST(MarkovChain, TwoStateChainMatchesClosedForms) {
    const double a = 0.2, b = 0.05;
    const std::vector<double> p = {1 - a, a, b, 1 - b};
    const auto pi = SteadyState(p, 2);
    ASSERT_TRUE(pi);
    ExpectNear(*pi, {b / (a + b), a / (a + b)}, 1e-12, "pi");
    ExpectNear(FirstPassageTimes(p, 2), {(a + b) / b, 1 / a, 1 / b, (a + b) / a}, 1e-12, "m");
    const MobilityIndices m = Mobility(p, 2);
    EXPECT_NEAR(m.shorrocks, a + b, 1e-12);
    EXPECT_NEAR(m.shorrocksDet, 1 - std::fabs(1 - a - b), 1e-12);
    EXPECT_NEAR(m.sommersConlisk, 1 - std::fabs(1 - a - b), 1e-12);
    EXPECT_NEAR(m.bartholomew, (a + b) / 2, 1e-12);
}

// A class with no transitions keeps a zero row in P but stays put in the long run: no steady state.
TEST(MarkovChain, EmptyClassKeepsZeroRow) {
    TransitionMatrix t(3);
    t.Count(0, 1, 3), t.Count(1, 0, 2), t.Count(0, 0, 1);
    EXPECT_EQ(t.RowCount(2), 0);
    for (int j = 0; j < 3; ++j) EXPECT_EQ(t.P(2, j), 0);
    EXPECT_DOUBLE_EQ(t.P(0, 1), 0.75);
    const std::vector<double> p = StochasticRows(t);
    EXPECT_EQ(p[8], 1.0);
    EXPECT_FALSE(SteadyState(p, 3));
}

// mapclassify.Quantiles (np.percentile at 100 j / K, unique edges, searchsorted "left"), by hand from h = (n - 1) j / K.
TEST(QuantileClasses, FollowMapclassifysRule) {
    struct Case {
        std::vector<double> x;
        int k;
        std::vector<double> edges;
        std::vector<int> classes;  // of x, in order
    } cases[] = {
        {{1, 2, 3, 4, 5}, 4, {2, 3, 4, 5}, {0, 0, 1, 2, 3}},               // h = j: a value on an edge goes lower
        {{40, 10, 30, 20}, 5, {16, 22, 28, 34, 40}, {4, 0, 3, 1}},         // h = 0.6 j: interpolated, unsorted input
        {{1, 1, 1, 1, 2}, 4, {1, 2}, {0, 0, 0, 0, 1}},                     // equal edges merge: two classes
        {{3, 3, 3}, 5, {3}, {0, 0, 0}},                                    // one value: one class
        {{0.5, 0.25}, 2, {0.375, 0.5}, {1, 0}},
    };
    for (const Case& c : cases) {
        const std::vector<double> edges = QuantileEdges(c.x, c.k);
        ExpectNear(edges, c.edges, 1e-12, "edges");
        for (std::size_t i = 0; i < c.x.size(); ++i) EXPECT_EQ(QuantileClass(edges, c.x[i]), c.classes[i]) << c.x[i];
    }
}

}  // namespace
