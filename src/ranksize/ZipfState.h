#pragma once
#include <cstdint>

#include "draw/Arrays.h"

struct ZipfState {
    CityDateGrid HillEstimate;
    CityDateGrid CutoffShare;
    int16_t GraphDate = 0;
};
