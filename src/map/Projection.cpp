#include "map/Projection.h"


#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "data/GdalLibrary.h"
#include "draw/RunError.h"

namespace {

std::string Def(double lat0, double lon0) {
    char buf[160];
    std::snprintf(buf, sizeof buf, "+proj=laea +lat_0=%.6f +lon_0=%.6f +datum=WGS84 +units=m +no_defs", lat0, lon0);
    return buf;
}

}  // namespace

Projection::Projection(double lat0, double lon0) : lat0_(lat0), lon0_(lon0) {
    std::string error;
    transform_ = GdalFunction<void*(const char*, std::string*)>("citysize_NewProjection")(Def(lat0, lon0).c_str(), &error);
    if (!transform_) throw RunError(error);
}

Projection::~Projection() {
    if (transform_) GdalFunction<void(void*)>("citysize_FreeProjection")(transform_);
}

std::string Projection::Definition() const { return Def(lat0_, lon0_); }

void Projection::Forward(std::vector<double>& x, std::vector<double>& y, double maxDegrees) const {
    const std::size_t n = x.size();
    std::vector<int> ok(n, 0);
    std::vector<bool> far(n);
    for (std::size_t i = 0; i < n; ++i) far[i] = !(ArcDegrees(y[i], x[i], lat0_, lon0_) <= maxDegrees);
    if (n) GdalFunction<void(void*, std::size_t, double*, double*, int*)>("citysize_Project")(transform_, n, x.data(), y.data(), ok.data());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (std::size_t i = 0; i < n; ++i)
        if (!ok[i] || far[i] || !std::isfinite(x[i]) || !std::isfinite(y[i])) x[i] = y[i] = nan;
}

double ArcDegrees(double lat1, double lon1, double lat2, double lon2) {
    constexpr double rad = 3.14159265358979323846 / 180;
    const double a = std::sin(lat1 * rad) * std::sin(lat2 * rad) +
                     std::cos(lat1 * rad) * std::cos(lat2 * rad) * std::cos((lon1 - lon2) * rad);
    return std::acos(std::clamp(a, -1.0, 1.0)) / rad;
}
