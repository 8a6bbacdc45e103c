#pragma once
#include <cstdint>

#include "draw/Arrays.h"

// Population bands and concentration shares.
struct PopStatsState {
};

// Overlap of the top 25 between dates.
struct HalfLivesState {
    int16_t HalfLivesNoDraw = 0;
};
