#include "core/Form.h"

#include <utility>

#include "core/Animation.h"
#include "core/Commands.h"
#include "core/Groups.h"
#include "core/Marks.h"
#include "data/DataSearch.h"
#include "data/Loader.h"
#include "ranksize/RankShift.h"

#include <cmath>
#include <filesystem>
#include "draw/RunError.h"

namespace {

const Colour Mauve = 238 + 256 * 220 + 65536 * 232;
const Colour LoadedGrey = 225 + 256 * 225 + 65536 * 225;

Control Button(std::string name, std::string caption, std::string tip = {}) {
    Control c;
    c.name = std::move(name);
    c.kind = ControlKind::Button;
    c.caption = std::move(caption);
    c.toolTip = std::move(tip);
    return c;
}

Control Of(ControlKind kind, std::string name, std::string caption = {}) {
    Control c;
    c.name = std::move(name);
    c.kind = kind;
    c.caption = std::move(caption);
    return c;
}

// The controls in the order the window holds them, with captions and tool tips.
void CreateControls(ControlTable& p) {
    p.Add(Button("TailFit", "Tail-Fit",
                 "Fits the upper tail at every date: rank - 1/2 regression, power law by maximum likelihood with "
                 "its bootstrap, and the lognormal alternative"));
    p.Add(Of(ControlKind::List, "Dates", "List of Dates"));
    p.Add(Of(ControlKind::List, "MapColour", "Colour by"));
    p.Add(Button("Map", "Map", "Draws the places on a map, each a disc of area proportional to its population, "
                               "coloured by growth or rank"));
    p.Add(Button("TailPlot", "Tail-Plot",
                 "Plots the distribution of the date chosen above on log-log axes with its fitted power law and "
                 "lognormal"));
    p.Add(Button("HillPlot", "Hill-Plot", "Plots the Hill estimates of the date chosen above against the tail size"));
    p.Add(Button("Growth", "Growth",
                 "Growth against size between consecutive dates: regression slope beta, Spearman's rho (Gibrat's law)"));
    p.Add(Button("GrowthPlot", "Growth-Plot",
                 "Kernel mean and spread of growth against size for the pair starting at the date chosen above "
                 "(or Pooled), with bootstrap bands"));
    p.Add(Button("ByGroup", "By-Group",
                 "Compares the groups (states, countries, regions): size, primacy, concentration and the tail "
                 "exponents of every group at every date"));
    p.Add(Of(ControlKind::List, "GroupDates", "List of Dates"));
    p.Add(Button("ForestPlot", "Forest-Plot", "Plots every group's zeta_GI and its 95% interval at the date chosen above"));
    p.Add(Button("HeatMap", "Heat-Map", "Plots zeta_GI of every group at every date as colours"));
    p.Add(Button("NextGroups", "Next-Groups", "Shows the next page of groups"));
    p.Add(Button("NextLastInfo", "N-Last-Info"));
    p.Add(Button("LastInfo", "Last-Info"));
    p.Add(Button("RankShiftSpirel", "RankSSpirel"));
    p.Add(Button("DistancePlot", "Distance-Spirel", "Computes and plots distance changes in ranks as a spirel"));
    p.Add(Of(ControlKind::List, "BackMap", "Background"));
    p.Add(Button("PlotCity", "PlotCity", "Selects and plots a city on the spirel from the list above"));
    p.Add(Of(ControlKind::List, "Cities", "List of Places or Cities"));
    p.Add(Button("LastPop", "Last-Pop", "Prints the last set of population statistics"));
    p.Add(Button("NextPop", "Next-Pop", "Prints the next set of population statistics"));
    p.Add(Button("NextInfo", "Next-Info", "Prints the next set of information statistics"));
    p.Add(Button("RankSpace", "Rank-Space", "Shows the shift in rank for each city in rank-size space"));
    p.Add(Button("NextGraph", "Next-Graph", "Plots the next graph"));
    p.Add(Button("Zipf", "Zipf-Exponents",
                 "Computes the Zipf exponents using regression and the Hill bootstrap likelihood"));
    p.Add(Button("DataProperties", "Data Properties", "Shows aggregate dynamics of the population data"));
    p.Add(Button("PopSpirel", "Pop-Spirel", "Plots population change statistics as a spirel"));
    p.Add(Button("PopStats", "Pop-Stats", "Computes population change statistics"));
    p.Add(Button("Mobility", "Mobility", "Computes rank mobility between consecutive dates: entries, exits, turnover, "
                                         "Kendall's tau and the rank-class transitions"));
    p.Add(Button("NextMobility", "Next-Mobility", "Prints the rank-class transition matrix"));
    p.Add(Button("InfoSpirel", "Info-Spirel", "Plots information statistics as spirel"));
    p.Add(Button("Clear", "Clear-Data", "Clears all the data and the window for new working"));
    p.Add(Button("InfoStats", "Info-Stats", "Computes information and rank change statistics"));
    p.Add(Button("CumSizeRank", "Cum-Size-R", "Computes the distributions as cumulative size by rank"));
    p.Add(Button("CumRankSize", "Cum-Rank-S", "Computes the distributions as rank by cumulative size"));
    p.Add(Button("SizeRank", "Size-Rank", "Computes the distributions as size-rank"));
    p.Add(Button("HalfLives", "Half-Lives",
                 "Half lives based on number of cities at each date in the top rank before and after the date"));
    p.Add(Button("RankSpirel5", "Rank-Spirel5", "Rank spirel based on changes in cumulative populations"));
    p.Add(Button("RankSpirel6", "Rank-Spirel6", "Rank spirel based on changes in log of cumulative populations"));
    p.Add(Button("RankSpirel4", "Rank-Spirel4", "Rank spirel based on changes in log of populations"));
    p.Add(Button("RankSpirel3", "Rank-Spirel3", "Rank spirel based on changes in populations"));
    p.Add(Button("RankSpirel2", "Rank-Spirel2", "Rank spirel based on changes in log of ranks"));
    p.Add(Button("RankSpirel1", "Rank-Spirel1", "Rank spirel based on changes in ranks"));
    p.Add(Button("RankChange", "Rank Change", "Shows the changes in rank for each city over time"));
    p.Add(Button("PopChange", "Pop Change", "Shows the changes in population by cities over time"));
    p.Add(Button("RankShift", "Rank Shift",
                 "Shows the shift in ranks between 1950 and 2000 and also all the rank size distributions"));
    p.Add(Button("Rank", "Rank-Size", "Computes the distributions as rank-size"));
    p.Add(Button("ReadData", "Load Data", "Loads, checks, and normalizes the data"));
    p.Add(Of(ControlKind::Label, "Label4"));
    p.Add(Of(ControlKind::Label, "Label3"));
    p.Add(Of(ControlKind::Label, "Label2"));
    p.Add(Of(ControlKind::Label, "Label1"));
    p.Add(Of(ControlKind::Image, "ProgramLogo"));
}

void Place(Control& c, float left, float top, float width, float height) {
    c.left = left;
    c.top = top;
    c.width = width;
    c.height = height;
}

void RightOf(ControlTable& p, std::string_view name, std::string_view of, float gap) {
    const Control& x = p[of];
    Place(p[name], x.left + x.width + gap, x.top, x.width, x.height);
}

void Below(ControlTable& p, std::string_view name, std::string_view of) {
    const Control& x = p[of];
    Place(p[name], x.left, x.top + x.height + 150, x.width, x.height);
}

void SetLabel(Control& c, float left, float top, float width, float height, std::string text) {
    Place(c, left, top, width, height);
    c.caption = std::move(text);
    c.fontName = "MS Sans Serif";
    c.fontSize = 12;
}

}  // namespace

Form::Form(std::string dataDir) : DataDir(std::move(dataDir)), data(std::make_unique<DataSet>()) {
    ControlTable& p = panel;
    CreateControls(p);
    LayoutOffset = 1000;
    ButtonGap = 150;
    WindowWidth = LayoutOffset + 13000;
    WindowHeight = 10000;
    Picture1.Width = 9000;
    Picture1.Height = 9000;
    Picture1.Top = 150;
    Picture1.Left = LayoutOffset + 2700;
    Place(p["ReadData"], 150, 150, 1500, 500);
    p["ReadData"].backColor = Mauve;
    p["Clear"].backColor = LightGrey;
    Picture1.Visible = false;
    Picture1.BackColor = LightGrey;

    const float gap = ButtonGap;
    RightOf(p, "DataProperties", "ReadData", gap);
    {
        const Control& dp = p["DataProperties"];
        Place(p["ProgramLogo"], dp.left + dp.width + gap, dp.top, 10275, 2475);
    }
    Below(p, "Rank", "ReadData");
    RightOf(p, "SizeRank", "Rank", gap);
    Below(p, "CumRankSize", "Rank");
    RightOf(p, "CumSizeRank", "CumRankSize", gap);
    Below(p, "RankShift", "CumRankSize");
    RightOf(p, "Zipf", "RankShift", gap);
    Below(p, "PopChange", "RankShift");
    const float labelLeft = p["ProgramLogo"].left + 1100;
    SetLabel(p["Label1"], labelLeft, p["PopChange"].top, 8200, 3015,
             "This program reads a table of the populations of a country's cities at a series of dates, "
             "censuses or estimates, and lets you plot and explore the rank-size distributions, the rank "
             "spirels and the information and growth statistics that describe how the cities change rank "
             "over time. ");
    Below(p, "RankChange", "PopChange");
    RightOf(p, "RankSpace", "RankChange", gap);
    Below(p, "RankSpirel1", "RankChange");
    RightOf(p, "RankSpirel2", "RankSpirel1", gap);
    Below(p, "RankSpirel3", "RankSpirel1");
    RightOf(p, "RankSpirel4", "RankSpirel3", gap);
    Below(p, "RankSpirel5", "RankSpirel3");
    RightOf(p, "RankSpirel6", "RankSpirel5", gap);
    SetLabel(p["Label2"], labelLeft, p["RankSpirel6"].top, 8200, 2895,
             "Load Data reads " + std::filesystem::path(DataFilePath(DataDir)).filename().string() +
                 " (USData.csv: the US cities among the 101 largest at one or more censuses, 1790-2000). "
                 "Any comma separated table of cities by date can be opened: one row per city with a "
                 "column per year, or one row per city and year.");
    Below(p, "HalfLives", "RankSpirel5");
    RightOf(p, "RankShiftSpirel", "HalfLives", gap);
    Below(p, "InfoStats", "HalfLives");
    RightOf(p, "InfoSpirel", "InfoStats", gap);
    Below(p, "PopStats", "InfoStats");
    RightOf(p, "PopSpirel", "PopStats", gap);
    // The free slot under Pop-Spirel (the background chooser sits under Pop-Stats).
    Below(p, "Mobility", "PopSpirel");
    SetLabel(p["Label3"], labelLeft, p["PopSpirel"].top + 650, 8200, 2175,
             "To proceed, click on the mauve-colored 'Load Data' Button at the top left of this window and "
             "this screen will clear and the functions available will display.");
    const Control& info = p["InfoStats"];
    Place(p["Clear"], info.left, Picture1.Height + 150 - info.height, info.width, info.height);
    for (const char* name : {"NextGraph", "NextInfo", "NextPop", "LastPop", "NextMobility"}) {
        RightOf(p, name, "Clear", gap);
        p.Hide(name);
    }
    const Control& rd = p["ReadData"];
    Place(p["Cities"], rd.left, rd.top, rd.width + 1850, 315);
    p.Hide("Cities");
    Place(p["PlotCity"], rd.left, rd.top + 1150, rd.width, info.height);
    p.Hide("PlotCity");
    Place(p["BackMap"], rd.left, p["Clear"].top - 450, rd.width, 315);
    RightOf(p, "DistancePlot", "Clear", gap);
    p.Hide("DistancePlot");
    Control& l4 = p["Label4"];
    SetLabel(l4, p["ProgramLogo"].left + 150, p["Clear"].top + 100, 11000, 855,
             "All the documentation is under Help > Read Me.");
    l4.fontName = "Arial";
    l4.fontSize = 14;
    l4.italic = true;
    l4.foreColor = PaletteColour(1);
    for (const char* name : {"LastInfo", "NextLastInfo"}) {
        RightOf(p, name, "Clear", gap);
        p.Hide(name);
    }
    // Tail-Fit takes the free slot beside Pop Change; after it the date chooser and the plots
    // of one date take the places of the Cities list and Plot-City.
    RightOf(p, "TailFit", "PopChange", gap);
    Place(p["Dates"], rd.left, rd.top, rd.width, 315);
    Place(p["TailPlot"], rd.left, rd.top + 650, rd.width, info.height);
    Place(p["HillPlot"], rd.left, rd.top + 1300, rd.width, info.height);
    for (const char* name : {"Dates", "TailPlot", "HillPlot"}) p.Hide(name);
    // Growth and By-Group in the row under Clear-Data (the window's last row); their plot
    // buttons in Tail-Plot's place.
    Below(p, "Growth", "Clear");
    Place(p["GrowthPlot"], rd.left, rd.top + 650, rd.width, info.height);
    p.Hide("GrowthPlot");
    // By-Group's date chooser and pictures take the places of Tail-Fit's, which are never
    // shown at the same time.
    RightOf(p, "ByGroup", "Growth", gap);
    Place(p["GroupDates"], rd.left, rd.top, rd.width, 315);
    Place(p["ForestPlot"], rd.left, rd.top + 650, rd.width, info.height);
    Place(p["HeatMap"], rd.left, rd.top + 1300, rd.width, info.height);
    Place(p["NextGroups"], rd.left, rd.top + 1950, rd.width, info.height);
    for (const char* name : {"GroupDates", "ForestPlot", "HeatMap", "NextGroups"}) p.Hide(name);
    // The map takes the free slot beside Clear-Data; its colouring list sits under the dates.
    RightOf(p, "Map", "Clear", gap);
    Place(p["MapColour"], rd.left, rd.top + 500, rd.width, 315);
    p["MapColour"].items = {"Growth", "Rank class"};
    p["MapColour"].listIndex = 0;
    p.Hide("MapColour");
    ShowMainCommandSet(false);
    p.Show("ReadData");
    half.HalfLivesNoDraw = 0;
    for (AnalysisFactory make : RegisteredAnalyses()) {
        modules.push_back(make());
        modules.back()->AddControls(*this);
    }
}

std::optional<std::pair<Analysis*, CommandSpec>> Form::ModuleCommand(std::string_view control) const {
    for (const auto& m : modules)
        for (const CommandSpec& c : m->Commands())
            if (c.control == control) return std::pair{m.get(), c};
    return std::nullopt;
}

void Form::SetOption(std::string_view name, std::string_view value) {
    bool taken = false;
    for (const auto& m : modules) taken = m->SetOption(name, value) || taken;
    if (!taken) SetTailFitOption(name, value);
}

void Form::ShowMainCommandSet(bool show) {
    for (auto name : MainCommandSet) panel[name].visible = show;
    for (const auto& m : modules)
        for (const CommandSpec& c : m->Commands())
            if (c.mainSet) panel[c.control].visible = show;
}

void Form::Click(std::string_view control) {
    const Control* c = panel.Find(control);
    if (!c) throw RunError("There is no control named \"" + std::string(control) + "\"");
    if (c->kind != ControlKind::Button)
        throw RunError("\"" + std::string(control) + "\" is a list, not a button: choose an entry with " +
                       std::string(control) + "=ENTRY");
    if (!c->visible)
        throw RunError("\"" + c->caption + "\" (" + c->name + ") is not offered in the current panel");
    const CommandEntry* cmd = FindCommand(control);
    const auto own = cmd ? std::nullopt : ModuleCommand(control);
    if (!cmd && !own) throw RunError("\"" + c->caption + "\" has no command");
    if ((cmd ? cmd->needsData : own->second.needsData) && !HasData()) throw RunError("Load the data first");
    if (control != "Map") map.shown = false;
    (cmd ? cmd->handler : own->second.handler)(*this);
    NameGroupOnPicture(*this);
    MarkPlaces(*this, control);
    LastTimeLapse = control == "ReadData" ? "Rank" : Animates(*this, control) ? std::string(control) : std::string();
}

void Form::Choose(std::string_view list, int index) {
    Control& c = panel[list];
    if (c.kind != ControlKind::List) throw RunError("\"" + std::string(list) + "\" is not a list");
    if (!c.visible) throw RunError("The list \"" + c.name + "\" is not offered in the current panel");
    if (index < -1 || index >= static_cast<int>(c.items.size()))
        throw RunError("The list \"" + c.name + "\" has no entry " + std::to_string(index));
    c.listIndex = index;
    c.caption = index >= 0 ? c.items[static_cast<std::size_t>(index)] : c.caption;
    if (list == "Dates" || list == "MapColour") MapChoice_Changed(*this);
    for (const auto& m : modules) m->ListChosen(*this, list);
}

void Form::ChooseText(std::string_view list, std::string_view text) {
    const Control& c = panel[list];
    for (std::size_t i = 0; i < c.items.size(); ++i)
        if (c.items[i] == text) return Choose(list, static_cast<int>(i));
    throw RunError("The list \"" + c.name + "\" has no entry \"" + std::string(text) + "\"");
}

void Form::SetTailFitOption(std::string_view name, std::string_view value) {
    if (name == "bandwidth") {
        double h = 0;
        try {
            std::size_t used = 0;
            h = std::stod(std::string(value), &used);
            if (used != value.size()) h = 0;
        } catch (...) {
            h = 0;
        }
        if (!(h > 0 && std::isfinite(h))) throw RunError("--bandwidth takes a positive number, not \"" + std::string(value) + "\"");
        growthOptions.bandwidth = h;
        return;
    }
    long v = 0;
    try {
        std::size_t used = 0;
        v = std::stol(std::string(value), &used);
        if (used != value.size()) throw RunError("");
    } catch (...) {
        throw RunError("--" + std::string(name) + " takes a whole number, not \"" + std::string(value) + "\"");
    }
    if (name == "replicates" && v >= 0 && v <= 1000000)
        tailFitOptions.replicates = growthOptions.replicates = byGroupOptions.replicates = static_cast<int>(v);
    else if (name == "min-places" && v >= 1 && v <= 1000000)
        byGroupOptions.minPlaces = static_cast<int>(v);
    else if (name == "seed" && v >= 0)
        tailFitOptions.seed = growthOptions.seed = static_cast<std::uint64_t>(v);
    else if (name == "min-tail" && v >= 2 && v <= 1000000)
        tailFitOptions.minTail = static_cast<int>(v);
    else
        throw RunError("--" + std::string(name) + " " + std::string(value) + " is not a Tail-Fit option value");
}

void ReadData_Click(Form& f) {
    // Read into a fresh data set first: a failed load leaves everything as it was.
    const std::string path = DataFilePath(f.DataDir);
    ImportResult loaded = ImportFile(path, f.Import);
    f.LoadWarnings = loaded.preview.warnings;
    f.InstallData(std::move(loaded.data), std::filesystem::path(path).filename().string());
}

void Form::InstallData(std::unique_ptr<DataSet> fresh, const std::string& source) {
    Form& f = *this;
    ControlTable& p = f.panel;
    for (const char* name : {"ProgramLogo", "Label1", "Label2", "Label3", "Label4"}) p.Hide(name);
    Control& rd = p["ReadData"];
    rd.backColor = LoadedGrey;
    Place(rd, 150, 150, 1500, 500);
    Place(p["Rank"], rd.left, rd.top + rd.height + 150, rd.width, rd.height);
    // The selection names places of the table shown; a caller that moved it out remaps it.
    f.selection = f.data ? f.selection.Remapped(*f.data, *fresh) : Selection{};
    f.selection.markedPicture = "Rank";
    f.data = std::move(fresh);
    for (const auto& m : f.modules) m->Reset();
    f.map.shown = false;  // the picture becomes the new data's rank-size curves
    // Every analysis state to the new table's size; nothing of the last table stays in it.
    f.zipf.Resize(f.data->NumCities, f.data->NumDates);
    f.spirel.Resize(f.data->NumCities, f.data->NumDates);
    f.info.Resize(f.data->NumDates);
    f.pop.Resize(f.data->NumDates);
    f.half.Resize(f.data->NumDates);
    rd.caption = "Data Loaded";
    Rank_Click(f);
    f.data->DataReady = 1;
    const DataSet& d = *f.data;
    f.DataTitle = (source.empty() ? std::string() : source + ": ") + std::to_string(d.NumCities) + " places, " +
                  std::to_string(d.DateYear(1)) + "-" + std::to_string(d.DateYear(d.NumDates));
    f.Caption = f.DataTitle + " - Visualisation-of-City-Size-Data";
    const int shift = RankShiftDate(d);
    p["RankShift"].toolTip = "Shows the shift in ranks between " + std::to_string(d.DateYear(shift)) + " and " +
                             std::to_string(d.DateYear(d.NumDates)) + " and also all the rank size distributions";

    // Refill the lists (a second load must not append them again); keep the choices.
    Control& cities = p["Cities"];
    cities.items.clear();
    for (int i = 1; i <= f.data->NumCities; ++i) cities.items.push_back(f.data->CityName(i));
    if (cities.listIndex >= static_cast<int>(cities.items.size())) cities.listIndex = -1;
    Control& dates = p["Dates"];
    dates.items.clear();
    for (int t = 1; t <= f.data->NumDates; ++t) dates.items.push_back(std::to_string(f.data->DateYear(t)));
    if (dates.listIndex >= static_cast<int>(dates.items.size())) dates.listIndex = -1;
    f.tailFit = {};
    f.growth = {};
    f.wholeTable.reset();
    f.groupName.clear();
    f.groups = CountGroups(*f.data);
    f.DataSource = source;
    f.byGroup = {};
    Control& gd = p["GroupDates"];
    gd.items.clear();
    gd.listIndex = -1;
    Control& back = p["BackMap"];
    back.items = {"Grey", "Black"};
    if (back.listIndex >= static_cast<int>(back.items.size())) back.listIndex = -1;
    ++p.listRevision;

    f.Picture1.Visible = true;
    f.ShowMainCommandSet(true);
}

void Clear_Click(Form& f) {
    f.Text.Clear();
    f.ShowMainCommandSet(true);
    f.Picture1.Visible = true;
    for (const char* name : {"NextGraph", "NextInfo", "NextPop", "LastPop", "NextMobility", "Cities", "PlotCity"})
        f.panel.Hide(name);
    ClearPicture(CanvasOf(f));
    for (const char* name : {"DistancePlot", "NextInfo", "LastInfo", "NextLastInfo"}) f.panel.Hide(name);
    for (const char* name : {"Dates", "TailPlot", "HillPlot", "GrowthPlot"}) f.panel.Hide(name);
    // Growth's "Pooled" entry leaves the Dates list with its panel (Growth offers it again).
    Control& dates = f.panel["Dates"];
    if (!dates.items.empty() && dates.items.back() == "Pooled") {
        dates.items.pop_back();
        if (dates.listIndex >= static_cast<int>(dates.items.size())) dates.listIndex = -1;
        ++f.panel.listRevision;
    }
    for (const char* name : {"GroupDates", "ForestPlot", "HeatMap", "NextGroups", "MapColour"}) f.panel.Hide(name);
}

bool BlackBackground(const Form& f) { return f.BackMapIndex() == 1; }

Canvas CanvasOf(Form& f) { return Canvas{f.Picture1, f.frame, f.Text, BlackBackground(f), f.LoopIndex, MarkedPlaces(f)}; }

void CollapseCommandPanel(Form& f) {
    f.ShowMainCommandSet(false);
    f.panel.Hide("NextInfo");
    f.panel.Show("DistancePlot");
}

void NotAvailableYet(Form&, std::string_view caption) {
    throw RunError("\"" + std::string(caption) + "\" is not available yet in this version");
}
