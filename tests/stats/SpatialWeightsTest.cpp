// GAL files (the reader's rules and refusals) and nearest neighbours against a brute-force search.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>

#include "../TestForm.h"
#include "stats/SpatialWeights.h"

namespace {

std::string GalFile(const std::string& name, const std::string& text) {
    const auto dir = std::filesystem::temp_directory_path() / "citysize-gal-test";
    std::filesystem::create_directories(dir);
    const std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

TEST(GalReader, RefusesMalformedFilesNamingTheLine) {
    struct Case {
        const char* text;
        const char* says;
    } cases[] = {
        {"3\nA 2\nB\nB 1\nA\nC 0\n\n", "line 3: place A has 2 neighbours by its count but 1 ids are listed"},
        {"2\nA 1\nB\nA 1\nB\n", "line 4: the id A is given twice (first on line 2)"},
        {"2\nA 2\nB B\nB 1\nA\n", "line 3: the neighbour B of place A is listed twice"},
        {"3\nA 1\nB\nB 1\nA\n", "line 1: the header says 3 places but 2 are listed"},
        {"2\nA one\nB\n", "line 2: expected `id count`"},
        {"1 2 x\nA 0\n\n", "line 1: the header is"},
    };
    for (const Case& c : cases) {
        const std::string path = GalFile("bad.gal", c.text);
        EXPECT_NE(Thrown([&] { ReadGal(path, {"A", "B", "C"}, 3); }).find(c.says), std::string::npos) << c.text;
    }
}

// Both header forms; ids matched as text to the ID column (so "01" is not "1"); ids matching
// no place named in one warning; a place without a record has no neighbours.
TEST(GalReader, MatchesIdsAsTextAndWarnsOfStrangers) {
    for (const char* header : {"4", "0 4 places.shp FIPS"}) {
        const std::string path =
            GalFile("ok.gal", std::string(header) + "\n01 2\n1 X9\n1 1\n01\nX9 1\n01\nZ 1\n01\n");
        const SpatialWeights w = ReadGal(path, {"1", "01", "7"}, 3);
        EXPECT_EQ(w.neighbours[1], std::vector<int>{0});  // 01 -> 1 (X9 unknown)
        EXPECT_EQ(w.neighbours[0], std::vector<int>{1});  // 1 -> 01
        EXPECT_TRUE(w.neighbours[2].empty());
        ASSERT_EQ(w.warnings.size(), 1u);
        EXPECT_NE(w.warnings[0].find("2 ids match no place and are left out: X9, Z"), std::string::npos) << w.warnings[0];
    }
}

// Without an ID column the k-th record is the k-th row (libpysal's): Alabama borders rows 7, 8, 21, 39
// of usjoin.csv, Florida, Georgia, Mississippi and Tennessee.
TEST(GalReader, AlignsRecordsWithRowsWithoutIds) {
    const SpatialWeights w = ReadGal(std::string(CITYSIZE_TEST_DATA) + "/pysal/states48.gal", {}, 48);
    EXPECT_EQ(w.neighbours[0], (std::vector<int>{7, 8, 21, 39}));
    EXPECT_TRUE(w.warnings.empty());
    std::size_t links = 0;
    for (const auto& n : w.neighbours) links += n.size();
    EXPECT_EQ(links, 214u);  // 107 shared borders, each listed from both sides (contiguity is symmetric)
}

double GreatCircle(const GeoPoint& a, const GeoPoint& b) {
    const double d = 3.14159265358979323846 / 180;
    const double s = std::sin((b.lat - a.lat) * d / 2), t = std::sin((b.lon - a.lon) * d / 2);
    return 2 * std::asin(std::sqrt(s * s + std::cos(a.lat * d) * std::cos(b.lat * d) * t * t));
}

// The tree's answer equals a brute-force sort of haversine distances (ties to the earlier row).
TEST(NearestNeighbours, AgreeWithBruteForceOnTheSphere) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> lat(-60, 70), lon(-180, 180);
    std::vector<GeoPoint> pts;
    for (int i = 0; i < 400; ++i) pts.push_back({lat(rng), lon(rng)});
    std::vector<int> rows;
    for (int i = 0; i < 400; ++i)
        if (i % 7 != 3) rows.push_back(i);  // some rows are not candidates
    for (int k : {1, 5, 12}) {
        const SpatialWeights w = NearestNeighbours(pts, rows, k);
        for (int a : rows) {
            std::vector<std::pair<double, int>> all;
            for (int b : rows)
                if (b != a) all.emplace_back(GreatCircle(pts[a], pts[b]), b);
            std::sort(all.begin(), all.end());
            std::vector<int> want;
            for (int j = 0; j < k; ++j) want.push_back(all[static_cast<std::size_t>(j)].second);
            EXPECT_EQ(w.neighbours[static_cast<std::size_t>(a)], want) << "row " << a << ", k " << k;
        }
        EXPECT_TRUE(w.neighbours[3].empty());
    }
}

// Ties go to the earlier row, also past what the tree returned first; (0, 0) is no position.
TEST(NearestNeighbours, TiesGoToTheEarlierRow) {
    std::vector<GeoPoint> pts(8, GeoPoint{40, -75});
    pts[0] = {40.5, -75};
    pts[7] = {0, 0};
    NeighbourRule rule;
    rule.nearest = 2;
    rule.points = pts;
    const auto nb = NeighboursAmong(rule, {0, 1, 2, 3, 4, 5, 6, 7}, 8, "");
    EXPECT_EQ(nb[0], (std::vector<int>{1, 2}));  // six places at the same distance
    EXPECT_EQ(nb[6], (std::vector<int>{1, 2}));  // five at distance 0
    EXPECT_EQ(nb[1], (std::vector<int>{2, 3}));
    EXPECT_TRUE(nb[7].empty());
    for (const auto& n : nb) EXPECT_EQ(std::count(n.begin(), n.end(), 7), 0);
    rule.nearest = 7;  // seven others are needed; six have a position
    EXPECT_NE(Thrown([&] { NeighboursAmong(rule, {0, 1, 2, 3, 4, 5, 6, 7}, 8, "in 1900"); })
                  .find("--neighbours 7 is more than the 6 other places with a position in 1900"),
              std::string::npos);
}

}  // namespace
