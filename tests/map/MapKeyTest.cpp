// The map's keys say what its discs mean: every place's colour is the one the colour key puts
// beside the class its growth (or rank) falls in, computed here from the table by the
// README's definitions, and every disc's area is to its population as each size-key circle's
// area is to the population written beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "TestForm.h"
#include "map/Map.h"

namespace {

constexpr float KeyBand = 7400;  // the keys stand below the map's frame

struct KeyRow {
    double low, high;  // [low, high); NaN both for "no figure"
    Colour colour;
};

// "below -3", "-3 to -1", "3 and more", "no figure"; "top 10", "11-25", "beyond 100".
KeyRow Parse(const std::string& label, Colour colour) {
    const double inf = std::numeric_limits<double>::infinity(), nan = std::nan("");
    if (label == "no figure") return {nan, nan, colour};
    if (label.rfind("below ", 0) == 0) return {-inf, std::stod(label.substr(6)), colour};
    if (label.rfind("top ", 0) == 0) return {1, std::stod(label.substr(4)) + 1, colour};
    if (label.rfind("beyond ", 0) == 0) return {std::stod(label.substr(7)) + 1, inf, colour};
    if (const auto more = label.find(" and more"); more != std::string::npos) return {std::stod(label), inf, colour};
    if (const auto to = label.find(" to "); to != std::string::npos)
        return {std::stod(label.substr(0, to)), std::stod(label.substr(to + 4)), colour};
    const auto dash = label.find('-', 1);
    return {std::stod(label.substr(0, dash)), std::stod(label.substr(dash + 1)) + 1, colour};
}

// The colour key: each filled disc in the band with the text on its right, on its row.
std::vector<KeyRow> ColourKey(const Picture& p) {
    std::vector<KeyRow> key;
    for (const DrawOp& disc : p.Ops()) {
        if (disc.kind != OpKind::Circle || disc.fill < 0 || disc.tag.series == MapPlaceSeries || disc.y1 < KeyBand) continue;
        const DrawOp* label = nullptr;
        for (const DrawOp& t : p.Ops())
            if (t.kind == OpKind::Text && t.x1 > disc.x1 && t.x1 < disc.x1 + 400 && std::fabs(t.y1 + 100 - disc.y1) < 50)
                label = &t;
        EXPECT_NE(label, nullptr) << disc.x1 << "," << disc.y1;
        if (label) key.push_back(Parse(label->text, disc.fill));
    }
    return key;
}

Colour KeyColour(const std::vector<KeyRow>& key, double v) {
    for (const KeyRow& e : key)
        if (std::isnan(v) ? std::isnan(e.low) : v >= e.low && v < e.high) return e.colour;
    ADD_FAILURE() << "no key entry for " << v;
    return -2;
}

}  // namespace

TEST(MapKey, EveryDiscHasTheColourItsKeyGivesItsGrowthOrRank) {
    auto f = UsPlacesForm();
    const DataSet& d = *f->data;
    f->Click("Map");
    for (const char* date : {"1900", "2010"}) {
        SCOPED_TRACE(date);
        f->ChooseText("Dates", date);
        f->ChooseText("MapColour", "Growth");
        const int t = std::stoi(date) == 2010 ? d.NumDates : 12;  // 1900 is the 12th census
        ASSERT_EQ(d.DateYear(t), std::stoi(date));
        const int from = t < d.NumDates ? t : t - 1;  // at the last date, the growth into it
        std::vector<KeyRow> key = ColourKey(f->Picture1);
        EXPECT_EQ(key.size(), 8u);
        int discs = 0;
        for (const DrawOp& op : f->Picture1.Ops()) {
            if (op.tag.series != MapPlaceSeries) continue;
            const double a = d.Pop(op.tag.city, from), b = d.Pop(op.tag.city, from + 1);
            const double growth = a > 0 && b > 0 ? 100 * std::log(b / a) / (d.DateYear(from + 1) - d.DateYear(from)) : std::nan("");
            EXPECT_EQ(op.fill, KeyColour(key, growth)) << d.CityName(op.tag.city) << " " << growth;
            ++discs;
        }
        EXPECT_GT(discs, 1000);
        // By rank: among the places present at the date, by population, largest first.
        f->ChooseText("MapColour", "Rank class");
        key = ColourKey(f->Picture1);
        EXPECT_EQ(key.size(), 5u);
        std::vector<std::pair<double, int>> present;
        for (int c = 1; c <= d.NumCities; ++c)
            if (d.Pop(c, t) > 0) present.push_back({-d.Pop(c, t), c});
        std::sort(present.begin(), present.end());
        std::vector<int> rank(static_cast<std::size_t>(d.NumCities) + 1, 0);
        for (std::size_t k = 0; k < present.size(); ++k) rank[static_cast<std::size_t>(present[k].second)] = static_cast<int>(k) + 1;
        for (const DrawOp& op : f->Picture1.Ops())
            if (op.tag.series == MapPlaceSeries) {
                const int r = rank[static_cast<std::size_t>(op.tag.city)];
                EXPECT_EQ(op.fill, KeyColour(key, r)) << d.CityName(op.tag.city) << " rank " << r;
            }
    }
}

TEST(MapKey, DiscAreasScaleAsTheSizeKeySays) {
    auto f = UsPlacesForm();
    const DataSet& d = *f->data;
    f->Click("Map");
    f->ChooseText("Dates", "1950");
    const int t = 17;
    ASSERT_EQ(d.DateYear(t), 1950);
    // The size key: three unfilled circles, largest first, labelled top to bottom.
    std::vector<float> radii;
    std::vector<double> values;
    for (const DrawOp& op : f->Picture1.Ops()) {
        if (op.kind == OpKind::Circle && op.fill < 0 && op.tag.series != MapPlaceSeries && op.y1 > KeyBand - 2000 && op.x1 < 2900)
            radii.push_back(op.radius);
        if (op.kind == OpKind::Text && op.y1 > KeyBand && op.x1 < 2900 && op.text != "Population") {
            std::string digits = op.text;
            digits.erase(std::remove(digits.begin(), digits.end(), ','), digits.end());
            values.push_back(std::stod(digits));
        }
    }
    ASSERT_TRUE(radii.size() == 3 && values.size() == 3);
    std::sort(radii.rbegin(), radii.rend());
    EXPECT_TRUE(values[0] > values[1] && values[1] > values[2]);
    // The largest key value is a round number at or below the largest population.
    double largest = 0;
    for (int c = 1; c <= d.NumCities; ++c)
        for (int s = 1; s <= d.NumDates; ++s) largest = std::max(largest, d.Pop(c, s));
    EXPECT_LE(values[0], largest);
    EXPECT_GT(values[0], largest / 5);
    const double perPerson = radii[0] * radii[0] / values[0];
    for (std::size_t k : {1u, 2u}) EXPECT_NEAR(radii[k] * radii[k] / values[k], perPerson, perPerson * 1e-3);
    int discs = 0;
    for (const DrawOp& op : f->Picture1.Ops())
        if (op.tag.series == MapPlaceSeries) {
            ++discs;
            EXPECT_NEAR(op.radius * op.radius / d.Pop(op.tag.city, t), perPerson, perPerson * 1e-3) << d.CityName(op.tag.city);
        }
    EXPECT_GT(discs, 1000);
}
