#include "core/Form.h"

#include <utility>

#include "core/Animation.h"
#include "core/Groups.h"
#include "core/Marks.h"
#include "data/DataSearch.h"
#include "data/Loader.h"
#include "ranksize/RankShift.h"
#include "draw/PlotFrame.h"

#include <cmath>
#include <filesystem>
#include "draw/RunError.h"

namespace {

const Colour Mauve = 238 + 256 * 220 + 65536 * 232;
const Colour LoadedGrey = 225 + 256 * 225 + 65536 * 225;

// The controls in the order the window holds them, with captions and tool tips.
void CreateControls(ControlTable& p) {
    p.Add(ListControl("Dates", "List of Dates"));
    p.Add(ButtonControl("NextLastInfo", "N-Last-Info"));
    p.Add(ButtonControl("LastInfo", "Last-Info"));
    p.Add(ButtonControl("RankShiftSpirel", "RankSSpirel"));
    p.Add(ButtonControl("DistancePlot", "Distance-Spirel", "Computes and plots distance changes in ranks as a spirel"));
    p.Add(ListControl("BackMap", "Background"));
    p.Add(ButtonControl("PlotCity", "PlotCity", "Selects and plots a city on the spirel from the list above"));
    p.Add(ListControl("Cities", "List of Places or Cities"));
    p.Add(ButtonControl("LastPop", "Last-Pop", "Prints the last set of population statistics"));
    p.Add(ButtonControl("NextPop", "Next-Pop", "Prints the next set of population statistics"));
    p.Add(ButtonControl("NextInfo", "Next-Info", "Prints the next set of information statistics"));
    p.Add(ButtonControl("RankSpace", "Rank-Space", "Shows the shift in rank for each city in rank-size space"));
    p.Add(ButtonControl("NextGraph", "Next-Graph", "Plots the next graph"));
    p.Add(ButtonControl("Zipf", "Zipf-Exponents",
                 "Computes the Zipf exponents using regression and the Hill bootstrap likelihood"));
    p.Add(ButtonControl("DataProperties", "Data Properties", "Shows aggregate dynamics of the population data"));
    p.Add(ButtonControl("PopSpirel", "Pop-Spirel", "Plots population change statistics as a spirel"));
    p.Add(ButtonControl("PopStats", "Pop-Stats", "Computes population change statistics"));
    p.Add(ButtonControl("InfoSpirel", "Info-Spirel", "Plots information statistics as spirel"));
    p.Add(ButtonControl("Clear", "Clear-Data", "Clears all the data and the window for new working"));
    p.Add(ButtonControl("InfoStats", "Info-Stats", "Computes information and rank change statistics"));
    p.Add(ButtonControl("CumSizeRank", "Cum-Size-R", "Computes the distributions as cumulative size by rank"));
    p.Add(ButtonControl("CumRankSize", "Cum-Rank-S", "Computes the distributions as rank by cumulative size"));
    p.Add(ButtonControl("SizeRank", "Size-Rank", "Computes the distributions as size-rank"));
    p.Add(ButtonControl("HalfLives", "Half-Lives",
                 "Half lives based on number of cities at each date in the top rank before and after the date"));
    p.Add(ButtonControl("RankSpirel5", "Rank-Spirel5", "Rank spirel based on changes in cumulative populations"));
    p.Add(ButtonControl("RankSpirel6", "Rank-Spirel6", "Rank spirel based on changes in log of cumulative populations"));
    p.Add(ButtonControl("RankSpirel4", "Rank-Spirel4", "Rank spirel based on changes in log of populations"));
    p.Add(ButtonControl("RankSpirel3", "Rank-Spirel3", "Rank spirel based on changes in populations"));
    p.Add(ButtonControl("RankSpirel2", "Rank-Spirel2", "Rank spirel based on changes in log of ranks"));
    p.Add(ButtonControl("RankSpirel1", "Rank-Spirel1", "Rank spirel based on changes in ranks"));
    p.Add(ButtonControl("RankChange", "Rank Change", "Shows the changes in rank for each city over time"));
    p.Add(ButtonControl("PopChange", "Pop Change", "Shows the changes in population by cities over time"));
    p.Add(ButtonControl("RankShift", "Rank Shift",
                 "Shows the shift in ranks between 1950 and 2000 and also all the rank size distributions"));
    p.Add(ButtonControl("Rank", "Rank-Size", "Computes the distributions as rank-size"));
    p.Add(ButtonControl("ReadData", "Load Data", "Loads, checks, and normalizes the data"));
    p.Add(OfKind(ControlKind::Label, "Label4"));
    p.Add(OfKind(ControlKind::Label, "Label3"));
    p.Add(OfKind(ControlKind::Label, "Label2"));
    p.Add(OfKind(ControlKind::Label, "Label1"));
    p.Add(OfKind(ControlKind::Image, "ProgramLogo"));
}

void SetLabel(Control& c, float left, float top, float width, float height, std::string text) {
    Place(c, left, top, width, height);
    c.caption = std::move(text);
    c.fontName = "MS Sans Serif";
    c.fontSize = 12;
}

// The commands of the session itself; every other command is an analysis's.
struct SessionCommand {
    std::string_view control;
    void (*handler)(Form&);
};

const SessionCommand* FindSessionCommand(std::string_view control) {
    static const SessionCommand commands[] = {{"ReadData", ReadData_Click}, {"Clear", Clear_Click}};
    for (const auto& c : commands)
        if (c.control == control) return &c;
    return nullptr;
}

bool InMainCommandSet(const Form& f, std::string_view name) {
    for (auto n : MainCommandSet)
        if (n == name) return true;
    for (const auto& m : f.modules)
        for (const CommandSpec& c : m->Commands())
            if (c.mainSet && c.control == name) return true;
    return false;
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
    SetLabel(p["Label3"], labelLeft, p["PopSpirel"].top + 650, 8200, 2175,
             "To proceed, click on the mauve-colored 'Load Data' Button at the top left of this window and "
             "this screen will clear and the functions available will display.");
    const Control& info = p["InfoStats"];
    Place(p["Clear"], info.left, Picture1.Height + 150 - info.height, info.width, info.height);
    for (const char* name : {"NextGraph", "NextInfo", "NextPop", "LastPop"}) {
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
    // The date chooser of the analyses of one date (Tail-Fit, Growth, the map) takes the
    // place of the Cities list.
    Place(p["Dates"], rd.left, rd.top, rd.width, 315);
    p.Hide("Dates");
    for (AnalysisFactory make : RegisteredAnalyses()) {
        modules.push_back(make());
        modules.back()->AddControls(*this);
    }
    ShowMainCommandSet(false);
    p.Show("ReadData");
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
    if (!taken) throw RunError("--" + std::string(name) + " is not an option of any analysis");
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
    const auto own = ModuleCommand(control);
    const SessionCommand* cmd = own ? nullptr : FindSessionCommand(control);
    if (!cmd && !own) throw RunError("\"" + c->caption + "\" has no command");
    if (own && own->second.needsData && !HasData()) throw RunError("Load the data first");
    for (const auto& m : modules) m->BeforeCommand(control);
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
    for (const auto& m : modules) m->ListChosen(*this, list);
}

void Form::ChooseText(std::string_view list, std::string_view text) {
    const Control& c = panel[list];
    for (std::size_t i = 0; i < c.items.size(); ++i)
        if (c.items[i] == text) return Choose(list, static_cast<int>(i));
    throw RunError("The list \"" + c.name + "\" has no entry \"" + std::string(text) + "\"");
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
    // Nothing computed on the last table stays; each analysis makes its state anew, sized for
    // this table, when first used.
    for (const auto& m : f.modules) m->Reset();
    rd.caption = "Data Loaded";
    f.ModuleCommand("Rank")->second.handler(f);
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
    cities.items.reserve(static_cast<std::size_t>(f.data->NumCities));  // a million names: no regrowth at the peak
    for (int i = 1; i <= f.data->NumCities; ++i) cities.items.push_back(f.data->CityName(i));
    if (cities.listIndex >= static_cast<int>(cities.items.size())) cities.listIndex = -1;
    Control& dates = p["Dates"];
    dates.items.clear();
    dates.values.clear();
    for (int t = 1; t <= f.data->NumDates; ++t) {
        dates.items.push_back(std::to_string(f.data->DateYear(t)));
        dates.values.push_back(ListValue::Date(t));
    }
    if (dates.listIndex >= static_cast<int>(dates.items.size())) dates.listIndex = -1;
    f.wholeTable.reset();
    f.groupName.clear();
    f.groups = CountGroups(*f.data);
    f.DataSource = source;
    for (const auto& m : f.modules) m->DataInstalled(f);
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
    ClearPicture(CanvasOf(f));
    // Every panel's own buttons and lists go: what stays is the main command set, Clear-Data
    // and the background chooser.
    for (const Control& c : f.panel.All()) {
        const bool button = c.kind == ControlKind::Button, list = c.kind == ControlKind::List;
        if ((button && !InMainCommandSet(f, c.name) && c.name != "Clear") || (list && c.name != "BackMap"))
            f.panel.Hide(c.name);
    }
    // Growth's pooled entry leaves the Dates list with its panel (Growth offers it again).
    Control& dates = f.panel["Dates"];
    if (!dates.values.empty() && dates.values.back().kind == ListValue::Kind::Pooled) {
        dates.items.pop_back();
        dates.values.pop_back();
        if (dates.listIndex >= static_cast<int>(dates.items.size())) dates.listIndex = -1;
        ++f.panel.listRevision;
    }
}

int ChosenDate(const Form& f) {
    const ListValue* v = f.panel["Dates"].Chosen();
    if (!v || v->kind != ListValue::Kind::Date || v->date < 1 || v->date > f.data->NumDates)
        throw RunError("Choose a date in the list of dates first");
    return v->date;
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
