#pragma once
#include <string>
#include <vector>

// Who neighbours whom, by row of the data table (0-based). The weights are row-standardised
// where they are used: each neighbour counted at that date weighs 1 / (their number).
struct SpatialWeights {
    std::vector<std::vector<int>> neighbours;  // one list per data row
    std::vector<std::string> warnings;         // what reading said (ids matching no place)
};

// Reads a GAL file: a header `n` or `0 n shapefile idvariable`, then per place a line
// `id count` and a line with its `count` neighbour ids. With `ids` (the ID of every data row)
// the ids match them as text; with `ids` empty the k-th record stands for the k-th data row
// and its neighbour ids name records, as libpysal aligns a GAL file with its table.
// Throws RunError naming the line of a malformed file: a count that does not match the ids
// listed, an id given twice, fewer records than the header says. Ids matching no place are
// named in one warning and left out.
SpatialWeights ReadGal(const std::string& path, const std::vector<std::string>& ids, int rows);

// Points on the sphere: latitude and longitude in degrees (NaN: none).
struct GeoPoint {
    double lat, lon;
};

// The k nearest of the `candidates` (row indices into `points`) for each candidate, by
// great-circle distance, through a k-d tree on 3-D unit vectors; equal distances go to the
// earlier row. Rows not among the candidates get no neighbours. Needs k < candidates.size().
SpatialWeights NearestNeighbours(const std::vector<GeoPoint>& points, const std::vector<int>& candidates, int k);

// A place's position counts when both coordinates are known and not the (0, 0) placeholder.
bool HasGeoPosition(const GeoPoint& p);

// How an analysis finds neighbours at a date: the lists of a GAL file, or the k nearest.
struct NeighbourRule {
    const SpatialWeights* gal = nullptr;  // when set, its lists
    int nearest = 0;                      // else the k nearest among the places at hand
    std::vector<GeoPoint> points;         // every data row's position
};

// The neighbours among `sample` (ascending rows): a GAL file's lists cut to the sample, or the
// k nearest among the sample's places with a position. Rows outside the sample, and places
// left with none, get an empty list. Throws RunError when `nearest` needs more places than
// the sample has with a position (the message names the option and `when`).
std::vector<std::vector<int>> NeighboursAmong(const NeighbourRule& rule, const std::vector<int>& sample, int rows,
                                              const std::string& when);
