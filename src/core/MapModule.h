#pragma once
#include "core/Analysis.h"
#include "map/Map.h"

// The map: the places as discs at a date, coloured by growth or rank class; the Dates list
// and the colouring list redraw it while it is shown.
class MapModule : public Analysis {
public:
    std::string_view Name() const override { return "Map"; }
    void AddControls(Form& f) override;
    std::vector<CommandSpec> Commands() const override;
    std::optional<std::string> Describe(const Form& f, const Hit& hit, float x, float y) const override;
    void ListChosen(Form& f, std::string_view list) override;
    void BeforeCommand(std::string_view control) override {
        if (control != "Map") state.shown = false;
    }
    bool Animates(std::string_view control) const override { return control == "Map"; }
    std::vector<Picture> Frames(Form& f, std::string_view control) override;
    // The outlines read and the geometry stay: they belong to the files, not to the table.
    void Reset() override { state.shown = false; }

    MapState state;
};

// Redraws the map if it is shown (a date, a colouring or an outline file chosen).
void MapChoice_Changed(Form& f);
