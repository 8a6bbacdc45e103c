#pragma once
#include <cstdint>

#include "draw/Arrays.h"

using StatVec = Vec1<float, MaxStats>;
using StatGrid = Grid<float, MaxStats, MaxStats>;

// Information statistics by date and their averages, left for the spirels and the pages.
struct InfoStatsState {
};
