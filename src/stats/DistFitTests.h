#pragma once
#include <span>

#include "stats/DistFit.h"

// The tests Dist-Fit reports beside the fits.

// Vuong's test of two non-nested fits on the same sample: z = sum(l1_i - l2_i) / (sqrt(n) sd),
// sd the divisor-n sd of the pointwise differences; p two-sided normal. Positive z favours
// the first. ok false when the differences do not vary.
struct VuongResult {
    bool ok = false;
    double z = 0, p = 1;
};
VuongResult Vuong(std::span<const double> sizes, const LawFit& first, const LawFit& second);

// Gabaix & Ibragimov's curvature test on the tail x >= xmin: least squares of ln(rank - 1/2)
// on ln S and (ln S - gamma)^2, gamma = cov((ln S)^2, ln S) / (2 var ln S); q the quadratic
// coefficient, b the linear one, stat = |q| / b^2 * sqrt(2 n_tail), rejected when > 1.95.
struct CurvatureTest {
    bool ok = false;
    double q = 0, b = 0, stat = 0;
    bool reject = false;
};
inline constexpr double CurvatureCritical = 1.95;
CurvatureTest GabaixIbragimov(std::span<const double> tail);
