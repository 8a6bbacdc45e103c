// The four information tables on the real data, checked line by line against a separate
// derivation in double precision straight from the populations: the test ranks the
// present cities itself and never reads the rank tables or the statistics fields.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

#include "InfoTestData.h"

namespace {

struct Derived {
    int T = 0;
    std::vector<int> year;                      // [t]
    std::vector<std::vector<int>> ranked;       // [t]: present cities, largest first
    std::vector<std::vector<double>> share;     // [t][i]: share at rank i + 1
    std::vector<std::vector<int>> rankOf;       // [t][c]: rank of city c, 0 when absent
    std::vector<double> total;                  // [t]
    // Columns of the first table, [t]
    std::vector<double> H, dH, cumDH, red, rel, ex, infoEnt, infoRank, avShift, pctShift, cumShift;
    // Columns of the second table, [t]
    std::vector<double> cumInfo, cumGrowth, info, growth;
    double pooledShift = 0;
    std::vector<std::vector<double>> shareShift;  // [t][u]
    double avShareShift = 0;
};

// Information and growth of the cities present at both dates, each list renormalised.
void ChangeBetween(const Derived& d, const Form& f, int later, int earlier, double& info, double& growth) {
    double sumA = 0, sumB = 0;
    std::vector<std::pair<double, double>> both;
    for (int c : d.ranked[later]) {
        if (d.rankOf[earlier][c] == 0) continue;
        double a = f.data->PopTable(c, later + 1), b = f.data->PopTable(c, earlier + 1);
        both.push_back({a, b});
        sumA += a;
        sumB += b;
    }
    info = growth = 0;
    for (auto [a, b] : both) {
        a /= sumA;
        b /= sumB;
        info += a * std::log(a / b);
        growth += a * a / b;
    }
}

// Mean |rank now - rank then| over the cities present at both dates.
double MeanShift(const Derived& d, int now, int then, double& sum, double& count) {
    sum = count = 0;
    for (int c : d.ranked[now]) {
        if (d.rankOf[then][c] == 0) continue;
        sum += std::abs(d.rankOf[now][c] - d.rankOf[then][c]);
        count += 1;
    }
    return count > 0 ? sum / count : 0;
}

Derived Derive(const Form& f) {
    const DataSet& data = *f.data;
    Derived d;
    const int T = d.T = data.NumDates, N = data.NumCities;
    auto dates = [&](auto init) { return std::vector<decltype(init)>(static_cast<std::size_t>(T), init); };
    d.year = dates(0);
    d.ranked = dates(std::vector<int>{});
    d.share = dates(std::vector<double>{});
    d.rankOf = dates(std::vector<int>(static_cast<std::size_t>(N) + 1, 0));
    d.total = d.H = d.dH = d.cumDH = d.red = d.rel = d.ex = d.infoEnt = d.infoRank = d.avShift = d.pctShift =
        d.cumShift = d.cumInfo = d.cumGrowth = d.info = d.growth = dates(0.0);
    for (int t = 0; t < T; ++t) {
        d.year[t] = data.DateYear(t + 1);
        auto& list = d.ranked[t];
        for (int c = 1; c <= N; ++c)
            if (data.Present(c, t + 1) == 1) list.push_back(c);
        std::stable_sort(list.begin(), list.end(),
                         [&](int a, int b) { return data.PopTable(a, t + 1) > data.PopTable(b, t + 1); });
        const int n = static_cast<int>(list.size());
        double harmonic = 0;
        for (int i = 0; i < n; ++i) {
            d.rankOf[t][list[i]] = i + 1;
            d.total[t] += data.PopTable(list[i], t + 1);
            harmonic += 1.0 / (i + 1);
        }
        for (int i = 0; i < n; ++i) {
            const double p = data.PopTable(list[i], t + 1) / d.total[t], q = (1.0 / (i + 1)) / harmonic;
            d.share[t].push_back(p);
            d.H[t] -= p * std::log(p);
            d.ex[t] += p * std::log(i + 1.0);
            d.infoEnt[t] += p * std::log(p / q);
            d.infoRank[t] += q * std::log(q / p);
        }
        d.rel[t] = d.H[t] / std::log(static_cast<double>(n));
        d.red[t] = 1 - d.rel[t];
    }
    double pooledSum = 0, pooledCount = 0;
    for (int t = 1; t < T; ++t) {
        d.dH[t] = d.H[t] - d.H[t - 1];
        d.cumDH[t] = (d.H[t] - d.H[0]) / d.H[t];
        double sum, count;
        d.avShift[t] = MeanShift(d, t, t - 1, sum, count);
        pooledSum += sum;
        pooledCount += count;
        d.cumShift[t] = MeanShift(d, t, 0, sum, count);
        d.pctShift[t] = 100 * d.avShift[t] / static_cast<double>(d.ranked[t].size());
        ChangeBetween(d, f, t, 0, d.cumInfo[t], d.cumGrowth[t]);
        ChangeBetween(d, f, t, t - 1, d.info[t], d.growth[t]);
    }
    d.pooledShift = pooledSum / pooledCount;
    d.shareShift.assign(static_cast<std::size_t>(T), std::vector<double>(static_cast<std::size_t>(T), 0));
    double pairSum = 0;
    for (int t = 0; t < T; ++t) {
        for (int u = 0; u < T; ++u) {
            const std::size_t m = std::min(d.share[t].size(), d.share[u].size());
            double sum = 0;
            for (std::size_t i = 0; i < m; ++i) sum += std::abs(d.share[t][i] - d.share[u][i]) / d.share[t][i];
            d.shareShift[t][u] = sum / static_cast<double>(m);
            if (u > t) pairSum += d.shareShift[t][u];
        }
    }
    d.avShareShift = pairSum / (T * (T - 1) / 2.0);
    return d;
}

// Singles summed over a few hundred terms carry a few units in the sixth significant
// digit; the printed value adds half a unit of its last decimal.
void ExpectPrinted(const std::string& field, double expected, double lastDecimal, const std::string& where) {
    const double tolerance = lastDecimal / 2 + 2e-6 * std::max(1.0, std::abs(expected));
    EXPECT_NEAR(Printed(field), expected, tolerance) << where << " printed \"" << field << "\"";
}

double Mean(const std::vector<double>& v, int from) {
    return std::accumulate(v.begin() + from, v.end(), 0.0) / static_cast<double>(v.size() - from);
}

class InfoRealData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        form = FormWithRealData().release();
        derived = new Derived(Derive(*form));
    }
    static void TearDownTestSuite() {
        delete form;
        delete derived;
    }
    static Form* form;
    static Derived* derived;
};
Form* InfoRealData::form = nullptr;
Derived* InfoRealData::derived = nullptr;

TEST_F(InfoRealData, EveryPresentCityOutranksTheAbsentOnes) {
    // The derivation ranks present cities only; the statistics rank everything and keep the
    // present ones on top. That agrees only while no present population is as small as 1.
    for (int c = 1; c <= form->data->NumCities; ++c)
        for (int t = 1; t <= form->data->NumDates; ++t)
            if (form->data->Present(c, t) == 1) {
                ASSERT_GT(form->data->PopTable(c, t), 1.0f) << c << " " << t;
            }
}

TEST_F(InfoRealData, FirstTableLineByLine) {
    Form& f = *form;
    const Derived& d = *derived;
    f.Click("Clear");
    f.Click("InfoStats");
    const auto& lines = f.Text.Lines();
    const int T = d.T;
    ASSERT_EQ(T, 22);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(T + 7));
    EXPECT_EQ(ZoneFields(lines[1])[1], "Time");
    for (int t = 0; t < T; ++t) {
        const std::string& line = lines[3 + t];
        const auto z = ZoneFields(line);
        ASSERT_EQ(z.size(), 13u) << line;
        EXPECT_EQ(line.substr(0, 14), std::string(14, ' '));
        EXPECT_EQ(z[1], std::to_string(d.year[t]));
        const double expected[11] = {d.H[t],   d.dH[t],      d.cumDH[t],      d.red[t],     d.rel[t],     d.ex[t],
                                     d.infoEnt[t], d.infoRank[t], d.avShift[t], d.pctShift[t], d.cumShift[t]};
        for (int k = 0; k < 11; ++k) ExpectPrinted(z[2 + k], expected[k], 1e-5, line);
    }
    EXPECT_EQ(lines[3 + T], "");
    // Averages: DateWeight is 1/22 at every date, StepFraction 1/21 from the second date on.
    const std::string& avg = lines[4 + T];
    const auto z = ZoneFields(avg);
    ASSERT_EQ(z.size(), 13u);
    EXPECT_EQ(z[1], "2000");
    const double averages[11] = {Mean(d.H, 0),       Mean(d.dH, 1),       Mean(d.cumDH, 0),    Mean(d.red, 0),
                                 Mean(d.rel, 0),     Mean(d.ex, 0),       Mean(d.infoEnt, 0),  Mean(d.infoRank, 0),
                                 Mean(d.avShift, 1), Mean(d.pctShift, 1), Mean(d.cumShift, 1)};
    for (int k = 0; k < 11; ++k) ExpectPrinted(z[2 + k], averages[k], 1e-5, avg);
    // Summary: the pooled shift, then the share shift directly after the caption.
    const std::string& summary = lines[6 + T];
    const std::string caption = "Overall Average Percent Shift in Ranked Log-Population Order   ";
    ASSERT_EQ(ZoneFields(summary.substr(0, 28))[1], "Average Shift");
    const std::size_t at = summary.find(caption);
    ASSERT_EQ(at, 42u) << summary;
    ExpectPrinted(summary.substr(28, 14), d.pooledShift, 1e-6, summary);
    ExpectPrinted(summary.substr(at + caption.size()), d.avShareShift, 1e-6, summary);
}

TEST_F(InfoRealData, NextInfoLineByLine) {
    Form& f = *form;
    const Derived& d = *derived;
    f.Click("Clear");
    f.Click("InfoStats");
    f.Click("NextInfo");
    const auto& lines = f.Text.Lines();
    const int T = d.T;
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(T + 6));
    std::vector<double> sums(12, 0);
    for (int t = 1; t < T; ++t) {
        const std::string& line = lines[3 + t];
        const auto z = ZoneFields(line);
        ASSERT_EQ(z.size(), 13u) << line;
        EXPECT_EQ(z[0], std::to_string(d.year[t - 1]));
        const double totCum = d.total[t] / d.total[0], tot = d.total[t] / d.total[t - 1];
        const double expected[12] = {d.cumInfo[t],   std::log(totCum),        d.cumInfo[t] + std::log(totCum),
                                     d.cumGrowth[t], totCum,                  d.cumGrowth[t] * totCum,
                                     d.info[t],      std::log(tot),           d.info[t] + std::log(tot),
                                     d.growth[t],    tot,                     d.growth[t] * tot};
        for (int k = 0; k < 12; ++k) {
            ExpectPrinted(z[1 + k], expected[k], 1e-4, line);
            sums[k] += expected[k];
        }
    }
    const auto z = ZoneFields(lines[T + 4]);
    ASSERT_EQ(z.size(), 13u);
    EXPECT_EQ(z[0], "1790");
    for (int k = 0; k < 12; ++k) ExpectPrinted(z[1 + k], sums[k] / (T - 1), 1e-5, lines[T + 4]);
    EXPECT_EQ(lines[T + 5], "");
}

TEST_F(InfoRealData, NextLastInfoCountsEveryPairOfDates) {
    Form& f = *form;
    const Derived& d = *derived;
    f.Click("Clear");
    f.Click("InfoStats");
    f.Click("NextInfo");
    f.Click("NextLastInfo");
    const auto& lines = f.Text.Lines();
    const int T = d.T;
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(T + 3));
    double overall = 0;
    for (int t = 0; t < T; ++t) {
        const std::string& line = lines[1 + t];
        EXPECT_EQ(line.substr(0, 14), "  " + std::to_string(d.year[t]) + std::string(8, ' '));
        std::string expectedCells;
        double row = 0;
        for (int u = 0; u < 33; ++u) {
            int common = 0;
            if (u < T)
                for (int c : d.ranked[t]) common += d.rankOf[u][c] != 0;
            if (u != t) row += common;
            expectedCells.append(u ? " " : "").append(common ? std::to_string(common) : std::string()).append(".");
        }
        EXPECT_EQ(line.substr(28), expectedCells) << line;
        ExpectPrinted(line.substr(14, 14), row / (T - 1), 1e-6, line);
        overall += row;
    }
    EXPECT_EQ(lines[T + 1], "");
    const std::string head = "     Average Overall   ";
    ASSERT_EQ(lines[T + 2].substr(0, head.size()), head);
    ExpectPrinted(lines[T + 2].substr(head.size()), overall / (T * T - T), 1e-6, lines[T + 2]);
}

TEST_F(InfoRealData, LastInfoPrintsTheShareShiftMatrix) {
    Form& f = *form;
    const Derived& d = *derived;
    f.Click("Clear");
    f.Click("InfoStats");
    f.Click("NextInfo");
    f.Click("NextLastInfo");
    f.Click("LastInfo");
    const auto& lines = f.Text.Lines();
    const int T = d.T;
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(T + 3));
    for (int t = 0; t < T; ++t) {
        const std::string& line = lines[1 + t];
        EXPECT_EQ(line.substr(0, 14), "  " + std::to_string(d.year[t]) + std::string(8, ' '));
        const auto cells = Words(line.substr(28));
        ASSERT_EQ(cells.size(), 22u) << line;
        double row = 0;
        for (int u = 0; u < T; ++u) {
            row += d.shareShift[t][u];
            ExpectPrinted(cells[u], d.shareShift[t][u], 1e-3, line);
            if (d.shareShift[t][u] < 1) {
                EXPECT_EQ(cells[u][0], '.') << line;
            }
        }
        ExpectPrinted(line.substr(14, 14), row / (T - 1), 1e-6, line);
    }
    const std::string head = "     Average Overall   ";
    ASSERT_EQ(lines[T + 2].substr(0, head.size()), head);
    ExpectPrinted(lines[T + 2].substr(head.size()), d.avShareShift, 1e-6, lines[T + 2]);
}

}  // namespace
