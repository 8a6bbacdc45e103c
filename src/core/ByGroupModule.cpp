// By-Group and its pictures.
#include "core/ByGroupModule.h"

#include <cstdio>

#include "core/Form.h"
#include "core/OptionValues.h"
#include "core/TailFitModule.h"
#include "draw/ResultTable.h"
#include "draw/RunError.h"
#include "stats/ByGroupPlots.h"

namespace {

// The date chosen in By-Group's list of dates (the last date first); the last date when
// none is chosen yet.
int ChosenGroupDate(const Form& f) {
    const Control& list = f.panel["GroupDates"];
    const auto index = static_cast<std::size_t>(std::max(0, list.listIndex));
    if (index >= list.values.size()) throw RunError("Choose a date in the list of dates first");
    return list.values[index].date;
}

int Pages(std::size_t rows) { return std::max(1, static_cast<int>((rows + GroupsPerPage - 1) / GroupsPerPage)); }

void ShowPicture(Form& f) {
    ByGroupModule& m = f.Module<ByGroupModule>();
    if (m.picture == ByGroupModule::GroupPicture::ForestPlot) {
        const int t = ChosenGroupDate(f);
        DrawForestPlot(m.table, t, m.page, CanvasOf(f));
        f.panel["NextGroups"].visible = Pages(ForestOrder(m.table, t).size()) > 1;
    } else {
        DrawHeatMap(m.table, m.page, CanvasOf(f));
        f.panel["NextGroups"].visible = Pages(m.table.groups.size()) > 1;
    }
}

void ByGroup_Click(Form& f) {
    ByGroupModule& m = f.Module<ByGroupModule>();
    const TailFitOptions& tailFit = f.Module<TailFitModule>().options;
    // Every group of the whole table, also while one group is installed.
    const DataSet& whole = f.wholeTable ? *f.wholeTable : *f.data;
    ByGroupState state;
    auto work = [&](const TailFitControl& control) { state = FitByGroups(whole, m.options, tailFit, control); };
    if (f.runLongFit)
        f.runLongFit(work);
    else
        work({});
    if (state.rows.empty())
        throw RunError("By-Group: no group has " + std::to_string(m.options.minPlaces) +
                       " places present at any date (--min-places sets the number)");
    m.table = std::move(state);
    f.Text.Clear();
    PrintByGroup(m.table, f.Text);
    f.ShowMainCommandSet(false);
    for (const char* name : {"Dates", "TailPlot", "HillPlot"}) f.panel.Hide(name);
    Control& dates = f.panel["GroupDates"];
    dates.items.clear();
    dates.values.clear();
    for (int t = static_cast<int>(m.table.years.size()); t >= 1; --t) {
        bool any = false;
        for (std::size_t g = 0; g < m.table.groups.size() && !any; ++g) any = m.table.Find(g, t) != nullptr;
        if (!any) continue;
        dates.items.push_back(std::to_string(m.table.years[static_cast<std::size_t>(t - 1)]));
        dates.values.push_back(ListValue::Date(t));
    }
    dates.listIndex = -1;
    ++f.panel.listRevision;
    for (const char* name : {"GroupDates", "ForestPlot", "HeatMap"}) f.panel.Show(name);
    f.Picture1.Visible = true;
    m.picture = ByGroupModule::GroupPicture::HeatMap;
    m.page = 0;
    ShowPicture(f);
}

void ShowFirstPage(Form& f, ByGroupModule::GroupPicture picture) {
    ByGroupModule& m = f.Module<ByGroupModule>();
    m.picture = picture;
    m.page = 0;
    ShowPicture(f);
}

void ForestPlot_Click(Form& f) { ShowFirstPage(f, ByGroupModule::GroupPicture::ForestPlot); }
void HeatMap_Click(Form& f) { ShowFirstPage(f, ByGroupModule::GroupPicture::HeatMap); }

void NextGroups_Click(Form& f) {
    ByGroupModule& m = f.Module<ByGroupModule>();
    const std::size_t rows = m.picture == ByGroupModule::GroupPicture::ForestPlot
                                 ? ForestOrder(m.table, ChosenGroupDate(f)).size()
                                 : m.table.groups.size();
    m.page = (m.page + 1) % Pages(rows);
    ShowPicture(f);
}


}  // namespace

void ByGroupModule::AddControls(Form& f) {
    ControlTable& p = f.panel;
    p.Add(ButtonControl("ByGroup", "By-Group",
                        "Compares the groups (states, countries, regions): size, primacy, concentration and the "
                        "tail exponents of every group at every date"));
    p.Add(ListControl("GroupDates", "List of Dates"));
    p.Add(ButtonControl("ForestPlot", "Forest-Plot",
                        "Plots every group's zeta_GI and its 95% interval at the date chosen above"));
    p.Add(ButtonControl("HeatMap", "Heat-Map", "Plots zeta_GI of every group at every date as colours"));
    p.Add(ButtonControl("NextGroups", "Next-Groups", "Shows the next page of groups"));
    // Beside Growth; the date chooser and pictures take the places of Tail-Fit's, which are
    // never shown at the same time.
    RightOf(p, "ByGroup", "Growth", f.ButtonGap);
    const Control& rd = p["ReadData"];
    const float height = p["InfoStats"].height;
    Place(p["GroupDates"], rd.left, rd.top, rd.width, 315);
    Place(p["ForestPlot"], rd.left, rd.top + 650, rd.width, height);
    Place(p["HeatMap"], rd.left, rd.top + 1300, rd.width, height);
    Place(p["NextGroups"], rd.left, rd.top + 1950, rd.width, height);
    for (const char* name : {"GroupDates", "ForestPlot", "HeatMap", "NextGroups"}) p.Hide(name);
}

bool ByGroupModule::Redraw(Form& f, std::string_view) {
    if (table.rows.empty()) return false;
    ShowPicture(f);  // the page and picture shown, from the kept table
    return true;
}

std::vector<CommandSpec> ByGroupModule::Commands() const {
    return {{"ByGroup", ByGroup_Click, true, true},
            {"ForestPlot", ForestPlot_Click},
            {"HeatMap", HeatMap_Click},
            {"NextGroups", NextGroups_Click}};
}

std::vector<OptionSpec> ByGroupModule::Options() const {
    return {{"min-places", "N",
             "By-Group: fewest places present for a row (default 10);\n"
             "                                  its bootstrap runs only with --replicates N"},
            {"replicates", "N", "bootstrap replicates of By-Group's power laws (default 0)"}};
}

bool ByGroupModule::SetOption(std::string_view name, std::string_view value) {
    if (name == "min-places")
        options.minPlaces = static_cast<int>(WholeOption(name, value, 1, MaxOptionCount));
    else if (name == "replicates")
        options.replicates = static_cast<int>(WholeOption(name, value, 0, MaxOptionCount));
    else
        return false;
    return true;
}

void ByGroupModule::Reset() { table = {}; }

void ByGroupModule::DataInstalled(Form& f) {
    Control& gd = f.panel["GroupDates"];
    gd.items.clear();
    gd.values.clear();
    gd.listIndex = -1;
}

// A row or cell: the group, the date and its exponents; a group's name alone.
std::optional<std::string> ByGroupModule::Describe(const Form&, const Hit& hit, float, float) const {
    const OpTag& tag = hit.tag;
    if (tag.series != GroupForestRow && tag.series != GroupHeatCell) return std::nullopt;
    const ByGroupState& s = table;
    const std::size_t g = static_cast<std::size_t>(tag.point - 1);
    if (g >= s.groups.size()) return std::string();
    if (tag.date < 1) return s.groups[g];
    const ByGroupRow* r = s.Find(g, tag.date);
    if (!r) return s.groups[g] + ", " + std::to_string(s.years[static_cast<std::size_t>(tag.date - 1)]);
    std::string text = r->group + ", " + std::to_string(r->year) + ": zeta_GI " + Decimals(r->gi.zeta) + " +- " +
                       Decimals(1.96 * r->gi.se) + " (n " + std::to_string(r->n) + ")";
    if (r->pl.ok) text += "\nzeta_MLE " + Decimals(r->pl.zeta) + " above x_min " + Decimals(r->pl.xmin, 0);
    return text + "\nlargest " + r->largest + ", share " + Decimals(r->largestShare) +
           ", Gini " + Decimals(r->gini);
}
