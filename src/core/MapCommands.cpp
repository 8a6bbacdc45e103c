// Handlers of the map: Map, and a choice of date or colouring while it is shown.
#include "core/Commands.h"
#include "core/Form.h"
#include "core/Marks.h"
#include "map/Map.h"

void Map_Click(Form& f) {
    // The geometry first: a table without positions says so and leaves the panel as it was.
    MapGeometryFor(*f.data, f.map, f.Picture1.Width, f.Picture1.Height);
    f.ShowMainCommandSet(false);
    for (const char* name : {"TailPlot", "HillPlot"}) f.panel.Hide(name);
    for (const char* name : {"Dates", "MapColour"}) f.panel.Show(name);
    Control& dates = f.panel["Dates"];
    dates.listIndex = f.data->NumDates - 1;
    dates.caption = dates.items.empty() ? dates.caption : dates.items.back();
    f.Picture1.Visible = true;
    f.map.colouring = f.panel["MapColour"].listIndex == 1 ? MapColouring::RankClass : MapColouring::Growth;
    DrawMap(*f.data, f.map, CanvasOf(f), f.data->NumDates);
    f.map.shown = true;
}

void MapChoice_Changed(Form& f) {
    if (!f.map.shown || !f.HasData()) return;
    f.map.colouring = f.panel["MapColour"].listIndex == 1 ? MapColouring::RankClass : MapColouring::Growth;
    const int index = f.panel["Dates"].listIndex;
    DrawMap(*f.data, f.map, CanvasOf(f), index >= 0 ? index + 1 : f.data->NumDates);
    MarkPlaces(f, "Map");
}
