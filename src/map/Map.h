#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "draw/Numeric.h"
#include "map/MapExtent.h"
#include "map/MapLabels.h"
#include "map/Outlines.h"

struct Canvas;
struct DataSet;
struct RankTables;
class Projection;

// The series of a place's disc on the map: its tag names the place and the date.
inline constexpr int16_t MapPlaceSeries = 20;

enum class MapColouring { Growth, RankClass, Lisa };

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
    double pictureWidth = 0, pictureHeight = 0;  // twips: the frame and keys are laid out for it
};

struct MapState {
    MapColouring colouring = MapColouring::Growth;
    std::vector<std::string> outlineFiles;  // drawn under the discs, first file first
    MapGeometry geometry;
    std::map<std::string, std::vector<OutlinePath>> outlinesRead;  // by file
    bool shown = false;  // the picture is the map: a choice of date or colouring redraws it
    // LISA colouring: the local Moran class of every place's growth around date t (0 none,
    // 1 high-high, 2 low-low, 3 high-low, 4 low-high), given by the spatial analyses.
    std::function<std::vector<int>(const DataSet&, int t)> lisaClasses;
    std::vector<int> lisa;
    // The box shown instead of all the places (--extent); none: every place of the table.
    std::optional<MapExtent> extent;
    int labelCount = 10;  // the largest places named at the date (0: none)
    std::vector<PlacedLabel> labels;  // the names drawn last, for the names of marked places to avoid
    int date = 0;  // the date drawn last, which the marks and a redraw read
};

// Growth of place c around date t in per cent a year, 100 GrowthRate (stats/GrowthRate.h): to
// the next date, and at the last date from the one before. NaN where the place is absent at either.
double GrowthPercent(const DataSet& d, int c, int t);

// The colour class of a growth in per cent a year: 0 (fastest decline) to 6 (fastest
// growth), 7 for no figure; and the rank class: 0 (top 10), 1 (11-25), 2 (26-50),
// 3 (51-100), 4 (beyond).
int GrowthClass(double percent);
int RankClass(int rank);
Colour GrowthColour(int growthClass);
Colour RankClassColour(int rankClass);
Colour LisaColour(int lisaClass);


// Builds (or keeps, when still valid) the geometry for the data, the outline files, the
// extent and the picture's size: the frame grows with the picture, the keys keep their size.
// Throws RunError when no place has a position.
const MapGeometry& MapGeometryFor(const DataSet& d, MapState& s, float pictureWidth, float pictureHeight);

// "Map": the places with a position present at date t (ranked by the rank tables) as discs of area proportional to
// population, largest first, over the outlines and the graticule, with the keys of sizes
// and colours and a scale bar; the labelCount largest places inside the part shown named.
void DrawMap(const DataSet& d, const RankTables& ranks, MapState& s, const Canvas& c, int t);

// Where place k's disc stands in picture p, at its zoom: centre and radius (twips), and
// whether its centre lies in the part of the map shown.
struct ShownDisc {
    double x = 0, y = 0, radius = 0;
    bool inFrame = false;
};
ShownDisc ShownDiscOf(const Picture& p, const MapGeometry& g, std::size_t k, double population);

// The hover text of a place's disc: name, date, rank, population and growth.
std::string DescribeMapPlace(const DataSet& d, const RankTables& ranks, int city, int t);
