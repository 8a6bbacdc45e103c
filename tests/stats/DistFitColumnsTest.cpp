// Dist-Fit's table by column name: each law's parameters under their own headers, alpha the
// upper tail's exponent and beta the lower one's, and k, AIC and BIC agreeing on every row.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "draw/TextSurface.h"
#include "stats/DistFit.h"

namespace {

// A double Pareto-lognormal sample by Reed's construction, ln X = mu + sigma Z + E1/alpha - E2/beta
// (Z normal, E1 and E2 unit exponentials), with alpha = 1.2 (upper tail) and beta = 4 (lower).
std::vector<double> DplnSample(int n) {
    std::mt19937 g(20260107);
    auto u = [&] { return (g() + 0.5) / 4294967296.0; };
    std::vector<double> x;
    for (int i = 0; i < n; ++i) {
        const double z = std::sqrt(-2 * std::log(u())) * std::cos(6.283185307179586 * u());
        x.push_back(std::exp(8 + 0.5 * z - std::log(u()) / 1.2 + std::log(u()) / 4));
    }
    return x;
}

double Cell(const ResultTable& t, std::size_t row, const std::string& column) {
    const auto c = std::find(t.columns.begin(), t.columns.end(), column) - t.columns.begin();
    const std::string& s = t.rows[row][static_cast<std::size_t>(c)];
    return s == "-" ? NAN : std::stod(s);
}

TEST(DistFitColumns, ParametersSitUnderTheirOwnHeadersAndCriteriaAgreeWithK) {
    DistFitState state;
    state.rows.push_back(FitDistDate(DplnSample(1500), 2000, 1, 10));
    TextSurface text;
    PrintDistFit(state, text);
    ASSERT_FALSE(text.Tables.empty());
    const ResultTable& t = text.Tables[0];
    ASSERT_EQ(t.rows.size(), 3u);
    // k as the README gives it: lognormal 2 (mu, sigma), dpln 4, lognormal-pareto 4 (mu, sigma, alpha, t).
    const struct {
        const char* model;
        int k;
        bool alpha, beta, sw;  // which of alpha, beta, switch apply
    } laws[] = {{"lognormal", 2, false, false, false}, {"dpln", 4, true, true, false}, {"lognormal-pareto", 4, true, false, true}};
    for (std::size_t r = 0; r < 3; ++r) {
        SCOPED_TRACE(laws[r].model);
        const auto model = std::find(t.columns.begin(), t.columns.end(), "Model") - t.columns.begin();
        EXPECT_EQ(t.rows[r][static_cast<std::size_t>(model)], laws[r].model);
        const double k = Cell(t, r, "k"), n = Cell(t, r, "n"), logL = Cell(t, r, "logL");
        EXPECT_EQ(k, laws[r].k);
        EXPECT_EQ(n, 1500);
        EXPECT_NEAR(Cell(t, r, "AIC"), 2 * k - 2 * logL, 1e-6 * std::fabs(logL));
        EXPECT_NEAR(Cell(t, r, "BIC"), k * std::log(n) - 2 * logL, 1e-6 * std::fabs(logL));
        EXPECT_EQ(std::isnan(Cell(t, r, "alpha")), !laws[r].alpha);
        EXPECT_EQ(std::isnan(Cell(t, r, "beta")), !laws[r].beta);
        EXPECT_EQ(std::isnan(Cell(t, r, "switch")), !laws[r].sw);
        EXPECT_FALSE(std::isnan(Cell(t, r, "mu")));
    }
    // The sample was drawn with alpha 1.2 and beta 4: the fit lands near them, each in its column.
    EXPECT_NEAR(Cell(t, 1, "alpha"), 1.2, 0.3);
    EXPECT_NEAR(Cell(t, 1, "beta"), 4, 1.5);
    EXPECT_NEAR(Cell(t, 1, "sigma"), 0.5, 0.25);
    // The lognormal's mu and sigma are the mean and divisor-n sd of ln x, worked here.
    const auto x = DplnSample(1500);
    double m = 0, v = 0;
    for (double xi : x) m += std::log(xi) / x.size();
    for (double xi : x) v += (std::log(xi) - m) * (std::log(xi) - m) / x.size();
    EXPECT_NEAR(Cell(t, 0, "mu"), m, 1e-5 * m);
    EXPECT_NEAR(Cell(t, 0, "sigma"), std::sqrt(v), 1e-5);
}

}  // namespace
