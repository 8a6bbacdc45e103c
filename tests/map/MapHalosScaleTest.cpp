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
    // The place nearest the centre, and every place 150 to 400 km from it.
    int centre = 0;
    double best = 1e9;
    for (int c = 1; c <= d.NumCities; ++c)
        if (d.HasPosition(c)) {
            const double dist = GreatCircleKm(g.lat0, g.lon0, d.Latitude[c - 1], d.Longitude[c - 1]);
            if (dist < best) best = dist, centre = c;
        }
    ASSERT_LT(best, 100);
    const auto i = static_cast<std::size_t>(centre - 1);
    int pairs = 0;
    for (int c = 1; c <= d.NumCities; ++c) {
        const auto j = static_cast<std::size_t>(c - 1);
        if (!d.HasPosition(c)) continue;
        const double gc = GreatCircleKm(d.Latitude[i], d.Longitude[i], d.Latitude[j], d.Longitude[j]);
        if (gc < 150 || gc > 400) continue;
        const double onMap = std::hypot(g.x[j] - g.x[i], g.y[j] - g.y[i]) * km / barTwips;
        EXPECT_NEAR(onMap / gc, 1, 0.01) << d.CityName(c);
        ++pairs;
    }
    EXPECT_GT(pairs, 50);
}

}  // namespace
