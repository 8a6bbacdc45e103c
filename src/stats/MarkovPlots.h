#pragma once
#include <vector>

#include "draw/Canvas.h"
#include "stats/MoranGrowth.h"
#include "stats/SpatialMarkov.h"

// Tags of the cells and points, for hover.
inline constexpr int16_t MarkovCell = 40;       // `city` holds the row class, `point` the column class (1-based)
inline constexpr int16_t SpatialMarkovCell = 41; // `date` holds the lag class as well
inline constexpr int16_t MoranGrowthPoint = 42; // `point` holds the pair (1-based)

// The transition matrix as a heat map (darker: more likely), each cell with its probability,
// and the steady state as bars beside it.
void DrawMarkovHeatMap(const MarkovResult& m, const Canvas& c);
// The conditional matrices as small multiples, one per class of the neighbours' mean.
void DrawSpatialMarkov(const SpatialMarkovResult& s, const Canvas& c);
// Moran's I of growth through time with its expectation; filled where p_sim < 0.05.
void DrawMoranGrowth(const std::vector<MoranGrowthRow>& rows, const Canvas& c);

// The heat map's colour of a probability: white at 0 to dark blue at 1.
Colour ProbabilityColour(double p);
