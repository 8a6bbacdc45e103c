#include "stats/MultiStart.h"

#include <cmath>
#include <nlopt.hpp>

namespace {

// A finite stand-in for an impossible point: NLopt's methods need a number to compare.
constexpr double Impossible = -1e300;

struct Call {
    const MultiStartProblem* problem;
    const std::atomic<bool>* cancel;
    nlopt::opt* opt;
    int evaluations = 0;
};

double Evaluate(const std::vector<double>& x, std::vector<double>& grad, void* data) {
    auto* call = static_cast<Call*>(data);
    ++call->evaluations;
    if (call->cancel && call->cancel->load(std::memory_order_relaxed)) call->opt->force_stop();
    const double v = call->problem->objective(x, grad.empty() ? nullptr : grad.data());
    if (std::isfinite(v)) return v;
    for (double& g : grad) g = 0;
    return Impossible;
}

}  // namespace

MultiStartResult MaximiseFromStarts(const MultiStartProblem& problem, const std::vector<std::vector<double>>& starts,
                                    const std::atomic<bool>* cancel) {
    MultiStartResult best;
    best.failure = "no start";
    for (const auto& start : starts) {
        const unsigned dim = static_cast<unsigned>(start.size());
        nlopt::opt opt(problem.useGradient ? nlopt::LD_LBFGS : problem.simplex ? nlopt::LN_NELDERMEAD : nlopt::LN_BOBYQA, dim);
        Call call{&problem, cancel, &opt};
        opt.set_max_objective(Evaluate, &call);
        if (!problem.lower.empty()) opt.set_lower_bounds(problem.lower);
        if (!problem.upper.empty()) opt.set_upper_bounds(problem.upper);
        if (!problem.step.empty()) opt.set_initial_step(problem.step);
        opt.set_xtol_rel(problem.xtolRel);
        opt.set_ftol_abs(problem.ftolAbs);
        opt.set_maxeval(problem.maxEvaluations);
        std::vector<double> x = start;
        if (!problem.lower.empty())
            for (unsigned i = 0; i < dim; ++i) x[i] = std::max(problem.lower[i], std::min(problem.upper[i], x[i]));
        double value = Impossible;
        bool ok = false;
        try {
            const nlopt::result r = opt.optimize(x, value);
            ok = r > 0 && r != nlopt::MAXEVAL_REACHED && r != nlopt::MAXTIME_REACHED;
            if (!ok) best.failure = r == nlopt::MAXEVAL_REACHED ? "no convergence within the evaluation limit"
                                                                : "the optimiser stopped";
        } catch (const nlopt::roundoff_limited&) {
            value = opt.last_optimum_value();
            ok = true;
        } catch (const nlopt::forced_stop&) {
            best.evaluations += call.evaluations;
            return best;  // cancelled: the caller notices the flag
        } catch (const std::exception& e) {
            best.failure = e.what();
        }
        best.evaluations += call.evaluations;
        if (cancel && cancel->load()) return best;
        ok = ok && std::isfinite(value) && value > Impossible;
        if (ok && (!best.converged || value > best.value)) {
            best.x = x;
            best.value = value;
            best.converged = true;
        }
    }
    if (best.converged) best.failure.clear();
    return best;
}
