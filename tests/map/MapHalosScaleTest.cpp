// The map's marks and scale on every US place: a halo for each selected place up to the
// largest selection that still gets them (100: more would merge into a blot), the pin's halo
// wider than the rest; and a scale bar whose length in km agrees with great-circle distances.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "TestForm.h"
#include "core/Marks.h"
#include "core/MapModule.h"
#include "draw/Emphasis.h"
#include "map/Map.h"

namespace {

// Haversine on a sphere of the mean Earth radius, km.
double GreatCircleKm(double lat1, double lon1, double lat2, double lon2) {
    const double r = 3.141592653589793 / 180, a = std::sin((lat2 - lat1) * r / 2), b = std::sin((lon2 - lon1) * r / 2);
    return 2 * 6371.0088 * std::asin(std::sqrt(a * a + std::cos(lat1 * r) * std::cos(lat2 * r) * b * b));
}

TEST(MapHalos, EverySelectedPlaceHasAHaloUpToTheLimitAndThePinStandsOut) {
    auto f = UsPlacesForm();
    const DataSet& d = *f->data;
    f->Click("Map");
    const int t = d.NumDates;
    // The largest places with a position at the last date: all inside the whole map.
    std::vector<int> places;
    for (int c = 1; c <= d.NumCities; ++c)
        if (d.HasPosition(c) && d.Pop(c, t) > 0) places.push_back(c);
    std::sort(places.begin(), places.end(), [&](int a, int b) { return d.Pop(a, t) > d.Pop(b, t); });
    const struct {
        std::size_t selected;
        int pin;  // index into places + 1, 0 none
        int halos, wide;
    } cases[] = {{1, 0, 1, 0}, {99, 0, 99, 0}, {100, 0, 100, 0}, {101, 0, 0, 0}, {100, 1, 100, 1},
                 {101, 1, 1, 1}, {100, 150, 101, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.selected) + " selected, pin " + std::to_string(c.pin));
        f->Pinned = c.pin ? places[static_cast<std::size_t>(c.pin - 1)] : 0;
        f->selection.Set(std::vector<int>(places.begin(), places.begin() + static_cast<long>(c.selected)));
        RemarkPlaces(*f);
        int halos = 0, wide = 0;
        for (const DrawOp& op : f->Picture1.Ops())
            if (op.tag.series == MarkSeries && op.kind == OpKind::Circle) {
                ++halos;
                if (op.width > 2) {
                    ++wide;
                    EXPECT_EQ(op.tag.city, f->Pinned);
                }
            }
        EXPECT_EQ(halos, c.halos);
        EXPECT_EQ(wide, c.wide);
    }
}

// The bar's km per twip, against two places near the projection's centre (where distances
// are true): their distance on the map over their great-circle distance.
TEST(MapScale, TheScaleBarsKmMatchGreatCircleDistanceNearTheCentre) {
    auto f = UsPlacesForm();
    const DataSet& d = *f->data;
    f->Click("Map");
    const MapGeometry& g = f->Module<MapModule>().state.geometry;
    double km = 0, barTwips = 0;
    const auto& ops = f->Picture1.Ops();
    for (std::size_t k = 0; k < ops.size(); ++k)
        if (ops[k].kind == OpKind::Text && ops[k].text.size() > 3 && ops[k].text.substr(ops[k].text.size() - 3) == " km") {
            std::string digits = ops[k].text.substr(0, ops[k].text.size() - 3);
            digits.erase(std::remove(digits.begin(), digits.end(), ','), digits.end());
            km = std::stod(digits);
            // The bar: the longest horizontal line starting where the label starts.
            for (const DrawOp& l : ops)
                if (l.kind == OpKind::Line && l.y1 == l.y2 && std::fabs(l.x1 - ops[k].x1) < 1)
                    barTwips = std::max(barTwips, static_cast<double>(l.x2 - l.x1));
        }
    ASSERT_GT(km, 0);
    ASSERT_GT(barTwips, 0);
    // The place nearest the centre, against every place 150 to 400 km from it.
    int i = 0;
    for (int c = 1; c <= d.NumCities; ++c)
        if (d.HasPosition(c) && (!i || GreatCircleKm(g.lat0, g.lon0, d.Latitude[c - 1], d.Longitude[c - 1]) <
                                           GreatCircleKm(g.lat0, g.lon0, d.Latitude[i - 1], d.Longitude[i - 1])))
            i = c;
    ASSERT_LT(GreatCircleKm(g.lat0, g.lon0, d.Latitude[i - 1], d.Longitude[i - 1]), 100);
    int pairs = 0;
    for (int c = 1; c <= d.NumCities; ++c) {
        const auto a = static_cast<std::size_t>(i - 1), b = static_cast<std::size_t>(c - 1);
        const double gc = d.HasPosition(c) ? GreatCircleKm(d.Latitude[a], d.Longitude[a], d.Latitude[b], d.Longitude[b]) : 0;
        if (gc < 150 || gc > 400) continue;
        EXPECT_NEAR(std::hypot(g.x[b] - g.x[a], g.y[b] - g.y[a]) * km / barTwips / gc, 1, 0.01) << d.CityName(c);
        ++pairs;
    }
    EXPECT_GT(pairs, 50);
}

}  // namespace
