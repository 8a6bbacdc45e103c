// Dist-Fit's two tables: the fits of each law, and the tests.
#include <cmath>
#include <cstdio>

#include "draw/ResultTable.h"
#include "stats/DistFit.h"

namespace {

constexpr double NotApplicable = NAN;

// A parameter as text: "inf" for an infinite one, "-" where it does not apply to the law
// (not a missing value, which would be an empty cell).
std::string Csv(double v) {
    if (std::isinf(v)) return v > 0 ? "inf" : "-inf";
    return std::isnan(v) ? "-" : CsvValue(v);
}

std::string Shown(double v, int width) {
    if (std::isinf(v)) return RightAligned(v > 0 ? "inf" : "-inf", width);
    if (!std::isfinite(v)) return RightAligned("-", width);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%*.*g", width, 6, v);
    return buf;
}

struct Parameters {
    double mu = NotApplicable, sigma = NotApplicable, alpha = NotApplicable, beta = NotApplicable,
           t = NotApplicable;
};

Parameters Of(const LawFit& f) {
    Parameters p;
    if (!f.ok) return p;
    switch (f.law) {
        case Law::Lognormal: p.mu = f.lognormal.mu, p.sigma = f.lognormal.sigma; break;
        case Law::Dpln: p.mu = f.dpln.mu, p.sigma = f.dpln.sigma, p.alpha = f.dpln.alpha, p.beta = f.dpln.beta; break;
        case Law::LognormalPareto:
            p.mu = f.lp.Mu(), p.sigma = f.lp.Sigma(), p.alpha = f.lp.alpha, p.t = f.lp.t;
            break;
    }
    return p;
}

}  // namespace

void PrintDistFit(const DistFitState& state, TextSurface& text) {
    text.Line("Which law? Maximum likelihood fits of the whole distribution at each date (places present)");
    text.Line("AIC = 2k - 2 logL, BIC = k ln n - 2 logL; KS = sup |F_n - F|; '-' where a parameter does not apply");
    const int w[] = {5, 17, 5, 2, 12, 11, 11, 7, 9, 9, 8, 8, 9};
    const char* head[] = {"Year", "Model", "n", "k", "logL", "AIC", "BIC", "KS", "mu", "sigma", "alpha", "beta", "switch"};
    std::string line;
    for (int i = 0; i < 13; ++i) line += (i == 1 ? head[i] + std::string(w[i] - 5, ' ') : RightAligned(head[i], w[i])) + " ";
    text.Line(line);
    ResultTable fits;
    fits.title = "Dist fits";
    fits.columns = {"Year", "Model", "n", "k", "logL", "AIC", "BIC", "KS", "mu", "sigma", "alpha", "beta", "switch"};
    std::vector<std::string> notes;
    for (const auto& r : state.rows) {
        for (const auto& f : r.fits) {
            const Parameters p = Of(f);
            const double logL = f.ok ? f.logL : NotApplicable, aic = f.ok ? f.aic : NotApplicable;
            const double bic = f.ok ? f.bic : NotApplicable, ks = f.ok ? f.ks : NotApplicable;
            std::string name = LawName(f.law);
            name.resize(static_cast<std::size_t>(w[1]), ' ');
            text.Line(RightAligned(std::to_string(r.year), w[0]) + " " + name + " " + RightAligned(std::to_string(r.n), w[2]) +
                      " " + RightAligned(std::to_string(LawParameters(f.law)), w[3]) + " " + FixedCell(logL, w[4], 2) +
                      " " + FixedCell(aic, w[5], 2) + " " + FixedCell(bic, w[6], 2) + " " + FixedCell(ks, w[7], 4) + " " +
                      Shown(p.mu, w[8]) + " " + Shown(p.sigma, w[9]) + " " + Shown(p.alpha, w[10]) + " " +
                      Shown(p.beta, w[11]) + " " + Shown(p.t, w[12]));
            fits.Row().Add(r.year).Add(LawName(f.law)).Add(r.n).Add(LawParameters(f.law));
            for (double v : {logL, aic, bic, ks, p.mu, p.sigma, p.alpha, p.beta, p.t}) fits.Add(Csv(v));
            if (!f.ok && r.reason.empty()) notes.push_back(std::to_string(r.year) + " " + LawName(f.law) + ": not fitted, " + f.reason);
            if (f.ok && !f.limit.empty()) notes.push_back(std::to_string(r.year) + " " + LawName(f.law) + ": " + f.limit);
        }
        if (!r.reason.empty()) notes.push_back(std::to_string(r.year) + ": not fitted, " + r.reason);
    }
    text.Tables.push_back(std::move(fits));
    if (!notes.empty()) {
        text.Line("Notes (a maximum on the boundary is the limit named; the parameters shown are within 1e-6 of its logL):");
        for (const auto& n : notes) text.Line("  " + n);
    }

    text.Line();
    text.Line("Tests: Best = lowest AIC; Vuong z of dpln against lognormal-pareto (positive favours dpln);");
    text.Line("Gabaix-Ibragimov curvature above Tail-Fit's x_min (tail >= " + std::to_string(state.minTail) +
              "): reject a Pareto tail when GI_stat > 1.95");
    const int v[] = {5, 5, 17, 8, 8, 10, 6, 9, 8, 9};
    const char* head2[] = {"Year", "n", "Best", "Vuong_z", "Vuong_p", "x_min", "n_tail", "GI_q", "GI_stat", "GI_reject"};
    line.clear();
    for (int i = 0; i < 10; ++i) line += (i == 2 ? head2[i] + std::string(v[i] - 4, ' ') : RightAligned(head2[i], v[i])) + " ";
    text.Line(line);
    ResultTable tests;
    tests.title = "Dist tests";
    tests.columns = {"Year", "n", "Best", "Vuong_z", "Vuong_p", "x_min", "n_tail", "GI_q", "GI_stat", "GI_reject"};
    for (const auto& r : state.rows) {
        const double z = r.vuongOk ? r.vuongZ : NotApplicable, pv = r.vuongOk ? r.vuongP : NotApplicable;
        const bool tail = r.nTail > 0;
        const double xmin = tail ? r.xmin : NotApplicable;
        const double q = r.giOk ? r.giQ : NotApplicable, st = r.giOk ? r.giStat : NotApplicable;
        const std::string reject = r.giOk ? (r.giReject ? "yes" : "no") : "-";
        std::string best = r.best;
        best.resize(static_cast<std::size_t>(v[2]), ' ');
        text.Line(RightAligned(std::to_string(r.year), v[0]) + " " + RightAligned(std::to_string(r.n), v[1]) + " " + best +
                  " " + FixedCell(z, v[3], 3) + " " + FixedCell(pv, v[4], 4) + " " + FixedCell(xmin, v[5], 0) + " " +
                  RightAligned(tail ? std::to_string(r.nTail) : "-", v[6]) + " " + FixedCell(q, v[7], 4) + " " +
                  FixedCell(st, v[8], 3) + " " + RightAligned(reject, v[9]));
        tests.Row().Add(r.year).Add(r.n).Add(r.best).Add(Csv(z)).Add(Csv(pv)).Add(Csv(xmin));
        tests.Add(tail ? std::to_string(r.nTail) : "-").Add(Csv(q)).Add(Csv(st)).Add(reject);
    }
    text.Tables.push_back(std::move(tests));
}
