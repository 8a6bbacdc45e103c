#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestForm.h"
#include "ranksize/DataProperties.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::unique_ptr<Form> TotalsForm() {
    return FormWithData(ReadFile(std::string(CITYSIZE_TEST_DATA) + "/ranksize/totals.csv"), 3, 4);
}

// Pads with blanks to column `col`, the way a print zone separator moves on.
std::string PadTo(std::string s, std::size_t col) {
    s.resize(col, ' ');
    return s;
}

std::string Row(int year, const std::string& count, const std::string& total) {
    return PadTo(PadTo("    " + std::to_string(year) + "  ", 14) + count, 28) + total;
}

const std::string Heading = "   Year      No of Cities      Total Population";

}  // namespace

// totals.csv (3 cities, 1790..1820):
//   North  100    0    300    0
//   South   50  250     -5    0
//   West   (empty) 20    1   (empty)
// Present cells only: 1790 = 100 + 50 = 150; 1800 = 250 + 20 = 270; 1810 = 300 + 1 = 301
// (a true population of 1 is present); 1820 has no city, so count and total print empty.
// The absent cells hold 1.0, which must not add 1 to any total.
TEST(DataProperties, TableCountsOnlyPresentCellsAndFollowsPrintZones) {
    auto f = TotalsForm();
    f->Text.Line("earlier text");
    f->Click("DataProperties");
    // Row layout: "   " + " 1790 " + " " ends at column 10, the count starts in zone 14 and
    // the total in zone 28; an empty count still moves the total on to the next zone.
    const std::vector<std::string> expected = {
        "earlier text", "", "", "", Heading, "",
        Row(1790, "2", "150"), Row(1800, "2", "270"), Row(1810, "2", "301"), Row(1820, "", ""),
    };
    EXPECT_EQ(f->Text.Lines(), expected);

    // A second run (the handler itself: the panel no longer offers the button) prints a
    // second table below the first, without erasing anything.
    DataProperties_Click(*f);
    ASSERT_EQ(f->Text.Lines().size(), expected.size() + 9);
    EXPECT_EQ(f->Text.Lines()[expected.size() + 3], Heading);
    EXPECT_EQ(f->Text.Lines().back(), Row(1820, "", ""));
}

TEST(DataProperties, LeavesResultViewTimeAxesAndTheTotalCurve) {
    auto f = TotalsForm();
    f->Choose("BackMap", 1);
    EXPECT_EQ(f->frame.AxisKind, 1);  // as loading leaves it
    f->Click("DataProperties");

    for (auto name : MainCommandSet) EXPECT_FALSE(f->panel.Visible(name)) << name;
    EXPECT_TRUE(f->panel.Visible("Clear"));
    EXPECT_TRUE(f->Picture1.Visible);
    EXPECT_EQ(f->frame.AxisKind, 0);
    EXPECT_EQ(f->Picture1.BackColor, Black);
    EXPECT_EQ(f->frame.AxisColor, static_cast<float>(LightGrey));
    EXPECT_EQ(f->Picture1.DrawWidth, 1);
    EXPECT_EQ(f->Picture1.FontSize, 9);

    // Time axes: the year labels are drawn.
    int yearLabels = 0;
    for (const auto& op : f->Picture1.Ops())
        if (op.kind == OpKind::Text && (op.text == "1790" || op.text == "2000")) ++yearLabels;
    EXPECT_EQ(yearLabels, 2);

    // The curve: the last four ops, width 2. xRange = 4 * 1.1 = 4.4, so XScale = 6600 / 4.4
    // = 1500 and date t stands at 1200 + 4 * (t - 1) / 3 * 1500: 1200, 3200, 5200, 7200.
    // YScale = 7600 / 105000000; y = 8300 - total * YScale.
    const auto& ops = f->Picture1.Ops();
    ASSERT_GE(ops.size(), 4u);
    std::vector<DrawOp> curve(ops.end() - 4, ops.end());
    const double yScale = 7600.0 / 105000000.0;
    const double totals[] = {150, 270, 301, 0};
    const double xs[] = {1200, 3200, 5200, 7200};
    EXPECT_EQ(curve[0].colour, Black);  // the one-point mark
    EXPECT_EQ(curve[0].x1, curve[0].x2);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(curve[k].width, 2);
        EXPECT_NEAR(curve[k].x2, xs[k], 1e-3);
        EXPECT_NEAR(curve[k].y2, 8300 - totals[k] * yScale, 1e-3);
        if (k > 0) {
            EXPECT_EQ(curve[k].colour, LightGrey);  // the axis colour
        }
    }
}

// The real file, parsed here on its own: each row of the table is checked against counts
// of positive cells and their sum accumulated in single precision in file order (the
// exact integer sum must agree with it to single precision).
TEST(DataProperties, RealDataTableMatchesAnIndependentReadingOfTheFile) {
    std::ifstream in(std::string(CITYSIZE_REAL_DATA) + "/USData.csv");
    ASSERT_TRUE(in);
    std::vector<int> count(22, 0);
    std::vector<float> singleSum(22, 0.0f);
    std::vector<int64_t> exactSum(22, 0);
    std::string line;
    int records = 0;
    while (records < 266 && std::getline(in, line)) {
        std::size_t close = line.find('"', 1);
        ASSERT_NE(close, std::string::npos);
        std::stringstream fields(line.substr(close + 2));
        std::string field;
        for (int t = 0; t < 22 && std::getline(fields, field, ','); ++t) {
            long v = field.empty() ? 0 : std::stol(field);
            if (v <= 0) continue;
            ++count[t];
            singleSum[t] += static_cast<float>(v);
            exactSum[t] += v;
        }
        ++records;
    }
    ASSERT_EQ(records, 266);

    auto f = FormWithRealData();
    f->Click("DataProperties");
    const auto& lines = f->Text.Lines();
    ASSERT_EQ(lines.size(), 5u + 22u);
    EXPECT_EQ(lines[3], Heading);
    for (int t = 0; t < 22; ++t) {
        const double rel = std::abs(static_cast<double>(singleSum[t]) - exactSum[t]) / exactSum[t];
        EXPECT_LT(rel, 1e-6);
        const auto total = static_cast<int64_t>(singleSum[t]);
        EXPECT_EQ(lines[5 + t], Row(1790 + 10 * t, std::to_string(count[t]), std::to_string(total)));
    }
    // The scale is fixed at 105 million: 2000's total of about 56.8 million lies a little
    // above the middle of the 7600-twip frame.
    const DrawOp& last = f->Picture1.Ops().back();
    EXPECT_NEAR(last.y2, 8300 - exactSum[21] * (7600.0 / 105000000.0), 1.0);
    EXPECT_NEAR(last.x2, 1200 + 22 * (6600 / 24.2), 0.01);
}
