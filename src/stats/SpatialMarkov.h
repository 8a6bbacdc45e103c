#pragma once
#include <vector>

#include "draw/TextSurface.h"
#include "stats/Markov.h"
#include "stats/SpatialWeights.h"

// Rey's spatial Markov chain: transitions of relative size classes counted separately by the
// class of the place's spatial lag (the mean relative size of its neighbours present at that
// date) at the start date. Classes of r and of the lag come from quantiles pooled over every
// place and date that has a lag.
struct SpatialMarkovResult {
    int k = 0;
    int firstYear = 0, lastYear = 0;
    std::vector<TransitionMatrix> byLag;  // one per lag class
    TransitionMatrix pooled;
    // The homogeneity tests of Bickenbach and Bode, as giddy computes them.
    double q = 0, lr = 0, qP = 0, lrP = 0;
    int df = 0;
    long long withoutNeighbours = 0;  // place-dates present but without a neighbour
    int placesNeverLinked = 0;        // places present at some date that never had one
    std::vector<int> skippedYears;    // dates with too few places for --neighbours
};

SpatialMarkovResult SpatialMarkovOf(const SizePanel& relative, const NeighbourRule& rule, int k);

// Q, LR and their degrees of freedom and upper chi-square p for conditional transition counts.
void HomogeneityTests(SpatialMarkovResult& s);

// Prints the stacked conditional matrices (F) and the tests (F-2), and adds both to the tables.
void PrintSpatialMarkov(const SpatialMarkovResult& s, TextSurface& text);
