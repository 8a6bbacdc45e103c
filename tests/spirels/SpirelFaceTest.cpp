#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TestForm.h"
#include "draw/SpirelFace.h"
#include "spirels/SpirelState.h"

namespace {

// Three cities over the 22 census dates 1790..2000: enough for a full dial.
std::unique_ptr<Form> TwentyTwoDates() {
    std::string csv;
    for (const char* name : {"A", "B", "C"}) {
        csv += std::string("\"") + name + "\"";
        for (int t = 1; t <= 22; ++t) csv.append(",").append(std::to_string(100 * t + (name[0] - 'A')));
        csv += "\n";
    }
    auto f = FormWithData(csv, 3, 22);
    f->Picture1.Clear();
    return f;
}

std::vector<DrawOp> OpsOf(const Picture& p, OpKind kind) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : p.Ops())
        if (op.kind == kind) out.push_back(op);
    return out;
}

constexpr double ExactTwoPi = 6.283185307179586;

}  // namespace

TEST(SpirelFace, RadiusFromTheShorterSideAndCentreFromBoth) {
    auto f = TwentyTwoDates();
    f->Picture1.Width = 12000;  // PlotWidth 10600 > PlotHeight 7600
    EXPECT_EQ(DrawSpirelRingsAndSpokes(CanvasOf(*f), DialOf(*f->data), 0), 3800.0f);
    auto spokes = OpsOf(f->Picture1, OpKind::Line);
    EXPECT_EQ(spokes[0].x1, 6000.0f);
    EXPECT_NEAR(spokes[0].x2, 6000, 1e-3);
    EXPECT_NEAR(spokes[0].y2, 700, 1e-3);
    EXPECT_TRUE(OpsOf(f->Picture1, OpKind::Text).empty());
    f->Picture1.Width = 7000;  // PlotWidth 5600 < PlotHeight
    EXPECT_EQ(DrawSpirelRingsAndSpokes(CanvasOf(*f), DialOf(*f->data), 0), 2800.0f);
}
