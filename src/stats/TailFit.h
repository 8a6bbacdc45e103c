#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "data/DataSet.h"
#include "draw/TextSurface.h"
#include "stats/TailFitNumerics.h"

// Tail-Fit: per date, the rank - 1/2 regression, the power-law MLE with xmin by KS, its
// bootstrap p-value and Vuong's test against the truncated lognormal (TailFitNumerics.h).
// Double precision throughout. Use:
//   TailFitState s = FitAllDates(data, options, control);  // throws RunError first if a date
//                                                          // is too small, FitCancelled on cancel
//   PrintTailFit(s, text);                                 // table + CSV
// Tail-Plot of one date: PresentPopulations(data, t), then FitDate (or the row of the
// state), HillEstimates, and TruncatedLognormalLogPdf / the fitted alpha for the curves.

struct TailFitOptions {
    int minTail = 10;         // fewest values in a fitted tail
    int replicates = 1000;    // bootstrap replicates; 0 skips the bootstrap
    std::uint64_t seed = 20261206;
    int threads = 0;          // 0: all cores
};

// Progress and cancel, both optional. progress(done, total) is called on the calling
// thread, counting one step per date fit and one per bootstrap replicate (FitDate counts
// its own date only). Cancel is noticed within milliseconds, even at 10,000 places.
struct TailFitControl {
    std::function<void(long done, long total)> progress;
    const std::atomic<bool>* cancel = nullptr;
};

struct TailFitRow {
    int year = 0;
    int n = 0;  // present cities
    RankHalfFit gi;
    PowerLawFit pl;
    std::optional<double> pBoot;  // empty when the bootstrap was skipped
    LognormalFit lognormal;
    VuongTest vuong;
    // Why the date has no fit (too few places present, a flat tail); empty when fitted. Such a
    // row keeps its year and n and has no numbers.
    std::string reason;
};

struct TailFitState {
    TailFitOptions options;
    std::vector<TailFitRow> rows;  // one per date, in date order
};

// The present (nonzero) populations of date t (1-based), in city order.
std::vector<double> PresentPopulations(const DataSet& d, int t);

// Fits one date. `dateIndex` picks the bootstrap's random stream. Throws RunError naming
// `year` when there are fewer than minTail values (minTail >= 2) or no finite power-law fit.
TailFitRow FitDate(std::span<const double> populations, int year, int dateIndex, const TailFitOptions& options,
                   const TailFitControl& control = {});

// Every date of the data set. A date that cannot be fitted keeps a row with its reason, so a
// group or a selection with few places at its first censuses still shows the others; throws
// RunError when no date can be fitted.
TailFitState FitAllDates(const DataSet& d, const TailFitOptions& options, const TailFitControl& control = {});

// The table, one row per date, into the text, and the same numbers as a CSV table.
void PrintTailFit(const TailFitState& state, TextSurface& text);
