#pragma once
#include <cstdint>

#include "draw/Arrays.h"

struct ZipfState {
    CityDateGrid HillEstimate;
    CityDateGrid CutoffShare;
    int16_t GraphDate = 0;
    // Sized for a new data set; every estimate back to 0.
    void Resize(int cities, int dates) {
        HillEstimate.Resize(cities, dates);
        CutoffShare.Resize(cities, dates);
    }
};
