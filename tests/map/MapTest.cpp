// The map: projection, disc sizes and order, colours, the panel, outlines, time-lapse frames.
#include <gtest/gtest.h>

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
    auto f = FiveForm();
    f->Click("Map");
    EXPECT_NEAR(f->Module<MapModule>().state.geometry.lat0, 40.724480, 1e-6);
    EXPECT_NEAR(f->Module<MapModule>().state.geometry.lon0, -101.994200, 1e-6);
    const auto discs = DiscsByName(*f);
    const DrawOp &ny = discs.at("New York, NY"), &la = discs.at("Los Angeles, CA");
    const double scale = (ny.x1 - la.x1) / (Five[0].x - Five[2].x);
    ASSERT_GT(scale, 0);
    for (const auto& c : Five) {
        const DrawOp& d = discs.at(c.name);
        EXPECT_NEAR(d.x1 - la.x1, scale * (c.x - Five[2].x), 0.5) << c.name;
        EXPECT_NEAR(d.y1 - la.y1, -scale * (c.y - Five[2].y), 0.5) << c.name;
        const auto& g = f->Module<MapModule>().state.geometry;
        EXPECT_TRUE(d.x1 > g.left && d.x1 < g.right && d.y1 > g.top && d.y1 < g.bottom) << c.name;
    }
}

TEST(Map, DiscAreasFollowPopulationsLargestFirstAndOnlyPlacesThereWithAPosition) {
    auto f = FiveForm();
    f->Click("Map");
    // Populations of 2010 from the table; the place without a position is not drawn.
    const std::map<std::string, double> pop = {{"New York, NY", 8175133}, {"Chicago, IL", 2695598}, {"Los Angeles, CA", 3792621},
                                               {"Anchorage, AK", 291826}, {"Miami, FL", 399457}};
    const auto discs = DiscsByName(*f);
    ASSERT_EQ(discs.size(), pop.size());
    for (const auto& [a, pa] : pop)
        for (const auto& [b, pb] : pop) {
            const double areas = std::pow(discs.at(a).radius / discs.at(b).radius, 2);
            EXPECT_NEAR(areas / (pa / pb), 1.0, 0.01) << a << " / " << b;
        }
    float last = 1e9f;
    for (const DrawOp& op : f->Picture1.Ops())
        if (op.tag.series == MapPlaceSeries) {
            EXPECT_LE(op.radius, last);
            last = op.radius;
        }
    // 2000: the place with no position is absent anyway; the others are all there.
    f->ChooseText("Dates", "2000");
    EXPECT_EQ(DiscsByName(*f).size(), 5u);
    for (const auto& [name, op] : DiscsByName(*f)) EXPECT_EQ(op.tag.date, 2) << name;
}

TEST(Map, GrowthAndRankClasses) {
    auto f = FiveForm();
    const DataSet& d = *f->data;
    // 100 ln(P'/P) / 10 by python's math.log on the table's numbers.
    // New York 1990-2000, 2000-2010, the last date (from the one before); Chicago declines.
    const std::tuple<int, int, double> cases[] = {
        {1, 1, 0.8951521682915364}, {1, 2, 0.20621229069053074}, {1, 3, 0.20621229069053074}, {2, 3, -0.71715927230281}};
    for (const auto& [city, t, percent] : cases) EXPECT_NEAR(GrowthPercent(d, city, t), percent, 1e-9) << city << "@" << t;
    EXPECT_TRUE(std::isnan(GrowthPercent(d, 6, 1)));  // absent in 2000
    const std::pair<double, int> growth[] = {{-5, 0}, {-3, 1}, {-1.01, 1}, {-1, 2}, {-0.26, 2}, {0, 3}, {0.249, 3},
                                             {0.25, 4}, {0.99, 4}, {1, 5}, {2.99, 5}, {3, 6}, {40, 6}, {NAN, 7}};
    for (const auto& [percent, k] : growth) EXPECT_EQ(GrowthClass(percent), k) << percent;
    const std::pair<int, int> ranks[] = {{1, 0}, {10, 0}, {11, 1}, {25, 1}, {26, 2}, {50, 2}, {51, 3}, {100, 3}, {101, 4}};
    for (const auto& [rank, k] : ranks) EXPECT_EQ(RankClass(rank), k) << rank;
    // The map's ranks are the rank tables': among the places present, by population (2010 New
    // York, Los Angeles, Chicago, ...; the sixth place is absent in 2000).
    const std::pair<int, std::vector<int>> ranked[] = {{3, {1, 3, 2, 5, 4, 6}}, {2, {1, 3, 2, 5, 4}}};
    for (const auto& [t, expected] : ranked)
        for (std::size_t c = 1; c <= expected.size(); ++c)
            EXPECT_EQ(f->rank.CityRank(static_cast<int>(c), t), expected[c - 1]) << c << "@" << t;
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

    // The rectangle [0, 10] x [0, 10]: segments and what of them stays inside.
    struct Clip {
        double x1, y1, x2, y2;
        bool kept;
        double cx1, cy1, cx2, cy2;
    };
    const Clip clips[] = {
        {2, 2, 8, 8, true, 2, 2, 8, 8},          // inside
        {-5, 5, 15, 5, true, 0, 5, 10, 5},       // across
        {5, -10, 5, 5, true, 5, 0, 5, 5},        // in from above
        {-5, -5, -1, 20, false, 0, 0, 0, 0},     // left of it
        {-5, 6, 6, -5, true, 0, 1, 1, 0},        // cuts the corner
        {11, 0, 20, 20, false, 0, 0, 0, 0},
    };
    for (const auto& c : clips) {
        double x1 = c.x1, y1 = c.y1, x2 = c.x2, y2 = c.y2;
        ASSERT_EQ(ClipToRect(x1, y1, x2, y2, ViewRect{0, 0, 10, 10}), c.kept) << c.x1 << "," << c.y1;
        const double got[] = {x1, y1, x2, y2}, want[] = {c.cx1, c.cy1, c.cx2, c.cy2};
        for (int k = 0; c.kept && k < 4; ++k) EXPECT_NEAR(got[k], want[k], 1e-12) << c.x1 << "," << c.y1;
    }
}

TEST(Map, TimeLapseFramesShowEachDate) {
    auto f = FiveForm();
    const auto maps = AnimationFrames(*f, "Map");
    ASSERT_EQ(maps.size(), 3u);
    for (int t = 1; t <= 3; ++t) {
        int discs = 0;
        for (const DrawOp& op : maps[t - 1].Ops())
            if (op.tag.series == MapPlaceSeries) {
                EXPECT_EQ(op.tag.date, t);
                ++discs;
            }
        EXPECT_EQ(discs, 5);  // the sixth place has no position
    }
    // Rank-size: the curves up to each date, the newest wider than drawn and over the rest.
    f->Click("Clear");
    f->Click("Rank");
    const Picture whole = f->Picture1;
    const auto curves = AnimationFrames(*f, "Rank");
    ASSERT_EQ(curves.size(), 3u);
    int wholeWidth = 0;
    for (const DrawOp& op : whole.Ops())
        if (op.tag.series == RankCurve && op.tag.date == 2) wholeWidth = op.width;
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
