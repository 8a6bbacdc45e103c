#pragma once

struct Canvas;
struct DataSet;
struct RankTables;

// The date Rank Shift compares with the last: the one nearest to 50 years before it (the
// earlier of two equally near), 1950 with the US censuses 1790-2000.
int RankShiftDate(const DataSet& d);

// Every rank-size curve with the cities of the shift date at their last-date populations in red.
void RankShift(const DataSet& d, RankTables& r, const Canvas& c);
// Each city's path through rank-size space.
void RankSpace(const DataSet& d, RankTables& r, const Canvas& c);
