#include <gtest/gtest.h>

#include <cmath>

#include "TestForm.h"
#include "data/Import.h"
#include "stats/InfoStats.h"
#include "core/StatsModules.h"

namespace {

// Four equal cities, doubled from 1790 to 1800: equal shares that do not change. (The printed
// layout is the golden info-*.txt's; number formats are FormatsTest's.)
TEST(InfoStatsEqualShares, EntropyIsLnNAndTheUnchangedSharesCarryNoInformation) {
    auto f = FormWithData("\"A\",100,200\n\"B\",100,200\n\"C\",100,200\n\"D\",100,200\n", 4, 2);
    f->Click("InfoStats");
    const InfoStatsState& s = f->Module<InfoStatsModule>().State(*f->data);
    // Four shares of 1/4: H = -4 (1/4) ln(1/4) = ln 4; relative entropy 1, redundancy 0.
    for (int t : {1, 2}) EXPECT_NEAR(s.Entropy(t), std::log(4.0), 1e-6);
    EXPECT_NEAR(s.RelativeEntropy(1), 1.0, 1e-6);
    EXPECT_NEAR(s.Redundancy(1), 0.0, 1e-6);
    // Sum p ln r = (ln 1 + ln 2 + ln 3 + ln 4) / 4 = ln 24 / 4 = .7945135.
    EXPECT_NEAR(s.ExEntRank(1), std::log(24.0) / 4, 1e-6);
    // q = (1/i) / (25/12) = .48 .24 .16 .12; sum .25 ln(.25/q) = .1421883, sum q ln(q/.25) = .1438366.
    EXPECT_NEAR(s.InfoEnt(1), 0.1421883, 1e-6);
    EXPECT_NEAR(s.InfoRank(1), 0.1438366, 1e-6);
    // Every city doubled: shares identical, so no information and a growth ratio of 1,
    // while the total doubles: TotGrowth 2, TotInfo ln 2.
    EXPECT_EQ(s.Info(2), 0.0f);
    EXPECT_FLOAT_EQ(s.Growth(2), 1.0f);
    EXPECT_FLOAT_EQ(s.TotGrowth(2), 2.0f);
    EXPECT_NEAR(s.TotInfo(2), std::log(2.0), 1e-7);
    // No city moves: every rank shift is 0, and so is the share shift.
    EXPECT_EQ(s.AvRankShift(2), 0.0f);
    EXPECT_EQ(s.AvShareShift, 0.0f);
}

TEST(InfoStatsFaults, ADateWithOneCityIsRefusedBeforeAnythingIsPrinted) {
    // 1800 has only city A: ln NumPresent = 0 would divide the entropy.
    auto f = FormWithData("\"A\",10,5,7\n\"B\",20,0,3\n\"C\",30,0,0\n", 3, 3);
    f->Text.Line("kept");
    EXPECT_EQ(ErrorOf(*f, "InfoStats"), "Info-Stats needs at least two cities present at every date, but 1800 has 1");
    EXPECT_EQ(f->Text.Lines(), std::vector<std::string>{"kept"});
    EXPECT_TRUE(f->panel.Visible("InfoStats"));
}

}  // namespace

// Exact table: the total's cumulative growth runs from the first date (400, 800, 1,200: 2 and 3).
TEST(InfoStatsExact, TheTotalsCumulativeGrowthRunsFromTheFirstDate) {
    Form f;
    f.InstallData(ImportTable("name,1900,1910,1920\nA,100,200,300\nB,100,200,300\nC,100,200,300\nD,100,200,300\n", "t.csv").data);
    ASSERT_TRUE(f.data->Exact);
    f.Click("InfoStats");
    const InfoStatsState& s = f.Module<InfoStatsModule>().State(*f.data);
    EXPECT_NEAR(s.TotCumGrowth(2), 2.0, 1e-6);
    EXPECT_NEAR(s.TotCumGrowth(3), 3.0, 1e-6);
}
