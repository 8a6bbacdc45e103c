#pragma once
#include <atomic>
#include <functional>
#include <string>
#include <vector>

// Maximum likelihood from several starts with NLopt: likelihoods of mixtures and kinked laws
// have ridges and local maxima, so one start is not enough. Shared by the analyses that fit
// such laws.
struct MultiStartProblem {
    // The function to maximise; fills `grad` when it is non-null (gradient methods only).
    // It may return -Infinity or NaN where the parameters are impossible.
    std::function<double(const std::vector<double>& x, double* grad)> objective;
    bool useGradient = false;  // L-BFGS with the gradient, else BOBYQA without one
    bool simplex = false;      // without a gradient, Nelder-Mead: less work per step when the
                               // function itself costs next to nothing
    std::vector<double> lower, upper;  // empty: unbounded (gradient method only)
    std::vector<double> step;          // initial step of BOBYQA, one per parameter
    double xtolRel = 1e-10;
    double ftolAbs = 1e-11;
    int maxEvaluations = 3000;
};

struct MultiStartResult {
    std::vector<double> x;
    double value = -1e300;
    bool converged = false;  // at least one start ended at a finite maximum
    int evaluations = 0;
    std::string failure;  // why none converged
};

// Runs the optimiser from every start and keeps the highest finite maximum. A start that
// stops on NLopt's round-off limit counts as converged: at a maximum the likelihood cannot
// improve in the last digits. `cancel` (may be null) is checked at every evaluation; the
// caller throws when it is raised.
MultiStartResult MaximiseFromStarts(const MultiStartProblem& problem, const std::vector<std::vector<double>>& starts,
                                    const std::atomic<bool>* cancel = nullptr);
