// Handlers of By-Group and its pictures.
#include "core/Commands.h"
#include "core/Form.h"
#include "draw/RunError.h"
#include "stats/ByGroupPlots.h"

namespace {

// The date chosen in By-Group's list of dates (the last date first); the last date when
// none is chosen yet.
int ChosenGroupDate(const Form& f) {
    const Control& list = f.panel["GroupDates"];
    const int index = std::max(0, list.listIndex);
    if (index >= static_cast<int>(list.items.size())) throw RunError("Choose a date in the list of dates first");
    const int year = std::stoi(list.items[static_cast<std::size_t>(index)]);
    for (std::size_t t = 0; t < f.byGroup.years.size(); ++t)
        if (f.byGroup.years[t] == year) return static_cast<int>(t) + 1;
    throw RunError("Choose a date in the list of dates first");
}

int Pages(std::size_t rows) { return std::max(1, static_cast<int>((rows + GroupsPerPage - 1) / GroupsPerPage)); }

void ShowPicture(Form& f) {
    if (f.groupPicture == "ForestPlot") {
        const int t = ChosenGroupDate(f);
        DrawForestPlot(f.byGroup, t, f.groupPage, CanvasOf(f));
        f.panel["NextGroups"].visible = Pages(ForestOrder(f.byGroup, t).size()) > 1;
    } else {
        DrawHeatMap(f.byGroup, f.groupPage, CanvasOf(f));
        f.panel["NextGroups"].visible = Pages(f.byGroup.groups.size()) > 1;
    }
}

}  // namespace

void ByGroup_Click(Form& f) {
    // Every group of the whole table, also while one group is installed.
    const DataSet& whole = f.wholeTable ? *f.wholeTable : *f.data;
    ByGroupState state;
    auto work = [&](const TailFitControl& control) {
        state = FitByGroups(whole, f.byGroupOptions, f.tailFitOptions, control);
    };
    if (f.runLongFit)
        f.runLongFit(work);
    else
        work({});
    if (state.rows.empty())
        throw RunError("By-Group: no group has " + std::to_string(f.byGroupOptions.minPlaces) +
                       " places present at any date (--min-places sets the number)");
    f.byGroup = std::move(state);
    f.Text.Clear();
    PrintByGroup(f.byGroup, f.Text);
    f.ShowMainCommandSet(false);
    for (const char* name : {"Dates", "TailPlot", "HillPlot"}) f.panel.Hide(name);
    Control& dates = f.panel["GroupDates"];
    dates.items.clear();
    for (int t = static_cast<int>(f.byGroup.years.size()); t >= 1; --t) {
        bool any = false;
        for (std::size_t g = 0; g < f.byGroup.groups.size() && !any; ++g) any = f.byGroup.Find(g, t) != nullptr;
        if (any) dates.items.push_back(std::to_string(f.byGroup.years[static_cast<std::size_t>(t - 1)]));
    }
    dates.listIndex = -1;
    ++f.panel.listRevision;
    for (const char* name : {"GroupDates", "ForestPlot", "HeatMap"}) f.panel.Show(name);
    f.Picture1.Visible = true;
    f.groupPicture = "HeatMap";
    f.groupPage = 0;
    ShowPicture(f);
}

void ForestPlot_Click(Form& f) {
    f.groupPicture = "ForestPlot";
    f.groupPage = 0;
    ShowPicture(f);
}

void HeatMap_Click(Form& f) {
    f.groupPicture = "HeatMap";
    f.groupPage = 0;
    ShowPicture(f);
}

void NextGroups_Click(Form& f) {
    const std::size_t rows =
        f.groupPicture == "ForestPlot" ? ForestOrder(f.byGroup, ChosenGroupDate(f)).size() : f.byGroup.groups.size();
    f.groupPage = (f.groupPage + 1) % Pages(rows);
    ShowPicture(f);
}
