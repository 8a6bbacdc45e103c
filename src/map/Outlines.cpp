#include "map/Outlines.h"

#include "data/GdalLibrary.h"

#include <memory>

#include "draw/RunError.h"

std::vector<OutlinePath> ReadOutlines(const std::string& path) {
    std::vector<OutlinePath> out;
    GdalFunction<void(const std::string*, std::vector<OutlinePath>*)>("citysize_ReadOutlines")(&path, &out);
    return out;
}

bool ClipSegment(double& x1, double& y1, double& x2, double& y2, double left, double top, double right, double bottom) {
    // Liang-Barsky: the segment is x1 + s dx, s in [0, 1], narrowed by each edge in turn.
    const double dx = x2 - x1, dy = y2 - y1;
    double s0 = 0, s1 = 1;
    auto edge = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double s = q / p;
        if (p < 0) {
            if (s > s1) return false;
            if (s > s0) s0 = s;
        } else {
            if (s < s0) return false;
            if (s < s1) s1 = s;
        }
        return true;
    };
    if (!edge(-dx, x1 - left) || !edge(dx, right - x1) || !edge(-dy, y1 - top) || !edge(dy, bottom - y1)) return false;
    const double ax = x1 + s0 * dx, ay = y1 + s0 * dy;
    x2 = x1 + s1 * dx;
    y2 = y1 + s1 * dy;
    x1 = ax;
    y1 = ay;
    return true;
}
