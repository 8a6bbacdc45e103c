// The three population tables of the real data against a separate derivation straight from
// PopTable and Present: the present cities of each date sorted by population (ties by
// file order), band ends in exact integer arithmetic, shares as running single sums.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "TestForm.h"
#include "draw/Formats.h"

namespace {

struct City {
    float pop;
    int number;
};

struct Derived {
    int T = 0;
    std::vector<int> years;
    std::vector<std::vector<City>> ranked;  // per date, the present cities largest first
};

Derived Derive(const DataSet& d) {
    Derived r;
    r.T = d.NumDates;
    for (int t = 1; t <= d.NumDates; ++t) {
        r.years.push_back(1790 + 10 * (t - 1));
        std::vector<City> cities;
        for (int c = 1; c <= d.NumCities; ++c)
            if (d.Present(c, t) == 1) cities.push_back({d.PopTable(c, t), c});
        std::stable_sort(cities.begin(), cities.end(), [](const City& a, const City& b) { return a.pop > b.pop; });
        r.ranked.push_back(cities);
    }
    return r;
}

// Share of the largest `last` cities in the total of the present ones, summed from the top.
float Share(const std::vector<City>& cities, int last) {
    float part = 0, total = 0;
    for (std::size_t i = 0; i < cities.size(); ++i) {
        total += cities[i].pop;
        if (static_cast<int>(i) < last) part += cities[i].pop;
    }
    return part / total;
}

// k n / 10 to the nearest integer, an exact half to the even neighbour.
int PercentEnd(int n, int k) {
    int q = k * n / 10, r = k * n % 10;
    if (r > 5 || (r == 5 && q % 2 == 1)) ++q;
    return q;
}

std::string Pad(std::string s) {
    s.append(14 - s.size() % 14, ' ');
    return s;
}

std::string BandRow(int year, const std::vector<float>& shares) {
    std::string s = Pad("      ") + " " + std::to_string(year) + " ";
    for (float v : shares) s = Pad(s) + Format(v, "###.#####");
    return s;
}

std::string BandHeader(const std::vector<std::string>& heads) {
    std::string s = Pad("      ") + "Time ";
    for (const std::string& h : heads) s = Pad(s) + h;
    return s;
}

std::set<int> TopList(const std::vector<City>& cities) {
    std::set<int> top;
    for (std::size_t i = 0; i < cities.size() && i < 25; ++i) top.insert(cities[i].number);
    return top;
}

class PopStatsRealData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        form = FormWithRealData().release();
        derived = new Derived(Derive(*form->data));
    }
    static void TearDownTestSuite() {
        delete form;
        delete derived;
    }
    static Form* form;
    static Derived* derived;
};
Form* PopStatsRealData::form = nullptr;
Derived* PopStatsRealData::derived = nullptr;

}  // namespace

TEST_F(PopStatsRealData, TheThreeTablesLineByLine) {
    Form& f = *form;
    const Derived& d = *derived;
    ASSERT_EQ(d.T, 22);
    ASSERT_EQ(d.ranked[0].size(), 24u);   // 1790
    ASSERT_EQ(d.ranked[21].size(), 101u);  // 2000

    f.Click("PopStats");
    {
        const auto& lines = f.Text.Lines();
        ASSERT_EQ(lines.size(), 3u + 22u);
        EXPECT_EQ(lines[1], BandHeader({"10%", "20%", "30%", "40%", "50%", "60%", "70%", "80%", "90%", "100%"}));
        for (int t = 0; t < d.T; ++t) {
            const auto& cities = d.ranked[static_cast<std::size_t>(t)];
            std::vector<float> shares;
            for (int k = 1; k <= 10; ++k) shares.push_back(Share(cities, PercentEnd(static_cast<int>(cities.size()), k)));
            EXPECT_EQ(lines[static_cast<std::size_t>(3 + t)], BandRow(d.years[static_cast<std::size_t>(t)], shares));
            EXPECT_FLOAT_EQ(f.pop.TopTenPctShare(t + 1), shares[0]);
            EXPECT_FLOAT_EQ(f.pop.TopHalfShare(t + 1), shares[4]);
        }
    }

    f.Click("NextPop");
    {
        const auto& lines = f.Text.Lines();
        ASSERT_EQ(lines.size(), 3u + 22u);
        EXPECT_EQ(lines[1], BandHeader({"10", "20", "30", "40", "50", "60", "70", "80", "90", "100", "200"}));
        for (int t = 0; t < d.T; ++t) {
            const auto& cities = d.ranked[static_cast<std::size_t>(t)];
            std::vector<float> shares;
            for (int top : {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 200}) shares.push_back(Share(cities, top));
            EXPECT_EQ(lines[static_cast<std::size_t>(3 + t)], BandRow(d.years[static_cast<std::size_t>(t)], shares));
            EXPECT_FLOAT_EQ(f.pop.TopTenShare(t + 1), shares[0]);
            EXPECT_FLOAT_EQ(f.pop.TopFiftyShare(t + 1), shares[4]);
        }
        // 1790 has 24 cities, so from the "30" column on every share is whole.
        EXPECT_NE(lines[3].find("1.            1."), std::string::npos);
    }

    f.Click("LastPop");
    {
        const auto& lines = f.Text.Lines();
        ASSERT_EQ(lines.size(), 3u + 22u + 2u);
        std::string header = "    Time";
        for (int y : d.years) header += "     " + std::to_string(y);
        EXPECT_EQ(lines[1], header);
        std::vector<float> averages;
        for (int t = 0; t < d.T; ++t) {
            const std::set<int> top = TopList(d.ranked[static_cast<std::size_t>(t)]);
            std::string row = "       " + std::to_string(d.years[static_cast<std::size_t>(t)]) + "      ";
            float sum = 0;
            for (int s = 0; s < d.T; ++s) {
                const std::set<int> other = TopList(d.ranked[static_cast<std::size_t>(s)]);
                int common = 0;
                for (int c : top) common += static_cast<int>(other.count(c));
                if (s > 0) row += "        ";
                row += common == 0 ? "" : std::to_string(common);  // "###" prints 0 as nothing
                sum += static_cast<float>(common);
            }
            averages.push_back(sum / 22);
            EXPECT_EQ(lines[static_cast<std::size_t>(3 + t)], row);
        }
        std::string average = "     Average   ";
        for (int t = 0; t < d.T; ++t) average += (t > 0 ? "        " : "") + Format(averages[static_cast<std::size_t>(t)], "###");
        EXPECT_EQ(lines[26], average);
    }
}
