#pragma once
#include <cstdint>

#include "draw/Arrays.h"

// State the spirel commands leave for each other (rank spirels -> city and distance spirels).
struct SpirelState {
    CityDateGrid PathStep;
    float SpirelScale = 0;
    int16_t CityPlotCount = 0;
    int16_t CityChoice = 0;
    DateVec AvStepDistance;
    float AvAllDistance = 0;
    CityVec AvCityDistance;
};
