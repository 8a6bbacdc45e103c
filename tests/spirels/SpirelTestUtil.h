#pragma once
// Shared by the spirel tests: dots and where a radius lands on a face of 4 dates.
#include <cmath>
#include <gtest/gtest.h>

#include "draw/Picture.h"

inline bool IsDot(const DrawOp& op) { return op.x1 == op.x2 && op.y1 == op.y2; }

// Where radius r at date t of 4 lands (clockwise from straight up, centre 4500, 4500).
inline void ExpectAt(float x, float y, double r, int t) {
    const double a = 6.283185307179586 * (t - 1) / 3;
    EXPECT_NEAR(x, 4500 + r * std::sin(a), 0.05) << "r " << r << " date " << t;
    EXPECT_NEAR(y, 4500 - r * std::cos(a), 0.05) << "r " << r << " date " << t;
}
