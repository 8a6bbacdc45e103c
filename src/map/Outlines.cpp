#include "map/Outlines.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <memory>

#include "draw/RunError.h"

namespace {

void AddCurve(const OGRSimpleCurve& curve, std::vector<OutlinePath>& out) {
    OutlinePath p;
    const int n = curve.getNumPoints();
    p.lon.reserve(n);
    p.lat.reserve(n);
    for (int i = 0; i < n; ++i) {
        p.lon.push_back(curve.getX(i));
        p.lat.push_back(curve.getY(i));
    }
    if (n >= 2) out.push_back(std::move(p));
}

void AddGeometry(const OGRGeometry* g, std::vector<OutlinePath>& out) {
    if (!g) return;
    switch (wkbFlatten(g->getGeometryType())) {
    case wkbLineString:
    case wkbLinearRing:
        AddCurve(*g->toLineString(), out);
        break;
    case wkbPolygon:
        for (const OGRLinearRing* ring : *g->toPolygon()) AddCurve(*ring, out);
        break;
    case wkbMultiPolygon:
    case wkbMultiLineString:
    case wkbGeometryCollection:
        for (const OGRGeometry* part : *g->toGeometryCollection()) AddGeometry(part, out);
        break;
    default:  // points and curved geometries carry no outline we draw
        break;
    }
}

}  // namespace

std::vector<OutlinePath> ReadOutlines(const std::string& path) {
    GDALAllRegister();
    std::unique_ptr<GDALDataset> ds(
        GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!ds || ds->GetLayerCount() < 1) throw RunError("Cannot read outlines from " + path);
    OGRLayer* layer = ds->GetLayer(0);
    std::unique_ptr<OGRCoordinateTransformation> toWgs84;
    if (const OGRSpatialReference* srs = layer->GetSpatialRef()) {
        OGRSpatialReference wgs84;
        wgs84.SetWellKnownGeogCS("WGS84");
        wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        OGRSpatialReference source(*srs);
        source.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
        if (!source.IsSame(&wgs84)) toWgs84.reset(OGRCreateCoordinateTransformation(&source, &wgs84));
    }
    std::vector<OutlinePath> out;
    for (auto& feature : *layer) {
        OGRGeometry* g = feature->GetGeometryRef();
        if (!g) continue;
        if (toWgs84 && g->transform(toWgs84.get()) != OGRERR_NONE) continue;
        AddGeometry(g, out);
    }
    if (out.empty()) throw RunError(path + " holds no lines to draw (its first layer has no polygons or lines)");
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
