#pragma once
#include <cstdint>

#include "draw/Arrays.h"

using StatVec = Vec1<float, MaxStats>;
using StatGrid = Grid<float, MaxStats, MaxStats>;

// Information statistics by date and their averages (left for the spirels and pages).
struct InfoStatsState {
};

// Population bands and concentration shares.
struct PopStatsState {
};

// Overlap of the top 25 between dates.
struct HalfLivesState {
    int16_t HalfLivesNoDraw = 0;
};
