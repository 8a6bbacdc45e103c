// The rank tables every analysis reads, and the rank-size plot drawn from them.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "draw/Contrast.h"
#include "TestForm.h"
#include "core/Commands.h"
#include "draw/RunError.h"

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

TEST(RankingTest, SortDescendingIsStableAndWipesItsInput) {
    CityVec values, sorted, order;
    const float v[6] = {3, 5, 5, 1, 0, 5};
    for (int i = 1; i <= 6; ++i) values(i) = v[i - 1];
    values(7) = 99;  // beyond n: neither sorted nor wiped
    SortDescending(values, sorted, order, 6);
    const float s[6] = {5, 5, 5, 3, 1, 0};
    const float o[6] = {2, 3, 6, 1, 4, 5};  // equal values by ascending index
    for (int i = 1; i <= 6; ++i) {
        EXPECT_EQ(sorted(i), s[i - 1]) << i;
        EXPECT_EQ(order(i), o[i - 1]) << i;
        EXPECT_EQ(values(i), -100) << i;
    }
    EXPECT_EQ(values(7), 99);
    EXPECT_EQ(sorted(7), 0);
}

TEST(RankingTest, RanksBreakTiesByCityNumberAndPutAbsentCitiesLast) {
    auto f = FormWithData(SixCities, 6, 3);
    const RankTables& r = f->rank;
    const int cityAt[3][6] = {{B, C, A, E, D, F}, {B, C, A, D, E, F}, {E, A, C, B, D, F}};
    const float popAt[3][6] = {{30, 30, 10, 5, 1, 1}, {30, 20, 1, 1, 1, 1}, {60, 50, 50, 1, 1, 1}};
    for (int t = 1; t <= 3; ++t)
        for (int i = 1; i <= 6; ++i) {
            EXPECT_EQ(r.RankCity(i, t), cityAt[t - 1][i - 1]) << i << "," << t;
            EXPECT_EQ(r.RankPop(i, t), popAt[t - 1][i - 1]) << i << "," << t;
            // RankCity and CityRank are inverse.
            EXPECT_EQ(r.CityRank(r.RankCity(i, t), t), i) << i << "," << t;
        }
    EXPECT_EQ(r.CityRank(A, 1), 3);
    EXPECT_EQ(r.CityRank(E, 3), 1);
    EXPECT_EQ(r.CityRank(B, 3), 4);  // absent at date 3: after the three present cities
    // Absent ranks have a log population of 0; present ones ln of the population.
    EXPECT_EQ(r.LogRankPop(5, 1), 0);
    EXPECT_EQ(r.LogRankPop(3, 2), 0);
    EXPECT_FLOAT_EQ(r.LogRankPop(1, 3), std::log(60.0f));
    EXPECT_FLOAT_EQ(r.LogRankPop(4, 1), std::log(5.0f));
    for (int i = 1; i <= 6; ++i) EXPECT_FLOAT_EQ(r.LogRank(i), static_cast<float>(std::log(i)));
    EXPECT_EQ(r.LogRank(7), 0);
}

TEST(RankingTest, CumulativeTablesRunInRankOrder) {
    auto f = FormWithData(SixCities, 6, 3);
    const RankTables& r = f->rank;
    const float cum[3][6] = {{30, 60, 70, 75, 76, 77}, {30, 50, 51, 52, 53, 54}, {60, 110, 160, 161, 162, 163}};
    for (int t = 1; t <= 3; ++t)
        for (int i = 1; i <= 6; ++i) EXPECT_EQ(r.CumRankPop(i, t), cum[t - 1][i - 1]) << i << "," << t;
    // The last entry is the date's total plus one for each absent city: 75 + 2, 50 + 4, 160 + 3.
    EXPECT_EQ(r.CumCityPop(A, 1), 70);  // A is third at date 1
    EXPECT_EQ(r.CumCityPop(D, 2), 52);  // D is fourth at date 2
    EXPECT_EQ(r.CumCityPop(E, 3), 60);
    // Log sums: absent ranks add 0. Date 1: 2 ln 30 + ln 10 + ln 5.
    const double logSum = 2 * std::log(30.0) + std::log(10.0) + std::log(5.0);
    EXPECT_NEAR(r.CumRankLogPop(4, 1), logSum, 1e-5);
    EXPECT_NEAR(r.CumRankLogPop(6, 1), logSum, 1e-5);
    EXPECT_NEAR(r.CumCityLogPop(A, 1), 2 * std::log(30.0) + std::log(10.0), 1e-5);
    EXPECT_NEAR(r.CumCityLogPop(F, 3), std::log(60.0) + 2 * std::log(50.0), 1e-5);
}

TEST(RankingTest, EntryOrderListsNeverEnteringCitiesFirstThenCitiesByEntry) {
    auto f = FormWithData(SixCities, 6, 3);
    // Entry by date, within a date by rank over the present ranks: B, C, A, E at date 1;
    // nobody new later. D and F never enter: first, in descending city number.
    const int expected[6] = {F, D, B, C, A, E};
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(f->rank.EntryOrder(k), expected[k - 1]) << k;
    // NumberByFirstAppearance alone gives each city its number, 0 for never.
    NumberByFirstAppearance(*f->data, f->rank);
    const int number[6] = {3, 1, 2, 0, 4, 0};
    for (int c = 1; c <= 6; ++c) EXPECT_EQ(f->rank.EntryOrder(c), number[c - 1]) << c;
}

TEST(RankingTest, LoadingRanksWithoutDrawing) {
    auto f = FormWithData(SixCities, 6, 3);
    EXPECT_TRUE(f->Picture1.Ops().empty());
    EXPECT_EQ(f->frame.AxisKind, 1);
    EXPECT_EQ(f->data->DataReady, 1);
    // With DataReady = 0 the command rebuilds the tables, clears, sets the background
    // and the axis kind, and draws nothing else.
    f->Click("Rank");
    ASSERT_FALSE(f->Picture1.Ops().empty());
    f->data->DataReady = 0;
    f->frame.AxisKind = 0;
    f->Choose("BackMap", 1);
    f->rank.RankCity(1, 1) = 0;
    Rank_Click(*f);
    EXPECT_TRUE(f->Picture1.Ops().empty());
    EXPECT_EQ(f->frame.AxisKind, 1);
    EXPECT_EQ(f->Picture1.BackColor, Black);
    EXPECT_EQ(f->frame.AxisColor, static_cast<float>(LightGrey));
    EXPECT_EQ(f->rank.RankCity(1, 1), B);
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
    EXPECT_NEAR(seg.y1, 8300 - std::log(30.0) * yScale, 0.5);
    EXPECT_NEAR(seg.y2, 8300 - std::log(30.0) * yScale, 0.5);
    EXPECT_NEAR(curves[3].x2, 7200, 0.5);  // rank 4 at 1200 + 6600 ln 4 / (1.1 ln 4)
    EXPECT_NEAR(curves[3].y2, 8300 - std::log(5.0) * yScale, 0.5);
    // Grey levels fade by 255 / 3 = 85 per date; each curve starts with a black mark.
    const int first[3] = {0, 4, 6};
    const int count[3] = {4, 2, 3};
    const int grey[3] = {255, 170, 85};
    for (int t = 1; t <= 3; ++t) {
        const DrawOp& mark = curves[static_cast<std::size_t>(first[t - 1])];
        EXPECT_EQ(mark.colour, Black) << t;
        EXPECT_EQ(mark.x1, mark.x2);
        EXPECT_EQ(mark.y1, mark.y2);
        for (int k = 0; k < count[t - 1]; ++k) {
            const DrawOp& op = curves[static_cast<std::size_t>(first[t - 1] + k)];
            EXPECT_EQ(op.tag.date, t);
            EXPECT_EQ(op.width, 1);
            if (k > 0) { EXPECT_EQ(op.colour, Visible(RGB(grey[t - 1], grey[t - 1], grey[t - 1]), p.BackColor)) << t << "," << k; }
        }
    }
    EXPECT_EQ(p.CurrentTag, OpTag{});
}

TEST(RankingTest, OneCityPerDateLeavesNoLogRankRangeAndStopsWithDivisionByZero) {
    auto f = FormWithData("\"A\",5,6\n\"B\",0,0\n", 2, 2);  // loading draws nothing: fine
    EXPECT_EQ(f->rank.RankCity(1, 1), 1);
    try {
        f->Click("Rank");
        FAIL() << "ln 1 = 0 is no range";
    } catch (const RunError& e) {
        EXPECT_STREQ(e.what(), "Division by zero");
    }
    EXPECT_TRUE(f->Picture1.Ops().empty());  // the cleared background stays
}

TEST(RankingTest, NoPresentCityAtAllIsRefusedInsteadOfTakingTheLogOfZero) {
    auto f = FormWithData("\"A\",0,0\n\"B\",,-1\n", 2, 2);  // loads and ranks: A, B
    EXPECT_EQ(f->rank.RankCity(1, 2), 1);
    EXPECT_EQ(f->rank.EntryOrder(1), 2);  // nobody enters: descending city number
    try {
        f->Click("Rank");
        FAIL() << "ln 0 is no range";
    } catch (const RunError& e) {
        EXPECT_NE(std::string(e.what()).find("No city has a population"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(f->Picture1.Ops().empty());
}

TEST(RankingTest, RealDataRanksAgreeWithTheirDefinition) {
    auto f = FormWithRealData();
    const DataSet& d = *f->data;
    const RankTables& r = f->rank;
    // Rank of c = 1 + cities with more people + earlier cities with as many.
    for (int t = 1; t <= d.NumDates; ++t) {
        double total = 0;
        int absent = 0;
        for (int c = 1; c <= d.NumCities; ++c) {
            int rank = 1;
            for (int o = 1; o <= d.NumCities; ++o)
                if (d.PopTable(o, t) > d.PopTable(c, t) || (d.PopTable(o, t) == d.PopTable(c, t) && o < c)) ++rank;
            ASSERT_EQ(r.CityRank(c, t), rank) << c << "," << t;
            ASSERT_EQ(r.RankCity(rank, t), c) << c << "," << t;
            if (d.Present(c, t) == 1) {
                total += d.PopTable(c, t);
                EXPECT_LE(rank, d.NumPresent(t));
            } else {
                ++absent;
                EXPECT_GT(rank, d.NumPresent(t));
                EXPECT_EQ(r.LogRankPop(rank, t), 0);
            }
        }
        // Summed in single precision: exact while the sum of whole numbers stays below 2^24;
        // beyond, the ones of the absent cities fall below half a unit of the sum and vanish.
        if (total + absent < 16777216.0) {
            EXPECT_EQ(r.CumRankPop(d.NumCities, t), total + absent) << t;
        } else {
            EXPECT_NEAR(r.CumRankPop(d.NumCities, t), total + absent, absent + total * 1e-6) << t;
            EXPECT_NEAR(r.CumRankPop(d.NumPresent(t), t), total, total * 1e-6) << t;
        }
    }
}

TEST(RankingTest, RealDataEntryOrderPutsNeverEnteringCitiesFirst) {
    auto f = FormWithRealData();
    const DataSet& d = *f->data;
    // Every city of the file is among the present cities of some date (that is how the
    // file was chosen), so EntryOrder is a permutation in order of first entry.
    std::vector<int> firstDate(267, 0), firstRank(267, 0);
    for (int c = 1; c <= 266; ++c)
        for (int t = 22; t >= 1; --t)
            if (d.Present(c, t) == 1) {
                firstDate[static_cast<std::size_t>(c)] = t;
                firstRank[static_cast<std::size_t>(c)] = static_cast<int>(f->rank.CityRank(c, t));
            }
    std::vector<bool> seen(267, false);
    for (int k = 1; k <= 266; ++k) {
        int c = static_cast<int>(f->rank.EntryOrder(k));
        ASSERT_GE(c, 1);
        ASSERT_FALSE(seen[static_cast<std::size_t>(c)]);
        seen[static_cast<std::size_t>(c)] = true;
        ASSERT_GT(firstDate[static_cast<std::size_t>(c)], 0);
        if (k > 1) {
            int p = static_cast<int>(f->rank.EntryOrder(k - 1));
            auto key = [&](int city) {
                return firstDate[static_cast<std::size_t>(city)] * 10000 + firstRank[static_cast<std::size_t>(city)];
            };
            EXPECT_LT(key(p), key(c)) << k;
        }
    }
    // The first 24 to enter are the 1790 cities in rank order.
    for (int k = 1; k <= 24; ++k) EXPECT_EQ(f->rank.EntryOrder(k), f->rank.RankCity(k, 1)) << k;
}

TEST(RankingTest, RealDataCurvesFadeThroughTheTwentyTwoGreyLevels) {
    auto f = FormWithRealData();
    f->Click("Rank");
    const int grey[22] = {255, 243, 232, 220, 209, 197, 185, 174, 162, 151, 139,
                          127, 116, 104, 93,  81,  70,  58,  46,  35,  23,  12};
    std::vector<DrawOp> curves = CurveOps(f->Picture1);
    std::size_t k = 0;
    for (int t = 1; t <= 22; ++t) {
        int n = static_cast<int>(f->data->NumPresent(t));
        ASSERT_LE(k + static_cast<std::size_t>(n), curves.size());
        EXPECT_EQ(curves[k].colour, Black) << t;  // the one-point mark
        EXPECT_EQ(curves[k].tag.date, t);
        for (int i = 1; i < n; ++i) {
            const DrawOp& op = curves[k + static_cast<std::size_t>(i)];
            ASSERT_EQ(op.tag.date, t);
            ASSERT_EQ(op.colour, Visible(RGB(grey[t - 1], grey[t - 1], grey[t - 1]), f->Picture1.BackColor)) << t;
        }
        k += static_cast<std::size_t>(n);
    }
    EXPECT_EQ(k, curves.size());
    EXPECT_EQ(f->Picture1.BackColor, LightGrey);
    // The axes on the grey background are black.
    EXPECT_EQ(f->Picture1.Ops()[0].colour, Black);
}
