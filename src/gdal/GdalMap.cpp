#include "gdal/GdalEntry.h"

#include <gdal_priv.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <cstdio>
#include <memory>

#include "draw/RunError.h"
#include "map/Outlines.h"

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

std::vector<OutlinePath> ReadVectorLines(const std::string& path) {
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

}  // namespace

extern "C" void citysize_ReadOutlines(const std::string* path, std::vector<OutlinePath>* out) { *out = ReadVectorLines(*path); }

// The map's projection: WGS 84 longitude/latitude to Lambert's azimuthal equal-area metres.
extern "C" void* citysize_NewProjection(const char* definition, std::string* error) {
    OGRSpatialReference wgs84, laea;
    wgs84.SetWellKnownGeogCS("WGS84");
    // Longitude first, as the places and the outline files hold them.
    wgs84.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    if (laea.importFromProj4(definition) != OGRERR_NONE) {
        *error = std::string("PROJ does not know the map's projection ") + definition;
        return nullptr;
    }
    laea.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    OGRCoordinateTransformation* t = OGRCreateCoordinateTransformation(&wgs84, &laea);
    if (!t) *error = std::string("GDAL cannot make the map's projection ") + definition;
    return t;
}

extern "C" void citysize_Project(void* transform, std::size_t n, double* x, double* y, int* ok) {
    static_cast<OGRCoordinateTransformation*>(transform)->Transform(n, x, y, nullptr, ok);
}

extern "C" void citysize_FreeProjection(void* transform) { delete static_cast<OGRCoordinateTransformation*>(transform); }
