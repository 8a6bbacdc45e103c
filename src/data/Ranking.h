#pragma once
#include <cstdint>

#include "draw/Arrays.h"

struct Canvas;
struct DataSet;

// The rank tables every analysis reads, rebuilt in full by each Rank_Click.
struct RankTables {
    CityDateGrid RankPop;        // population of the city at rank i, date t
    CityDateGrid RankCity;       // city number at rank i, date t
    CityDateGrid CityRank;       // rank of city c at date t
    CityDateGrid LogRankPop;     // ln RankPop
    DateVec TotalPop;            // the running sums below at the last rank
    DateVec TotalLogPop;
    // The running sums in rank order of the populations and of their logs, at each city's
    // rank. Only two spirels read them: they are made by CityRunningSums, not by each ranking
    // (two tables of places x dates a large table need not hold).
    CityDateGrid CumCityPop;
    CityDateGrid CumCityLogPop;
    bool cumulativeReady = false;
    CityVec LogRank;             // ln i
    CityVec EntryOrder;          // k-th city to enter the ranked lists
    float ColorRed = 0, ColorGreen = 0, ColorBlue = 0, ColorStep = 0;
};

// sorted(1..n) = values(1..n) in descending order, equal values in ascending index;
// order(i) = index of sorted(i) in values; values(1..n) are overwritten with -100.
void SortDescending(CityVec& values, CityVec& sorted, CityVec& order, int n);

// EntryOrder(c) = the number under which city c first enters the ranked lists, 0 if never.
void NumberByFirstAppearance(const DataSet& d, RankTables& r);

// Makes CumCityPop and CumCityLogPop for the current ranking, once.
void CityRunningSums(const DataSet& d, RankTables& r);

// "Rank-Size": builds the rank tables; draws the fading rank-size curves when DataReady = 1.
void RankSize(const DataSet& d, RankTables& r, const Canvas& c);
