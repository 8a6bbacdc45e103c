// The rank tables every analysis reads, and the rank-size plot drawn from them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "data/Import.h"
#include "TestForm.h"

namespace {

// Six cities, three dates, worked by hand (absent cells load as population 1):
//   date 1: A 10, B 30, C 30, D -, E 5, F -   ranks B C A E D F  (B before C: tie)
//   date 2: A -, B 30, C 20, D -, E -, F -    ranks B C A D E F
//   date 3: A 50, B -, C 50, D -, E 60, F -   ranks E A C B D F  (A before C: tie)
// D and F are never present.
const char* SixCities =
    "\"A\",10,0,50\n"
    "\"B\",30,30,0\n"
    "\"C\",30,20,50\n"
    "\"D\",0,0,0\n"
    "\"E\",5,-3,60\n"
    "\"F\",,,\n";
enum { A = 1, B, C, D, E, F };

// Curve ops of Rank_Click: everything DrawAxes did not draw (text ops belong to the axes).
std::vector<DrawOp> CurveOps(const Picture& p) {
    std::vector<DrawOp> ops;
    for (const auto& op : p.Ops())
        if (op.tag.date != 0) ops.push_back(op);
    return ops;
}

}  // namespace

TEST(RankingTest, RanksBreakTiesByCityNumberAndPutAbsentCitiesLast) {
    auto f = FormWithData(SixCities, 6, 3);
    const RankTables& r = f->rank;
    const int cityAt[3][6] = {{B, C, A, E, D, F}, {B, C, A, D, E, F}, {E, A, C, B, D, F}};
    const float popAt[3][6] = {{30, 30, 10, 5, 1, 1}, {30, 20, 1, 1, 1, 1}, {60, 50, 50, 1, 1, 1}};
    for (int t = 1; t <= 3; ++t)
        for (int i = 1; i <= 6; ++i) {
            EXPECT_EQ(r.RankCity(i, t), cityAt[t - 1][i - 1]) << i << "," << t;
            EXPECT_EQ(r.RankPop(i, t), popAt[t - 1][i - 1]) << i << "," << t;
            EXPECT_EQ(r.CityRank(r.RankCity(i, t), t), i) << i << "," << t;  // the inverse
            // Absent ranks have a log population of 0; present ones ln of the population.
            EXPECT_FLOAT_EQ(r.LogRankPop(i, t), popAt[t - 1][i - 1] > 1 ? std::log(popAt[t - 1][i - 1]) : 0) << i << "," << t;
        }
    for (int i = 1; i <= 6; ++i) EXPECT_FLOAT_EQ(r.LogRank(i), static_cast<float>(std::log(i)));
    EXPECT_EQ(r.LogRank(7), 0);
}

TEST(RankingTest, EntryOrderListsNeverEnteringCitiesFirstThenCitiesByEntry) {
    auto f = FormWithData(SixCities, 6, 3);
    // Entry by date, within a date by rank over the present ranks: B, C, A, E at date 1;
    // nobody new later. D and F never enter: first, in descending city number.
    // NumberByFirstAppearance alone gives each city its number, 0 for never.
    const int expected[6] = {F, D, B, C, A, E}, number[6] = {3, 1, 2, 0, 4, 0};
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(f->rank.EntryOrder(k), expected[k - 1]) << k;
    NumberByFirstAppearance(*f->data, f->rank);
    for (int c = 1; c <= 6; ++c) EXPECT_EQ(f->rank.EntryOrder(c), number[c - 1]) << c;
    // A city entering at the last date, below one already listed, still gets its number.
    auto g = FormWithData("\"A\",5,6\n\"B\",0,4\n", 2, 2);
    EXPECT_TRUE(g->rank.EntryOrder(1) == 1 && g->rank.EntryOrder(2) == 2);
}

TEST(RankingTest, RankSizeCurvesJoinThePresentRanksOnLogLogAxes) {
    auto f = FormWithData(SixCities, 6, 3);
    f->Click("Rank");
    const Picture& p = f->Picture1;
    // Per date a black mark and NumPresent - 1 segments.
    std::vector<DrawOp> curves = CurveOps(p);
    ASSERT_EQ(curves.size(), 4u + 2u + 3u);
    // xRange = 1.1 ln 4 (4 = most cities present), so rank 2 lies at 1200 + 6600 / 2.2.
    const double yScale = 7600 / (1.1 * std::log(1e7));
    const DrawOp& seg = curves[1];  // date 1: from rank 1 to rank 2, both 30
    EXPECT_NEAR(seg.x1, 1200, 0.01);
    EXPECT_NEAR(seg.x2, 4200, 0.5);
    for (double y : {seg.y1, seg.y2}) EXPECT_NEAR(y, 8300 - std::log(30.0) * yScale, 0.5);
    EXPECT_NEAR(curves[3].x2, 7200, 0.5);  // rank 4 at 1200 + 6600 ln 4 / (1.1 ln 4)
    EXPECT_NEAR(curves[3].y2, 8300 - std::log(5.0) * yScale, 0.5);
    // Each curve starts with a black mark; the greys fade by 255 / 3 = 85 per date (170 is
    // too close to the grey background to tell, so date 3's 85).
    for (int k : {0, 4, 6}) EXPECT_TRUE(curves[k].colour == Black && curves[k].x1 == curves[k].x2 && curves[k].y1 == curves[k].y2);
    EXPECT_EQ(curves[7].colour, RGB(85, 85, 85));
    EXPECT_EQ(p.CurrentTag, OpTag{});
}

TEST(RankingTest, NoPresentCityAtAllIsRefusedInsteadOfTakingTheLogOfZero) {
    auto f = FormWithData("\"A\",0,0\n\"B\",,-1\n", 2, 2);  // loads and ranks: A, B
    EXPECT_TRUE(f->rank.RankCity(1, 2) == 1 && f->rank.EntryOrder(1) == 2);  // nobody enters: descending number
    const std::string why = ErrorOf(*f, "Rank");  // ln 0 is no range
    EXPECT_NE(why.find("No city has a population"), std::string::npos) << why;
    EXPECT_TRUE(f->Picture1.Ops().empty());
}

// The running sums in rank order, made when first read, by hand from the ranks above:
//   date 1: B 30, C 30, A 10, E 5, D 1, F 1   sums 30 60 70 75 76 77
//   date 3: E 60, A 50, C 50, B 1, D 1, F 1   sums 60 110 160 161 162 163
// The log sums add ln of each size (0 for the absent ones, which weigh 1).
TEST(RankingTest, RunningSumsInRankOrderAreMadeWhenReadAndFollowANewRanking) {
    auto f = FormWithData(SixCities, 6, 3);
    RankTables& r = f->rank;
    EXPECT_FALSE(r.cumulativeReady);
    EXPECT_TRUE(r.TotalPop(1) == 77 && r.TotalPop(3) == 163);
    EXPECT_FLOAT_EQ(r.TotalLogPop(1), static_cast<float>(2 * std::log(30.0) + std::log(10.0) + std::log(5.0)));
    CityRunningSums(*f->data, r);
    const float sums[2][6] = {{70, 30, 60, 76, 75, 77}, {110, 161, 160, 162, 60, 163}};  // A..F at dates 1, 3
    for (int c = A; c <= F; ++c) {
        EXPECT_EQ(r.CumCityPop(c, 1), sums[0][c - 1]) << c;
        EXPECT_EQ(r.CumCityPop(c, 3), sums[1][c - 1]) << c;
    }
    EXPECT_FLOAT_EQ(r.CumCityLogPop(A, 1), static_cast<float>(2 * std::log(30.0) + std::log(10.0)));
    EXPECT_FLOAT_EQ(r.CumCityLogPop(F, 3), static_cast<float>(std::log(60.0) + 2 * std::log(50.0)));
    // The last rank's log sum is the total, to the bit.
    for (int t = 1; t <= 3; ++t) EXPECT_EQ(r.CumCityLogPop(r.RankCity(6, t), t), r.TotalLogPop(t));

    // New data ranks anew; the sums read after it are its own. With a header the table is
    // exact: 16,777,217 + 1 is 16,777,218, where single precision would give 16,777,216.
    f->InstallData(ImportTable("name,1900,1950\nA,16777217,3\nB,1,4\n", "t.csv").data);
    EXPECT_FALSE(r.cumulativeReady);
    CityRunningSums(*f->data, r);
    EXPECT_EQ(r.CumCityPop(1, 1), 16777216.0f);  // 16,777,217 as the nearest single
    EXPECT_TRUE(r.CumCityPop(2, 1) == 16777218.0f && r.TotalPop(1) == 16777218.0f) << r.CumCityPop(2, 1);
    EXPECT_TRUE(r.CumCityPop(2, 2) == 4.0f && r.CumCityPop(1, 2) == 7.0f);
}
