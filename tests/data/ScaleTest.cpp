// Tables past the classic sizes: arrays that grow with the data, counts past 16 bits,
// exact arithmetic on every table but the classic one (the shipped tables' totals: ImportTest), readable pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "TestForm.h"
#include "data/Import.h"
#include "draw/Thinning.h"

namespace {

// A table as the readers give it: place i has `pop(i, t)` people at 1910 and 1920 (0: absent). With a
// header it is imported exactly; without one the classic loader reads it in single precision.
template <typename F>
std::unique_ptr<Form> Loaded(int places, bool exact, F pop) {
    std::string text = exact ? "name,1910,1920\n" : "";
    for (int i = 1; i <= places; ++i)
        text.append("P").append(std::to_string(i)).append(",").append(std::to_string(pop(i, 1))).append(",")
            .append(std::to_string(pop(i, 2))).append("\n");
    auto f = std::make_unique<Form>();
    f->InstallData(exact ? ImportTable(text, "t.csv").data : LoadDataText(text, "t.csv", static_cast<int16_t>(places), 2));
    return f;
}

// The total populations of Data Properties' table, date by date.
std::vector<std::string> Totals(Form& f) {
    f.Click("DataProperties");
    std::vector<std::string> totals;
    for (const auto& row : f.Text.Tables.at(0).rows) totals.push_back(row.at(2));
    return totals;
}

TEST(Scale, ArraysKeepTheClassicSizeAsAFloorAndGrowPastIt) {
    for (const long asked : {3L, 5L, 70000L}) {
        const long valid = std::max(asked, 5L);  // the classic size is the floor
        Vec1<int, 5> v;
        v.Resize(asked);
        v(valid) = 1;
        EXPECT_EQ(Thrown([&] { v(valid + 1); }), "Subscript out of range") << asked;
        Grid<int, 5, 4> g(asked, 2);
        g(valid, 4) = 1;
        EXPECT_EQ(Thrown([&] { g(valid + 1, 1); }), "Subscript out of range") << asked;
    }
}

// 100,000 places, all present at date 1 and every second one at date 2: place i has
// 200,000 - i people, so at date 1 place i holds rank i and at date 2 place 2k holds rank k.
// Counts pass 32,767; the totals are sums of arithmetic series (closed form below).
TEST(Scale, AHundredThousandPlacesAreRankedAndCountedInFull) {
    const int n = 100000;
    auto f = Loaded(n, true, [](int i, int t) { return t == 1 || i % 2 == 0 ? 200000 - i : 0; });
    const DataSet& d = *f->data;
    EXPECT_TRUE(d.NumPresent(1) == 100000.0f && d.NumPresent(2) == 50000.0f) << d.NumPresent(1) << " " << d.NumPresent(2);
    for (int i : {1, 32768, 99999, 100000}) EXPECT_EQ(f->rank.CityRank(i, 1), static_cast<float>(i)) << i;
    EXPECT_EQ(f->rank.RankCity(40000, 2), 80000.0f);
    // sum_{i=1}^{n} (200000 - i) = 200000 n - n(n+1)/2; over even i = 2k: 200000 n/2 - n/2 (n/2 + 1)
    EXPECT_EQ(Totals(*f), (std::vector<std::string>{"14999950000", "7499950000"}));
    // One path per place: thinned to at most MaxDrawnPaths and said so on the picture.
    f->Click("Clear");
    f->Click("RankChange");
    int paths = 0;
    bool caption = false, largest = false;  // the first path drawn, the largest place's, is kept
    for (const DrawOp& op : f->Picture1.Ops()) {
        if (op.kind == OpKind::Line && op.x1 == op.x2 && op.y1 == op.y2 && op.tag.city > 0) ++paths, largest = largest || op.tag.city == 1;
        caption = caption || op.text == "100,000 paths: every 40th drawn";
    }
    EXPECT_EQ(paths, 2500);
    EXPECT_TRUE(caption && largest);
}

// Above 2^24 single precision ties 16,777,217 with 16,777,216 and drops units from a sum;
// an exact table keeps them, the classic one keeps the system's single-precision figures.
TEST(Scale, ExactTablesRankAndSumWhatSinglePrecisionLoses) {
    auto pop = [](int i, int) { return i == 1 ? 16777216 : i == 2 ? 16777217 : 2; };
    // 16777216 + 16777217 + 2 = 33554435; in singles, city order: 2^24 + 2^24 = 2^25, and
    // 2^25 + 2 lies halfway to the next single (2^25 + 4): ties to even give 2^25.
    for (const auto& [exact, firstRanked, total] : {std::tuple{true, 2.0f, "33554435"}, std::tuple{false, 1.0f, "33554432"}}) {
        auto f = Loaded(3, exact, pop);
        EXPECT_EQ(f->rank.RankCity(1, 1), firstRanked) << exact;
        EXPECT_EQ(Totals(*f).at(0), total) << exact;
    }
}

TEST(Scale, ThinningCaptionsNameThePathsAndTheStep) {
    const std::tuple<int, int, const char*> cases[] = {{266, 1, ""}, {2500, 1, ""}, {2501, 2, "2,501 paths: every 2nd drawn"},
        {8915, 4, "8,915 paths: every 4th drawn"}, {7501, 4, "7,501 paths: every 4th drawn"}, {52000, 21, "52,000 paths: every 21st drawn"}};
    for (const auto& [paths, step, caption] : cases) {  // 100,000 and every 40th: AHundredThousandPlaces...
        EXPECT_EQ(PathThinning(paths), step) << paths;
        EXPECT_EQ(ThinningCaption(paths, step), caption);
    }
}

}  // namespace
