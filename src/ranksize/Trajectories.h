#pragma once

struct Canvas;
struct DataSet;
struct RankTables;

// Each city's rank, or population, through time.
void RankChange(const DataSet& d, RankTables& r, const Canvas& c);
void PopChange(const DataSet& d, RankTables& r, const Canvas& c);
