#pragma once

struct Canvas;
struct DataSet;
struct RankTables;
struct ZipfState;

// The Hill estimates at every cut-off and the regression slope of every date, printed,
// and the empty frame their curves are drawn on, one date at a time, by NextGraph.
void ZipfExponents(const DataSet& d, const RankTables& r, ZipfState& z, const Canvas& c);

// The curve of the next date's Hill estimates; false, drawing nothing, once every date
// has been drawn (the caller then returns to the main panel).
bool NextGraph(const DataSet& d, ZipfState& z, const Canvas& c);
