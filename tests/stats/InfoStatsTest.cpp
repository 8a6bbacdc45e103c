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

TEST(InfoStatsShifts, MatchCitySharesRenormalisesInTheLaterDatesRankOrder) {
    auto f = ShiftsForm();
    const RankTables& r = f->rank;
    CityVec sizeT, sizePrev, a, b;
    for (int i = 1; i <= 4; ++i) sizeT(i) = r.RankPop(i, 3);  // 40 30 20 10 (A B C D)
    for (int i = 1; i <= 3; ++i) sizePrev(i) = r.RankPop(i, 2);  // 50 40 20 (D A C)
    int16_t count = -1;
    MatchCityShares(f->rank, a, b, sizeT, sizePrev, count, 4, 3, 3, 2);
    // B is not among 1800's present cities; A, C, D are, listed in 1810's order.
    ASSERT_EQ(count, 3);
    EXPECT_FLOAT_EQ(a(1), 4.0f / 7);  // A: 40 / (40 + 20 + 10)
    EXPECT_FLOAT_EQ(a(2), 2.0f / 7);  // C
    EXPECT_FLOAT_EQ(a(3), 1.0f / 7);  // D
    EXPECT_FLOAT_EQ(b(1), 4.0f / 11);  // A: 40 / (40 + 20 + 50)
    EXPECT_FLOAT_EQ(b(2), 2.0f / 11);  // C
    EXPECT_FLOAT_EQ(b(3), 5.0f / 11);  // D
    // The sums over the matched lists, by hand: 3 terms of a ln(a/b) and of a a/b.
    EXPECT_NEAR(SumInformation(a, a, b, count), 0.2220654, 1e-6);
    EXPECT_NEAR(SumGrowthRatios(a, a, b, count), 341.0 / 245, 1e-6);
    EXPECT_EQ(SumInformation(a, a, b, 0), 0.0f);
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

TEST(InfoStatsShifts, PrintedTableRowByRow) {
    auto f = ShiftsForm();
    f->Text.Line("earlier text");
    f->Click("InfoStats");
    const auto& lines = f->Text.Lines();
    // It continues below what the window shows: empty, header, empty, 3 rows, empty,
    // averages, empty, summary.
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[0], "earlier text");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2],
              "              Time          Entropy       EntropyCh     CumEntCh      Redundancy    RelativeE     "
              "ExEntRank     InfoEnt       InfoRank      AvRankShift   %AvShift      CumRankS");
    EXPECT_EQ(lines[3], "");
    // 1790: H 1.029653, rel .9372306, red .0627694, sum p ln r .4276666, InfoEnt .0041494,
    // InfoRank .0041379; the change columns and the shifts of the first date are 0.
    EXPECT_EQ(ZoneFields(lines[4]), (std::vector<std::string>{"", "1790", "1.02965", ".", ".", ".06277", ".93723",
                                                             ".42767", ".00415", ".00414", ".", ".", "."}));
    // 1800: H 1.0361988, change .0065458, cum .0065458 / 1.0361988 = .0063171, red .0568112,
    // rel .9431888, .4518012, .0217382, .0209894, shifts .5, 16.66667, .5.
    EXPECT_EQ(ZoneFields(lines[5]), (std::vector<std::string>{"", "1800", "1.0362", ".00655", ".00632", ".05681",
                                                             ".94319", ".4518", ".02174", ".02099", ".5", "16.66667",
                                                             ".5"}));
    // 1810: H 1.2798542, change .2436554, cum .2502012 / 1.2798542 = .1954920, .0767803,
    // .9232197, .566296, .020411, .0201355, shifts 1.33333, 33.33334, 0. The percent is
    // single precision: 4/3 -> 1.3333334, /4 -> .33333334, *100 -> 33.3333359 (next single).
    EXPECT_EQ(ZoneFields(lines[6]), (std::vector<std::string>{"", "1810", "1.27985", ".24366", ".19549", ".07678",
                                                             ".92322", ".5663", ".02041", ".02014", "1.33333",
                                                             "33.33334", "."}));
    EXPECT_EQ(lines[7], "");
    // Averages, labelled with the last year: levels by 1/3, changes by 1/2 from 1800.
    // Entropy 3.3457060/3 = 1.1152353; EntropyCh (.0065458 + .2436554)/2 = .1251006;
    // CumEntCh (0 + .0063171 + .1954920)/3 = .0672697; red .1963609/3 = .0654536;
    // rel 2.8036391/3 = .9345464; ex 1.4457638/3 = .4819213; InfoEnt .0462986/3 = .0154329;
    // InfoRank .0452628/3 = .0150876; shifts .9166667, 25, .25.
    EXPECT_EQ(ZoneFields(lines[8]), (std::vector<std::string>{"", "1810", "1.11524", ".1251", ".06727", ".06545",
                                                             ".93455", ".48192", ".01543", ".01509", ".91667", "25.",
                                                             ".25"}));
    EXPECT_EQ(lines[9], "");
    // Pooled shift (1 + 4) / (2 + 3) = 1; AvShareShift as above.
    // "     " to the zone at 14, the caption to 27, zone 28, " 1 " to 31, zone 42.
    const std::string head = std::string(14, ' ') + "Average Shift" + " " + " 1 " + std::string(11, ' ');
    ASSERT_EQ(lines[10].substr(0, head.size()), head);
    const std::string text = "Overall Average Percent Shift in Ranked Log-Population Order   ";
    ASSERT_EQ(lines[10].substr(42, text.size()), text);
    EXPECT_NEAR(std::stod(lines[10].substr(42 + text.size())), (13.0 / 99 + 1.0 / 15 + 0.395 / 3) / 3, 1e-6);
}

TEST(InfoStatsPanel, ShowsOnlyNextInfoAndHidesThePicture) {
    auto f = ShiftsForm();
    f->Click("InfoStats");
    EXPECT_TRUE(f->panel.Visible("NextInfo"));
    EXPECT_FALSE(f->panel.Visible("DistancePlot"));
    EXPECT_FALSE(f->panel.Visible("InfoStats"));
    EXPECT_FALSE(f->panel.Visible("Rank"));
    EXPECT_FALSE(f->panel.Visible("LastInfo"));
    EXPECT_FALSE(f->panel.Visible("NextLastInfo"));
    EXPECT_FALSE(f->Picture1.Visible);
    EXPECT_TRUE(f->panel.Visible("Clear"));
    // A second run after Clear-Data prints a fresh table below the cleared window.
    f->Click("Clear");
    f->Click("InfoStats");
    EXPECT_EQ(f->Text.Lines().size(), 10u);
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

TEST(InfoStatsFaults, ADateWithNoCityIsRefusedToo) {
    auto f = FormWithData("\"A\",10,0\n\"B\",20,0\n", 2, 2);
    EXPECT_THROW(f->Click("InfoStats"), RunError);
    EXPECT_TRUE(f->Text.Lines().empty());
}

}  // namespace
