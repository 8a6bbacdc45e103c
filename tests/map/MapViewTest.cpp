// The map laid out for the picture's size, shown for a box of degrees (--extent) and zoomed:
// which places are drawn, discs cut at the frame, disc areas still proportional to population.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>

#include "TestForm.h"
#include "core/MapModule.h"
#include "map/Map.h"
#include "map/MapExtent.h"

namespace {

std::map<std::string, DrawOp> DiscsByName(const Form& f) {
    std::map<std::string, DrawOp> discs;
    for (const DrawOp& op : f.Picture1.Ops())
        if (op.tag.series == MapPlaceSeries) discs[f.data->CityName(op.tag.city)] = op;
    return discs;
}

}  // namespace

TEST(MapView, AnExtentIsCheckedShowsItsPlacesAndCutsDiscsAtTheFrame) {
    const std::pair<const char*, const char*> refused[] = {
        {"10,0,5,3", "W = 10 must be less than E = 5"},   {"0,10,5,5", "S = 10 must be less than N = 5"},
        {"-200,0,10,10", "W = -200 lies beyond +-180"},   {"0,0,10,95", "N = 95 lies beyond +-90"},
        {"0,-91,10,10", "S = -91 lies beyond +-90"},      {"1,2,3", "\"1,2,3\" is not four numbers"},
        {"1,2,3,4,5", "\"1,2,3,4,5\" is not four numbers"}, {"a,2,3,4", "\"a\" is not a number"},
    };
    for (const auto& [text, named] : refused) {
        const std::string error = Thrown([&] { ParseMapExtent(text); });
        EXPECT_NE(error.find(named), std::string::npos) << text << ": " << error;
    }
    const MapExtent e = ParseMapExtent("-80,37.5,-66,48");
    EXPECT_TRUE(e.west == -80 && e.south == 37.5 && e.east == -66 && e.north == 48);

    // The box -90..-70 E, 38..45 N is about 1,700 km wide and 800 km high, wider than the frame's
    // 8400 : 6580, so it fills the frame's width and the height shows about 1,300 km (35-48 N):
    // New York and Chicago are in it; Los Angeles (118 W), Miami (25.8 N), Anchorage are not.
    auto f = FiveForm();
    f->Module<MapModule>().state.extent = MapExtent{-90, 38, -70, 45};
    f->Click("Map");
    auto discs = DiscsByName(*f);
    EXPECT_EQ(discs.size(), 2u);
    ASSERT_TRUE(discs.count("New York, NY") && discs.count("Chicago, IL"));
    const MapGeometry& g = f->Module<MapModule>().state.geometry;
    for (const auto& [name, op] : discs) EXPECT_TRUE(op.x1 > g.left && op.x1 < g.right && op.y1 > g.top && op.y1 < g.bottom) << name;
    EXPECT_GT(discs["New York, NY"].x1, discs["Chicago, IL"].x1);  // east lies right
    // The box's east edge just past Chicago (87.63 W; the frame adds 2 % of the box's width,
    // about 13 km): its disc, several times larger at this magnification, is cut there; New
    // York is out.
    f->Module<MapModule>().state.extent = MapExtent{-95, 40, -87.6, 43};
    MapChoice_Changed(*f);  // the map shown is drawn again
    discs = DiscsByName(*f);
    ASSERT_EQ(discs.size(), 1u);
    const DrawOp chicago = discs["Chicago, IL"];
    EXPECT_TRUE(chicago.clip);
    EXPECT_GT(chicago.x1 + chicago.radius, f->Module<MapModule>().state.geometry.right);
    EXPECT_EQ(f->Picture1.ZoomArea, (ViewRect{g.left, g.top, g.right, g.bottom}));
}

// Zooming about New York by 3 grows the radii by sqrt 3 and moves the centres by the zoom
// (areas at the zoom against populations: PictureNavigation.TheZoomedMapKeepsDiscAreasAndHover).
TEST(MapView, AZoomGrowsTheDiscsAndMovesThemAboutThePointer) {
    auto f = FiveForm();
    f->Click("Map");
    auto home = DiscsByName(*f);
    Picture& p = f->Picture1;
    const DrawOp ny = home["New York, NY"];
    ASSERT_TRUE(p.View.ZoomAbout(p.ZoomArea, ny.x1, ny.y1, 3));
    MapChoice_Changed(*f);
    auto zoomed = DiscsByName(*f);
    ASSERT_TRUE(zoomed.count("New York, NY") && zoomed.count("Chicago, IL"));
    EXPECT_FALSE(zoomed.count("Los Angeles, CA")) << "beyond the zoomed frame";
    EXPECT_NEAR(zoomed["New York, NY"].radius, ny.radius * std::sqrt(3.0), 1e-3 * ny.radius);
    // The pointer's place stays put; Chicago moves three times as far from it.
    EXPECT_NEAR(zoomed["New York, NY"].x1, ny.x1, 0.5);
    EXPECT_NEAR(zoomed["Chicago, IL"].x1 - ny.x1, 3 * (home["Chicago, IL"].x1 - ny.x1), 1.0);
}

// At 1600 x 1000 pixels the frame reaches to 300 twips from the right and 1,700 from the
// bottom (24000 - 300, 15000 - 1700); the text keeps its point sizes.
TEST(MapView, TheFrameGrowsWithThePictureAndTheTextKeepsItsSize) {
    auto small = FiveForm();
    small->Click("Map");
    auto big = FiveForm();
    big->Picture1.Width = 24000;
    big->Picture1.Height = 15000;
    big->Click("Map");
    const MapGeometry& g = big->Module<MapModule>().state.geometry;
    EXPECT_TRUE(g.left == 300 && g.top == 720 && g.right == 23700 && g.bottom == 13300) << g.right << " " << g.bottom;
    // The same number of texts at each size (the size key's round values may differ: its
    // largest circle keeps to the key's room).
    std::multiset<float> text[2];
    for (int k : {0, 1})
        for (const DrawOp& op : (k ? big : small)->Picture1.Ops())
            if (op.kind == OpKind::Text) text[k].insert(op.fontSize);
    EXPECT_EQ(text[0], text[1]);
    // The largest disc grows with the frame's tighter side, the height: 12,580 / 6,580 (New
    // York, the largest, has the largest radius at both sizes).
    EXPECT_NEAR(DiscsByName(*big)["New York, NY"].radius / DiscsByName(*small)["New York, NY"].radius, 12580.0 / 6580,
                1e-5);
}
