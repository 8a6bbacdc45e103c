#pragma once
#include "data/DataSet.h"
#include "data/Ranking.h"

// Absolute rank changes of the cities present at date t (taken in their rank order at t)
// that were ranked among the present cities at date `ref`; newcomers are left out. Sum
// and count are singles, accumulated one city at a time: Info-Stats prints these numbers
// and Mobility reports the same ones.
struct RankShiftTotals {
    float sum = 0;
    float count = 0;
    float Mean() const { return count > 0 ? sum / count : 0.0f; }
};

RankShiftTotals SumRankShifts(const DataSet& d, const RankTables& r, int t, int ref);
