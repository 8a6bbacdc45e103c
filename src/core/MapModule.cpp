// The map: Map, and a choice of date or colouring while it is shown.
#include "core/MapModule.h"

#include "core/Form.h"
#include "core/Marks.h"

namespace {

// The "Colour by" entries in order: Growth, Rank class, LISA (added by the spatial analyses).
MapColouring ChosenColouring(const Form& f) {
    const int index = f.panel["MapColour"].listIndex;
    return index == 1 ? MapColouring::RankClass : index == 2 ? MapColouring::Lisa : MapColouring::Growth;
}

void Map_Click(Form& f) {
    MapState& s = f.Module<MapModule>().state;
    // The geometry first: a table without positions says so and leaves the panel as it was.
    MapGeometryFor(*f.data, s, f.Picture1.Width, f.Picture1.Height);
    f.ShowMainCommandSet(false);
    for (const char* name : {"TailPlot", "HillPlot"}) f.panel.Hide(name);
    for (const char* name : {"Dates", "MapColour"}) f.panel.Show(name);
    Control& dates = f.panel["Dates"];
    dates.listIndex = f.data->NumDates - 1;
    dates.caption = dates.items.empty() ? dates.caption : dates.items[static_cast<std::size_t>(dates.listIndex)];
    f.Picture1.Visible = true;
    s.colouring = ChosenColouring(f);
    DrawMap(*f.data, f.rank, s, CanvasOf(f), f.data->NumDates);
    s.shown = true;
}

}  // namespace

void MapChoice_Changed(Form& f) {
    MapState& s = f.Module<MapModule>().state;
    if (!s.shown || !f.HasData()) return;
    s.colouring = ChosenColouring(f);
    const ListValue* v = f.panel["Dates"].Chosen();
    DrawMap(*f.data, f.rank, s, CanvasOf(f), v && v->kind == ListValue::Kind::Date ? v->date : f.data->NumDates);
    MarkPlaces(f, "Map");
}

void MapModule::AddControls(Form& f) {
    ControlTable& p = f.panel;
    p.Add(ListControl("MapColour", "Colour by"));
    p.Add(ButtonControl("Map", "Map",
                        "Draws the places on a map, each a disc of area proportional to its population, coloured by "
                        "growth or rank"));
    // The free slot beside Clear-Data; the colouring list sits under the dates.
    RightOf(p, "Map", "Clear", f.ButtonGap);
    const Control& rd = p["ReadData"];
    Place(p["MapColour"], rd.left, rd.top + 500, rd.width, 315);
    p["MapColour"].items = {"Growth", "Rank class"};
    p["MapColour"].listIndex = 0;
    p.Hide("MapColour");
}

std::vector<CommandSpec> MapModule::Commands() const { return {{"Map", Map_Click, true, true}}; }

std::optional<std::string> MapModule::Describe(const Form& f, const Hit& hit, float, float) const {
    if (hit.tag.series != MapPlaceSeries) return std::nullopt;
    return DescribeMapPlace(*f.data, f.rank, hit.tag.city, hit.tag.date);
}

void MapModule::ListChosen(Form& f, std::string_view list) {
    if (list == "Dates" || list == "MapColour") MapChoice_Changed(f);
}

std::vector<Picture> MapModule::Frames(Form& f, std::string_view) {
    Map_Click(f);
    std::vector<Picture> frames;
    for (int t = 1; t <= f.data->NumDates; ++t) {
        DrawMap(*f.data, f.rank, state, CanvasOf(f), t);
        MarkPlaces(f, "Map");
        frames.push_back(f.Picture1);
    }
    return frames;
}
