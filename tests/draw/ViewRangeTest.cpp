// The zoom model behind every picture's navigation, the zoomed axes' ticks and the picture's
// size as typed. Every expected number is worked out by hand in the comment beside it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestForm.h"
#include "core/Form.h"
#include "draw/PlotFrame.h"
#include "draw/ViewRange.h"

namespace {

// The plot area of a 600 x 600 picture: margins 1200 left and right, 700 top and bottom.
const ViewRect Area{1200, 700, 7800, 8300};

const std::vector<ViewRect> Panels{{1000, 1000, 11000, 5000}, {1000, 6000, 11000, 10000}};

// Twice about (3500, 2000), a quarter of the way into the upper panel each way: 5,000 twips
// of width shown from 3500 - 0.25 * 5000 = 2250, 2,000 of height from 2000 - 0.25 * 2000 = 1500.
ViewRange ZoomedInTop() {
    ViewRange v;
    EXPECT_TRUE(ZoomPanelsAbout(v, Panels, 3500, 2000, 2));
    return v;
}

}  // namespace

// Zooming keeps the layout point under the pointer where it is and stays inside the layout.
TEST(ViewRange, ZoomAboutThePointerStaysInsideTheLayout) {
    struct Case {
        double x, y, factor;
        ViewRect shown;  // expected
    };
    const Case cases[] = {
        // Width 6600 / 2 = 3300, height 7600 / 2 = 3800; the pointer at 50 % across and
        // (4500 - 700) / 7600 = 50 % down: left 4500 - 1650, top 4500 - 1900.
        {4500, 4500, 2, {2850, 2600, 6150, 6400}},
        // At the top left corner: the corner stays.
        {1200, 700, 4, {1200, 700, 2850, 2600}},
        // At the bottom right corner: that corner stays (7800 - 3300, 8300 - 3800).
        {7800, 8300, 2, {4500, 4500, 7800, 8300}},
    };
    for (const Case& c : cases) {
        ViewRange v;
        EXPECT_TRUE(v.ZoomAbout(Area, c.x, c.y, c.factor));
        EXPECT_TRUE(v.zoomed);
        EXPECT_EQ(v.shown, c.shown) << c.x;
    }
    // A second zoom keeps the layout point under the pointer: (4000, 3000) shows layout
    // 2850 + 2800 / 2 = 4250 and 2600 + 2300 / 2 = 3750 before and after.
    ViewRange v;
    v.ZoomAbout(Area, 4500, 4500, 2);
    const double lx = v.ToLayoutX(Area, 4000), ly = v.ToLayoutY(Area, 3000);
    EXPECT_NEAR(lx, 4250, 1e-9);
    EXPECT_NEAR(ly, 3750, 1e-9);
    v.ZoomAbout(Area, 4000, 3000, 1.25);
    EXPECT_NEAR(v.ToLayoutX(Area, 4000), lx, 1e-9);
    EXPECT_NEAR(v.ToLayoutY(Area, 3000), ly, 1e-9);
    EXPECT_NEAR(v.ToShownX(Area, lx), 4000, 1e-9);
}

TEST(ViewRange, ZoomingOutEndsAtTheWholeAndPointsOutsideDoNothing) {
    ViewRange v;
    EXPECT_FALSE(v.ZoomAbout(Area, 100, 4500, 2)) << "left of the plot area";
    EXPECT_FALSE(v.ZoomAbout(Area, 4500, 4500, 0.5)) << "already whole";
    EXPECT_FALSE(v.Pan(Area, 100, 100)) << "nothing to pan while whole";
    EXPECT_TRUE(v.ZoomAbout(Area, 4500, 4500, 2));
    EXPECT_TRUE(v.ZoomAbout(Area, 4500, 4500, 0.25));
    EXPECT_FALSE(v.zoomed);
    EXPECT_EQ(v.Shown(Area), Area);
    EXPECT_FALSE(v.ZoomAbout(ViewRect{}, 0, 0, 2)) << "a picture without a zoom area";
}

// A drag moves the layout with the pointer: 300 shown twips at a zoom of 2 are 150 of the layout.
TEST(ViewRange, PanFollowsThePointerAndStopsAtTheEdges) {
    struct Case {
        double dx, dy, left, top;
    };
    const Case cases[] = {
        {300, 0, 2850 - 150, 2600},
        {0, -400, 2850, 2600 + 200},
        {1e6, 1e6, 1200, 700},         // dragged far right and down: the top left corner shows
        {-1e6, -1e6, 4500, 4500},      // and the other way: the bottom right (7800 - 3300, 8300 - 3800)
    };
    for (const Case& c : cases) {
        ViewRange v;
        v.ZoomAbout(Area, 4500, 4500, 2);
        EXPECT_TRUE(v.Pan(Area, c.dx, c.dy));
        EXPECT_EQ(v.shown, (ViewRect{c.left, c.top, c.left + 3300, c.top + 3800})) << c.dx << "," << c.dy;
    }
}

// A resize keeps the zoom: the area doubled in width keeps the magnification (2) and the
// relative centre (the middle): shown 6600 wide (13200 / 2), centred on 1200 + 6600.
TEST(ViewRange, ARescaleKeepsMagnificationAndCentre) {
    ViewRange v;
    v.ZoomAbout(Area, 4500, 4500, 2);
    const ViewRect wider{1200, 700, 14400, 8300};
    v.Rescale(Area, wider);
    EXPECT_TRUE(v.zoomed);
    EXPECT_NEAR(v.ScaleX(wider), 2, 1e-12);
    EXPECT_NEAR(v.ScaleY(wider), 2, 1e-12);
    EXPECT_NEAR(v.shown.left, 7800 - 3300, 1e-9);
    EXPECT_NEAR(v.shown.top, 2600, 1e-9);
    ViewRange whole;
    whole.Rescale(Area, wider);
    EXPECT_FALSE(whole.zoomed);
}

TEST(ViewRange, PictureSizeIsTwoWholeNumbersUpTo8000) {
    struct Good {
        const char* text;
        int w, h;
    };
    for (const Good& g : {Good{"1600x1000", 1600, 1000}, Good{"600X600", 600, 600}, Good{"1x8000", 1, 8000}}) {
        const PixelSize s = ParsePictureSize(g.text);
        EXPECT_EQ(s.width, g.w) << g.text;
        EXPECT_EQ(s.height, g.h) << g.text;
    }
    for (const char* bad : {"0x600", "600x0", "8001x600", "600x99999999999999999999", "600", "x600", "600x", "-5x600",
                            "6OOx600", "600x600x2", "1.5x600", ""}) {
        const std::string error = Thrown([&] { ParsePictureSize(bad); });
        EXPECT_NE(error, "no error") << bad;
        std::string quoted(1, '"');  // joined with append: g++ 12 misreads `"\"" + s` at -O3
        quoted.append(bad).append(1, '"');
        EXPECT_NE(error.find(quoted), std::string::npos) << error;
    }
}

// A zoomed plot re-ticks for the range shown and moves its data into the plot area. The
// linear axes run 0-100 (x) and 0-1000 (y) over 6600 and 7600 twips (66 and 7.6 a unit);
// showing x 20-30 and y 500-600 is the layout box x 1200 + 20 * 66 = 2520 to 3180, y 8300 -
// 600 * 7.6 = 3740 to 4500, a zoom of 10 either way. LinearTicks' step for 10 units over 6
// ticks is 2 (x), for 100 it is 20 (y), far enough apart not to be thinned.
TEST(ViewRange, ZoomedAxesReTickAndTheDataFollows) {
    Form f;
    const Axes linear{AxisScale::Linear, AxisScale::Linear, {}};
    f.Picture1.View.zoomed = true;
    f.Picture1.View.shown = ViewRect{2520, 3740, 3180, 4500};
    DrawAxes(CanvasOf(f), 1000, 100, "y", "x", linear);
    std::vector<std::string> xLabels, yLabels;
    for (const DrawOp& op : f.Picture1.Ops()) {
        if (op.kind != OpKind::Text || op.text == "x" || op.text == "y") continue;
        (op.y1 > 8300 ? xLabels : yLabels).push_back(op.text);
        EXPECT_EQ(op.fontSize, 9) << "labels keep their size";
    }
    EXPECT_EQ(xLabels, (std::vector<std::string>{"20", "22", "24", "26", "28", "30"}));
    EXPECT_EQ(yLabels, (std::vector<std::string>{"500", "520", "540", "560", "580", "600"}));
    // The data: (25, 550) is the middle of the area; (50, 550) lies outside and is not drawn;
    // a line from one to the other stops at the area's right edge.
    f.frame.PlotColor = 0;
    const std::size_t before = f.Picture1.Ops().size();
    const float xs[] = {25, 50, 25}, ys[] = {550, 550, 550};
    PlotCurveImpl(CanvasOf(f), ys, 3, xs, 3, 3);
    const auto& ops = f.Picture1.Ops();
    ASSERT_EQ(ops.size() - before, 3u) << "the mark and two segments, each cut at the edge";
    EXPECT_NEAR(ops[before].x1, 4500, 1e-2);
    EXPECT_NEAR(ops[before].y1, 4500, 1e-2);
    EXPECT_NEAR(ops[before + 1].x2, 7800, 1e-2);
    EXPECT_NEAR(ops[before + 2].x1, 7800, 1e-2);
    EXPECT_NEAR(ops[before + 2].x2, 4500, 1e-2);
    // The key stays in its corner, outside the zoom.
    DrawKey(CanvasOf(f), {{"a", 0, 2}});
    EXPECT_NEAR(f.Picture1.Ops().back().y1, 700 + 100, 1e-3);
}

// Panels stacked over one horizontal axis (Panels: 10,000 twips wide, 4,000 high each): the
// wheel zooms the shared axis and the vertical range of the panel under the pointer only.
TEST(PanelZoom, TheWheelZoomsTheSharedAxisAndThePanelUnderThePointer) {
    struct Case {
        const char* where;
        double x, y;
        ViewRect top, bottom;  // each panel's part shown after one notch of 2
    };
    const Case cases[] = {
        {"upper panel", 3500, 2000, {2250, 1500, 7250, 3500}, {2250, 6000, 7250, 10000}},
        {"lower panel", 8500, 9000, {4750, 1000, 9750, 5000}, {4750, 7500, 9750, 9500}},
        // Between the panels: the size axis alone, about the pointer's x (half way: 3500 to 8500).
        {"between", 6000, 5500, {3500, 1000, 8500, 5000}, {3500, 6000, 8500, 10000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        ViewRange v;
        ASSERT_TRUE(ZoomPanelsAbout(v, Panels, c.x, c.y, 2));
        EXPECT_TRUE(v.zoomed);
        EXPECT_EQ(PanelShown(v, Panels, 0), c.top);
        EXPECT_EQ(PanelShown(v, Panels, 1), c.bottom);
    }
    // Beside the panels, or out of the whole, nothing zooms. A second notch about (3500, 2000)
    // keeps 3500 a quarter of the way in; zoomed out past the whole, nothing is left of the zoom.
    ViewRange v;
    EXPECT_FALSE(ZoomPanelsAbout(v, Panels, 500, 2000, 2));
    EXPECT_FALSE(ZoomPanelsAbout(v, Panels, 5000, 10500, 2));
    EXPECT_FALSE(ZoomPanelsAbout(v, Panels, 3500, 2000, 0.5));
    v = ZoomedInTop();
    ASSERT_TRUE(ZoomPanelsAbout(v, Panels, 3500, 2000, 2));
    EXPECT_EQ(PanelShown(v, Panels, 0), (ViewRect{2875, 1750, 5375, 2750}));
    ASSERT_TRUE(ZoomPanelsAbout(v, Panels, 3500, 2000, 0.1));
    EXPECT_FALSE(v.zoomed);
    EXPECT_TRUE(v.spans.empty());
}

TEST(PanelZoom, ADragMovesEveryPanelSidewaysAndItsOwnPanelUpAndDown) {
    struct Case {
        const char* what;
        double x, y, dx, dy;
        bool moves;
        ViewRect top, bottom;
    };
    // Zoomed in the upper panel: 5,000 of 10,000 twips wide, 2,000 of 4,000 high, so a twip of
    // drag moves half a twip of the layout.
    const Case cases[] = {
        {"right and down from the upper panel", 3000, 2000, 1000, 400, true, {1750, 1300, 6750, 3300},
         {1750, 6000, 6750, 10000}},
        // The lower panel is whole upright: only the sideways part moves it.
        {"right and down from the lower panel", 3000, 7000, 1000, 800, true, {1750, 1500, 6750, 3500},
         {1750, 6000, 6750, 10000}},
        {"far left: stops at the edge", 3000, 2000, -100000, 0, true, {6000, 1500, 11000, 3500},
         {6000, 6000, 11000, 10000}},
        {"down the lower panel: it is whole", 3000, 7000, 0, 500, false, {2250, 1500, 7250, 3500},
         {2250, 6000, 7250, 10000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ViewRange v = ZoomedInTop();
        EXPECT_EQ(PanPanels(v, Panels, c.x, c.y, c.dx, c.dy), c.moves);
        EXPECT_EQ(PanelShown(v, Panels, 0), c.top);
        EXPECT_EQ(PanelShown(v, Panels, 1), c.bottom);
    }
    ViewRange whole;
    EXPECT_FALSE(PanPanels(whole, Panels, 3000, 2000, 100, 100));
}

TEST(PanelZoom, AResizeKeepsEachRangeAtItsFractionOfThePanel) {
    ViewRange v = ZoomedInTop();
    // Twice as wide and moved down by 500: 2250 was 1/8 of the width, 7250 5/8.
    const std::vector<ViewRect> wider{{1000, 1500, 21000, 5500}, {1000, 6500, 21000, 10500}};
    RescalePanels(v, Panels, wider);
    EXPECT_EQ(PanelShown(v, wider, 0), (ViewRect{3500, 2000, 13500, 4000}));
    EXPECT_EQ(PanelShown(v, wider, 1), (ViewRect{3500, 6500, 13500, 10500}));
    // A layout of another number of panels starts whole.
    RescalePanels(v, wider, {wider[0]});
    EXPECT_FALSE(v.zoomed);
}

TEST(ViewRange, ClipToRectKeepsThePartInside) {
    // Cut points worked by hand against Area = [1200, 7800] x [700, 8300].
    struct Case {
        double x1, y1, x2, y2;
        bool inside;
        double cx1, cy1, cx2, cy2;
    };
    const Case cases[] = {
        {0, 4500, 9000, 4500, true, 1200, 4500, 7800, 4500},     // across: cut at both sides
        {4500, 0, 4500, 4500, true, 4500, 700, 4500, 4500},      // from above: cut at the top
        {0, 0, 1000, 600, false, 0, 0, 0, 0},                    // wholly outside
        {2000, 2000, 3000, 3000, true, 2000, 2000, 3000, 3000},  // wholly inside: as it was
        {4500, 4500, 4500, 4500, true, 4500, 4500, 4500, 4500},  // a point inside
    };
    for (const Case& c : cases) {
        double x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        ASSERT_EQ(ClipToRect(x1, y1, x2, y2, Area), c.inside) << c.x1 << "," << c.y1;
        const double got[] = {x1, y1, x2, y2}, want[] = {c.cx1, c.cy1, c.cx2, c.cy2};
        for (int k = 0; c.inside && k < 4; ++k) EXPECT_NEAR(got[k], want[k], 1e-9) << c.x1 << "," << c.y1;
    }
}
