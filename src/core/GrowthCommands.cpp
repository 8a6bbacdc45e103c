// Handlers of Growth and Growth-Plot.
#include "core/Commands.h"
#include "core/Form.h"
#include "draw/RunError.h"
#include "stats/GrowthPlots.h"

namespace {

constexpr const char* Pooled = "Pooled";

// The pair chosen in the Dates list: its first date (1-based), or 0 for "Pooled".
int ChosenPair(const Form& f) {
    const Control& dates = f.panel["Dates"];
    const int index = dates.listIndex;
    if (index < 0 || index >= static_cast<int>(dates.items.size()))
        throw RunError("Choose the first year of a pair of dates, or Pooled, in the list of dates first");
    if (dates.items[static_cast<std::size_t>(index)] == Pooled) return 0;
    if (index + 1 >= f.data->NumDates)
        throw RunError(std::to_string(f.data->DateYear(index + 1)) +
                       " is the last date and starts no pair: choose an earlier year or Pooled");
    return index + 1;
}

}  // namespace

void Growth_Click(Form& f) {
    GrowthState state = GrowthAllPairs(*f.data, f.growthOptions);
    f.growth = std::move(state);
    f.Text.Clear();
    PrintGrowth(f.growth, f.Text);
    f.ShowMainCommandSet(false);
    f.Picture1.Visible = true;
    DrawGrowthBetas(*f.data, f.growth, CanvasOf(f));
    // The Dates list, shared with Tail-Fit, offers the pooled sample after the dates.
    Control& dates = f.panel["Dates"];
    if (dates.items.empty() || dates.items.back() != Pooled) {
        dates.items.emplace_back(Pooled);
        ++f.panel.listRevision;
    }
    for (const char* name : {"TailPlot", "HillPlot"}) f.panel.Hide(name);
    for (const char* name : {"Dates", "GrowthPlot"}) f.panel.Show(name);
}

void GrowthPlot_Click(Form& f) {
    const int t = ChosenPair(f);
    const GrowthSample sample = t == 0 ? PooledSample(*f.data) : PairSample(*f.data, t);
    // The bootstrap runs to the end (or is cancelled) before anything is drawn.
    GrowthCurves curves;
    auto work = [&](const TailFitControl& control) { curves = KernelCurves(sample, f.growthOptions, control); };
    try {
        if (f.runLongFit)
            f.runLongFit(work);
        else
            work({});
    } catch (const FitCancelled&) {
        throw RunError("Growth-Plot cancelled; the picture and the text are as they were");
    }
    f.Text.Clear();
    PrintGrowthCurves(sample, curves, f.Text);
    DrawGrowthPlot(*f.data, sample, curves, CanvasOf(f));
}
