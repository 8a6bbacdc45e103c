#pragma once
#include <string>

#include "data/DataSet.h"
#include "draw/Canvas.h"
#include "stats/Growth.h"

// The pictures of Growth, in double precision like the statistics.

// beta of every pair with its 95 % interval (+- 1.96 SE) at the pair's middle year, a line
// at 0. Each pair's point carries OpTag{0, t, GrowthBetaPoint} (t its first date).
void DrawGrowthBetas(const DataSet& d, const GrowthState& s, const Canvas& c);

// Two panels sharing the log-size axis (labelled in population): above, the kernel mean of
// normalised growth with its band, a line at 0 and the places as faint points (each tagged
// OpTag{city, first date, GrowthPlacePoint}); below, the spread with its band and a line at 1.
void DrawGrowthPlot(const DataSet& d, const GrowthSample& s, const GrowthCurves& curves, const Canvas& c);

// What hovering tells: a place's growth from date t to t + 1, or a pair's row.
std::string DescribeGrowthPlace(const DataSet& d, int city, int t);
std::string DescribeGrowthRow(const GrowthRow& r);
