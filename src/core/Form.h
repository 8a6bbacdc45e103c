#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/Analysis.h"
#include "core/Controls.h"
#include "core/Selection.h"
#include "data/DataSet.h"
#include "data/Import.h"
#include "data/Ranking.h"
#include "draw/Canvas.h"
#include "draw/HitTest.h"
#include "draw/Picture.h"
#include "draw/PlotFrame.h"
#include "draw/TextSurface.h"
#include "data/Subset.h"
#include "draw/RunError.h"

struct TailFitControl;

// The session, without any toolkit: the data, its rank tables, the groups, the pin, the panel
// and the analyses (modules of the registry, each owning its own state and options). The Qt
// window and the command line both drive a Form and only mirror what it holds.
class Form {
public:
    // Start-up: lays out every control and sets the opening panel.
    explicit Form(std::string dataDir = ".");

    std::string Caption = "Visualisation-of-City-Size-Data";
    std::string DataDir;  // the folder whose USData.csv Load Data reads, or the data file itself
    ImportOptions Import;  // how Load Data reads the file (layout, columns, unit, places kept)
    std::vector<std::string> LoadWarnings;  // what the last load said (ignored columns, places dropped...)
    std::string DataTitle;  // the loaded data and its span, e.g. "USData.csv: 266 places, 1790-2000"

    std::unique_ptr<DataSet> data;  // never null; empty until the first load
    RankTables rank;
    PlotFrame frame;
    Picture Picture1;
    TextSurface Text;  // the window's own text surface
    ControlTable panel;
    int LoopIndex = 0;  // shared loop counter where a loop and a routine it calls share it

    // The pinned place (1-based index into the data, 0: none): one pin for every picture, so a
    // place pinned on the map is emphasised on the spirels and curves, and the other way round.
    int Pinned = 0;
    // The places brushed or named, shared by every picture as the pin is (core/Marks.h).
    Selection selection;
    // The command whose time-lapse File > Save Animation writes: the last one clicked if it
    // has one ("Rank" after loading), else empty.
    std::string LastTimeLapse;

    // How a long computation (a bootstrap) runs. The window replaces it with one that shows a
    // progress dialog with Cancel; by default the work runs here with no progress.
    std::function<void(const std::function<void(const TailFitControl&)>& work)> runLongFit;

    // Groups: the whole table while one group is installed (null while all places are), the
    // group's name ("" for all), the groups of the whole table, and the file the caption names.
    std::unique_ptr<DataSet> wholeTable;
    std::string groupName;
    std::vector<GroupCount> groups;
    std::string DataSource;

    float LayoutOffset = 0;
    float WindowWidth = 0;   // twips
    float WindowHeight = 0;
    float ButtonGap = 0;

    // Runs the command of a button as a click on it. Throws RunError when the control is
    // not a button, is hidden in the current panel, needs data that is not loaded, or
    // when the command itself fails (what it drew or printed until then stays).
    void Click(std::string_view control);
    // Chooses entry `index` of a list; an analysis whose picture reads the list redraws it.
    void Choose(std::string_view list, int index);
    // Chooses the first entry with this text.
    void ChooseText(std::string_view list, std::string_view text);

    int BackMapIndex() const { return panel["BackMap"].listIndex; }
    bool HasData() const { return data->NumCities > 0 && data->NumDates > 0; }

    // The part of "Load Data" after the file has been read: swaps the data set in, ranks
    // it, fills the lists, names the data in the caption and shows the main command set.
    // `source` names the file in the caption (empty: the caption names no file).
    void InstallData(std::unique_ptr<DataSet> fresh, const std::string& source = {});

    // Hides or shows the buttons of the main command set.
    void ShowMainCommandSet(bool show);

    // The analyses of the registry, made with the Form, in registry order.
    std::vector<std::unique_ptr<Analysis>> modules;
    // The analysis of type T (throws RunError if it is not registered).
    template <class T>
    T& Module() const {
        for (const auto& m : modules)
            if (auto* t = dynamic_cast<T*>(m.get())) return *t;
        throw RunError("The analysis is not registered");
    }
    // The analysis whose command `control` is, and the command (null when no analysis has it).
    std::optional<std::pair<Analysis*, CommandSpec>> ModuleCommand(std::string_view control) const;
    // Sets an option of whichever analysis owns `name`; throws RunError when none does or the
    // value is bad.
    void SetOption(std::string_view name, std::string_view value);
};

// Commands of the window itself.
void ReadData_Click(Form& f);
void Clear_Click(Form& f);
void CollapseCommandPanel(Form& f);

// What a researcher is told about a hit: the city, the date, its rank and population there;
// for a curve of one date, the date and the nearest point's rank and population.
std::string DescribeHit(const Form& f, const Hit& hit, float x, float y);

// The date chosen in the Dates list (1-based); throws RunError when none is (or "Pooled" is).
int ChosenDate(const Form& f);

// True when the background chooser stands at position 1 ("Black").
bool BlackBackground(const Form& f);

// What the analyses draw and print on: the window's picture, frame and text pane.
Canvas CanvasOf(Form& f);

// A command whose analysis is not built yet says so instead of doing nothing.
[[noreturn]] void NotAvailableYet(Form& f, std::string_view caption);
