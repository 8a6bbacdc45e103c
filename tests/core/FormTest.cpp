// The window as the core holds it: the panel states that "Load Data", "Rank-Size" and
// "Clear-Data" lead to, refused clicks, the background choice and reloading.
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "TestForm.h"
#include "draw/RunError.h"
#include "core/TailFitModule.h"

namespace {

const std::vector<std::string> Singles = {"NextGraph", "NextInfo", "LastInfo",     "NextLastInfo", "NextPop",
                                          "LastPop",   "DistancePlot", "PlotCity", "Cities", "NextMobility",
                                          "Dates",     "TailPlot",     "HillPlot"};
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
    // The analyses' own buttons that join the main command set.
    for (AnalysisFactory make : RegisteredAnalyses())
        for (const CommandSpec& c : make()->Commands())
            if (c.mainSet) s.insert(std::string(c.control));
    s.insert("Clear");
    s.insert("BackMap");
    return s;
}

}  // namespace

TEST(FormTest, OnlyLoadClearAndTheChooserAreOfferedAtStartUpAndCommandsAskForData) {
    Form f;
    std::set<std::string> expected = {"ReadData", "Clear", "BackMap"};
    expected.insert(Opening.begin(), Opening.end());
    EXPECT_EQ(Shown(f), expected);
    // Each refusal names the control (a list is no button).
    for (const auto& [control, named] : {std::pair{"Rank", "Rank-Size"}, {"NextGraph", "Next-Graph"}, {"Cities", "Cities"}, {"Nowhere", "Nowhere"}})
        EXPECT_NE(ErrorOf(f, control).find(named), std::string::npos) << control;
    EXPECT_NE(ErrorOf(f, "Rank").find("not offered"), std::string::npos);
    // Clear-Data before any load reveals the commands, which then ask for data.
    f.Click("Clear");
    expected = MainPanel();
    expected.insert(Opening.begin(), Opening.end());  // the opening texts stay shown
    EXPECT_EQ(Shown(f), expected);
    for (const char* cmd : {"Rank", "DataProperties", "Zipf", "RankSpirel1", "InfoStats", "PopStats", "HalfLives"})
        EXPECT_EQ(ErrorOf(f, cmd), "Load the data first") << cmd;
    EXPECT_TRUE(f.Picture1.Visible && f.Picture1.Ops().empty());
    EXPECT_EQ(f.panel["ReadData"].caption, "Load Data");
}

// Whether every two visible controls (and the picture) are apart and all lie in the window.
static void ExpectNoOverlap(const Form& f) {
    std::vector<Control> shown;
    for (const auto& c : f.panel.All())
        if (c.visible) shown.push_back(c);
    Control pic;
    pic.name = "Picture1", pic.left = f.Picture1.Left, pic.top = f.Picture1.Top, pic.width = f.Picture1.Width, pic.height = f.Picture1.Height;
    if (f.Picture1.Visible) shown.push_back(pic);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const Control& a = shown[i];
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.left + a.width <= f.WindowWidth && a.top + a.height <= f.WindowHeight)
            << a.name;
        for (const Control& b : std::vector<Control>(shown.begin(), shown.begin() + static_cast<std::ptrdiff_t>(i)))
            EXPECT_TRUE(a.left >= b.left + b.width || b.left >= a.left + a.width || a.top >= b.top + b.height || b.top >= a.top + a.height)
                << a.name << " overlaps " << b.name;
    }
}

// After Load Data (its caption, the panel and the list of cities through real clicks:
// Window.LoadRankBlackAndClearThroughRealClicks) the controls lie apart in the window.
TEST(FormTest, LoadDataShowsAnEmptyGreyPictureAndRankSizeLeavesThePanel) {
    auto f = FormWithRealData();
    ExpectNoOverlap(*f);
    EXPECT_TRUE(f->Picture1.Visible && f->Picture1.Ops().empty());
    EXPECT_EQ(f->Picture1.BackColor, LightGrey);
    EXPECT_EQ(f->frame.AxisKind, 1);
    EXPECT_EQ(f->panel["Cities"].items.front(), "Akron, OH");
    EXPECT_EQ(f->panel["BackMap"].items, (std::vector<std::string>{"Grey", "Black"}));
    EXPECT_EQ(f->panel["BackMap"].listIndex, -1);
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
    EXPECT_EQ(f->Picture1.BackColor, Black);  // the background colour is left as it was
    EXPECT_TRUE(f->Text.Lines().empty());
    // Data, lists and captions are untouched.
    EXPECT_EQ(f->panel["Cities"].items.size(), 266u);
    EXPECT_EQ(f->panel["BackMap"].listIndex, 1);
    // Every single-purpose button hides again, whichever was shown.
    for (const auto& name : Singles) f->panel.Show(name);
    f->Click("Clear");
    EXPECT_EQ(Shown(*f), MainPanel());
}

TEST(FormTest, MobilityOffersItsSecondPageOnceAndClearDataReturns) {
    auto f = FormWithRealData();
    f->Click("Mobility");
    EXPECT_EQ(Shown(*f), (std::set<std::string>{"Clear", "BackMap", "NextMobility"}));
    EXPECT_EQ(f->frame.AxisKind, 1);  // later plots keep the axes they would have had
    ExpectNoOverlap(*f);
    f->Click("NextMobility");
    EXPECT_EQ(Shown(*f), (std::set<std::string>{"Clear", "BackMap"}));
    f->Click("Clear");
    EXPECT_EQ(Shown(*f), MainPanel());
}

TEST(FormTest, TailFitOffersTheDatesTheirPlotsAndNamesThePoints) {
    auto f = FormWithRealData();
    f->Module<TailFitModule>().options.replicates = 0;
    f->Click("TailFit");
    // Both plots of one date are offered with the list of dates they read.
    const std::set<std::string> shown = {"Clear", "BackMap", "Dates", "TailPlot", "HillPlot"};
    EXPECT_EQ(Shown(*f), shown);
    ASSERT_EQ(f->panel["Dates"].items.size(), 22u);
    // 1950's point names the row; x_min 299017 is R poweRlaw's (tests/stats/TailFitTest.cpp).
    const std::string said = DescribeHit(*f, Hit{0, OpTag{0, 17, TailFitExponents}}, 0, 0);
    EXPECT_EQ(said.substr(0, said.find('\n')), "Census of 1950");
    EXPECT_NE(said.find("above x_min 299017 (n_tail 37)"), std::string::npos) << said;
    f->ChooseText("Dates", "1950");
    f->Click("TailPlot");
    EXPECT_EQ(Shown(*f), shown);  // what it draws: TailPlotPictures
    f->Click("HillPlot");
    EXPECT_NE(DescribeHit(*f, Hit{0, OpTag{0, 17, TailHillPoint, 10}}, 0, 0).find("Hill estimate over the 10 largest"), std::string::npos);
    f->Click("Clear");
    EXPECT_EQ(Shown(*f), MainPanel());
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
    EXPECT_EQ(f->Picture1.BackColor, Black);  // the ranking of the reload ran with the black choice
    EXPECT_EQ(Shown(*f), MainPanel());
    // A choice is checked against the list's entries.
    EXPECT_THROW(f->Choose("BackMap", 2), RunError);
    EXPECT_THROW(f->ChooseText("BackMap", "White"), RunError);
    EXPECT_THROW(f->Choose("Cities", 0), RunError);  // hidden in the main panel
    f->Choose("BackMap", 0);
    EXPECT_TRUE(f->BackMapIndex() == 0 && !BlackBackground(*f));
}
