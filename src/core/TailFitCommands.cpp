// Handlers of Tail-Fit and the plots of one date.
#include "core/Commands.h"
#include "core/Form.h"
#include "draw/RunError.h"
#include "stats/TailFitPlots.h"

namespace {

// The date chosen in the Dates list (1-based).
int ChosenDate(const Form& f) {
    const int index = f.panel["Dates"].listIndex;
    if (index < 0 || index >= f.data->NumDates) throw RunError("Choose a date in the list of dates first");
    return index + 1;
}

}  // namespace

void TailFit_Click(Form& f) {
    // The fit runs to the end (or is cancelled) before anything is printed or drawn, so a
    // cancelled or failed fit leaves the text, the picture and the panel as they were.
    TailFitState state;
    auto work = [&](const TailFitControl& control) { state = FitAllDates(*f.data, f.tailFitOptions, control); };
    if (f.runLongFit)
        f.runLongFit(work);
    else
        work({});
    f.tailFit = std::move(state);
    f.Text.Clear();
    PrintTailFit(f.tailFit, f.Text);
    f.ShowMainCommandSet(false);
    f.Picture1.Visible = true;
    DrawTailFitExponents(*f.data, f.tailFit, CanvasOf(f));
    // Both plots read the date chosen in the list, so both are offered with it.
    for (const char* name : {"GroupDates", "ForestPlot", "HeatMap", "NextGroups"}) f.panel.Hide(name);
    for (const char* name : {"Dates", "TailPlot", "HillPlot"}) f.panel.Show(name);
}

void TailPlot_Click(Form& f) {
    const int t = ChosenDate(f);
    // x_min and alpha do not depend on the bootstrap, so the plot refits without it.
    TailFitOptions o = f.tailFitOptions;
    o.replicates = 0;
    const TailFitRow fit = FitDate(PresentPopulations(*f.data, t), f.data->DateYear(t), t, o);
    DrawTailPlot(*f.data, t, fit, CanvasOf(f));
}

void HillPlot_Click(Form& f) { DrawHillPlot(*f.data, ChosenDate(f), CanvasOf(f)); }
