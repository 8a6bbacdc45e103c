#include "map/MapExtent.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <vector>

#include "data/DataSet.h"
#include "draw/RunError.h"
#include "map/Projection.h"

MapExtent ParseMapExtent(const std::string& text) {
    auto fail = [&](const std::string& why) {
        throw RunError("--extent takes W,S,E,N in degrees (e.g. -80,37,-66,48): " + why);
    };
    std::vector<double> v;
    std::vector<std::string> parts;
    std::size_t from = 0;
    for (int k = 0; k < 4; ++k) {
        const std::size_t comma = text.find(',', from);
        if ((k < 3) != (comma != std::string::npos)) fail("\"" + text + "\" is not four numbers");
        const std::string part = text.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
        char* end = nullptr;
        const double x = std::strtod(part.c_str(), &end);
        if (part.empty() || *end || !std::isfinite(x)) fail("\"" + part + "\" is not a number");
        v.push_back(x);
        parts.push_back(part);
        from = comma + 1;
    }
    const char* names[] = {"W", "S", "E", "N"};
    for (int k = 0; k < 4; ++k) {
        const double limit = k % 2 == 0 ? 180 : 90;
        if (std::fabs(v[k]) > limit)
            fail(std::string(names[k]) + " = " + parts[k] + " lies beyond +-" + std::to_string(static_cast<int>(limit)));
    }
    const MapExtent e{v[0], v[1], v[2], v[3]};
    if (!(e.west < e.east)) fail("W = " + parts[0] + " must be less than E = " + parts[2]);
    if (!(e.south < e.north)) fail("S = " + parts[1] + " must be less than N = " + parts[3]);
    return e;
}

bool ProjectedBox(const Projection& projection, const MapExtent& box, PlaneBox& out) {
    constexpr int Steps = 64;
    std::vector<double> lon, lat;
    for (int k = 0; k <= Steps; ++k) {
        const double f = static_cast<double>(k) / Steps;
        const double x = box.west + f * (box.east - box.west), y = box.south + f * (box.north - box.south);
        lon.insert(lon.end(), {x, x, box.west, box.east});
        lat.insert(lat.end(), {box.south, box.north, y, y});
    }
    projection.Forward(lon, lat, 179.9);
    out.minX = out.minY = std::numeric_limits<double>::max();
    out.maxX = out.maxY = -std::numeric_limits<double>::max();
    for (std::size_t i = 0; i < lon.size(); ++i) {
        if (std::isnan(lon[i]) || std::isnan(lat[i])) continue;
        out.minX = std::min(out.minX, lon[i]), out.maxX = std::max(out.maxX, lon[i]);
        out.minY = std::min(out.minY, lat[i]), out.maxY = std::max(out.maxY, lat[i]);
    }
    return out.minX < out.maxX && out.minY < out.maxY;
}

std::optional<MapExtent> PlacesExtent(const DataSet& d) {
    double west = 180, east = -180, south = 90, north = -90;
    bool any = false;
    for (int c = 1; c <= d.NumCities; ++c) {
        if (!d.HasPosition(c)) continue;
        bool present = false;
        for (int t = 1; t <= d.NumDates && !present; ++t) present = d.Pop(c, t) > 0;
        if (!present) continue;
        any = true;
        west = std::min(west, d.Longitude[c - 1]), east = std::max(east, d.Longitude[c - 1]);
        south = std::min(south, d.Latitude[c - 1]), north = std::max(north, d.Latitude[c - 1]);
    }
    if (!any) return std::nullopt;
    auto widen = [](double& lo, double& hi, double limit) {
        const double pad = std::max(0.03 * (hi - lo), (0.5 - (hi - lo)) / 2);
        lo = std::max(-limit, lo - pad);
        hi = std::min(limit, hi + pad);
    };
    widen(west, east, 180);
    widen(south, north, 90);
    return MapExtent{west, south, east, north};
}
