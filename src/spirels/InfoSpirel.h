#pragma once
#include <cstdint>

#include "draw/Arrays.h"
#include "draw/Numeric.h"

struct Canvas;
struct DataSet;
struct InfoStatsState;

// "Info-Spirel": six information and growth series of "Info-Stats" around the dial, as
// the last run of the statistics left them.
void InfoSpirel(const DataSet& d, const InfoStatsState& info, const Canvas& c);

// One series of a change statistic on the dial (shared with the rank-shift spirel): the
// value of date t at distance radius(t) on the spoke of date t, for t = 2..NumDates. The
// first point, date 2, is a dot; the curve is not closed. Drawn in the current DrawWidth.
void DrawChangeCurve(const DataSet& d, const Canvas& c, const DateVec& radius, Colour colour, int16_t series, float startAngle);
