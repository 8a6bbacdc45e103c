// View > Map Extent: all places, the installed group's box, or a box of degrees; "The Group"
// is offered only while a group is installed.
#include "AppKit.h"
#include <QAction>
#include "app/MapExtentMenu.h"
#include "core/Groups.h"
#include "core/MapModule.h"
#include "core/SelectionActions.h"
#include "map/Map.h"

namespace {

const std::string Five = CITYSIZE_TEST_DATA "/map/five.csv";

// Centre of a place's disc on the map, by name.
std::pair<double, double> DiscOf(const Form& f, const char* name) {
    for (const DrawOp& op : f.Picture1.Ops())
        if (op.tag.series == MapPlaceSeries && f.data->CityName(op.tag.city) == name) return {op.x1, op.y1};
    ADD_FAILURE() << name << " not drawn";
    return {0, 0};
}

double Apart(const Form& f, const char* a, const char* b) {
    const auto [x1, y1] = DiscOf(f, a);
    const auto [x2, y2] = DiscOf(f, b);
    return std::hypot(x2 - x1, y2 - y1);
}

void ExpectExtent(const std::optional<MapExtent>& e, MapExtent want) {
    ASSERT_TRUE(e.has_value());
    for (auto edge : {&MapExtent::west, &MapExtent::south, &MapExtent::east, &MapExtent::north})
        EXPECT_NEAR((*e).*edge, want.*edge, 1e-9);
}

}  // namespace

TEST(MapExtentWindow, AllPlacesTheGroupOrABox) {
    ShownWindow t(Five);
    MainWindow& w = t.w;
    w.sizeChooser()->choose(QSize(600, 600));
    MapExtentMenu* menu = w.mapExtentMenu();
    ASSERT_NE(menu, nullptr);
    const std::optional<MapExtent>& extent = w.form().Module<MapModule>().state.extent;
    // No group installed: the group is not offered, all places are the places themselves.
    EXPECT_FALSE(menu->action(MapFraming::Group)->isEnabled());
    EXPECT_TRUE(menu->action(MapFraming::AllPlaces)->isChecked());
    EXPECT_FALSE(menu->choose(MapFraming::Group).isEmpty());
    EXPECT_EQ(menu->framing(), MapFraming::AllPlaces);
    w.runCommand("Map");
    EXPECT_FALSE(extent.has_value());
    const double wholeApart = Apart(w.form(), "New York, NY", "Miami, FL");

    // New York and Miami analysed as a group (Analyse selection installs them as one).
    SelectFromList(w.form(), "New York, NY;Miami, FL");
    AnalyseSelection(w.form());
    w.syncFromForm();
    ASSERT_EQ(w.form().data->NumCities, 2);
    EXPECT_TRUE(menu->action(MapFraming::Group)->isEnabled());
    w.runCommand("Map");
    // All places: the whole table's (longitudes -149.8997 to -74.0060, latitudes 25.7617 to
    // 61.2176, each widened by 3 % of its span: 2.276811, 1.063677, by hand). The two stand a
    // little closer than on the whole table's map: the frame holds the box's curved parallels.
    ExpectExtent(extent, {-152.176511, 24.698023, -71.729189, 62.281277});
    const double allApart = Apart(w.form(), "New York, NY", "Miami, FL");
    EXPECT_GT(allApart, 0.7 * wholeApart);
    EXPECT_LT(allApart, 1.01 * wholeApart);

    // The group: New York and Miami's box, longitudes -80.1918 to -74.0060 (3 %: 0.185574),
    // latitudes 25.7617 to 40.7128 (0.448533); the map drawn at once, the two far apart.
    ASSERT_EQ(menu->choose(MapFraming::Group), QString());
    EXPECT_TRUE(menu->action(MapFraming::Group)->isChecked());
    ExpectExtent(extent, {-80.377374, 25.313167, -73.820426, 41.161333});
    EXPECT_GT(Apart(w.form(), "New York, NY", "Miami, FL"), 2 * allApart);
    const ViewRect frame = w.form().Picture1.ZoomArea;
    for (const char* place : {"New York, NY", "Miami, FL"}) {
        const auto [x, y] = DiscOf(w.form(), place);
        EXPECT_TRUE(frame.Contains(x, y)) << place;
    }

    // A box of degrees, checked as --extent checks it; a bad one leaves the choice as it was.
    EXPECT_TRUE(menu->choose(MapFraming::Box, "-70,30,-80,45").contains(QStringLiteral("W = -70 must be less than E = -80")));
    EXPECT_EQ(menu->framing(), MapFraming::Group);
    ASSERT_EQ(menu->choose(MapFraming::Box, "-82,24,-72,42"), QString());
    ExpectExtent(extent, {-82, 24, -72, 42});
    EXPECT_TRUE(menu->action(MapFraming::Box)->isChecked());

    // The group gone: "The Group" falls back to all places and is not offered.
    ASSERT_EQ(menu->choose(MapFraming::Group), QString());
    ChooseGroup(w.form(), AllGroups);
    w.syncFromForm();
    EXPECT_FALSE(menu->action(MapFraming::Group)->isEnabled());
    EXPECT_EQ(menu->framing(), MapFraming::AllPlaces);
    EXPECT_FALSE(extent.has_value());
}
