// The plot frame of every x-y plot: the frame geometry, both axis kinds with their ticks
// and labels, the titles, the curve mapping and the background choice.
//
// Picture1 is 9000 x 9000 twips, so with margins 1200 / 700 the frame is 6600 wide and
// 7600 high, the corner (X0, Y0) is (1200, 8300) and the horizontal axis ends at 7800.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/Form.h"
#include "draw/PlotFrame.h"
#include "draw/RunError.h"

namespace {
constexpr double X0 = 1200, Y0 = 8300, XR = 7800;
}  // namespace

TEST(PlotFrameTest, AxesAndCornerTicksInTheAxisColour) {
    Form f;
    f.frame.AxisKind = 1;
    f.frame.AxisColor = static_cast<float>(LightGrey);
    f.Picture1.DrawWidth = 3;
    f.Picture1.FontSize = 12;
    DrawAxes(CanvasOf(f), 17.7f, 5.0f, "Log Population", "Log Rank");
    const auto& ops = f.Picture1.Ops();
    ASSERT_GE(ops.size(), 4u);
    // In this order: vertical axis, horizontal axis, corner tick left, corner tick down.
    const double expected[4][4] = {{X0, 700, X0, Y0}, {X0, Y0, XR, Y0}, {X0, Y0, X0 - 200, Y0}, {X0, Y0, X0, Y0 + 200}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(ops[i].kind, OpKind::Line);
        EXPECT_FLOAT_EQ(ops[i].x1, expected[i][0]) << i;
        EXPECT_FLOAT_EQ(ops[i].y1, expected[i][1]) << i;
        EXPECT_FLOAT_EQ(ops[i].x2, expected[i][2]) << i;
        EXPECT_FLOAT_EQ(ops[i].y2, expected[i][3]) << i;
    }
    for (const auto& op : ops) {
        EXPECT_EQ(op.colour, LightGrey);
        if (op.kind == OpKind::Line) { EXPECT_EQ(op.width, 1); }  // DrawWidth = 1 for the axes
        if (op.kind == OpKind::Text) { EXPECT_EQ(op.fontSize, 9); }
    }
    EXPECT_EQ(f.Picture1.FontSize, 9);  // the font size stays 9 after the call
    EXPECT_EQ(f.Picture1.ForeColor, LightGrey);
    EXPECT_EQ(f.Picture1.DrawWidth, 1);
    EXPECT_EQ(f.Picture1.BackColor, LightGrey);  // the background is the caller's business
}

TEST(PlotFrameTest, CurveIsABlackMarkThenSegmentsInPlotColour) {
    Form f;
    f.frame.AxisKind = 0;
    DrawAxes(CanvasOf(f), 7600.0f, 22.0f, "y", "x");  // 300 twips per x unit, 1 per y unit
    const std::size_t axisOps = f.Picture1.Ops().size();
    f.frame.PlotColor = static_cast<float>(RGB(255, 0, 0));
    f.Picture1.DrawWidth = 2;
    Vec1<float, 5> xs, ys;
    xs(1) = 0; ys(1) = 0;      // (1200, 8300)
    xs(2) = 1; ys(2) = 100;    // (1500, 8200)
    xs(3) = 2.5f; ys(3) = 50;  // (1950, 8250)
    PlotCurve(CanvasOf(f), ys, xs, 3);
    const auto& ops = f.Picture1.Ops();
    ASSERT_EQ(ops.size(), axisOps + 3);
    const DrawOp& mark = ops[axisOps];
    EXPECT_EQ(mark.colour, Black);
    EXPECT_EQ(mark.x1, 1200);
    EXPECT_EQ(mark.y1, 8300);
    EXPECT_EQ(mark.x2, 1200);
    EXPECT_EQ(mark.y2, 8300);
    const DrawOp& s1 = ops[axisOps + 1];
    EXPECT_EQ(s1.colour, RGB(255, 0, 0));
    EXPECT_EQ(s1.x1, 1200);
    EXPECT_EQ(s1.y1, 8300);
    EXPECT_EQ(s1.x2, 1500);
    EXPECT_EQ(s1.y2, 8200);
    EXPECT_EQ(s1.width, 2);  // the caller's DrawWidth
    const DrawOp& s2 = ops[axisOps + 2];
    EXPECT_EQ(s2.x1, 1500);
    EXPECT_EQ(s2.x2, 1950);
    EXPECT_EQ(s2.y2, 8250);
    EXPECT_EQ(f.LoopIndex, 4);  // the shared counter ends one past n
}
