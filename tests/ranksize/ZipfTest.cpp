#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "TestForm.h"
#include "draw/Formats.h"

namespace {

std::unique_ptr<Form> FormFromFile(const std::string& name, int cities, int dates) {
    std::ifstream in(std::string(CITYSIZE_TEST_DATA) + "/ranksize/" + name);
    std::stringstream s;
    s << in.rdbuf();
    return FormWithData(s.str(), cities, dates);
}

// The summary line: two blanks, then four values in print zones of 14 columns.
std::string SummaryLine(const std::string& a, const std::string& b, const std::string& c, const std::string& d) {
    std::string s = "  " + a;
    for (const std::string* v : {&b, &c, &d}) {
        s.resize((s.size() / 14 + 1) * 14, ' ');
        s += *v;
    }
    return s;
}

std::vector<DrawOp> OpsOfDate(const Picture& p, int t) {
    std::vector<DrawOp> out;
    for (const auto& op : p.Ops())
        if (op.tag.city == 0 && op.tag.date == t) out.push_back(op);
    return out;
}

}  // namespace

// zipfhand.csv, two dates of three cities.
// 1790: populations 400, 200, 100, shares 4/7, 2/7, 1/7.
//   k = 3: H = ln 4 + ln 2 + ln 1 = 3 ln 2, estimate 3 / (3 ln 2) = 1.4427 -> "1.443"
//   k = 2: H = ln 2, estimate 2 / ln 2 = 2.8854 -> "2.885"
//   mean of the two estimates 2.1640 -> "2.164"
//   slope: x = 0, ln 2, ln 3; y = ln 400 - (0, ln 2, 2 ln 2); Sxy = -ln 2 (ln 3) = -0.76146,
//   Sxx = 0.61727, slope -1.23366 -> "-1.234"
// 1800: populations 300, 200, 100, shares 3/6, 2/6, 1/6.
//   k = 3: H = ln 3 + ln 2 = ln 6, estimate 3 / ln 6 = 1.6743 -> "1.674"
//   k = 2: H = ln 1.5, estimate 2 / ln 1.5 = 4.9326 -> "4.933"; mean 3.3035 -> "3.303"
//   slope: Sxy = -0.58968, Sxx = 0.61727, slope -0.95531 -> "-.955"
TEST(Zipf, HandWorkedEstimatesAndTheSummaryLine) {
    auto f = FormFromFile("zipfhand.csv", 3, 2);
    f->Click("Zipf");
    const std::vector<std::string> expected = {"", SummaryLine("1.443", "2.885", "2.164", "-1.234"),
                                               SummaryLine("1.674", "4.933", "3.303", "-.955")};
    EXPECT_EQ(f->Text.Lines(), expected);
    const ZipfState& z = f->zipf;
    EXPECT_NEAR(z.HillEstimate(1, 1), 1 / std::log(2.0), 1e-6);
    EXPECT_NEAR(z.HillEstimate(2, 1), 2 / std::log(2.0), 1e-6);
    EXPECT_NEAR(z.CutoffShare(1, 1), 1.0 / 7, 1e-7);  // cut-off rank 3
    EXPECT_NEAR(z.CutoffShare(2, 1), 2.0 / 7, 1e-7);  // cut-off rank 2
    EXPECT_EQ(z.HillEstimate(3, 1), 0);                // n - 1 estimates only
    EXPECT_EQ(z.GraphDate, 1);

    // Panel reduced to Next-Graph; empty axes on the cleared picture, on log-log axes as
    // loading left them; yRange = 1.1 * 4.9326 (1800, k = 2), xRange = 1.1 * 2/6 (1800, k = 2).
    for (auto name : MainCommandSet) EXPECT_FALSE(f->panel.Visible(name)) << name;
    EXPECT_TRUE(f->panel.Visible("NextGraph"));
    EXPECT_NEAR(f->frame.YScale, 7600 / (1.1 * 2 / std::log(1.5)), 1e-2);
    EXPECT_NEAR(f->frame.XScale, 6600 / (1.1 * 2 / 6), 1e-1);
    bool logLabel = false;
    for (const auto& op : f->Picture1.Ops()) logLabel |= op.kind == OpKind::Text && op.text == "10000000";
    EXPECT_TRUE(logLabel);

    // One press: the curve of 1790 from the all-cities cut-off to the two largest, two
    // points, the black mark then one segment in palette colour 1.
    f->Click("NextGraph");
    auto curve = OpsOfDate(f->Picture1, 1);
    ASSERT_EQ(curve.size(), 2u);
    EXPECT_EQ(curve[0].colour, Black);
    EXPECT_FLOAT_EQ(curve[0].x1, static_cast<float>(1200 + (1.0 / 7) * f->frame.XScale));
    EXPECT_EQ(curve[1].colour, PaletteColour(1));
    EXPECT_NEAR(curve[1].y2, 8300 - 2 / std::log(2.0) * f->frame.YScale, 1e-2);
    EXPECT_EQ(f->zipf.GraphDate, 2);
}

// zipfformats.csv, two cities:
//   1790: 7389056 and 1000000, ratio e^2 to 7 digits: estimate 2 / 2 = 1 -> "1." (three
//         times: all cut-offs are the two largest); slope ln(1/7.389056) / ln 2 = -2.885
//   1800: 1000000 and 504330: estimate 2 / ln(1.982829) = 2.9217 -> "2.922";
//         slope ln(.50433) / ln 2 = -.98756 -> "-.988"
TEST(Zipf, SummaryFormatsKeepThePointAndDropTheLeadingZero) {
    auto f = FormFromFile("zipfformats.csv", 2, 2);
    f->Click("Zipf");
    const std::vector<std::string> expected = {
        "", SummaryLine("1.", "1.", "1.", "-2.885"), SummaryLine("2.922", "2.922", "2.922", "-.988")};
    EXPECT_EQ(f->Text.Lines(), expected);
}

// Exact Zipf data, population 720720 / i for ranks 1..6 at both dates: the regression of
// ln population on ln rank is exactly -1 (up to single rounding) and prints "-1.".
TEST(Zipf, ExactZipfDataHasSlopeMinusOne) {
    std::string csv;
    for (int i = 1; i <= 6; ++i) {
        const std::string pop = std::to_string(720720 / i);
        csv += "\"C" + std::to_string(i) + "\"," + pop + "," + pop + "\n";
    }
    auto f = FormWithData(csv, 6, 2);
    f->Click("Zipf");
    ASSERT_EQ(f->Text.Lines().size(), 3u);
    EXPECT_EQ(f->Text.Lines()[2], f->Text.Lines()[1]);
    const std::string& line = f->Text.Lines()[1];
    EXPECT_EQ(line.substr(42), "-1.");
    // Hill at k = 2: shares in ratio 2:1, so 2 / ln 2 = 2.885.
    EXPECT_EQ(line.substr(14, 14), "2.885         ");
}

// zipf3.csv, 1800: 500, 500, 100. Cut-off k = 3 is fine (H = 2 ln 5), but k = 2 has two
// equal shares: H = 0. The 1790 line stays, the message names the year and the cut-off,
// and the next Next-Graph goes back to the main panel.
TEST(Zipf, EqualLargestSharesStopWithAClearMessage) {
    auto f = FormFromFile("zipf3.csv", 3, 2);
    try {
        f->Click("Zipf");
        FAIL() << "no error";
    } catch (const RunError& e) {
        const std::string msg = e.what();
        EXPECT_NE(msg.find("1800"), std::string::npos) << msg;
        EXPECT_NE(msg.find("2 largest"), std::string::npos) << msg;
    }
    ASSERT_EQ(f->Text.Lines().size(), 2u);
    EXPECT_EQ(f->Text.Lines()[1], SummaryLine("1.443", "2.885", "2.164", "-1.234"));
    EXPECT_TRUE(f->panel.Visible("NextGraph"));
    f->Click("NextGraph");
    EXPECT_FALSE(f->panel.Visible("NextGraph"));
    EXPECT_TRUE(f->panel.Visible("Zipf"));
}

// zipffew.csv: 1800 has a single city. 1790 (300, 200, 100) is printed first.
TEST(Zipf, ADateWithOneCityStopsWithAClearMessage) {
    auto f = FormFromFile("zipffew.csv", 3, 3);
    try {
        f->Click("Zipf");
        FAIL() << "no error";
    } catch (const RunError& e) {
        const std::string msg = e.what();
        EXPECT_NE(msg.find("1800"), std::string::npos) << msg;
        EXPECT_NE(msg.find("fewer than two"), std::string::npos) << msg;
    }
    EXPECT_EQ(f->Text.Lines().size(), 2u);
}

// Twenty-two presses draw one curve each in palette colour (date AND 15); the 16th is
// black; the 23rd runs Clear-Data and so returns to the main panel.
TEST(Zipf, NextGraphPressesCycleThePaletteAndEndInTheMainPanel) {
    auto f = FormWithRealData();
    f->Click("Zipf");
    const std::size_t axesOps = f->Picture1.Ops().size();
    for (int g = 1; g <= 22; ++g) {
        f->Click("NextGraph");
        auto curve = OpsOfDate(f->Picture1, g);
        const int n = static_cast<int>(f->data->NumPresent(g));
        ASSERT_EQ(static_cast<int>(curve.size()), n - 1) << g;  // n - 1 estimates: mark + n - 2 segments
        EXPECT_EQ(curve.front().colour, Black);
        const Colour expected = g == 16 ? Black : PaletteColour(g <= 15 ? g : g - 16);
        EXPECT_EQ(curve.back().colour, expected) << g;
        EXPECT_EQ(curve.back().width, 1);
    }
    EXPECT_GT(f->Picture1.Ops().size(), axesOps);
    EXPECT_TRUE(f->panel.Visible("NextGraph"));
    EXPECT_FALSE(f->Text.Lines().empty());
    f->Click("NextGraph");
    EXPECT_FALSE(f->panel.Visible("NextGraph"));
    for (auto name : MainCommandSet) EXPECT_TRUE(f->panel.Visible(name)) << name;
    EXPECT_TRUE(f->Picture1.Ops().empty());
    EXPECT_TRUE(f->Text.Lines().empty());
}

// The printed table of the real data against a separate computation from PopTable:
// present populations sorted by std::sort, shares, Hill estimates and the regression in
// double precision. Also the stored tables: k = 2 gives 2 / ln(share(1) / share(2)) and
// the third value is the mean of the stored estimates.
TEST(Zipf, RealDataTableMatchesAnIndependentComputation) {
    auto f = FormWithRealData();
    f->Click("Zipf");
    const DataSet& d = *f->data;
    const auto& lines = f->Text.Lines();
    ASSERT_EQ(lines.size(), 23u);
    for (int t = 1; t <= 22; ++t) {
        std::vector<double> pop;
        for (int c = 1; c <= d.NumCities; ++c)
            if (d.Present(c, t) == 1) pop.push_back(d.PopTable(c, t));
        std::sort(pop.begin(), pop.end(), std::greater<>());
        const int n = static_cast<int>(pop.size());
        double total = 0;
        for (double p : pop) total += p;
        std::vector<double> share;
        for (double p : pop) share.push_back(p / total);

        std::vector<double> hill;  // hill[k] for k = 2..n
        hill.assign(n + 1, 0);
        double mean = 0;
        for (int k = 2; k <= n; ++k) {
            double h = 0;
            for (int j = 0; j < k; ++j) h += std::log(share[j] / share[k - 1]);
            hill[k] = k / h;
            mean += hill[k];
        }
        mean /= n - 1;

        double mx = 0, my = 0;
        for (int i = 1; i <= n; ++i) {
            mx += std::log(i);
            my += std::log(pop[i - 1]);
        }
        mx /= n;
        my /= n;
        double sxy = 0, sxx = 0;
        for (int i = 1; i <= n; ++i) {
            sxy += (std::log(i) - mx) * (std::log(pop[i - 1]) - my);
            sxx += (std::log(i) - mx) * (std::log(i) - mx);
        }
        const double slope = sxy / sxx;

        EXPECT_EQ(lines[t], SummaryLine(Format(hill[n], "#.###"), Format(hill[2], "#.###"), Format(mean, "#.###"),
                                        Format(slope, "#.###")))
            << d.DateYear(t);

        // Stored: index i is cut-off k = n - i + 1.
        EXPECT_NEAR(f->zipf.HillEstimate(n - 1, t), 2 / std::log(share[0] / share[1]), 1e-4);
        EXPECT_NEAR(f->zipf.CutoffShare(1, t), share[n - 1], 1e-7);
        double stored = 0;
        for (int i = 1; i <= n - 1; ++i) stored += f->zipf.HillEstimate(i, t);
        EXPECT_EQ(Format(stored / (n - 1), "#.###"), Format(mean, "#.###"));
    }
}
