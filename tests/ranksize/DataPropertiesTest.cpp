#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestForm.h"

namespace {

// A printed row: "   " ; year (with its blanks) ; " " ends at column 10, then print zones 14, 28.
std::string Row(int year, const std::string& count, const std::string& total) {
    std::string s = "    " + std::to_string(year) + "  ";
    s.resize(14, ' ');
    s += count;
    s.resize(28, ' ');
    return s + total;
}

const std::string Heading = "   Year      No of Cities      Total Population";

}  // namespace

// totals.csv, 3 cities, 1790..1820 (absent: 0, negative or empty; those cells hold 1.0):
//   North 100, 0, 300, 0 / South 50, 250, -5, 0 / West -, 20, 1, -
// Totals of present cells: 150, 270, 301 (a true 1 counts), and 1820 has no city at all.
TEST(DataProperties, TotalsCountOnlyPresentCellsAndRowsFollowThePrintZones) {
    std::ifstream in(std::string(CITYSIZE_TEST_DATA) + "/ranksize/totals.csv");
    std::stringstream csv;
    csv << in.rdbuf();
    auto f = FormWithData(csv.str(), 3, 4);
    f->Text.Line("earlier");
    f->Choose("BackMap", 1);
    f->Click("DataProperties");
    const std::vector<std::string> expected = {"earlier", "", "", "", Heading, "", Row(1790, "2", "150"),
                                               Row(1800, "2", "270"), Row(1810, "2", "301"), Row(1820, "", "")};
    EXPECT_EQ(f->Text.Lines(), expected);
    for (auto name : MainCommandSet) EXPECT_FALSE(f->panel.Visible(name)) << name;
    EXPECT_EQ(f->frame.AxisKind, 0);

    // The curve closes the picture: xRange 4.4 gives XScale 1500, so the dates stand at
    // 1200 + 1500 * 4 (t - 1) / 3; y = 8300 - total * 7600 / 105000000; width 2, axis colour.
    const auto& ops = f->Picture1.Ops();
    const double totals[] = {150, 270, 301, 0};
    for (int k = 0; k < 4; ++k) {
        const DrawOp& op = ops[ops.size() - 4 + k];
        EXPECT_NEAR(op.x2, 1200 + 2000 * k, 1e-3);
        EXPECT_NEAR(op.y2, 8300 - totals[k] * 7600 / 105000000, 1e-3);
        EXPECT_EQ(op.width, 2);
        EXPECT_EQ(op.colour, k == 0 ? Black : LightGrey);
    }
}
