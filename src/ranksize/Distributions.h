#pragma once

struct Canvas;
struct DataSet;
struct RankTables;

// The distributions of every date as size by rank, rank by cumulative size and cumulative
// size by rank.
void SizeRank(const DataSet& d, RankTables& r, const Canvas& c);
void CumRankSize(const DataSet& d, RankTables& r, const Canvas& c);
void CumSizeRank(const DataSet& d, RankTables& r, const Canvas& c);
