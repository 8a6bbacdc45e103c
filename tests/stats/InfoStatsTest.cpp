#include <gtest/gtest.h>

#include <cmath>

#include "InfoTestData.h"
#include "stats/InfoStats.h"

namespace {

TEST(InfoStatsEqualShares, EntropyIsLnNAndTheUnchangedSharesCarryNoInformation) {
    auto f = FormWithData(EqualCsv, 4, 2);
    f->Click("InfoStats");
    const InfoStatsState& s = f->info;
    // Four shares of 1/4: H = -4 (1/4) ln(1/4) = ln 4; relative entropy 1, redundancy 0.
    EXPECT_NEAR(s.Entropy(1), std::log(4.0), 1e-6);
    EXPECT_NEAR(s.Entropy(2), std::log(4.0), 1e-6);
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
    EXPECT_EQ(s.CumInfo(2), 0.0f);
    EXPECT_FLOAT_EQ(s.Growth(2), 1.0f);
    EXPECT_FLOAT_EQ(s.CumGrowth(2), 1.0f);
    EXPECT_FLOAT_EQ(s.TotGrowth(2), 2.0f);
    EXPECT_FLOAT_EQ(s.TotCumGrowth(2), 2.0f);
    EXPECT_NEAR(s.TotInfo(2), std::log(2.0), 1e-7);
    EXPECT_EQ(s.EntropyChange(2), 0.0f);
    // No city moves: every rank shift is 0, and so is the share shift.
    EXPECT_EQ(s.AvRankShift(2), 0.0f);
    EXPECT_EQ(s.CumRankShift(2), 0.0f);
    EXPECT_EQ(s.ShareShift(1, 2), 0.0f);
    EXPECT_EQ(s.AvShareShift, 0.0f);

    // In the printed row a zero (and the redundancy, zero to five places) is a lone point.
    const auto& lines = f->Text.Lines();
    auto row = ZoneFields(lines.at(3));
    ASSERT_EQ(row.size(), 13u);
    EXPECT_EQ(row[1], "1790");
    EXPECT_EQ(row[2], "1.38629");
    EXPECT_EQ(row[5], ".");
    EXPECT_EQ(row[6], "1.");
    EXPECT_EQ(row[7], ".79451");
}

TEST(InfoStatsShifts, RankShiftsLeaveOutNewcomersAndDivideByTheLaterCount) {
    auto f = ShiftsForm();
    f->Click("InfoStats");
    const InfoStatsState& s = f->info;
    // 1800, present D1 A2 C3: D was absent in 1790 (rank 4 > 3 present) and is left out;
    // A moved 1 -> 2, C stayed at 3: (1 + 0) / 2 = .5.
    EXPECT_FLOAT_EQ(s.AvRankShift(2), 0.5f);
    // Against 1790 the same two cities count: .5.
    EXPECT_FLOAT_EQ(s.CumRankShift(2), 0.5f);
    // 1810, present A1 B2 C3 D4: B was absent in 1800 and is left out; A 2 -> 1, C 3 -> 3,
    // D 1 -> 4: (1 + 0 + 3) / 3 = 4/3.
    EXPECT_FLOAT_EQ(s.AvRankShift(3), 4.0f / 3);
    // Against 1790: A 1 -> 1, B 2 -> 2, C 3 -> 3; D absent in 1790: 0 / 3 = 0.
    EXPECT_FLOAT_EQ(s.CumRankShift(3), 0.0f);
    // Percent of the later date's count: (4/3) / 4 * 100 = 33.33, not (4/3) / 3 * 100.
    EXPECT_FLOAT_EQ(s.PctRankShift(2), 0.5f / 3 * 100);
    EXPECT_NEAR(s.PctRankShift(3), 100.0 / 3, 1e-4);
    // The element of the first date is never written.
    EXPECT_EQ(s.AvRankShift(1), 0.0f);
}

TEST(InfoStatsShifts, InformationOfChangeUsesTheCitiesPresentAtBothDates) {
    auto f = ShiftsForm();
    f->Click("InfoStats");
    const InfoStatsState& s = f->info;
    // 1800 against 1790: A (40 vs 50) and C (20 vs 20); a = 2/3, 1/3, b = 5/7, 2/7.
    // Info = 2/3 ln(14/15) + 1/3 ln(7/6) = .0053883; Growth = 2/3 14/15 + 1/3 7/6 = 91/90.
    EXPECT_NEAR(s.Info(2), 0.0053883, 1e-6);
    EXPECT_NEAR(s.Growth(2), 91.0 / 90, 1e-6);
    EXPECT_FLOAT_EQ(s.CumInfo(2), s.Info(2));
    // 1810 against 1800: A (40, 40), C (20, 20), D (10, 50); a = 4/7 2/7 1/7, b = 4/11 2/11 5/11.
    // Info = 6/7 ln(11/7) + 1/7 ln(11/35) = .2220654; Growth = 66/49 + 11/245 = 341/245.
    EXPECT_NEAR(s.Info(3), 0.2220654, 1e-6);
    EXPECT_NEAR(s.Growth(3), 341.0 / 245, 1e-6);
    // 1810 against 1790: A (40, 50), B (30, 30), C (20, 20); a = 4/9 3/9 2/9, b = .5 .3 .2.
    // CumInfo = 4/9 ln(8/9) + 5/9 ln(10/9) = .0061856; CumGrowth = 32/81 + 50/81 = 82/81.
    EXPECT_NEAR(s.CumInfo(3), 0.0061856, 1e-6);
    EXPECT_NEAR(s.CumGrowth(3), 82.0 / 81, 1e-6);
    // Totals 100, 110, 100 over the present cities only.
    EXPECT_FLOAT_EQ(s.TotGrowth(2), 1.1f);
    EXPECT_NEAR(s.TotGrowth(3), 100.0 / 110, 1e-7);
    EXPECT_FLOAT_EQ(s.TotCumGrowth(3), 1.0f);
    EXPECT_NEAR(s.TotInfo(2), std::log(1.1), 1e-7);
}

TEST(InfoStatsShifts, ShareShiftDividesByTheFirstNamedDate) {
    auto f = ShiftsForm();
    f->Click("InfoStats");
    const InfoStatsState& s = f->info;
    // 1790 .5 .3 .2 against 1800 5/11 4/11 2/11, three ranks:
    // (1/3)(|.5 - 5/11|/.5 + |.3 - 4/11|/.3 + |.2 - 2/11|/.2) = (1/3)(1/11 + 7/33 + 1/11) = 13/99.
    EXPECT_NEAR(s.ShareShift(1, 2), 13.0 / 99, 1e-6);
    // The other way round divides by 1800's shares: (1/3)(.1 + .175 + .1) = .125.
    EXPECT_NEAR(s.ShareShift(2, 1), 0.125, 1e-6);
    // 1790 against 1810 compares the three ranks both have: (1/3)(.1/.5) = 1/15; back: (1/3)(.1/.4).
    EXPECT_NEAR(s.ShareShift(1, 3), 1.0 / 15, 1e-6);
    EXPECT_NEAR(s.ShareShift(3, 1), 1.0 / 12, 1e-6);
    // 1800 against 1810: (1/3)(.12 + .175 + .1) = .1316667.
    EXPECT_NEAR(s.ShareShift(2, 3), 0.395 / 3, 1e-6);
    EXPECT_EQ(s.ShareShift(2, 2), 0.0f);
    // Mean over the three pairs t < u.
    EXPECT_NEAR(s.AvShareShift, (13.0 / 99 + 1.0 / 15 + 0.395 / 3) / 3, 1e-6);
}

TEST(InfoStatsShifts, EntropyChangeAndWeightedAverages) {
    auto f = ShiftsForm();
    f->Click("InfoStats");
    const InfoStatsState& s = f->info;
    // H = 1.0296530, 1.0361988, 1.2798542 (shares above).
    EXPECT_NEAR(s.Entropy(3), 1.2798542, 1e-6);
    EXPECT_NEAR(s.EntropyChange(3), 1.2798542 - 1.0361988, 1e-6);
    // (H(3) - H(1)) / H(3), the running sum of the changes over the entropy at that date.
    EXPECT_NEAR(s.CumEntropyChange(3), (1.2798542 - 1.0296530) / 1.2798542, 1e-6);
    EXPECT_EQ(s.EntropyChange(1), 0.0f);
    EXPECT_EQ(s.CumEntropyChange(1), 0.0f);
    // Three dates ten years apart: DateWeight 1/3 each, StepFraction 0, 1/2, 1/2.
    EXPECT_NEAR(s.InfoAverages(1), (1.0296530 + 1.0361988 + 1.2798542) / 3, 1e-6);
    EXPECT_NEAR(s.InfoAverages(9), 0.5 * 0.5 + 0.5 * 4.0 / 3, 1e-6);
    EXPECT_NEAR(s.InfoAverages(10), 0.5 * 50.0 / 3 + 0.5 * 100.0 / 3, 1e-4);
    EXPECT_NEAR(s.InfoAverages(11), 0.5 * 0.5, 1e-6);
    for (int k = 12; k <= 25; ++k) EXPECT_EQ(s.InfoAverages(k), 0.0f) << k;
}

TEST(InfoStatsFaults, ADateWithOneCityIsRefusedBeforeAnythingIsPrinted) {
    // 1800 has only city A: ln NumPresent = 0 would divide the entropy.
    auto f = FormWithData("\"A\",10,5,7\n\"B\",20,0,3\n\"C\",30,0,0\n", 3, 3);
    f->Text.Line("kept");
    try {
        f->Click("InfoStats");
        FAIL() << "a date with one present city must be refused";
    } catch (const RunError& e) {
        EXPECT_STREQ(e.what(), "Info-Stats needs at least two cities present at every date, but 1800 has 1");
    }
    ASSERT_EQ(f->Text.Lines().size(), 1u);
    EXPECT_EQ(f->Text.Lines()[0], "kept");
    EXPECT_EQ(f->info.Entropy(1), 0.0f);
    EXPECT_TRUE(f->panel.Visible("InfoStats"));
}

}  // namespace
