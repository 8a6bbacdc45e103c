// Reading an axis back from a picture: its ticks, the labels' values, the twips-per-unit map.
#pragma once
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

struct DrawnTick {
    double value;     // on the axis's own scale (log of the label on a log axis)
    double position;  // twips along the axis
    std::string label;
};

// "250k" -> 250000, "1.5m" -> 1500000, "-0.02" -> -0.02.
inline double LabelValue(const std::string& s) {
    char* end = nullptr;
    double v = std::strtod(s.c_str(), &end);
    if (end && *end == 'k') v *= 1e3;
    if (end && *end == 'm') v *= 1e6;
    return v;
}

inline std::set<std::string> Labels(const std::vector<DrawnTick>& t) {
    std::set<std::string> s;
    for (const DrawnTick& k : t) s.insert(k.label);
    return s;
}

// Twips per unit and the position of 0, from the first and last tick of an axis.
struct Scale {
    double slope = 0, at0 = 0;
    explicit Scale(const std::vector<DrawnTick>& t) {
        slope = (t.back().position - t.front().position) / (t.back().value - t.front().value);
        at0 = t.front().position - slope * t.front().value;
    }
    double Value(double position) const { return (position - at0) / slope; }
};

// The ticks of an axis against the range [lo, hi] shown along [from, to] twips.
inline void ExpectTicksIn(const std::vector<DrawnTick>& ticks, double lo, double hi, double from, double to) {
    ASSERT_GE(ticks.size(), 2u);
    for (const DrawnTick& k : ticks) {
        EXPECT_GE(k.value, lo - 1e-3 * (hi - lo)) << k.label;
        EXPECT_LE(k.value, hi + 1e-3 * (hi - lo)) << k.label;
        EXPECT_NEAR(k.position, from + (k.value - lo) / (hi - lo) * (to - from), 2) << k.label;
    }
}
