#pragma once

struct Canvas;
struct DataSet;
struct PopStatsState;

// "Pop-Spirel": the four concentration series of "Pop-Stats" around a spirel face, a share
// of 1 on the outer ring. Before "Pop-Stats" has run every curve lies at the centre.
void PopSpirel(const DataSet& d, const PopStatsState& s, const Canvas& c);
