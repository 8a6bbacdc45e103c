// The lognormal body with a Pareto tail: the switch point by profile likelihood.
#include <algorithm>
#include <cmath>

#include "stats/DistFit.h"
#include "stats/MultiStart.h"

void ScoreLawFit(LawFit& f, const SizeSample& s);

namespace {

// What the likelihood needs of a switch point t: the sums over the body (x < t) of
// u = ln(x / t) and u^2, and over the tail (x >= t) of ln(x / t).
struct SwitchSums {
    double lnT = 0, nBody = 0, u1 = 0, u2 = 0, tailLog = 0;
};

// The log-likelihood at (b, s) with alpha at its best for them:
//   l = -sum y + b U1 - s^2 U2 / 2 + n ln(alpha h / (alpha + h)) - alpha L,
// maximised by alpha = 2 n h / (h L + sqrt(h^2 L^2 + 4 n h L)).
double ProfileLogL(const SizeSample& smp, const SwitchSums& w, double b, double s, double* alphaOut = nullptr) {
    const LognormalParetoLaw law{1, b, s, 1};
    const double logH = law.LogH();
    if (!std::isfinite(logH)) return -Infinity;
    const double h = std::exp(logH), n = smp.n, L = w.tailLog;
    const double alpha = 2 * n * h / (h * L + std::sqrt(h * h * L * L + 4 * n * h * L));
    if (alphaOut) *alphaOut = alpha;
    return -smp.sumY + b * w.u1 - 0.5 * s * s * w.u2 + n * (std::log(alpha) + logH - std::log(alpha + h)) - alpha * L;
}

// The body as a power law x^(b-1) (s = 0): the best b = n / (B + sqrt(B L)), B = -U1.
double LimitB(const SizeSample& smp, const SwitchSums& w) {
    const double B = -w.u1;
    return smp.n / (B + std::sqrt(B * w.tailLog));
}

struct PerSwitch {
    double logL = -Infinity, b = 0, s = 0;
};

// Inside the family the search runs over r = (ln t - mu) / sigma, the body's standardised
// end, and ln s, which keep a lognormal body of any spread on one scale; the power-law limit
// (s -> 0 with b = -r s fixed) is checked in closed form by the caller.
PerSwitch Maximise(const SizeSample& smp, const SwitchSums& w, const std::vector<std::vector<double>>& starts,
                   const std::atomic<bool>* cancel, double tolerance = 1e-10) {
    MultiStartProblem p;
    p.objective = [&](const std::vector<double>& x, double*) {
        const double s = std::exp(x[1]);
        return ProfileLogL(smp, w, -x[0] * s, s);
    };
    p.lower = {-1e3, -25};
    p.upper = {1e3, 15};
    p.step = {0.3, 0.2};
    p.simplex = true;
    p.xtolRel = tolerance;
    p.ftolAbs = tolerance;
    const MultiStartResult r = MaximiseFromStarts(p, starts, cancel);
    if (!r.converged) return {};
    const double s = std::exp(r.x[1]);
    return {r.value, -r.x[0] * s, s};
}

}  // namespace

LawFit FitLognormalPareto(const SizeSample& smp, const std::atomic<bool>* cancel, int minAbove) {
    LawFit out;
    out.law = Law::LognormalPareto;
    const std::size_t m = smp.y.size();
    double meanY = smp.sumY / smp.n, ss = 0;
    for (std::size_t i = 0; i < m; ++i) ss += smp.count[i] * (smp.y[i] - meanY) * (smp.y[i] - meanY);
    const double sd = std::sqrt(ss / smp.n);
    // Candidates: t = e^y[j] with a value below and at least minAbove values above.
    std::vector<SwitchSums> sums;
    std::vector<std::size_t> index;
    double nBody = 0, p1 = 0, p2 = 0;
    for (std::size_t j = 0; j < m; ++j) {
        const double above = smp.n - nBody - smp.count[j];
        if (nBody >= 1 && above >= minAbove) {
            const double lt = smp.y[j];
            SwitchSums w{lt, nBody, p1 - nBody * lt, p2 - 2 * lt * p1 + nBody * lt * lt,
                         (smp.sumY - p1) - (smp.n - nBody) * lt};
            sums.push_back(w);
            index.push_back(j);
        }
        nBody += smp.count[j];
        p1 += smp.count[j] * smp.y[j];
        p2 += smp.count[j] * smp.y[j] * smp.y[j];
    }
    if (sums.empty() || !(sd > 0)) {
        out.reason = "no switch point has " + std::to_string(minAbove) + " places above it and one below";
        return out;
    }
    // Starts as (r, ln s): the whole sample's lognormal, and a body far steeper than it.
    auto lognormalStart = [&](const SwitchSums& w) { return std::vector<double>{(w.lnT - meanY) / sd, -std::log(sd)}; };
    auto steepStart = [&](const SwitchSums& w) { return std::vector<double>{(w.lnT - meanY) / sd - 3, -std::log(sd)}; };
    auto Value = [&](const SwitchSums& w, const std::vector<double>& x) {
        const double s = std::exp(x[1]);
        return ProfileLogL(smp, w, -x[0] * s, s);
    };
    // The profile over t: one run per candidate from the best of a warm start (the last
    // candidate's maximum) and the two above.
    std::vector<PerSwitch> profile(sums.size());
    std::vector<double> warm = lognormalStart(sums[0]);
    for (std::size_t k = 0; k < sums.size(); ++k) {
        if (cancel && cancel->load()) throw FitCancelled();
        const SwitchSums& w = sums[k];
        std::vector<std::vector<double>> starts = {warm, lognormalStart(w), steepStart(w)};
        // The scan only ranks the switch points, so it runs with a loose tolerance from the best
        // start, or on small samples (where one place moves the profile most) from the two best:
        // the likelihood at one t can have two local maxima. The best are refined below.
        std::vector<std::pair<double, std::size_t>> ranked;
        for (std::size_t i = 0; i < starts.size(); ++i) ranked.push_back({Value(w, starts[i]), i});
        std::sort(ranked.begin(), ranked.end(), std::greater<>());
        std::vector<std::vector<double>> from = {starts[ranked[0].second]};
        if (sums.size() <= 500) from.push_back(starts[ranked[1].second]);
        profile[k] = Maximise(smp, w, from, cancel, sums.size() <= 500 ? 1e-7 : 1e-5);
        if (profile[k].logL > -Infinity) warm = {-profile[k].b / profile[k].s, std::log(profile[k].s)};
        // The power-law body, in closed form, when it is higher.
        const double bLimit = LimitB(smp, w), limitLogL = ProfileLogL(smp, w, bLimit, 0);
        if (limitLogL > profile[k].logL) profile[k] = {limitLogL, bLimit, 0};
    }
    // The few best switch points again from every start.
    std::vector<std::size_t> order(sums.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    const std::size_t top = std::min<std::size_t>(10, order.size());
    std::partial_sort(order.begin(), order.begin() + static_cast<long>(top), order.end(),
                      [&](std::size_t a, std::size_t b) { return profile[a].logL > profile[b].logL; });
    PerSwitch best;
    std::size_t bestK = 0;
    for (std::size_t i = 0; i < top; ++i) {
        const std::size_t k = order[i];
        const SwitchSums& w = sums[k];
        std::vector<std::vector<double>> starts = {lognormalStart(w), steepStart(w), {lognormalStart(w)[0], 1 - std::log(sd)},
                                                   {lognormalStart(w)[0] + 2, -1 - std::log(sd)}};
        if (profile[k].s > 0) starts.push_back({-profile[k].b / profile[k].s, std::log(profile[k].s)});
        PerSwitch r = Maximise(smp, w, starts, cancel);
        if (r.logL < profile[k].logL) r = profile[k];
        if (r.logL > best.logL) best = r, bestK = k;
    }
    if (cancel && cancel->load()) throw FitCancelled();
    if (!(best.logL > -Infinity)) {
        out.reason = "no start converged";
        return out;
    }
    const SwitchSums& w = sums[bestK];
    out.lp.t = smp.distinct[index[bestK]];
    // The body a power law: the supremum is the limit s -> 0 (sigma -> infinity with b fixed).
    // Report the finite parameters nearest it whose likelihood is within 1e-6 of it.
    const double bLimit = LimitB(smp, w), limitLogL = ProfileLogL(smp, w, bLimit, 0);
    if (limitLogL >= best.logL - 1e-9) {
        double s = 1e-2;
        while (s > 1e-12 && ProfileLogL(smp, w, bLimit, s) < limitLogL - 1e-6) s /= 2;
        best = {ProfileLogL(smp, w, bLimit, s), bLimit, s};
        char text[160];
        std::snprintf(text, sizeof text,
                      "the body tends to a power law x^(b-1), b = (mu - ln t) / sigma^2 = %.6g, as sigma -> inf", bLimit);
        out.limit = text;
    }
    out.lp.b = best.b;
    out.lp.s = best.s;
    ProfileLogL(smp, w, best.b, best.s, &out.lp.alpha);
    out.ok = true;
    ScoreLawFit(out, smp);
    if (!std::isfinite(out.logL)) {
        out.ok = false;
        out.reason = "the likelihood is not finite at the maximum";
    }
    return out;
}
