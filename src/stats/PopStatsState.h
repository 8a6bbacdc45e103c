#pragma once
#include <cstdint>

#include "draw/Arrays.h"

using BandGrid = Grid<float, MaxDates, MaxDates>;

// Population bands and concentration shares, left by "Pop-Stats" for "Next-Pop" and the
// population spirel.
struct PopStatsState {
    BandGrid PopBands;  // PopBands(k, t): share of the largest 10 k cities (percent bands while printing)
    DateVec TopTenPctShare;
    DateVec TopHalfShare;
    DateVec TopTenShare;
    DateVec TopFiftyShare;

    // Sized for a new data set (band rows stay at their classic 40); every share back to 0.
    void Resize(int dates) {
        PopBands.Resize(dates, dates);
        for (DateVec* v : {&TopTenPctShare, &TopHalfShare, &TopTenShare, &TopFiftyShare}) v->Resize(dates);
    }
};

// Overlap of the top 25 between dates.
struct HalfLivesState {
    int16_t HalfLivesNoDraw = 0;  // 1 while "Pop-Stats" has the overlaps computed without a plot
    Grid<float, MaxDates, MaxDates> TopOverlap;
    DateVec AvTopOverlap;

    void Resize(int dates) {
        TopOverlap.Resize(dates, dates);
        AvTopOverlap.Resize(dates);
    }
};
