#pragma once
#include "data/DataSet.h"
#include "draw/Canvas.h"
#include "stats/TailFit.h"

// The pictures of Tail-Fit, all in double precision like the fits themselves.

// zeta_GI and zeta_MLE through time, each with its band +- 1.96 SE as thin lines, a line at
// zeta = 1 and a key, on the time axes. Each date's points carry OpTag{0, t,
// TailFitExponents} so hovering names the date.
void DrawTailFitExponents(const DataSet& d, const TailFitState& s, const Canvas& c);

// The complementary CDF P(X >= x) of date t (1-based) on log-log axes, every present city
// (tagged with its city and date), the fitted power law from x_min, the truncated lognormal
// over the same tail (both scaled by n_tail / n) and a mark at x_min.
void DrawTailPlot(const DataSet& d, int t, const TailFitRow& fit, const Canvas& c);

// The Hill plot of date t: zeta_k against k with its band +- 1.96 zeta_k / sqrt(k); the
// points carry OpTag{0, t, TailHillPoint, k}.
void DrawHillPlot(const DataSet& d, int t, const Canvas& c);
