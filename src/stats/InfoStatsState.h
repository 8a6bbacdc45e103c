#pragma once
#include <cstdint>

#include "draw/Arrays.h"

using StatVec = Vec1<float, MaxStats>;
using StatGrid = Grid<float, MaxStats, MaxStats>;

// Information statistics by date and their averages, left by "Info-Stats" for the
// paging tables and the rank-shift and information spirels. The change measures are
// defined from date 2 on; their element 1 is never written.
struct InfoStatsState {
    // Levels, dates 1..T
    DateVec Entropy;
    DateVec RelativeEntropy;
    DateVec Redundancy;
    DateVec ExEntRank;
    DateVec InfoEnt;
    DateVec InfoRank;
    DateVec EntropyChange;     // element 1 set to 0
    DateVec CumEntropyChange;  // element 1 set to 0
    // Rank shifts, dates 2..T
    DateVec AvRankShift;
    DateVec PctRankShift;
    DateVec CumRankShift;
    // Information of change and growth, dates 2..T
    DateVec CumInfo;
    DateVec CumGrowth;
    DateVec Info;
    DateVec Growth;
    DateVec TotCumGrowth;
    DateVec TotCumInfo;
    DateVec TotGrowth;
    DateVec TotInfo;
    // Slots 1..11: time-weighted averages of the first table; 12..23: of the "Next-Info" table.
    Vec1<float, MaxDates> InfoAverages;
    StatGrid ShareShift;  // ShareShift(t, u): mean relative difference of the shares rank by rank
    float AvShareShift = 0;

    // Sized for a new data set; every statistic back to 0.
    void Resize(int dates) {
        *this = InfoStatsState{};
        for (DateVec* v : {&Entropy, &RelativeEntropy, &Redundancy, &ExEntRank, &InfoEnt, &InfoRank, &EntropyChange,
                           &CumEntropyChange, &AvRankShift, &PctRankShift, &CumRankShift, &CumInfo, &CumGrowth, &Info,
                           &Growth, &TotCumGrowth, &TotCumInfo, &TotGrowth, &TotInfo})
            v->Resize(dates);
        ShareShift.Resize(dates, dates);
    }
};
