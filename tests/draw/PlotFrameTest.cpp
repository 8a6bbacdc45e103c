// The plot frame of every x-y plot: the axes, the ticks and labels each plot asks for, the
// contrast rule, text kept inside and apart on every plot, and the curve mapping.
// Picture1 is 9000 x 9000 twips, so with margins 1200 / 700 the frame is 6600 wide and
// 7600 high, the corner (X0, Y0) is (1200, 8300) and the horizontal axis ends at 7800.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "core/Form.h"
#include "TestForm.h"
#include "draw/Contrast.h"
#include "draw/PlotFrame.h"
#include "draw/Ticks.h"

namespace {

constexpr double X0 = 1200, Y0 = 8300, XR = 7800;

}  // namespace

TEST(PlotFrameTest, AxesAndCornerTicksInTheInkOfTheBackground) {
    Form f;
    f.frame.AxisColor = static_cast<float>(Black);  // left by an earlier grey plot: not used
    f.Picture1.BackColor = Black;
    f.Picture1.DrawWidth = 3;
    f.Picture1.FontSize = 12;
    DrawAxes(CanvasOf(f), 17.7f, 5.0f, "Log Population", "Log Rank", Axes{});
    const auto& ops = f.Picture1.Ops();
    ASSERT_GE(ops.size(), 4u);
    // In this order: vertical axis, horizontal axis, corner tick left, corner tick down.
    const double expected[4][4] = {{X0, 700, X0, Y0}, {X0, Y0, XR, Y0}, {X0, Y0, X0 - 200, Y0}, {X0, Y0, X0, Y0 + 200}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ((std::vector<double>{ops[i].x1, ops[i].y1, ops[i].x2, ops[i].y2}),
                  std::vector<double>(expected[i], expected[i] + 4)) << i;
    for (const auto& op : ops) {
        EXPECT_EQ(op.colour, LightGrey);
        if (op.kind == OpKind::Line) { EXPECT_EQ(op.width, 1); }  // DrawWidth = 1 for the axes
        if (op.kind == OpKind::Text) { EXPECT_EQ(op.fontSize, 9); }
    }
    EXPECT_EQ(f.Picture1.FontSize, 9);  // the font size stays 9 after the call
}

// Ticks worked out by hand: the step is the first of 1, 2, 5 x 10^k not below range / 6;
// labels need their width (0.6 em a character, 9 pt: 108 twips) plus 60 twips between them.
TEST(PlotFrameTest, TicksForTheRangeThinnedWhereTheyWouldOverprint) {
    auto labels = [](const std::vector<Tick>& ticks) {
        std::string s;
        for (const Tick& t : ticks) s += (s.empty() ? "" : " ") + t.label;
        return s;
    };
    const std::pair<std::vector<Tick>, const char*> cases[] = {
        {LinearTicks(0, 1.05e8), "0 20m 40m 60m 80m 100m"},  // data properties
        {LinearTicks(0, 27.5), "0 5 10 15 20 25"},            // half-lives, top 25
        {LinearTicks(0, 0.165), "0 0.05 0.10 0.15"},          // Hill estimates, cut-off shares
        {LinearTicks(0, 1.5e6), "0 500k 1.0m 1.5m"},
        {LogTicks(1.1 * std::log(1e7)), "1 10 100 1000 10000 100000 1000000 10000000"},
        {LogTicks(std::log(100.0)), "1 10 100"},
        // 1.1 ln 10^7 over 1095 twips: a decade is 142 twips, a line 207 + 60: every other one.
        {Thinned(LogTicks(1.1 * std::log(1e7)), 1095 / (1.1 * std::log(1e7)), 9, false), "1 100 10000 1000000"},
        {Thinned(LinearTicks(0, 100), 10, 9, true), "0 40 80"},  // 200 twips a step, "100" needs 384
        // 1790-2000 over 22 units of 300 twips: 30 twips a year, a year label 432 + 60 wide,
        // so steps of 20 years; 1800 would touch 1790.
        {YearTicks(1790, 2000, 0, 22, 300, 9), "1790 1820 1840 1860 1880 1900 1920 1940 1960 1980 2000"},
        {YearTicks(1950, 2035, 0, 16, 6600 / 16.0, 9), "1950 1960 1970 1980 1990 2000 2010 2020 2035"},
        {YearTicks(1500, 1800, 0, 10, 100, 9), "1500 1800"},  // 1000 twips: only the ends fit
        // A zoomed log range: powers of ten, then 1-2-5, then round steps (150 - 100 over 6: 10).
        {LogTicksIn(std::log(3.0), std::log(2e5)), "10 100 1000 10000 100000"},
        {LogTicksIn(std::log(90.0), std::log(1100.0)), "100 200 500 1000"},
        {LogTicksIn(std::log(100.0), std::log(150.0)), "100 110 120 130 140 150"},
    };
    for (const auto& [ticks, expected] : cases) EXPECT_EQ(labels(ticks), expected);
    // Years stand at their own positions, not at round date indices.
    EXPECT_NEAR(YearTicks(1790, 2000, 0, 22, 300, 9)[5].at, 22 * 110 / 210.0, 1e-9);
}

// Relative luminance contrast against the two backgrounds, worked out with the sRGB formula.
TEST(PlotFrameTest, ColoursTooCloseToTheBackgroundAreReplacedOthersKept) {
    const Colour grey192 = RGB(192, 192, 192), navy = RGB(0, 0, 128);
    const struct {
        Colour colour, back;
        bool tooClose;
    } cases[] = {
        {Black, Black, true},          {navy, Black, true},           // 1.31
        {RGB(35, 35, 35), Black, true}, {RGB(12, 12, 12), Black, true},
        {RGB(46, 46, 46), Black, false}, {RGB(0, 0, 255), Black, false},  // 1.44
        {RGB(128, 0, 0), Black, false},  {grey192, LightGrey, true},      // 1.09
        {RGB(128, 128, 128), LightGrey, false}, {RGB(255, 255, 0), LightGrey, false},  // 1.56
        {Black, LightGrey, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TooClose(c.colour, c.back), c.tooClose) << c.colour;
        const Colour v = Visible(c.colour, c.back);
        EXPECT_FALSE(TooClose(v, c.back)) << c.colour;
        if (!c.tooClose) { EXPECT_EQ(v, c.colour); }
    }
    EXPECT_EQ(InkFor(Black), LightGrey);
    EXPECT_EQ(InkFor(LightGrey), Black);
    // Palette: black and navy on black give way to green (entry 2); silver on grey to grey.
    EXPECT_EQ(VisiblePaletteColour(0, Black), RGB(0, 128, 0));
    EXPECT_EQ(VisiblePaletteColour(1, Black), RGB(0, 128, 0));
    EXPECT_EQ(VisiblePaletteColour(7, LightGrey), RGB(128, 128, 128));
    EXPECT_EQ(VisiblePaletteColour(12, Black), RGB(255, 0, 0));
}

// Every picture of the tour, on both backgrounds: no text leaves the picture and no two
// texts overprint (boxes estimated as the axes estimate them); each key stroke beside its name.
TEST(PlotFrameTest, EveryPlotKeepsItsTextInsideAndApart) {
    auto check = [](const Picture& p, const std::string& what) {
        std::vector<const DrawOp*> texts;
        for (const auto& op : p.Ops())
            if (op.kind == OpKind::Text && !op.text.empty()) texts.push_back(&op);
        auto right = [](const DrawOp* t) { return t->x1 + LabelWidth(t->text, t->fontSize); };
        auto bottom = [](const DrawOp* t) { return t->y1 + LabelHeight(t->fontSize); };
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const DrawOp* a = texts[i];
            EXPECT_TRUE(a->x1 >= 0 && a->y1 >= 0 && right(a) <= p.Width && bottom(a) <= p.Height) << what << ": " << a->text;
            for (std::size_t j = i + 1; j < texts.size(); ++j) {
                const DrawOp* b = texts[j];
                if (a->text == b->text && a->x1 == b->x1 && a->y1 == b->y1) continue;  // axes drawn again on top
                EXPECT_FALSE(a->x1 < right(b) && b->x1 < right(a) && a->y1 < bottom(b) && b->y1 < bottom(a))
                    << what << ": \"" << a->text << "\" and \"" << b->text << "\"";
            }
        }
        for (const auto& s : p.Ops()) {
            if (s.kind != OpKind::Line || s.tag.series != KeySeries || s.y1 != s.y2) continue;
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const DrawOp* t) {
                return t->tag.series == KeySeries && t->x1 >= s.x2 && t->x1 - s.x2 < 300 && t->y1 < s.y1 && s.y1 < bottom(t);
            })) << what << ": a key stroke at y " << s.y1 << " beside no name";
        }
    };
    for (int back = 0; back <= 1; ++back) {
        auto f = FormWithRealData();
        f->Choose("BackMap", back);
        const std::string on = back ? " on black" : " on grey";
        for (const char* command : {"Rank", "DataProperties", "SizeRank", "CumRankSize", "CumSizeRank", "RankShift",
                                    "RankSpace", "RankChange", "PopChange", "Zipf", "RankSpirel1", "RankSpirel2",
                                    "RankSpirel3", "RankSpirel4", "RankSpirel5", "RankSpirel6", "HalfLives",
                                    "RankShiftSpirel", "InfoSpirel", "PopStats", "PopSpirel"}) {
            f->Click("Clear");
            f->Click(command);
            check(f->Picture1, std::string(command).append(on));
        }
        f->Click("Clear");
        f->Click("RankSpirel1");
        for (const char* city : {"New York City, NY", "Chicago, IL", "Los Angeles, CA"}) {
            f->ChooseText("Cities", city);
            f->Click("PlotCity");
        }
        check(f->Picture1, std::string("PlotCity").append(on));
        f->Click("DistancePlot");
        check(f->Picture1, std::string("DistancePlot").append(on));
    }
}
