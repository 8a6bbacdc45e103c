// The box that frames a table's places: every place with a position and a population at some
// date, widened by 3 % of each side, half a degree at least, never beyond +-180 / +-90.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "TestForm.h"
#include "map/MapExtent.h"

namespace {

std::unique_ptr<Form> Reading(const std::string& name, const std::string& csv) {
    const std::string path = testing::TempDir() + name;
    std::ofstream(path) << csv;
    return FormReading(path);
}

}  // namespace

TEST(PlacesExtent, FramesThePlacesWithPositionsAndAMargin) {
    struct Case {
        const char* what;
        std::string csv;
        MapExtent want;
    };
    const std::string header = "City,Latitude,Longitude,1990,2000\n";
    const Case cases[] = {
        // Longitudes -149.8997 to -74.0060 (75.8937 across, 3 % = 2.276811), latitudes 25.7617
        // to 61.2176 (35.4559, 3 % = 1.063677); the place without a position is left out.
        {"five places",
         header + "\"New York, NY\",40.7128,-74.0060,7322564,8008278\n\"Anchorage, AK\",61.2176,-149.8997,226338,260283\n"
                  "\"Miami, FL\",25.7617,-80.1918,358548,362470\n\"Nowhere, XX\",,,1000,2000\n",
         {-152.176511, 24.698023, -71.729189, 62.281277}},
        // One place: half a degree about it.
        {"one place", header + "\"New York, NY\",40.7128,-74.0060,7322564,8008278\n",
         {-74.256, 40.4628, -73.756, 40.9628}},
        // Near the date line and the pole the box stops at the edge of the world.
        // (0.05 degrees across: 0.225 each side; 0.1 high: 0.2 each side.)
        {"at the edges", header + "\"East, XX\",89.9,179.95,10,20\n\"West, XX\",89.8,179.9,10,20\n",
         {179.675, 89.6, 180, 90}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto e = PlacesExtent(*Reading(std::string("extent-") + c.what + ".csv", c.csv)->data);
        ASSERT_TRUE(e.has_value());
        const double got[] = {e->west, e->south, e->east, e->north}, want[] = {c.want.west, c.want.south, c.want.east, c.want.north};
        for (int k = 0; k < 4; ++k) EXPECT_NEAR(got[k], want[k], 1e-9) << k;
    }
    // No position at all: nothing to frame.
    EXPECT_FALSE(PlacesExtent(*Reading("extent-none.csv", "City,1990,2000\nA,10,20\nB,30,40\n")->data).has_value());
}
