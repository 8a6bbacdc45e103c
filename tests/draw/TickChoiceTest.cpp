// The ticks a person would draw: a step of 1, 2 or 5 times a power of ten giving about six
// ticks, each labelled with its own value; on log axes the powers of ten, with 2 and 5 times
// them when only two powers are in view.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "draw/Ticks.h"

namespace {

// A label's value: "250k" is 250000, "1.5m" 1500000.
double LabelValue(const std::string& s) {
    const char last = s.back();
    const double scale = last == 'k' ? 1e3 : last == 'm' ? 1e6 : 1;
    return std::stod(scale == 1 ? s : s.substr(0, s.size() - 1)) * scale;
}

struct Range {
    double lo, hi;
    std::vector<double> ticks;  // worked by hand: the range over 6 rounded up to 1, 2 or 5 x 10^k
};

TEST(TickChoice, LinearRangesGetRoundSteps) {
    const std::vector<Range> cases = {
        {0, 6, {0, 1, 2, 3, 4, 5, 6}},                     // 6/6 = 1: step 1
        {0, 10, {0, 2, 4, 6, 8, 10}},                      // 1.67 -> 2
        {0, 1, {0, 0.2, 0.4, 0.6, 0.8, 1}},                // 0.167 -> 0.2
        {3, 97, {20, 40, 60, 80}},                         // 15.7 -> 20
        {0.2, 0.9, {0.2, 0.4, 0.6, 0.8}},                 // 0.117 -> 0.2
        {-1, 1, {-1, -0.5, 0, 0.5, 1}},                    // 0.33 -> 0.5
        {0, 250000, {0, 50000, 100000, 150000, 200000, 250000}},  // 41667 -> 50000
        {1790, 2000, {1800, 1850, 1900, 1950, 2000}},      // 35 -> 50
    };
    for (const Range& c : cases) {
        SCOPED_TRACE(std::to_string(c.lo) + " to " + std::to_string(c.hi));
        const auto t = LinearTicks(c.lo, c.hi);
        ASSERT_EQ(t.size(), c.ticks.size());
        for (std::size_t k = 0; k < t.size(); ++k) {
            EXPECT_NEAR(t[k].at, c.ticks[k], 1e-9);
            EXPECT_NEAR(LabelValue(t[k].label), c.ticks[k], 1e-9) << t[k].label;
        }
    }
    const auto big = LinearTicks(0, 250000);
    EXPECT_EQ(big[1].label, "50k");
    EXPECT_EQ(big[5].label, "250k");
}

struct LogRange {
    double lo, hi;
    std::vector<double> ticks;
};

TEST(TickChoice, LogRangesGetPowersOfTenAndTwoAndFiveBetween) {
    const std::vector<LogRange> cases = {
        {4, 600, {5, 10, 20, 50, 100, 200, 500}},        // two powers in view: 2 and 5 times them too
        {1, 10000, {1, 10, 100, 1000, 10000}},           // five powers: powers only
        {30, 3000, {50, 100, 200, 500, 1000, 2000}},     // 100 and 1000 in view
    };
    for (const LogRange& c : cases) {
        SCOPED_TRACE(std::to_string(c.lo) + " to " + std::to_string(c.hi));
        const auto t = LogTicksIn(std::log(c.lo), std::log(c.hi));
        ASSERT_EQ(t.size(), c.ticks.size());
        for (std::size_t k = 0; k < t.size(); ++k) {
            EXPECT_NEAR(std::exp(t[k].at), c.ticks[k], 1e-6 * c.ticks[k]);
            EXPECT_NEAR(LabelValue(t[k].label), c.ticks[k], 1e-9) << t[k].label;
        }
    }
    const auto whole = LogTicks(std::log(5000.0));
    ASSERT_EQ(whole.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) EXPECT_NEAR(std::exp(whole[k].at), std::pow(10.0, k), 1e-9 * std::pow(10.0, k));
}

}  // namespace
