// Tail-Fit and the plots of one date.
#include "core/TailFitModule.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "core/Form.h"
#include "core/OptionValues.h"
#include "draw/ResultTable.h"
#include "draw/RunError.h"
#include "stats/TailFitPlots.h"

namespace {


void TailFit_Click(Form& f) {
    TailFitModule& m = f.Module<TailFitModule>();
    // The fit runs to the end (or is cancelled) before anything is printed or drawn, so a
    // cancelled or failed fit leaves the text, the picture and the panel as they were.
    TailFitState state;
    auto work = [&](const TailFitControl& control) { state = FitAllDates(*f.data, m.options, control); };
    if (f.runLongFit)
        f.runLongFit(work);
    else
        work({});
    m.table = std::move(state);
    f.Text.Clear();
    PrintTailFit(m.table, f.Text);
    f.ShowMainCommandSet(false);
    f.Picture1.Visible = true;
    DrawTailFitExponents(*f.data, m.table, CanvasOf(f));
    // Both plots read the date chosen in the list, so both are offered with it.
    for (const char* name : {"GroupDates", "ForestPlot", "HeatMap", "NextGroups"}) f.panel.Hide(name);
    for (const char* name : {"Dates", "TailPlot", "HillPlot"}) f.panel.Show(name);
}

void TailPlot_Click(Form& f) {
    const int t = ChosenDate(f);
    // x_min and alpha do not depend on the bootstrap, so the plot refits without it.
    TailFitOptions o = f.Module<TailFitModule>().options;
    o.replicates = 0;
    const TailFitRow fit = FitDate(PresentPopulations(*f.data, t), f.data->DateYear(t), t, o);
    DrawTailPlot(*f.data, t, fit, CanvasOf(f));
}

void HillPlot_Click(Form& f) { DrawHillPlot(*f.data, ChosenDate(f), CanvasOf(f)); }


}  // namespace

void TailFitModule::AddControls(Form& f) {
    ControlTable& p = f.panel;
    p.Add(ButtonControl("TailFit", "Tail-Fit",
                        "Fits the upper tail at every date: rank - 1/2 regression, power law by maximum likelihood "
                        "with its bootstrap, and the lognormal alternative"));
    p.Add(ButtonControl("TailPlot", "Tail-Plot",
                        "Plots the distribution of the date chosen above on log-log axes with its fitted power law "
                        "and lognormal"));
    p.Add(ButtonControl("HillPlot", "Hill-Plot", "Plots the Hill estimates of the date chosen above against the tail size"));
    // Tail-Fit takes the free slot beside Pop Change; the plots of one date take the places
    // of Plot-City and the button under it, under the date chooser.
    const float gap = f.ButtonGap;
    RightOf(p, "TailFit", "PopChange", gap);
    const Control& rd = p["ReadData"];
    const float height = p["InfoStats"].height;
    Place(p["TailPlot"], rd.left, rd.top + 650, rd.width, height);
    Place(p["HillPlot"], rd.left, rd.top + 1300, rd.width, height);
    for (const char* name : {"TailPlot", "HillPlot"}) p.Hide(name);
}

bool TailFitModule::Redraw(Form& f, std::string_view control) {
    if (control != "TailFit" || table.rows.empty()) return false;
    DrawTailFitExponents(*f.data, table, CanvasOf(f));
    return true;
}

std::vector<CommandSpec> TailFitModule::Commands() const {
    return {{"TailFit", TailFit_Click, true, true}, {"TailPlot", TailPlot_Click}, {"HillPlot", HillPlot_Click}};
}

std::vector<OptionSpec> TailFitModule::Options() const {
    return {{"replicates", "N",
             "bootstrap replicates of Tail-Fit (default 1000) and\n"
             "                                  Growth-Plot (default 500); 0 skips the bootstrap"},
            {"seed", "N", "bootstrap seed of both (fixed by default)"},
            {"min-tail", "N", "fewest cities in a fitted tail (default 10)"}};
}

bool TailFitModule::SetOption(std::string_view name, std::string_view value) {
    if (name == "replicates")
        options.replicates = static_cast<int>(WholeOption(name, value, 0, MaxOptionCount));
    else if (name == "seed")
        options.seed = static_cast<std::uint64_t>(WholeOption(name, value, 0, std::numeric_limits<long>::max()));
    else if (name == "min-tail")
        options.minTail = static_cast<int>(WholeOption(name, value, 2, MaxOptionCount));
    else
        return false;
    return true;
}

// A Tail-Fit point (series TailFitExponents) names the date's row of the table; a Hill plot
// point (TailHillPoint) its k and estimate.
std::optional<std::string> TailFitModule::Describe(const Form& f, const Hit& hit, float, float) const {
    const DataSet& d = *f.data;
    const OpTag& tag = hit.tag;
    if (tag.series != TailFitExponents && tag.series != TailHillPoint) return std::nullopt;
    // A place of the picture, or no date: what every picture says.
    if (tag.city >= 1 && tag.city <= d.NumCities) return std::nullopt;
    if (tag.date < 1 || tag.date > d.NumDates) return std::nullopt;
    const std::string census = "Census of " + std::to_string(d.DateYear(tag.date));
    if (tag.series == TailFitExponents) {
        for (const auto& r : table.rows) {
            if (r.year != d.DateYear(tag.date)) continue;
            if (!r.reason.empty()) return "\nnot fitted: " + r.reason;
            std::string s = "\nzeta_GI " + Decimals(r.gi.zeta) + " +- " + Decimals(1.96 * r.gi.se) + " (n " +
                            std::to_string(r.n) + ")\nzeta_MLE " + Decimals(r.pl.zeta) + " +- " + Decimals(1.96 * r.pl.se) +
                            " above x_min " + Decimals(r.pl.xmin, 0) + " (n_tail " + std::to_string(r.pl.nTail) +
                            "), D " + Decimals(r.pl.D);
            if (r.pBoot) s += ", p_boot " + Decimals(*r.pBoot);
            return census + s + "\nvs lognormal: LR " + Decimals(r.vuong.normalised, 2) + ", p " + Decimals(r.vuong.p) +
                   ", " + r.vuong.favoured + " favoured";
        }
    }
    if (tag.series == TailHillPoint && tag.point >= 1) {
        std::vector<double> x = PresentPopulations(d, tag.date);
        std::sort(x.begin(), x.end(), std::greater<>());
        const auto hill = HillEstimates(x);
        if (static_cast<std::size_t>(tag.point) <= hill.size()) {
            const HillPoint& h = hill[static_cast<std::size_t>(tag.point) - 1];
            return census + "\nHill estimate over the " + std::to_string(h.k) + " largest: zeta " + Decimals(h.zeta) +
                   " (" + Decimals(h.lower) + " to " + Decimals(h.upper) + ")";
        }
    }
    return census;
}
