#pragma once
#include <cstdint>
#include <vector>

#include "draw/Canvas.h"
#include "stats/ByGroup.h"

// The pictures of By-Group. Every row's ops carry OpTag{0, t, series, g + 1}, g the index
// of the group in ByGroupState::groups, so hovering names the group, the date and the value
// and a click can choose the group.
inline constexpr int16_t GroupForestRow = 24;
inline constexpr int16_t GroupHeatCell = 25;

inline constexpr int GroupsPerPage = 40;

// The groups shown by the forest plot at date t: those with a finite zeta_GI, ascending.
std::vector<std::size_t> ForestOrder(const ByGroupState& s, int t);

// The forest plot of date t (1-based): one row per group, page `page` of the rows sorted by
// zeta_GI (GroupsPerPage a page), the point and its 95 % interval (+- 1.96 SE_GI), a line at
// zeta = 1; rows whose interval excludes 1 in their own colour, their names in bold.
void DrawForestPlot(const ByGroupState& s, int t, int page, const Canvas& c);

// Groups (page `page` in name order) by dates: each cell coloured by zeta_GI on a diverging
// palette centred on 1, with its key; a group-date without a row is left blank.
void DrawHeatMap(const ByGroupState& s, int page, const Canvas& c);

// The palette: blue below 1, white at 1, red above, saturating at 1 -+ spread.
Colour DivergingColour(double zeta, double spread);
