#pragma once

struct Canvas;
struct DataSet;
struct RankTables;

// Every rank-size curve with the 1950 cities at their last-date populations in red.
void RankShift(const DataSet& d, RankTables& r, const Canvas& c);
// Each city's path through rank-size space.
void RankSpace(const DataSet& d, RankTables& r, const Canvas& c);
