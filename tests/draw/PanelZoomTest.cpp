// The zoom of panels stacked over one horizontal axis: the wheel over a panel narrows the
// shared horizontal range and that panel's vertical range about the pointer, the other panel's
// vertical range stays; between the panels only the shared axis zooms; a drag moves every panel
// sideways and the one it began in up and down; zoomed back out, the view is whole again.
// Expected ranges worked by hand from the panels below (10,000 twips wide, 4,000 high).
#include <gtest/gtest.h>

#include <vector>

#include "draw/ViewRange.h"

namespace {

const std::vector<ViewRect> Panels{{1000, 1000, 11000, 5000}, {1000, 6000, 11000, 10000}};

// Twice about (3500, 2000), a quarter of the way into the upper panel each way: 5,000 twips
// of width shown from 3500 - 0.25 * 5000 = 2250, 2,000 of height from 2000 - 0.25 * 2000 = 1500.
ViewRange ZoomedInTop() {
    ViewRange v;
    EXPECT_TRUE(ZoomPanelsAbout(v, Panels, 3500, 2000, 2));
    return v;
}

}  // namespace

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
    // Beside the panels nothing zooms.
    ViewRange v;
    EXPECT_FALSE(ZoomPanelsAbout(v, Panels, 500, 2000, 2));
    EXPECT_FALSE(ZoomPanelsAbout(v, Panels, 5000, 10500, 2));
    EXPECT_FALSE(v.zoomed);
    EXPECT_EQ(PanelShown(v, Panels, 1), Panels[1]);
}

TEST(PanelZoom, ThePointUnderThePointerStaysAndZoomingOutEndsWhole) {
    ViewRange v = ZoomedInTop();
    // A second notch about the same place: the layout point 3500 stays a quarter of the way in.
    ASSERT_TRUE(ZoomPanelsAbout(v, Panels, 3500, 2000, 2));
    EXPECT_EQ(PanelShown(v, Panels, 0), (ViewRect{2875, 1750, 5375, 2750}));
    // Out again past the whole: reset, nothing left of the zoom.
    ASSERT_TRUE(ZoomPanelsAbout(v, Panels, 3500, 2000, 0.1));
    EXPECT_FALSE(v.zoomed);
    EXPECT_TRUE(v.spans.empty());
    EXPECT_FALSE(ZoomPanelsAbout(v, Panels, 3500, 2000, 0.5)) << "already whole";
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
