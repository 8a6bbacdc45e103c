#pragma once

struct Canvas;
struct DataSet;
struct InfoStatsState;

// "RankSSpirel": the three rank-shift series of "Info-Stats" around a dial without year
// labels, as the last run of the statistics left them.
void RankShiftSpirel(const DataSet& d, const InfoStatsState& s, const Canvas& c);
