#pragma once

struct Canvas;
struct DataSet;
struct HalfLivesState;
struct PopStatsState;
struct RankTables;
class TextSurface;

// "Pop-Stats": the overlaps of the top 25 (through HalfLives without a plot), the
// cumulative shares of the top 10 %, 20 %, ... of the present cities (printed) and of the
// top 10, 20, ..., 200 cities (kept in PopBands), and the four summary series.
void PopStats(const DataSet& d, const RankTables& r, PopStatsState& s, HalfLivesState& half, const Canvas& c);
// "Next-Pop": the table of the rank bands.
void NextPop(const DataSet& d, const PopStatsState& s, TextSurface& out);
// "Last-Pop": the table of the top-25 overlaps and their averages.
void LastPop(const DataSet& d, const HalfLivesState& h, TextSurface& out);

