#pragma once

struct Canvas;
struct DataSet;
struct RankTables;
struct SpirelState;

// The rank-change distances the last rank spirel recorded in PathStep: marks the moves,
// averages them per date, per city and overall, prints the per-date table on the text
// pane and draws them with DrawDistanceSpirel.
void DistanceSpirel(const DataSet& d, RankTables& r, SpirelState& s, const Canvas& c);

// Every city's distances as a path on a spirel face (the most mobile city last, on top)
// and the curve of the per-date averages; leaves its scale in SpirelScale.
void DrawDistanceSpirel(const DataSet& d, RankTables& r, SpirelState& s, const Canvas& c);
