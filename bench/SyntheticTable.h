#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "data/DataSet.h"

// A seeded synthetic table of `places` x `dates` (years every 5 from 2010 backwards), built
// as a loader builds one (exact populations, single-precision grid, presence, calendar):
// - two places in five are there from the first date, the others enter at a uniformly drawn
//   later date, smaller than the places already there; one in twenty exits for good later on;
// - first sizes are lognormal (median about 3,000, sigma 1.3); each step multiplies a size by
//   a lognormal factor (Gibrat's law) with a drift of its own per place;
// - populations are whole numbers, each place has a name, a region (one of 50) and an ID.
// The same seed gives the same table.
std::unique_ptr<DataSet> SyntheticTable(int places, int dates, std::uint64_t seed = 20261207);

// The same in two steps, so a benchmark can time the loader's part alone: the drawn
// populations (place-major, 0 where absent), then the data set built from them.
struct SyntheticValues {
    int places = 0, dates = 0;
    std::vector<double> population;
    std::vector<std::string> groups;
};
SyntheticValues DrawSyntheticValues(int places, int dates, std::uint64_t seed = 20261207);
std::unique_ptr<DataSet> BuildSyntheticTable(const SyntheticValues& v);
