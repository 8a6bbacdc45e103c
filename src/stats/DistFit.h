#pragma once
#include <array>
#include <atomic>
#include <span>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "draw/TextSurface.h"
#include "stats/DistModels.h"
#include "stats/TailFit.h"

// Dist-Fit: which law describes the whole size distribution of a date. Each date's places
// present are fitted by maximum likelihood to the lognormal, the double Pareto-lognormal and
// the lognormal body with a Pareto tail (DistModels.h), with KS distance, AIC and BIC; then
// the tests of DistFitTests.h. Double precision throughout. Use:
//   DistFitState s = FitDistAllDates(data, minTail, control);  // FitCancelled on cancel
//   PrintDistFit(s, text);                                     // both tables + CSV

enum class Law { Lognormal = 0, Dpln = 1, LognormalPareto = 2 };
inline constexpr std::array<Law, 3> AllLaws = {Law::Lognormal, Law::Dpln, Law::LognormalPareto};
const char* LawName(Law law);  // "lognormal", "dpln", "lognormal-pareto"
int LawParameters(Law law);    // k

// One law fitted to one sample; `ok` false with `reason` when it could not be fitted.
struct LawFit {
    Law law = Law::Lognormal;
    bool ok = false;
    std::string reason;
    std::string limit;  // how a maximum on the boundary was reached, empty inside
    double logL = 0, aic = 0, bic = 0, ks = 0;
    LognormalLaw lognormal;
    DplnLaw dpln;
    LognormalParetoLaw lp;
};
double LogPdf(const LawFit& fit, double x);
double Cdf(const LawFit& fit, double x);

// The sample of one date: ascending sizes, and ln x once per distinct size with its count.
struct SizeSample {
    std::vector<double> x;
    std::vector<double> y, count, distinct;  // ln x, its count, and x itself
    double n = 0, sumY = 0;
};
SizeSample MakeSample(std::span<const double> sizes);

// The fits of each law alone (AIC, BIC and KS filled in); `cancel` may be null.
LawFit FitLognormal(const SizeSample& s);
LawFit FitDpln(const SizeSample& s, const std::atomic<bool>* cancel = nullptr);
// The switch point among the sample values with at least `minAbove` places above it and one
// below.
LawFit FitLognormalPareto(const SizeSample& s, const std::atomic<bool>* cancel = nullptr, int minAbove = 10);

// sup |F_n - F| over the sample, F_n taken at and just below each distinct value.
double KsDistance(std::span<const double> ascending, const LawFit& fit);

// Fewest places for a date to be fitted.
inline constexpr int MinPlacesToFit = 20;

struct DistFitRow {
    int year = 0, date = 0, n = 0;
    std::string reason;  // why nothing was fitted (too few places), else empty
    std::array<LawFit, 3> fits;
    // Tests (DistFitTests.h).
    std::string best;  // the lowest AIC, "-" when no law was fitted
    bool vuongOk = false;
    double vuongZ = 0, vuongP = 1;
    bool giOk = false;
    double xmin = 0, giQ = 0, giStat = 0;
    int nTail = 0;
    bool giReject = false;
    std::string giReason;
};

struct DistFitState {
    int minTail = 10;
    std::vector<DistFitRow> rows;  // one per date
};

// One date: the three fits and the tests; the tail for the curvature test starts at
// Tail-Fit's x_min with at least `minTail` places.
DistFitRow FitDistDate(std::span<const double> sizes, int year, int date, int minTail,
                       const std::atomic<bool>* cancel = nullptr);
// Every date, dates fitted in parallel; progress counts dates.
DistFitState FitDistAllDates(const DataSet& d, int minTail, const TailFitControl& control = {});

// The two tables into the text, each also as a CSV table.
void PrintDistFit(const DistFitState& state, TextSurface& text);
