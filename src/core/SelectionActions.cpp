#include "core/SelectionActions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/Form.h"
#include "core/Marks.h"
#include "data/Subset.h"

void SelectFromList(Form& f, std::string_view list) {
    if (!f.HasData()) throw RunError("Load the data first");
    f.selection.Set(PlacesFromList(*f.data, list));
    RemarkPlaces(f);
}

void AnalyseSelection(Form& f) {
    if (!f.HasData()) throw RunError("Load the data first");
    if (f.selection.Empty()) throw RunError("No place is selected: brush places on a picture, or load a selection");
    const DataSet& shown = *f.data;
    // Built before anything changes: a selection that cannot be analysed leaves the data as it was.
    std::unique_ptr<DataSet> fresh = PlacesSubset(shown, f.selection.Places(), SelectionGroupName);
    const int count = fresh->NumCities;
    std::unique_ptr<DataSet> kept = f.wholeTable ? std::move(f.wholeTable) : std::move(f.data);
    const std::string source = f.DataSource;
    const auto groups = f.groups;
    const std::string name = std::string(SelectionGroupName) + " (" + std::to_string(count) + " places)";
    f.InstallData(std::move(fresh), source.empty() ? name : source + " - " + name);
    f.selection.Clear();
    f.DataSource = source;
    f.wholeTable = std::move(kept);
    f.groupName = name;
    f.groups = groups;
}

int SelectionDate(const Form& f) {
    const Control* dates = f.panel.Find("Dates");
    const int index = dates ? dates->listIndex : -1;
    const int n = f.data->NumDates;
    return index >= 0 && index < n ? index + 1 : n;
}

std::string SelectionTableText(const Form& f) {
    if (f.selection.Empty() || !f.HasData()) return {};
    const DataSet& d = *f.data;
    const int t = SelectionDate(f);
    std::vector<int> places;
    for (int c : f.selection.Places())
        if (c <= d.NumCities) places.push_back(c);
    std::stable_sort(places.begin(), places.end(), [&](int a, int b) { return d.Pop(a, t) > d.Pop(b, t); });
    double total = 0;
    int present = 0;
    std::string rows;
    char buf[64];
    for (int c : places) {
        const double v = d.Pop(c, t);
        if (v > 0) total += v, ++present;
        std::snprintf(buf, sizeof buf, "%14.0f", v > 0 ? v : 0.0);
        rows += (v > 0 ? std::string(buf) : std::string(13, ' ') + "-") + "  " + d.CityName(c) + "\n";
    }
    std::snprintf(buf, sizeof buf, "%.0f", total);
    return "Selected: " + std::to_string(places.size()) + (places.size() == 1 ? " place, " : " places, ") +
           std::to_string(present) + " present in " +
           std::to_string(d.DateYear(t)) + ", total population " + buf + "\n" + rows;
}
