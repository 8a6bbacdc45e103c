#include "stats/PlotPanel.h"

#include <cstdio>

std::string NumberLabel(double v, const char* format) {
    char buf[48];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

std::string PopulationLabel(double v) {
    std::string s;
    if (v >= 1e6)
        s.assign(NumberLabel(v / 1e6)).append("m");
    else if (v >= 1e3)
        s.assign(NumberLabel(v / 1e3)).append("k");
    else
        s.assign(NumberLabel(v));
    return s;
}
