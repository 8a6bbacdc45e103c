#include "stats/TailFit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

// A fixed-width number, or "-" where there is none.
std::string Cell(double v, int width, int decimals) { return FixedCell(v, width, decimals); }
std::string Cell(const std::string& s, int width) { return RightAligned(s, width); }

// Every date is checked before any fitting, so a too small date stops the command at once.
void CheckSize(int n, int year, const TailFitOptions& o) {
    if (o.minTail < 2) throw RunError("Tail-Fit: the smallest tail must have at least 2 cities");
    if (n < o.minTail)
        throw RunError("Tail-Fit: " + std::to_string(year) + " has " + std::to_string(n) +
                       " cities present; the fit needs at least " + std::to_string(o.minTail));
}

}  // namespace

std::vector<double> PresentPopulations(const DataSet& d, int t) {
    std::vector<double> x;
    for (int c = 1; c <= d.NumCities; ++c)
        if (d.Present(c, t) == 1 && d.Pop(c, t) > 0) x.push_back(d.Pop(c, t));
    return x;
}

TailFitRow FitDate(std::span<const double> populations, int year, int dateIndex, const TailFitOptions& options,
                   const TailFitControl& control) {
    const int n = static_cast<int>(populations.size());
    CheckSize(n, year, options);
    std::vector<double> sorted(populations.begin(), populations.end());
    std::sort(sorted.begin(), sorted.end());

    TailFitRow row;
    row.year = year;
    row.n = n;
    row.gi = FitRankHalf(sorted);
    row.pl = FitPowerLaw(sorted, options.minTail, control.cancel);
    if (!row.pl.ok)
        throw RunError("Tail-Fit: the largest populations of " + std::to_string(year) +
                       " are all equal, so no power law can be fitted");
    const std::span<const double> tail(sorted.end() - row.pl.nTail, sorted.end());
    row.lognormal = FitTruncatedLognormal(tail, row.pl.xmin);
    row.vuong = ComparePowerLawLognormal(tail, row.pl, row.lognormal);
    if (options.replicates > 0) {
        BootstrapOptions b;
        b.replicates = options.replicates;
        b.minTail = options.minTail;
        b.seed = options.seed;
        b.stream = static_cast<std::uint64_t>(dateIndex);
        b.threads = options.threads;
        b.cancel = control.cancel;
        if (control.progress) {
            control.progress(1, 1 + options.replicates);
            b.progress = [&](int done) { control.progress(1 + done, 1 + options.replicates); };
        }
        row.pBoot = BootstrapP(sorted, row.pl, b);
    }
    return row;
}

namespace {

// A date with no fit: its year, n and reason, every number missing.
TailFitRow Unfitted(int year, int n, std::string reason) {
    TailFitRow row;
    row.year = year;
    row.n = n;
    row.reason = std::move(reason);
    const double none = std::nan("");
    row.gi.zeta = row.gi.se = none;
    row.pl.xmin = row.pl.zeta = row.pl.se = row.pl.D = none;
    row.pl.nTail = 0;
    row.vuong.normalised = row.vuong.p = none;
    row.vuong.favoured.assign(1, '-');  // not `= "-"`: g++ 12 misreads it at -O3 as an overlapping copy
    return row;
}

}  // namespace

TailFitState FitAllDates(const DataSet& d, const TailFitOptions& options, const TailFitControl& control) {
    if (options.minTail < 2) throw RunError("Tail-Fit: the smallest tail must have at least 2 cities");
    std::vector<std::vector<double>> dates;
    for (int t = 1; t <= d.NumDates; ++t) dates.push_back(PresentPopulations(d, t));
    const long total = static_cast<long>(d.NumDates) * (1 + std::max(0, options.replicates));
    TailFitState state;
    state.options = options;
    for (int t = 1; t <= d.NumDates; ++t) {
        const long before = static_cast<long>(t - 1) * (1 + std::max(0, options.replicates));
        TailFitControl step;
        step.cancel = control.cancel;
        if (control.progress) {
            control.progress(before, total);
            step.progress = [&](long done, long) { control.progress(before + done, total); };
        }
        const int n = static_cast<int>(dates[t - 1].size());
        try {
            state.rows.push_back(FitDate(dates[t - 1], d.DateYear(t), t, options, step));
        } catch (const FitCancelled&) {
            throw;
        } catch (const RunError& e) {
            const std::string why = n < options.minTail ? std::to_string(n) + " places present, fewer than the " +
                                                              std::to_string(options.minTail) + " a tail needs"
                                                        : std::string(e.what()).substr(std::string("Tail-Fit: ").size());
            state.rows.push_back(Unfitted(d.DateYear(t), n, why));
        }
    }
    if (std::all_of(state.rows.begin(), state.rows.end(), [](const TailFitRow& r) { return !r.reason.empty(); })) {
        const TailFitRow& first = state.rows.front();
        throw RunError("Tail-Fit: no date can be fitted (" + std::to_string(first.year) + ": " + first.reason + ")");
    }
    if (control.progress) control.progress(total, total);
    return state;
}

void PrintTailFit(const TailFitState& state, TextSurface& text) {
    const auto& o = state.options;
    std::string title = "Tail fits: rank-1/2 regression, power-law MLE (x_min by KS, tail >= " +
                        std::to_string(o.minTail) + ")";
    if (o.replicates > 0)
        title += ", bootstrap p (" + std::to_string(o.replicates) + " replicates, seed " + std::to_string(o.seed) + ")";
    title += ", LR vs lognormal";
    text.Line(title);
    const int w[] = {5, 5, 7, 6, 10, 6, 8, 6, 6, 6, 7, 6};
    const char* head[] = {"Year", "n", "zeta_GI", "SE_GI", "x_min", "n_tail", "zeta_MLE", "SE_MLE", "D", "p_boot",
                          "LR", "p_LR"};
    std::string line;
    for (int i = 0; i < 12; ++i) line += Cell(head[i], w[i]) + " ";
    text.Line(line + " favoured");

    ResultTable table;
    table.title = "Tail fits";
    table.columns = {"Year", "n", "zeta_GI", "SE_GI", "x_min", "n_tail", "zeta_MLE", "SE_MLE", "D", "p_boot",
                     "LR", "p_LR", "favoured"};
    std::vector<std::string> unfitted;
    for (const auto& r : state.rows) {
        if (!r.reason.empty()) {
            line = Cell(std::to_string(r.year), w[0]) + " " + Cell(std::to_string(r.n), w[1]);
            for (int i = 2; i < 12; ++i) line.append(" ").append(Cell("-", w[i]));
            text.Line(line + "  -");
            table.Row().Add(r.year).Add(r.n);
            for (int i = 2; i < 13; ++i) table.Add(MissingCsvCell);
            unfitted.push_back(std::to_string(r.year) + ": " + r.reason);
            continue;
        }
        const double pBoot = r.pBoot ? *r.pBoot : std::nan("");
        line = Cell(std::to_string(r.year), w[0]) + " " + Cell(std::to_string(r.n), w[1]) + " " +
               Cell(r.gi.zeta, w[2], 3) + " " + Cell(r.gi.se, w[3], 3) + " " + Cell(r.pl.xmin, w[4], 0) + " " +
               Cell(std::to_string(r.pl.nTail), w[5]) + " " + Cell(r.pl.zeta, w[6], 3) + " " +
               Cell(r.pl.se, w[7], 3) + " " + Cell(r.pl.D, w[8], 3) + " " +
               (r.pBoot ? Cell(pBoot, w[9], 3) : Cell("", w[9])) + " " + Cell(r.vuong.normalised, w[10], 2) + " " +
               Cell(r.vuong.p, w[11], 3) + "  " + r.vuong.favoured;
        text.Line(line);
        table.Row().Add(r.year).Add(r.n).Add(CsvValue(r.gi.zeta)).Add(CsvValue(r.gi.se)).Add(CsvValue(r.pl.xmin));
        table.Add(r.pl.nTail).Add(CsvValue(r.pl.zeta)).Add(CsvValue(r.pl.se)).Add(CsvValue(r.pl.D));
        table.Add(r.pBoot ? CsvValue(pBoot) : MissingCsvCell).Add(CsvValue(r.vuong.normalised));
        table.Add(CsvValue(r.vuong.p)).Add(r.vuong.favoured);
    }
    if (!unfitted.empty()) text.Line("Not fitted: " + unfitted.front());
    for (std::size_t i = 1; i < unfitted.size(); ++i) text.Line("            " + unfitted[i]);
    text.Tables.push_back(std::move(table));
}
