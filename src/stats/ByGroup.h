#pragma once
#include <optional>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "draw/TextSurface.h"
#include "stats/TailFit.h"

// By-Group: every group of the table side by side, one row per group and date with enough
// places present: size, primacy, concentration and the tail exponents of Tail-Fit (the same
// estimators, TailFitNumerics.h). Double precision and exact sums throughout. Use:
//   ByGroupState s = FitByGroups(data, options, tailOptions, control);  // FitCancelled on cancel
//   PrintByGroup(s, text);                                              // table + CSV

struct ByGroupOptions {
    int minPlaces = 10;  // fewest places present for a group-date to get a row
    int replicates = 0;  // bootstrap replicates of the power law; 0 skips the bootstrap
};

struct ByGroupRow {
    std::string group;
    int year = 0;
    int date = 0;  // 1-based index into the table's dates
    int n = 0;     // places present
    double total = 0, largestShare = 0, s1s2 = 0, hhi = 0, gini = 0;
    std::string largest;  // the largest place's name (the first in table order on a tie)
    RankHalfFit gi;       // over every place present
    PowerLawFit pl;       // ok == false where the date has fewer places than the smallest tail
    std::optional<double> pBoot;
};

struct ByGroupState {
    ByGroupOptions options;
    int minTail = 10;
    std::vector<std::string> groups;  // the groups with at least one row, in name order
    std::vector<int> years;           // every date of the table
    std::vector<ByGroupRow> rows;     // by group, then date
    // The row of group g (index into groups) at date t, or null.
    const ByGroupRow* Find(std::size_t g, int t) const;
    std::vector<std::size_t> rowIndex;  // groups.size() * years.size() entries, npos where none
};

// Size statistics of the sizes present, any order: total, S1 / total, S1 / S2 (NaN for a
// single place), the Herfindahl index sum (S_i / total)^2 and the Gini coefficient
// sum_i (2 i - n - 1) x_(i) / (n sum x) over the ascending sizes.
struct SizeShares {
    double total = 0, largestShare = 0, s1s2 = 0, hhi = 0, gini = 0;
};
SizeShares ShareStatistics(std::span<const double> sizes);

ByGroupState FitByGroups(const DataSet& d, const ByGroupOptions& options, const TailFitOptions& tail,
                         const TailFitControl& control = {});

void PrintByGroup(const ByGroupState& state, TextSurface& text);
