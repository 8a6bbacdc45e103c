#pragma once
#include <memory>
#include <string>
#include <vector>

// Lambert azimuthal equal-area, centred on a point, from WGS 84 degrees to metres on the plane.
// PROJ does the projecting, through GDAL's coordinate transformation: areas on the map are
// true areas, so discs and countries compare fairly anywhere on it.
class Projection {
public:
    Projection(double lat0, double lon0);
    ~Projection();
    Projection(const Projection&) = delete;
    Projection& operator=(const Projection&) = delete;

    double Lat0() const { return lat0_; }
    double Lon0() const { return lon0_; }
    // The PROJ definition used; gdaltransform or cs2cs given it give the same metres.
    std::string Definition() const;

    // Projects lon/lat degrees to x/y metres in place. A point PROJ cannot project (the
    // antipode) or one on the far side of the globe, beyond `maxDegrees` of arc from the
    // centre, becomes NaN: there the projection tears and a line through it means nothing.
    void Forward(std::vector<double>& lonX, std::vector<double>& latY, double maxDegrees = 170) const;

private:
    double lat0_, lon0_;
    void* transform_ = nullptr;  // GDAL's transformation, made and freed in the GDAL library
};

// Degrees of arc between two points of the sphere.
double ArcDegrees(double lat1, double lon1, double lat2, double lon2);
