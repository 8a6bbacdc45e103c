#pragma once

struct Canvas;
struct DataSet;
struct HalfLivesState;
struct RankTables;

// The number of cities among the top 25 at both dates of every pair of dates: one curve
// per date. With HalfLivesNoDraw = 1 it only clears the picture and computes TopOverlap
// and AvTopOverlap.
void HalfLives(const DataSet& d, const RankTables& r, HalfLivesState& h, const Canvas& c);
