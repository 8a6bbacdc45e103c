#pragma once
#include <string>
#include <vector>

// Where an axis puts its ticks and what it writes there. Positions are in data units along
// the axis (the natural log of the value on log axes); the caller maps them to twips.
struct Tick {
    double at;
    std::string label;
};

// Round values 1, 2 or 5 times a power of ten apart from lo to hi, about `target` of them;
// labels shortened with "k" and "m" when the step allows ("250k", "1.5m", "0.25").
std::vector<Tick> LinearTicks(double lo, double hi, int target = 6);

// The powers of ten 1, 10, 100, ... whose logarithm lies in [0, lnHi].
std::vector<Tick> LogTicks(double lnHi);

// Ticks of a log axis between the logarithms lo and hi, for a zoomed range: the powers of ten
// there, with 2 and 5 times them when fewer than three powers fall in it, and round values
// spaced evenly when even those give fewer than three.
std::vector<Tick> LogTicksIn(double lnLo, double lnHi);

// The first and last year at their positions, and round years between (a step of 1, 2, 5,
// 10, 20, 25, 50, ... years, the smallest whose labels do not overprint); a round year whose
// label would touch the first or last one is left out. Years map linearly from
// (first, xFirst) to (last, xLast); twipsPerUnit converts data units to twips.
std::vector<Tick> YearTicks(int first, int last, double xFirst, double xLast, double twipsPerUnit, float fontSize);

// Every k-th tick, for the smallest k whose labels no longer overprint along the axis:
// `horizontal` labels take their estimated width, vertical ones the line height.
std::vector<Tick> Thinned(const std::vector<Tick>& ticks, double twipsPerUnit, float fontSize, bool horizontal);

// Estimated size of a label in twips: about 0.6 em per character, 20 twips per point.
double LabelWidth(const std::string& label, float fontSize);
double LabelHeight(float fontSize);
