#pragma once
#include <optional>
#include <string>
#include <vector>

#include "draw/TextSurface.h"
#include "stats/MarkovChain.h"

struct DataSet;

// Sizes of every place at every date, double precision: value(i, t) > 0 where the place is
// present, 0 where not; rows are places (0-based), columns dates (0-based).
struct SizePanel {
    int places = 0, dates = 0;
    std::vector<int> years;
    std::vector<double> value;  // place-major
    double& At(int i, int t) { return value[static_cast<std::size_t>(i) * dates + t]; }
    double At(int i, int t) const { return value[static_cast<std::size_t>(i) * dates + t]; }
};
SizePanel PanelOf(const DataSet& d);

// Relative size r = value / the mean of the places present at that date (0 where absent).
SizePanel RelativeSizes(const SizePanel& p);

// Markov: each date classed by the quantiles of its own relative sizes, transitions pooled
// over consecutive dates among the places present at both.
struct MarkovResult {
    int k = 0;
    int firstYear = 0, lastYear = 0;
    TransitionMatrix transitions;
    std::vector<double> p;                      // stochastic rows (an empty class stays put)
    std::optional<std::vector<double>> steady;  // none: more than one recurrent class
    std::vector<double> firstPassage;           // K x K
    MobilityIndices mobility;
};
MarkovResult MarkovOf(const SizePanel& relative, int k);

// Prints the three tables (transitions with steady state and sojourn times, first-passage
// times, mobility indices) and adds them to the text's tables for CSV.
void PrintMarkov(const MarkovResult& m, TextSurface& text);

// A number for the tables: "inf" for infinity, "-" for none (NaN).
std::string MarkovCsvCell(double v);
std::string MarkovFixedCell(double v, int width, int decimals);
