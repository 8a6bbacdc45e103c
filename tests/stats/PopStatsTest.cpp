#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "TestForm.h"
#include "core/Commands.h"
#include "stats/PopStats.h"

namespace {

// Twenty-five cities of 100 people at three dates; city 25 is absent in 1800, so 25, 24
// and 25 cities are present. With equal populations every share is (band end) / n.
std::string EqualCities() {
    std::string csv;
    for (int c = 1; c <= 25; ++c)
        csv += "\"C" + std::to_string(c) + "\",100," + (c == 25 ? "0" : "100") + ",100\n";
    return csv;
}

// The numbers printed after the year on a table row.
std::vector<double> RowValues(const std::string& line) {
    std::istringstream in(line);
    std::vector<double> values;
    std::string word;
    in >> word;  // the year
    while (in >> word) values.push_back(std::stod(word));
    return values;
}

// A table line built the way the print zones place items: each "," moves to the next
// multiple of 14 columns strictly beyond the current one.
struct ZoneLine {
    std::string s;
    ZoneLine& Put(const std::string& item) {
        s += item;
        return *this;
    }
    ZoneLine& Zone() {
        s.append(14 - s.size() % 14, ' ');
        return *this;
    }
};

std::string Year(int year) { return " " + std::to_string(year) + " "; }

}  // namespace

TEST(PopStats, FirstTablePercentBandsEndAtRoundedTenthsWithHalvesToEven) {
    auto f = FormWithData(EqualCities(), 25, 3);
    f->Click("PopStats");
    const auto& lines = f->Text.Lines();
    ASSERT_EQ(lines.size(), 3u + 3u);
    // 25 present: k * 2.5 = 2.5, 5, 7.5, 10, 12.5, 15, 17.5, 20, 22.5, 25 -> halves to even.
    const std::vector<int> ends25 = {2, 5, 8, 10, 12, 15, 18, 20, 22, 25};
    // 24 present: k * 2.4 = 2.4, 4.8, 7.2, 9.6, 12, 14.4, 16.8, 19.2, 21.6, 24.
    const std::vector<int> ends24 = {2, 5, 7, 10, 12, 14, 17, 19, 22, 24};
    auto ends = [](const std::string& line, int n) {
        std::vector<int> e;
        for (double v : RowValues(line)) e.push_back(static_cast<int>(std::lround(v * n)));
        return e;
    };
    EXPECT_EQ(ends(lines[3], 25), ends25);
    EXPECT_EQ(ends(lines[4], 24), ends24);
    EXPECT_EQ(ends(lines[5], 25), ends25);
    // 2/24 = .083333..., 5/24 = .208333..., 7/24 = .291666...: the absent city's placeholder
    // population is not in the total (with it, 200/2401 would print .0833).
    EXPECT_EQ(RowValues(lines[4])[0], 0.08333);
    EXPECT_EQ(RowValues(lines[4])[1], 0.20833);
    EXPECT_EQ(RowValues(lines[4])[2], 0.29167);
    EXPECT_FLOAT_EQ(f->pop.TopTenPctShare(1), 2.0f / 25);
    EXPECT_FLOAT_EQ(f->pop.TopHalfShare(1), 12.0f / 25);  // 12.5 goes to 12
    EXPECT_FLOAT_EQ(f->pop.TopHalfShare(2), 12.0f / 24);

    ZoneLine header;
    header.Put("      ").Zone().Put("Time ");
    for (const char* h : {"10%", "20%", "30%", "40%", "50%", "60%", "70%", "80%", "90%", "100%"})
        header.Zone().Put(h);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], header.s);
    EXPECT_EQ(lines[2], "");
    // 2/25 = .08, 5/25 = .2, 8/25 = .32, ... 25/25 = 1.
    ZoneLine row;
    row.Put("      ").Zone().Put(Year(1790));
    for (const char* v : {".08", ".2", ".32", ".4", ".48", ".6", ".72", ".8", ".88", "1."}) row.Zone().Put(v);
    EXPECT_EQ(lines[3], row.s);
}

TEST(PopStats, RankBandsBeyondThePresentCitiesAreWhole) {
    auto f = FormWithData(EqualCities(), 25, 3);
    f->Click("PopStats");
    const auto& b = f->pop.PopBands;
    EXPECT_FLOAT_EQ(b(1, 1), 10.0f / 25);
    EXPECT_FLOAT_EQ(b(2, 1), 20.0f / 25);
    EXPECT_FLOAT_EQ(b(1, 2), 10.0f / 24);
    EXPECT_FLOAT_EQ(b(2, 2), 20.0f / 24);
    for (int t = 1; t <= 3; ++t)
        for (int k = 3; k <= 20; ++k) EXPECT_EQ(b(k, t), 1.0f) << k << "," << t;
    EXPECT_FLOAT_EQ(f->pop.TopTenShare(2), 10.0f / 24);
    EXPECT_EQ(f->pop.TopFiftyShare(2), 1.0f);

    f->Click("NextPop");
    const auto& lines = f->Text.Lines();
    ASSERT_EQ(lines.size(), 6u);  // cleared first
    ZoneLine header;
    header.Put("      ").Zone().Put("Time ");
    for (const char* h : {"10", "20", "30", "40", "50", "60", "70", "80", "90", "100", "200"}) header.Zone().Put(h);
    EXPECT_EQ(lines[1], header.s);
    ZoneLine row;  // 10/24 = .416666..., 20/24 = .833333..., then whole
    row.Put("      ").Zone().Put(Year(1800)).Zone().Put(".41667").Zone().Put(".83333");
    for (int k = 3; k <= 11; ++k) row.Zone().Put("1.");
    EXPECT_EQ(lines[4], row.s);
}

TEST(PopStats, DateWithoutCitiesIsReportedNotDividedBy) {
    auto f = FormWithData("\"A\",50,0,70\n\"B\",40,0,80\n\"C\",30,0,90\n", 3, 3);
    try {
        f->Click("PopStats");
        FAIL() << "expected an error";
    } catch (const RunError& e) {
        EXPECT_NE(std::string(e.what()).find("No city is present in 1800"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(f->Text.Lines().empty());
    EXPECT_TRUE(f->panel.Visible("PopStats"));  // the panel stays as it was
    EXPECT_FALSE(f->panel.Visible("NextPop"));
    for (int t = 1; t <= 3; ++t) EXPECT_EQ(f->pop.TopTenShare(t), 0.0f);
}
