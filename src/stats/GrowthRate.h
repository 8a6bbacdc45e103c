#pragma once
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

// The one growth rate of the program: g = ln(S'/S) / years, per year, in continuous (log)
// terms; shown as 100 g "% a year" by the map's colours and hover and by Growth-Plot's hover,
// and analysed as g by Growth. NaN where either population is absent (<= 0) or years <= 0.
inline double GrowthRate(double s0, double s1, int years) {
    if (!(s0 > 0) || !(s1 > 0) || years <= 0) return std::numeric_limits<double>::quiet_NaN();
    return std::log(s1 / s0) / years;
}

// The rate in per cent a year, 100 g.
inline double GrowthPercent(double g) { return 100 * g; }

// "+1.23 % a year": how every hover words a rate g.
inline std::string GrowthPercentText(double g) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%+.2f %% a year", GrowthPercent(g));
    return buf;
}
