#pragma once
#include <string>
#include <vector>

// A line of an outline file (a border, a coast, a ring of a polygon) as WGS 84 longitudes
// and latitudes in degrees.
struct OutlinePath {
    std::vector<double> lon, lat;
};

// Every line of the first layer of a vector file GDAL/OGR reads (TopoJSON, GeoJSON,
// shapefile, GeoPackage, ...): polygon rings and line strings, multi-part geometries split
// into their parts, points skipped. A layer in another coordinate system is brought to
// WGS 84. Throws RunError naming the file when it cannot be read or holds no line.
std::vector<OutlinePath> ReadOutlines(const std::string& path);
