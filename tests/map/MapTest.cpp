// The map: projection, disc sizes and order, colours, the panel, outlines, time-lapse frames.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <tuple>

#include "TestForm.h"
#include "core/Animation.h"
#include "map/Map.h"
#include "map/Outlines.h"
#include "map/Projection.h"
#include "draw/ViewRange.h"
#include "core/MapModule.h"

namespace {

std::map<std::string, DrawOp> DiscsByName(const Form& f) {
    std::map<std::string, DrawOp> discs;
    for (const DrawOp& op : f.Picture1.Ops())
        if (op.tag.series == MapPlaceSeries) discs[f.data->CityName(op.tag.city)] = op;
    return discs;
}

// By PROJ, centred on the mean position: gdaltransform -s_srs EPSG:4326 -t_srs "+proj=laea
// +lat_0=40.724480 +lon_0=-101.994200 +datum=WGS84 +units=m +no_defs" -output_xy; cs2cs agrees to 0.1 mm.
struct Projected {
    const char* name;
    double lon, lat, x, y;
};
const Projected Five[] = {
    {"New York, NY", -74.0060, 40.7128, 2311348.35805899, 373046.363523074},
    {"Chicago, IL", -87.6298, 41.8781, 1185264.40727482, 225757.889058304},
    {"Los Angeles, CA", -118.2437, 34.0522, -1492026.45486056, -606438.753644793},
    {"Anchorage, AK", -149.8997, 61.2176, -2398755.39641909, 3034003.42289465},
    {"Miami, FL", -80.1918, 25.7617, 2179791.21639686, -1403235.13493279},
};

}  // namespace

TEST(Map, ProjectsAsPROJDoesAndKeepsThatGeometryInTwips) {
    Projection p(40.724480, -101.994200);
    std::vector<double> x, y;
    for (const auto& c : Five) x.push_back(c.lon), y.push_back(c.lat);
    p.Forward(x, y);
    for (std::size_t i = 0; i < std::size(Five); ++i) {
        EXPECT_NEAR(x[i], Five[i].x, 0.01) << Five[i].name;
        EXPECT_NEAR(y[i], Five[i].y, 0.01) << Five[i].name;
    }
    // On the picture: centred on the mean position, one scale for both axes, north up.
    // (Offsets from Los Angeles match only about the right centre: the projection bends.)
    auto f = FiveForm();
    f->Click("Map");
    const auto discs = DiscsByName(*f);
    const auto& g = f->Module<MapModule>().state.geometry;
    const DrawOp &ny = discs.at("New York, NY"), &la = discs.at("Los Angeles, CA");
    const double scale = (ny.x1 - la.x1) / (Five[0].x - Five[2].x);
    ASSERT_GT(scale, 0);
    for (const auto& c : Five) {
        const DrawOp& d = discs.at(c.name);
        EXPECT_NEAR(d.x1 - la.x1, scale * (c.x - Five[2].x), 0.5) << c.name;
        EXPECT_NEAR(d.y1 - la.y1, -scale * (c.y - Five[2].y), 0.5) << c.name;
        EXPECT_TRUE(d.x1 > g.left && d.x1 < g.right && d.y1 > g.top && d.y1 < g.bottom) << c.name;
    }
}

// Areas against populations: MapKey.DiscAreasScaleAsTheSizeKeySays. Here: drawn largest
// first, so small discs stay on top, and only places present with a position.
TEST(Map, DiscsLargestFirstAndOnlyPlacesThereWithAPosition) {
    auto f = FiveForm();
    f->Click("Map");
    EXPECT_EQ(DiscsByName(*f).size(), 5u);  // the sixth place has no position
    float last = 1e9f;
    for (const DrawOp& op : f->Picture1.Ops())
        if (op.tag.series == MapPlaceSeries) {
            EXPECT_LE(op.radius, last);
            last = op.radius;
        }
    f->ChooseText("Dates", "2000");
    EXPECT_EQ(DiscsByName(*f).size(), 5u);
    for (const auto& [name, op] : DiscsByName(*f)) EXPECT_EQ(op.tag.date, 2) << name;
}

TEST(Map, GrowthAndRankClasses) {
    auto f = FiveForm();
    // 100 ln(P'/P) / 10 by python's math.log on the table's numbers: New York 1990-2000,
    // 2000-2010, the last date (from the one before); Chicago declines.
    const std::tuple<int, int, double> cases[] = {
        {1, 1, 0.8951521682915364}, {1, 2, 0.20621229069053074}, {1, 3, 0.20621229069053074}, {2, 3, -0.71715927230281}};
    for (const auto& [city, t, percent] : cases) EXPECT_NEAR(GrowthPercent(*f->data, city, t), percent, 1e-9) << city << "@" << t;
    EXPECT_TRUE(std::isnan(GrowthPercent(*f->data, 6, 1)));  // absent in 2000
    const std::pair<double, int> growth[] = {{-5, 0}, {-3, 1}, {-1.01, 1}, {-1, 2}, {-0.26, 2}, {0, 3}, {0.249, 3},
                                             {0.25, 4}, {0.99, 4}, {1, 5}, {2.99, 5}, {3, 6}, {40, 6}, {NAN, 7}};
    for (const auto& [percent, k] : growth) EXPECT_EQ(GrowthClass(percent), k) << percent;
    const std::pair<int, int> ranks[] = {{1, 0}, {10, 0}, {11, 1}, {25, 1}, {26, 2}, {50, 2}, {51, 3}, {100, 3}, {101, 4}};
    for (const auto& [rank, k] : ranks) EXPECT_EQ(RankClass(rank), k) << rank;
}

TEST(Map, PanelDatesColouringAndHover) {
    auto f = FiveForm();
    f->Click("Map");
    EXPECT_TRUE(f->panel.Visible("Dates") && f->panel.Visible("MapColour"));
    EXPECT_FALSE(f->panel.Visible("Rank"));
    EXPECT_EQ(f->panel["Dates"].listIndex, 2);
    f->ChooseText("MapColour", "Rank class");
    const auto discs = DiscsByName(*f);
    EXPECT_EQ(discs.at("New York, NY").fill, RankClassColour(0));
    EXPECT_EQ(discs.at("Chicago, IL").fill, RankClassColour(0));
    EXPECT_NE(DescribeHit(*f, {0, discs.at("Chicago, IL").tag}, 0, 0).find("rank 3, population 2,695,598"),
              std::string::npos);
    f->ChooseText("MapColour", "Growth");
    EXPECT_EQ(DiscsByName(*f).at("Chicago, IL").fill, GrowthColour(2));  // -0.72 % a year
    f->Click("Clear");
    EXPECT_FALSE(f->panel.Visible("MapColour") || f->panel.Visible("Dates"));
    // After another command a date chosen for Tail-Fit draws no map.
    f->SetOption("min-tail", "2");
    f->SetOption("replicates", "0");
    f->Click("TailFit");
    f->ChooseText("Dates", "1990");
    for (const DrawOp& op : f->Picture1.Ops()) EXPECT_NE(op.tag.series, MapPlaceSeries);
}

TEST(Map, ATableWithoutPositionsSaysSoAndKeepsThePanel) {
    auto f = FormWithTestFile("ranksize/traj.csv", 5, 4);
    f->Click("Rank");
    const std::size_t ops = f->Picture1.Ops().size();
    EXPECT_NE(ErrorOf(*f, "Map").find("position"), std::string::npos);
    EXPECT_TRUE(f->panel.Visible("Rank"));
    EXPECT_FALSE(f->panel.Visible("MapColour"));
    EXPECT_EQ(f->Picture1.Ops().size(), ops);
}

TEST(Map, OutlinesFromAVectorFileAndClipping) {
    const auto path = std::filesystem::temp_directory_path() / "citysize-outline-test.geojson";
    std::ofstream(path) << R"({"type":"FeatureCollection","features":[
 {"type":"Feature","properties":{},"geometry":{"type":"Polygon","coordinates":[[[0,0],[10,0],[10,10],[0,10],[0,0]],[[2,2],[3,2],[3,3],[2,2]]]}},
 {"type":"Feature","properties":{},"geometry":{"type":"MultiLineString","coordinates":[[[0,0],[1,1]],[[5,5],[6,6],[7,5]]]}},
 {"type":"Feature","properties":{},"geometry":{"type":"Point","coordinates":[1,1]}}]})";
    const auto paths = ReadOutlines(path.string());
    std::filesystem::remove(path);
    ASSERT_EQ(paths.size(), 4u);  // two rings, two lines, no point
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(paths[i].lon.size(), (std::array<std::size_t, 4>{5, 4, 2, 3}[i]));
    EXPECT_TRUE(paths[3].lon[2] == 7 && paths[3].lat[2] == 5);
    EXPECT_THROW(ReadOutlines("/nonexistent/outline.json"), RunError);

    // A segment across a corner of [0, 10] x [0, 10] (the other cases: ViewRange.ClipToRectKeepsThePartInside).
    double x1 = -5, y1 = 6, x2 = 6, y2 = -5;
    ASSERT_TRUE(ClipToRect(x1, y1, x2, y2, ViewRect{0, 0, 10, 10}));
    EXPECT_TRUE(std::fabs(x1) + std::fabs(y1 - 1) + std::fabs(x2 - 1) + std::fabs(y2) < 1e-12) << x1 << y1 << x2 << y2;
}

TEST(Map, TimeLapseFramesShowEachDate) {
    auto f = FiveForm();
    const auto maps = AnimationFrames(*f, "Map");
    ASSERT_EQ(maps.size(), 3u);
    for (int t = 1; t <= 3; ++t) {  // five discs of the date each (the sixth place has no position)
        const auto& ops = maps[static_cast<std::size_t>(t - 1)].Ops();
        EXPECT_EQ(std::count_if(ops.begin(), ops.end(), [](const DrawOp& op) { return op.tag.series == MapPlaceSeries; }), 5);
        EXPECT_EQ(std::count_if(ops.begin(), ops.end(), [&](const DrawOp& op) { return op.tag.series == MapPlaceSeries && op.tag.date == t; }), 5);
    }
    // Rank-size: the curves up to each date, the newest wider than drawn and over the rest.
    f->Click("Clear");
    f->Click("Rank");
    const Picture whole = f->Picture1;
    const auto curves = AnimationFrames(*f, "Rank");
    ASSERT_EQ(curves.size(), 3u);
    const auto wholeCurve = std::find_if(whole.Ops().begin(), whole.Ops().end(), [](const DrawOp& op) { return op.tag.series == RankCurve && op.tag.date == 2; });
    ASSERT_NE(wholeCurve, whole.Ops().end());
    const int wholeWidth = wholeCurve->width;
    bool newestSeen = false;
    for (const DrawOp& op : curves[1].Ops()) {
        if (op.tag.series != RankCurve) continue;
        EXPECT_LE(op.tag.date, 2);
        if (op.tag.date == 2) {
            EXPECT_EQ(op.width, wholeWidth + 2);
            newestSeen = true;
        } else {
            EXPECT_FALSE(newestSeen) << "an older curve drawn over the newest";
        }
    }
    EXPECT_TRUE(newestSeen);
    EXPECT_THROW(AnimationFrames(*f, "Zipf"), RunError);
}
