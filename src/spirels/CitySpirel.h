#pragma once
#include <cstdint>

struct Canvas;
struct DataSet;
struct RankTables;
struct SpirelState;

// The rank path of the city at list position `choice`, on the face "Rank-Spirel1" left
// (replaced by an empty face at the first press), with the city's ranks and populations on
// the text pane. Each further press adds a city in the next colour. Any run-time error
// ends it silently.
void PlotCityOnSpirel(const DataSet& d, const RankTables& r, SpirelState& s, const Canvas& c, int choice);
