#pragma once
#include <cstdint>

#include "data/DataSet.h"
#include "draw/Canvas.h"
#include "stats/DistFit.h"

// The pictures of Dist-Fit.

// Tags of their ops: a law's point on the AIC picture (date = the date, point = 1 + the law's
// index) and a place on Dist-Plot (city and date).
inline constexpr int16_t DistAicPoint = 46;
inline constexpr int16_t DistPlace = 47;

// AIC of each law minus the best AIC of its date, through time, on a scale that shows 0 and
// differences of thousands alike (ln(1 + dAIC) with round labels).
void DrawDistFitAic(const DataSet& d, const DistFitState& s, const Canvas& c);

// Date t: on the left P(X >= x) of every place present on log-log axes with the three fitted
// laws; on the right the histogram of ln x with the fitted densities of ln x; the switch
// point and x_min marked on both; a key naming each law with its AIC.
void DrawDistPlot(const DataSet& d, int t, const DistFitRow& row, const Canvas& c);
