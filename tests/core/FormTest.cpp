// The window as the core holds it: start-up layout, the panel states that "Load Data",
// "Rank-Size" and "Clear-Data" lead to, refused clicks, reloading and failed loads.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "TestForm.h"
#include "draw/RunError.h"

namespace {

namespace fs = std::filesystem;

struct Expected {
    const char* name;
    ControlKind kind;
    const char* caption;
    const char* tip;
    float left, top, width, height;
    bool visible;
};

constexpr auto Btn = ControlKind::Button;

// The controls in the window's order, where start-up must place them (twips).
const Expected StartUp[] = {
    {"TailFit", Btn, "Tail-Fit",
     "Fits the upper tail at every date: rank - 1/2 regression, power law by maximum likelihood with its bootstrap, "
     "and the lognormal alternative",
     1800, 7950, 1500, 500, false},
    {"Dates", ControlKind::List, "List of Dates", "", 150, 150, 1500, 315, false},
    {"TailPlot", Btn, "Tail-Plot",
     "Plots the distribution of the date chosen above on log-log axes with its fitted power law and lognormal", 150,
     800, 1500, 500, false},
    {"HillPlot", Btn, "Hill-Plot", "Plots the Hill estimates of the date chosen above against the tail size", 150,
     1450, 1500, 500, false},
    {"NextLastInfo", Btn, "N-Last-Info", "", 1800, 8650, 1500, 500, false},
    {"LastInfo", Btn, "Last-Info", "", 1800, 8650, 1500, 500, false},
    {"RankShiftSpirel", Btn, "RankSSpirel", "", 1800, 6000, 1500, 500, false},
    {"DistancePlot", Btn, "Distance-Spirel", "Computes and plots distance changes in ranks as a spirel", 1800, 8650,
     1500, 500, false},
    {"BackMap", ControlKind::List, "Background", "", 150, 8200, 1500, 315, true},
    {"PlotCity", Btn, "PlotCity", "Selects and plots a city on the spirel from the list above", 150, 1300, 1500, 500,
     false},
    {"Cities", ControlKind::List, "List of Places or Cities", "", 150, 150, 3350, 315, false},
    {"LastPop", Btn, "Last-Pop", "Prints the last set of population statistics", 1800, 8650, 1500, 500, false},
    {"NextPop", Btn, "Next-Pop", "Prints the next set of population statistics", 1800, 8650, 1500, 500, false},
    {"NextInfo", Btn, "Next-Info", "Prints the next set of information statistics", 1800, 8650, 1500, 500, false},
    {"RankSpace", Btn, "Rank-Space", "Shows the shift in rank for each city in rank-size space", 1800, 3400, 1500,
     500, false},
    {"NextGraph", Btn, "Next-Graph", "Plots the next graph", 1800, 8650, 1500, 500, false},
    {"Zipf", Btn, "Zipf-Exponents", "Computes the Zipf exponents using regression and the Hill bootstrap likelihood",
     1800, 2100, 1500, 500, false},
    {"DataProperties", Btn, "Data Properties", "Shows aggregate dynamics of the population data", 1800, 150, 1500,
     500, false},
    {"PopSpirel", Btn, "Pop-Spirel", "Plots population change statistics as a spirel", 1800, 7300, 1500, 500, false},
    {"PopStats", Btn, "Pop-Stats", "Computes population change statistics", 150, 7300, 1500, 500, false},
    {"InfoSpirel", Btn, "Info-Spirel", "Plots information statistics as spirel", 1800, 6650, 1500, 500, false},
    {"Clear", Btn, "Clear-Data", "Clears all the data and the window for new working", 150, 8650, 1500, 500, true},
    {"InfoStats", Btn, "Info-Stats", "Computes information and rank change statistics", 150, 6650, 1500, 500, false},
    {"CumSizeRank", Btn, "Cum-Size-R", "Computes the distributions as cumulative size by rank", 1800, 1450, 1500, 500,
     false},
    {"CumRankSize", Btn, "Cum-Rank-S", "Computes the distributions as rank by cumulative size", 150, 1450, 1500, 500,
     false},
    {"SizeRank", Btn, "Size-Rank", "Computes the distributions as size-rank", 1800, 800, 1500, 500, false},
    {"HalfLives", Btn, "Half-Lives",
     "Half lives based on number of cities at each date in the top rank before and after the date", 150, 6000, 1500,
     500, false},
    {"RankSpirel5", Btn, "Rank-Spirel5", "Rank spirel based on changes in cumulative populations", 150, 5350, 1500,
     500, false},
    {"RankSpirel6", Btn, "Rank-Spirel6", "Rank spirel based on changes in log of cumulative populations", 1800, 5350,
     1500, 500, false},
    {"RankSpirel4", Btn, "Rank-Spirel4", "Rank spirel based on changes in log of populations", 1800, 4700, 1500, 500,
     false},
    {"RankSpirel3", Btn, "Rank-Spirel3", "Rank spirel based on changes in populations", 150, 4700, 1500, 500, false},
    {"RankSpirel2", Btn, "Rank-Spirel2", "Rank spirel based on changes in log of ranks", 1800, 4050, 1500, 500, false},
    {"RankSpirel1", Btn, "Rank-Spirel1", "Rank spirel based on changes in ranks", 150, 4050, 1500, 500, false},
    {"RankChange", Btn, "Rank Change", "Shows the changes in rank for each city over time", 150, 3400, 1500, 500,
     false},
    {"PopChange", Btn, "Pop Change", "Shows the changes in population by cities over time", 150, 2750, 1500, 500,
     false},
    {"RankShift", Btn, "Rank Shift",
     "Shows the shift in ranks between 1950 and 2000 and also all the rank size distributions", 150, 2100, 1500, 500,
     false},
    {"Rank", Btn, "Rank-Size", "Computes the distributions as rank-size", 150, 800, 1500, 500, false},
    {"ReadData", Btn, "Load Data", "Loads, checks, and normalizes the data", 150, 150, 1500, 500, true},
    {"Label4", ControlKind::Label, nullptr, "", 3600, 8750, 11000, 855, true},
    {"Label3", ControlKind::Label, nullptr, "", 4550, 7950, 8200, 2175, true},
    {"Label2", ControlKind::Label, nullptr, "", 4550, 5350, 8200, 2895, true},
    {"Label1", ControlKind::Label, nullptr, "", 4550, 2750, 8200, 3015, true},
    {"ProgramLogo", ControlKind::Image, nullptr, "", 3450, 150, 10275, 2475, true},
};

const std::vector<std::string> Singles = {"NextGraph", "NextInfo", "LastInfo", "NextLastInfo",
                                          "NextPop",   "LastPop",  "DistancePlot", "PlotCity", "Cities",
                                          "Dates",     "TailPlot", "HillPlot"};
const std::vector<std::string> Opening = {"ProgramLogo", "Label1", "Label2", "Label3", "Label4"};

// Names of the visible controls, for comparing whole panel states.
std::set<std::string> Shown(const Form& f) {
    std::set<std::string> s;
    for (const auto& c : f.panel.All())
        if (c.visible) s.insert(c.name);
    return s;
}

std::set<std::string> MainPanel() {
    std::set<std::string> s(MainCommandSet.begin(), MainCommandSet.end());
    s.insert("Clear");
    s.insert("BackMap");
    return s;
}

// A folder holding a USData.csv of the given text, removed at the end.
class DataDir {
public:
    DataDir(const std::string& tag, const std::string& text)
        : path_(fs::temp_directory_path() / ("citysize-form-" + tag + "-" + std::to_string(getpid()))) {
        fs::create_directories(path_);
        std::ofstream(path_ / "USData.csv", std::ios::binary) << text;
    }
    ~DataDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    std::string Path() const { return path_.string(); }

private:
    fs::path path_;
};

std::string RealFirstLines(int n) {
    std::ifstream in(std::string(CITYSIZE_REAL_DATA) + "/USData.csv", std::ios::binary);
    std::string out, line;
    for (int i = 0; i < n && std::getline(in, line); ++i) out += line + "\n";
    return out;
}

}  // namespace

TEST(FormTest, StartUpPlacesEveryControlInTheWindowsOrder) {
    Form f;
    const auto& all = f.panel.All();
    ASSERT_EQ(all.size(), std::size(StartUp));
    for (std::size_t i = 0; i < all.size(); ++i) {
        const Control& c = all[i];
        const Expected& e = StartUp[i];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(c.name, e.name);
        EXPECT_EQ(c.kind, e.kind);
        if (e.caption) { EXPECT_EQ(c.caption, e.caption); }
        EXPECT_EQ(c.toolTip, e.tip);
        EXPECT_EQ(c.left, e.left);
        EXPECT_EQ(c.top, e.top);
        EXPECT_EQ(c.width, e.width);
        EXPECT_EQ(c.height, e.height);
        EXPECT_EQ(c.visible, e.visible);
    }
}

TEST(FormTest, StartUpWindowPictureColoursAndLists) {
    Form f;
    EXPECT_EQ(f.Caption, "Visualisation-of-City-Size-Data");
    EXPECT_EQ(f.WindowWidth, 14000);
    EXPECT_EQ(f.WindowHeight, 10000);
    EXPECT_EQ(f.LayoutOffset, 1000);
    EXPECT_EQ(f.ButtonGap, 150);
    EXPECT_EQ(f.Picture1.Width, 9000);
    EXPECT_EQ(f.Picture1.Height, 9000);
    EXPECT_EQ(f.Picture1.Top, 150);
    EXPECT_EQ(f.Picture1.Left, 3700);
    EXPECT_FALSE(f.Picture1.Visible);
    EXPECT_EQ(f.Picture1.BackColor, RGB(200, 200, 200));
    EXPECT_EQ(f.panel["ReadData"].backColor, RGB(238, 220, 232));  // mauve
    EXPECT_EQ(f.panel["Clear"].backColor, RGB(200, 200, 200));
    for (const auto& c : f.panel.All())
        if (c.kind == ControlKind::Button && c.name != "ReadData" && c.name != "Clear") {
            EXPECT_EQ(c.backColor, -1) << c.name << " has the standard look";
        }
    for (const char* list : {"BackMap", "Cities"}) {
        EXPECT_TRUE(f.panel[list].items.empty());
        EXPECT_EQ(f.panel[list].listIndex, -1);
    }
    EXPECT_EQ(f.half.HalfLivesNoDraw, 0);
    EXPECT_EQ(f.data->NumCities, 0);
    EXPECT_EQ(f.data->DataReady, 0);
}

TEST(FormTest, OpeningTextsAndTheirFonts) {
    Form f;
    EXPECT_EQ(f.panel["Label1"].caption,
              "This program reads a table of the populations of a country's largest cities, one row per city and "
              "one column per census from 1790 to 2000 in ten-year periods, and lets you plot and explore the "
              "rank-size distributions, the rank spirels and the information and growth statistics that describe "
              "how the cities change rank over time. ");
    EXPECT_EQ(f.panel["Label2"].caption,
              "The data is a comma separated table whose rows are cities and whose columns are the populations of "
              "the cities at the census dates. The file must be called USData.csv and must stand in the folder from "
              "which the program is started; the program reads it from there when you load the data.");
    EXPECT_EQ(f.panel["Label3"].caption,
              "To proceed, click on the mauve-colored 'Load Data' Button at the top left of this window and this "
              "screen will clear and the functions available will display.");
    const std::string head = "All the documentation is at ";
    const Control& l4 = f.panel["Label4"];
    ASSERT_GT(l4.caption.size(), head.size());
    EXPECT_EQ(l4.caption.substr(0, head.size()), head);
    EXPECT_EQ(l4.fontSize, 14);
    EXPECT_TRUE(l4.italic);
    EXPECT_EQ(l4.fontName, "Arial");
    EXPECT_EQ(l4.foreColor, RGB(0, 0, 128));
    for (const char* l : {"Label1", "Label2", "Label3"}) {
        EXPECT_EQ(f.panel[l].fontSize, 12) << l;
        EXPECT_FALSE(f.panel[l].italic) << l;
    }
}

TEST(FormTest, OnlyLoadClearAndTheChooserAreOfferedAtStartUp) {
    Form f;
    std::set<std::string> expected = {"ReadData", "Clear", "BackMap"};
    expected.insert(Opening.begin(), Opening.end());
    EXPECT_EQ(Shown(f), expected);
    std::string msg = ErrorOf(f, "Rank");
    EXPECT_NE(msg.find("Rank-Size"), std::string::npos) << msg;  // named in the refusal
    EXPECT_NE(msg.find("not offered"), std::string::npos) << msg;
    EXPECT_TRUE(f.Picture1.Ops().empty());
    EXPECT_NE(ErrorOf(f, "NextGraph").find("Next-Graph"), std::string::npos);
    EXPECT_NE(ErrorOf(f, "Cities").find("Cities"), std::string::npos);  // a list is no button
    EXPECT_NE(ErrorOf(f, "Nowhere").find("Nowhere"), std::string::npos);
}

TEST(FormTest, LoadDataShowsTheMainPanelAndAnEmptyGreyPicture) {
    auto f = FormWithRealData();
    EXPECT_EQ(Shown(*f), MainPanel());
    EXPECT_TRUE(f->Picture1.Visible);
    EXPECT_TRUE(f->Picture1.Ops().empty());
    EXPECT_EQ(f->Picture1.BackColor, LightGrey);
    const Control& rd = f->panel["ReadData"];
    EXPECT_EQ(rd.caption, "Data Loaded");
    EXPECT_EQ(rd.backColor, RGB(225, 225, 225));
    EXPECT_EQ(rd.left, 150);
    EXPECT_EQ(rd.top, 150);
    EXPECT_EQ(f->panel["Rank"].top, 800);
    EXPECT_EQ(f->data->DataReady, 1);
    EXPECT_EQ(f->frame.AxisKind, 1);
    const Control& cities = f->panel["Cities"];
    ASSERT_EQ(cities.items.size(), 266u);
    for (int i = 1; i <= 266; ++i) EXPECT_EQ(cities.items[static_cast<std::size_t>(i - 1)], f->data->CityName(i));
    EXPECT_EQ(cities.items.front(), "Akron, OH");
    EXPECT_EQ(f->panel["BackMap"].items, (std::vector<std::string>{"Grey", "Black"}));
    EXPECT_EQ(f->panel["BackMap"].listIndex, -1);
}

TEST(FormTest, RankSizeLeavesThePanelAndClearDataRestoresTheMainPanel) {
    auto f = FormWithRealData();
    f->Click("Rank");
    EXPECT_EQ(Shown(*f), MainPanel());
    EXPECT_FALSE(f->Picture1.Ops().empty());
    // Reduce the panel as the spirels do, print something, then clear.
    CollapseCommandPanel(*f);
    f->panel.Show("Cities");
    f->panel.Show("PlotCity");
    std::set<std::string> spirel = {"Clear", "BackMap", "DistancePlot", "Cities", "PlotCity"};
    EXPECT_EQ(Shown(*f), spirel);
    f->Text.Line("a table");
    f->Choose("BackMap", 1);
    f->Picture1.BackColor = Black;
    f->Click("Clear");
    EXPECT_EQ(Shown(*f), MainPanel());
    EXPECT_TRUE(f->Picture1.Visible);
    EXPECT_TRUE(f->Picture1.Ops().empty());
    EXPECT_EQ(f->Picture1.BackColor, Black);  // the background colour is left as it was
    EXPECT_TRUE(f->Text.Lines().empty());
    EXPECT_EQ(f->Text.Column(), 0);
    // Data, lists and captions are untouched.
    EXPECT_EQ(f->data->NumCities, 266);
    EXPECT_EQ(f->panel["Cities"].items.size(), 266u);
    EXPECT_EQ(f->panel["BackMap"].listIndex, 1);
    EXPECT_EQ(f->panel["ReadData"].caption, "Data Loaded");
    // Every single-purpose button hides again, whichever was shown.
    for (const auto& name : Singles) f->panel.Show(name);
    f->Click("Clear");
    EXPECT_EQ(Shown(*f), MainPanel());
}

TEST(FormTest, TailFitOffersTheDatesTheirPlotsAndNamesThePoints) {
    auto f = FormWithRealData();
    f->tailFitOptions.replicates = 0;
    EXPECT_EQ(ErrorOf(*f, "TailPlot"), "\"Tail-Plot\" (TailPlot) is not offered in the current panel");
    f->Click("TailFit");
    std::set<std::string> shown = {"Clear", "BackMap", "Dates", "TailPlot"};
    EXPECT_EQ(Shown(*f), shown);
    ASSERT_EQ(f->panel["Dates"].items.size(), 22u);
    EXPECT_EQ(f->panel["Dates"].items[16], "1950");
    // 1950's point names the row; x_min 299017 is R poweRlaw's (tests/stats/TailFitTest.cpp).
    const Hit fit{0, OpTag{0, 17, TailFitExponents}};
    const std::string said = DescribeHit(*f, fit, 0, 0);
    EXPECT_EQ(said.substr(0, said.find('\n')), "Census of 1950");
    EXPECT_NE(said.find("above x_min 299017 (n_tail 37)"), std::string::npos) << said;
    EXPECT_EQ(ErrorOf(*f, "TailPlot"), "Choose a date in the list of dates first");
    f->ChooseText("Dates", "1950");
    f->Click("TailPlot");
    shown.insert("HillPlot");
    EXPECT_EQ(Shown(*f), shown);
    // Every city present in 1950 (101, counted in the file) is one tagged point.
    int points = 0;
    for (const auto& op : f->Picture1.Ops()) points += op.kind == OpKind::Circle && op.tag.date == 17 && op.tag.city > 0;
    EXPECT_EQ(points, 101);
    f->Click("HillPlot");
    const Hit k10{0, OpTag{0, 17, TailHillPoint, 10}};
    EXPECT_NE(DescribeHit(*f, k10, 0, 0).find("Hill estimate over the 10 largest"), std::string::npos);
    f->Click("Clear");
    EXPECT_EQ(Shown(*f), MainPanel());
}

TEST(FormTest, ClearDataBeforeAnyLoadRevealsCommandsThatAskForData) {
    Form f;
    f.Click("Clear");
    std::set<std::string> expected = MainPanel();
    expected.insert(Opening.begin(), Opening.end());  // the opening texts stay shown
    EXPECT_EQ(Shown(f), expected);
    EXPECT_TRUE(f.Picture1.Visible);
    EXPECT_EQ(f.Picture1.BackColor, LightGrey);
    EXPECT_EQ(f.data->NumCities, 0);
    EXPECT_EQ(f.data->NumDates, 0);
    for (const char* cmd : {"Rank", "DataProperties", "Zipf", "RankSpirel1", "InfoStats", "PopStats", "HalfLives"})
        EXPECT_EQ(ErrorOf(f, cmd), "Load the data first") << cmd;
    EXPECT_TRUE(f.Picture1.Ops().empty());
    EXPECT_EQ(f.panel["ReadData"].caption, "Load Data");
}

TEST(FormTest, BlackBackgroundChoiceTakesEffectAtTheNextPlot) {
    auto f = FormWithRealData();
    f->ChooseText("BackMap", "Black");
    EXPECT_EQ(f->BackMapIndex(), 1);
    EXPECT_EQ(f->Picture1.BackColor, LightGrey);  // choosing runs nothing
    f->Click("Rank");
    EXPECT_EQ(f->Picture1.BackColor, Black);
    EXPECT_EQ(f->Picture1.Ops().front().colour, LightGrey);  // light-grey axes
    f->ChooseText("BackMap", "Grey");
    f->Click("Rank");
    EXPECT_EQ(f->Picture1.BackColor, LightGrey);
    EXPECT_EQ(f->Picture1.Ops().front().colour, Black);
}

TEST(FormTest, SecondLoadRefillsTheListsAndKeepsTheChoices) {
    auto f = FormWithRealData();
    f->Choose("BackMap", 1);
    f->panel.Show("Cities");
    f->ChooseText("Cities", "Boston, MA");
    const int boston = f->panel["Cities"].listIndex;
    f->Click("Clear");
    f->Click("ReadData");
    EXPECT_EQ(f->panel["Cities"].items.size(), 266u);
    EXPECT_EQ(f->panel["BackMap"].items.size(), 2u);
    EXPECT_EQ(f->panel["BackMap"].listIndex, 1);
    EXPECT_EQ(f->panel["Cities"].listIndex, boston);
    EXPECT_EQ(f->panel["Cities"].items[static_cast<std::size_t>(boston)], "Boston, MA");
    // The ranking of the reload ran with the black choice.
    EXPECT_EQ(f->Picture1.BackColor, Black);
    EXPECT_TRUE(f->Picture1.Ops().empty());
    EXPECT_EQ(Shown(*f), MainPanel());
}

TEST(FormTest, FailedLoadLeavesEverythingAsItWas) {
    auto f = FormWithRealData();
    f->Choose("BackMap", 1);
    f->Click("Rank");
    f->Text.Line("kept");
    const std::set<std::string> shown = Shown(*f);
    const DataSet* before = f->data.get();
    const std::vector<Control> controls = f->panel.All();
    const std::size_t ops = f->Picture1.Ops().size();

    DataDir shortFile("short", RealFirstLines(265));
    const std::string missing = (fs::temp_directory_path() / "citysize-form-no-such-folder").string();
    for (const std::string& dir : {shortFile.Path(), missing}) {
        f->DataDir = dir;
        std::string msg = ErrorOf(*f, "ReadData");
        EXPECT_NE(msg.find(dir + "/USData.csv"), std::string::npos) << msg;  // the message names the file
        EXPECT_EQ(f->data.get(), before);
        EXPECT_EQ(f->data->NumCities, 266);
        EXPECT_EQ(f->data->DataReady, 1);
        EXPECT_EQ(f->data->CityName(266), "Zanesville, OH");
        EXPECT_EQ(Shown(*f), shown);
        const auto& now = f->panel.All();
        ASSERT_EQ(now.size(), controls.size());
        for (std::size_t i = 0; i < now.size(); ++i) {
            EXPECT_EQ(now[i].caption, controls[i].caption) << now[i].name;
            EXPECT_EQ(now[i].items, controls[i].items) << now[i].name;
            EXPECT_EQ(now[i].listIndex, controls[i].listIndex) << now[i].name;
            EXPECT_EQ(now[i].backColor, controls[i].backColor) << now[i].name;
        }
        EXPECT_EQ(f->Picture1.Ops().size(), ops);
        EXPECT_EQ(f->Picture1.BackColor, Black);
        ASSERT_EQ(f->Text.Lines().size(), 1u);
    }
}

TEST(FormTest, FailedFirstLoadKeepsTheOpeningPanel) {
    DataDir shortFile("first", RealFirstLines(265));
    Form f(shortFile.Path());
    std::set<std::string> opening = Shown(f);
    EXPECT_NE(ErrorOf(f, "ReadData"), "no error");
    EXPECT_EQ(Shown(f), opening);
    EXPECT_EQ(f.panel["ReadData"].caption, "Load Data");
    EXPECT_EQ(f.panel["ReadData"].backColor, RGB(238, 220, 232));
    EXPECT_FALSE(f.Picture1.Visible);
    EXPECT_TRUE(f.panel["Cities"].items.empty());
    EXPECT_EQ(f.data->NumCities, 0);
    EXPECT_EQ(ErrorOf(f, "Clear"), "no error");
    EXPECT_EQ(ErrorOf(f, "Rank"), "Load the data first");
}

TEST(FormTest, ChoosingFromAListChecksTheEntry) {
    auto f = FormWithRealData();
    EXPECT_THROW(f->Choose("BackMap", 2), RunError);
    EXPECT_THROW(f->ChooseText("BackMap", "White"), RunError);
    EXPECT_THROW(f->Choose("Cities", 0), RunError);  // hidden in the main panel
    f->Choose("BackMap", 0);
    EXPECT_EQ(f->BackMapIndex(), 0);
    EXPECT_FALSE(BlackBackground(*f));
}
