#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "draw/Numeric.h"
#include "map/MapLabels.h"
#include "map/Outlines.h"

struct Canvas;
struct DataSet;
class Projection;

// The series of a place's disc on the map: its tag names the place and the date.
inline constexpr int16_t MapPlaceSeries = 20;

enum class MapColouring { Growth, RankClass };

// Where the map lies in the picture (twips) and what it shows, fixed for a data set so that
// every date (every frame of a time-lapse) is drawn on the same map at the same disc scale.
struct MapGeometry {
    double lat0 = 0, lon0 = 0;           // centre of the projection: the mean position
    double centreX = 0, centreY = 0;     // metres: the middle of the places' extent
    double twipsPerMetre = 0;
    double left = 0, top = 0, right = 0, bottom = 0;  // the map's frame, twips
    double discScale = 0;                // radius = discScale * sqrt(population), twips
    double maxPopulation = 0;            // largest population of a mapped place at any date
    std::vector<double> x, y;            // each place's position in twips, NaN without one
    std::vector<float> outlineSegments;  // x1 y1 x2 y2 ..., twips, clipped to the frame
    std::vector<float> graticuleSegments;
    double graticuleStep = 0;            // degrees
    std::shared_ptr<Projection> projection;
    std::string key;                     // what it was built for
};

struct MapState {
    MapColouring colouring = MapColouring::Growth;
    std::vector<std::string> outlineFiles;  // drawn under the discs, first file first
    MapGeometry geometry;
    std::map<std::string, std::vector<OutlinePath>> outlinesRead;  // by file
    // The date last drawn and the places' ranks there (0: absent), for the hover text.
    int date = 0;
    std::vector<int> rank;
    bool shown = false;  // the picture is the map: a choice of date or colouring redraws it
    int labelCount = 10;  // the largest places named at the date (0: none)
    std::vector<PlacedLabel> labels;  // the names drawn last, for the names of marked places to avoid
};

// Growth of place c around date t in per cent a year, 100 ln(P'/P) / years: to the next
// date, and at the last date from the one before. NaN where the place is absent at either.
double GrowthPercent(const DataSet& d, int c, int t);

// The colour class of a growth in per cent a year: 0 (fastest decline) to 6 (fastest
// growth), 7 for no figure; and the rank class: 0 (top 10), 1 (11-25), 2 (26-50),
// 3 (51-100), 4 (beyond).
int GrowthClass(double percent);
int RankClass(int rank);
Colour GrowthColour(int growthClass);
Colour RankClassColour(int rankClass);

// Rank of every place at date t among those present (1 = largest; equal populations by
// order in the table), 0 where absent; indexed from 0.
std::vector<int> RanksAt(const DataSet& d, int t);

// Builds (or keeps, when still valid) the geometry for the data and the outline files.
// Throws RunError when no place has a position.
const MapGeometry& MapGeometryFor(const DataSet& d, MapState& s, float pictureWidth, float pictureHeight);

// "Map": the places with a position present at date t as discs of area proportional to
// population, largest first, over the outlines and the graticule, with the keys of sizes
// and colours and a scale bar; the labelCount largest places inside the frame named.
void DrawMap(const DataSet& d, MapState& s, const Canvas& c, int t);

// The hover text of a place's disc: name, date, rank, population and growth.
std::string DescribeMapPlace(const DataSet& d, const MapState& s, int city, int t);
