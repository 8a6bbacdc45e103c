#pragma once
#include <optional>
#include <string>

struct DataSet;
class Projection;

// A box of longitudes and latitudes (degrees) the map shows instead of all its places.
struct MapExtent {
    double west = 0, south = 0, east = 0, north = 0;
};

// "W,S,E,N" in degrees; throws RunError naming the value when it is not four numbers, W is not
// west of E, S not south of N, or a value lies beyond +-180 / +-90.
MapExtent ParseMapExtent(const std::string& text);

// The box holding every place of the table that has a position and a population at some date,
// widened by 3 % of its size on each side (and to half a degree at least, so one place, or a
// row of them, still makes a box) and kept within +-180 / +-90: a group's places framed as a
// box is. None when no place has a position.
std::optional<MapExtent> PlacesExtent(const DataSet& d);

// The box as it lies on the projected plane, metres: the smallest rectangle holding its
// outline (each edge followed in small steps, as a parallel curves on the plane). False when
// no part of it projects.
struct PlaneBox {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
};
bool ProjectedBox(const Projection& projection, const MapExtent& box, PlaneBox& out);
