#pragma once
#include <cstdint>

#include "draw/Arrays.h"

struct Canvas;
struct DataSet;
struct InfoStatsState;
struct RankTables;

// "Info-Stats": entropy, redundancy and rank information of the shares at every date,
// rank shifts from the previous and the first date, information of change and growth,
// the share-shift matrix and the time-weighted averages. Prints the first information
// table on the text pane.
void InfoStats(const DataSet& d, const RankTables& r, InfoStatsState& s, const Canvas& c);

// A = the sizes SizeT1 of the cities ranked 1..N1 at date T1 that are also ranked 1..N2 at
// date T2, in the rank order of T1; B = their sizes SizeT2 at T2. Each list is then
// divided by its own sum, so both are shares over the matched cities only. The sums are
// singles on the classic table, doubles where `exact` (every other table).
void MatchCityShares(const RankTables& r, CityVec& A, CityVec& B, const CityVec& SizeT1, const CityVec& SizeT2,
                     int& Count, float N1, float T1, float N2, float T2, bool exact = false);

// Sum over k = 1..Count of W(k) ln(X(k) / Y(k)); each term in double, the sum kept as a single.
float SumInformation(const CityVec& W, const CityVec& X, const CityVec& Y, int Count);

// Sum over k = 1..Count of (X(k) / Y(k)) W(k); each term rounded to a single before it is
// added to a single sum, or (exact) the terms added in double.
float SumGrowthRatios(const CityVec& W, const CityVec& X, const CityVec& Y, int Count, bool exact = false);
