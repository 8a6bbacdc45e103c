// One group at a time and By-Group: hand-made tables, and rows of the real tables against numpy/scipy.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <tuple>

#include "../TestForm.h"
#include "core/Groups.h"
#include "data/Import.h"
#include "data/Ranking.h"
#include "stats/ByGroup.h"
#include "stats/ByGroupPlots.h"
#include "core/TailFitModule.h"
#include "core/ByGroupModule.h"

namespace {

TEST(ByGroup, ShareStatisticsByHand) {
    // Gini as the mean absolute difference over all ordered pairs / (2 mean): {1,2,3,4}:
    // sum |xi - xj| = 20, G = 20 / (2 * 16 * 2.5) = 0.25; {3,1}: 4 / (2 * 4 * 2) = 0.25.
    const struct {
        std::vector<double> x;
        double total, share, s1s2, hhi, gini;
    } cases[] = {{{10}, 10, 1, NAN, 1, 0},
                 {{5, 5, 5, 5}, 20, 0.25, 1, 0.25, 0},
                 {{1, 2, 3, 4}, 10, 0.4, 4.0 / 3, 0.3, 0.25},
                 {{3, 1}, 4, 0.75, 3, 0.625, 0.25}};
    for (const auto& c : cases) {
        const SizeShares s = ShareStatistics(c.x);
        EXPECT_DOUBLE_EQ(s.total, c.total);
        EXPECT_DOUBLE_EQ(s.largestShare, c.share);
        EXPECT_TRUE(std::isnan(c.s1s2) ? std::isnan(s.s1s2) : s.s1s2 == c.s1s2) << s.s1s2;
        EXPECT_DOUBLE_EQ(s.hhi, c.hhi);
        EXPECT_NEAR(s.gini, c.gini, 1e-15);
    }
}

// Group A: three places, absent at 1920 altogether; group B: two places at every date.
const char* Table =
    "Name,State,1900,1910,1920,1930\n"
    "a1,A,100,200,,400\n"
    "b1,B,50,60,70,80\n"
    "a2,A,300,150,,100\n"
    "b2,B,90,10,20,30\n"
    "a3,A,10,20,,40\n";

std::unique_ptr<Form> FormWithGroups() {
    auto f = std::make_unique<Form>();
    f->InstallData(ImportTable(Table, "t.csv", {}).data, "t.csv");
    return f;
}

TEST(Groups, ChoosingAGroupInstallsItsPlacesAndAllRestoresTheTable) {
    auto f = FormWithGroups();
    ASSERT_EQ(f->groups.size(), 2u);
    EXPECT_EQ(GroupListEntries(*f), (std::vector<std::string>{"All (5 places)", "A (3 places)", "B (2 places)"}));
    ChooseGroup(*f, "A");
    const DataSet& a = *f->data;
    ASSERT_EQ(std::tuple(a.NumCities, a.NumDates), std::tuple(3, 3));  // 1920 has none of A's places: its own calendar
    EXPECT_TRUE(a.DateYear(3) == 1930 && a.Exact && a.CityName(2) == "a2" && a.Pop(2, 3) == 100);
    // Ranks within the group: a2 leads at 1900 (300), a1 at 1930 (400).
    EXPECT_TRUE(f->rank.CityRank(2, 1) == 1 && f->rank.CityRank(1, 3) == 1);
    EXPECT_NE(f->Caption.find("t.csv - A"), std::string::npos);
    // An unknown group leaves A installed.
    EXPECT_THROW(ChooseGroup(*f, "Z"), RunError);
    EXPECT_EQ(f->data->NumCities, 3);
    ChooseGroup(*f, "B");
    EXPECT_EQ(f->data->NumDates, 4);
    f->Click("Rank");
    EXPECT_TRUE(std::any_of(f->Picture1.Ops().begin(), f->Picture1.Ops().end(), [](const DrawOp& op) { return op.text == "Group: B"; }));
    f->Module<TailFitModule>().options.replicates = 0;  // a group too small for a command gets its message
    EXPECT_NE(ErrorOf(*f, "TailFit").find("2 places present, fewer than the 10 a tail needs"), std::string::npos);
    ChooseGroup(*f, AllGroups);
    EXPECT_EQ(std::tuple(f->data->NumCities, f->data->NumDates), std::tuple(5, 4));
    EXPECT_EQ(f->Caption.find(" - A"), std::string::npos);
}

TEST(ByGroup, RowsFollowTheMinimumsAndTheDashRule) {
    auto f = FormWithGroups();
    f->Module<ByGroupModule>().options.minPlaces = 3;
    f->Module<TailFitModule>().options.minTail = 3;
    f->Click("ByGroup");
    const ByGroupState& s = f->Module<ByGroupModule>().table;
    // Only A reaches 3 places, and not at 1920.
    ASSERT_EQ(s.rows.size(), 3u);
    for (const auto& r : s.rows) EXPECT_EQ(r.group, "A");
    EXPECT_TRUE(s.rows[2].year == 1930 && s.rows[0].largest == "a2" && s.rows[0].s1s2 == 3.0);
    // A tail of 4 no longer fits in 3 places: the four power-law columns are empty, the mark
    // of a missing value in every CSV (the oldest tables' "Average,," row has it).
    f->Click("Clear");
    f->Module<TailFitModule>().options.minTail = 4;
    f->Click("ByGroup");
    const auto& t = f->Text.Tables.back();
    EXPECT_EQ(t.columns.size(), 15u);
    EXPECT_EQ(std::vector<std::string>(t.rows[0].begin() + 11, t.rows[0].end()), std::vector<std::string>(4, ""));
    // The list of dates offers the last date first; the forest plot tags each row's group.
    EXPECT_EQ(f->panel["GroupDates"].items.front(), "1930");
    f->Click("ForestPlot");
    EXPECT_TRUE(std::any_of(f->Picture1.Ops().begin(), f->Picture1.Ops().end(),
                            [](const DrawOp& op) { return op.tag.series == GroupForestRow && op.tag.point == 1; }));
}

// Every row of both tables agreed to 2.5e-14, 2026-12-07: python3 scripts/check-by-group.py un|us
// data/FILE.csv OUT.csv (OUT.csv from citysize run ... ReadData ByGroup --csv OUT.csv; UN: --unit 1000).
TEST(ByGroup, RealTablesAgreeWithAnIndependentComputation) {
    const struct {
        const char* file;
        double unit;
        std::size_t rows;
        const char* group;
        int year, n;
        double total, hhi, gini, zetaGI, xmin;
        int nTail;
        double zetaMLE;
        const char* largest;
    } cases[] = {
        {"un-wup2018-f12-cities-1950-2035.csv", 1000, 648, "Japan", 2015, 33, 92491000, 0.22312312717998906,
         0.7667419237842306, 0.7466652569144695, 466000, 17, 0.7673297747828822, "Tokyo"},
        {"un-wup2018-f12-cities-1950-2035.csv", 1000, 648, "Germany", 2015, 22, 16385000, 0.08615752944319574,
         0.38088329125863457, 1.499651920078373, 488000, 15, 2.1930575922955056, "Berlin"},
        {"us-places-1790-2010.csv", 1, 676, "CA", 2010, 480, 30759940, 0.02202355075631178, 0.6511721824717474,
         0.5933874526733797, 73732, 109, 1.6526244555667216, "Los Angeles, CA"},
        {"us-places-1790-2010.csv", 1, 676, "TX", 1900, 68, 533309, 0.041063146704392435, 0.5457953522805948,
         0.7787123563755725, 3635, 41, 1.2355903211729249, "San Antonio, TX"},
    };
    std::string loaded;
    ByGroupState s;
    for (const auto& c : cases) {
        if (loaded != c.file) {
            ImportOptions o;
            o.unit = c.unit;
            TailFitOptions tail;
            tail.replicates = 0;
            s = FitByGroups(*ImportFile(std::string(CITYSIZE_REAL_DATA) + "/" + (loaded = c.file), o).data, {}, tail);
        }
        EXPECT_EQ(s.rows.size(), c.rows) << c.file;
        const ByGroupRow* r = nullptr;
        for (const auto& row : s.rows)
            if (row.group == c.group && row.year == c.year) r = &row;
        ASSERT_NE(r, nullptr) << c.group << " " << c.year;
        EXPECT_TRUE(r->n == c.n && r->total == c.total && r->largest == c.largest) << r->n << " " << r->total << " " << r->largest;
        EXPECT_TRUE(r->pl.xmin == c.xmin && r->pl.nTail == c.nTail) << r->pl.xmin << " " << r->pl.nTail;
        EXPECT_NEAR(r->hhi, c.hhi, 1e-13);
        EXPECT_NEAR(r->gini, c.gini, 1e-13);
        EXPECT_NEAR(r->gi.zeta, c.zetaGI, 1e-12);
        EXPECT_NEAR(r->pl.zeta, c.zetaMLE, 1e-12);
    }
}

}  // namespace

