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

const DrawOp* TextOp(const Picture& p, const std::string& text) {
    for (const auto& op : p.Ops())
        if (op.kind == OpKind::Text && op.text == text) return &op;
    return nullptr;
}

int CountText(const Picture& p, const std::string& text) {
    int n = 0;
    for (const auto& op : p.Ops())
        if (op.kind == OpKind::Text && op.text == text) ++n;
    return n;
}

bool HasLine(const Picture& p, double x1, double y1, double x2, double y2, double tol = 0.05) {
    for (const auto& op : p.Ops())
        if (op.kind == OpKind::Line && std::fabs(op.x1 - x1) < tol && std::fabs(op.y1 - y1) < tol &&
            std::fabs(op.x2 - x2) < tol && std::fabs(op.y2 - y2) < tol)
            return true;
    return false;
}

}  // namespace

TEST(PlotFrameTest, FrameFieldsComeFromThePictureSizeAndTheRanges) {
    Form f;
    f.frame.AxisKind = 0;
    DrawAxes(CanvasOf(f), 1900.0f, 22.0f, "Population", "Time");
    EXPECT_EQ(f.frame.LeftMargin, 1200);
    EXPECT_EQ(f.frame.RightMargin, 1200);
    EXPECT_EQ(f.frame.TopMargin, 700);
    EXPECT_EQ(f.frame.BottomMargin, 700);
    EXPECT_EQ(f.frame.PicWidth, 9000);
    EXPECT_EQ(f.frame.PicHeight, 9000);
    EXPECT_EQ(f.frame.PlotWidth, 6600);
    EXPECT_EQ(f.frame.PlotHeight, 7600);
    EXPECT_FLOAT_EQ(f.frame.XScale, 300.0f);  // 6600 / 22
    EXPECT_FLOAT_EQ(f.frame.YScale, 4.0f);    // 7600 / 1900
    // The frame follows the picture's size at each call.
    f.Picture1.Width = 6000;
    DrawAxes(CanvasOf(f), 1900.0f, 18.0f, "Population", "Time");
    EXPECT_EQ(f.frame.PlotWidth, 3600);
    EXPECT_FLOAT_EQ(f.frame.XScale, 200.0f);
}

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

TEST(PlotFrameTest, LogLogTicksAndLabelsStandAtNaturalLogarithms) {
    Form f;
    f.frame.AxisKind = 1;
    // xRange = ln 100 puts the tick of rank 100 at the right end of the axis (7800);
    // rank 10 is half way: 1200 + 3300 = 4500.
    const float yRange = static_cast<float>(1.1 * std::log(10000000.0));
    DrawAxes(CanvasOf(f), yRange, static_cast<float>(std::log(100.0)), "Log Population", "Log Rank");
    const Picture& p = f.Picture1;
    EXPECT_TRUE(HasLine(p, 4500, Y0, 4500, Y0 + 200, 0.5));
    EXPECT_TRUE(HasLine(p, XR, Y0, XR, Y0 + 200, 0.5));
    const DrawOp* one = nullptr;
    for (const auto& op : p.Ops())  // the first "1" is the rank label below the corner
        if (op.kind == OpKind::Text && op.text == "1") { one = &op; break; }
    ASSERT_NE(one, nullptr);
    EXPECT_FLOAT_EQ(one->x1, X0 - 100);
    EXPECT_FLOAT_EQ(one->y1, Y0 + 300);
    ASSERT_NE(TextOp(p, "100"), nullptr);
    // "10" and "100" appear on both axes; the rank labels are printed first.
    const DrawOp* ten = TextOp(p, "10");
    EXPECT_NEAR(ten->x1, 4500 - 100, 0.5);
    EXPECT_NEAR(ten->y1, Y0 + 300, 0.01);
    EXPECT_NEAR(TextOp(p, "100")->x1, XR - 100, 0.5);

    // With yRange = 1.1 ln 10^7 the label "10000000" stands 1/1.1 of the frame height
    // above the corner: 8300 - 7600 / 1.1 - 100 = 1290.909.
    const DrawOp* top = TextOp(p, "10000000");
    ASSERT_NE(top, nullptr);
    EXPECT_NEAR(top->y1, Y0 - 7600 / 1.1 - 100, 0.1);
    EXPECT_FLOAT_EQ(top->x1, X0 - 1000);
    EXPECT_TRUE(HasLine(p, X0, Y0 - 7600 / 1.1, X0 - 200, Y0 - 7600 / 1.1, 0.1));
    // Population 1000 is 3/7 of the way to 10^7: 8300 - (3/7)(7600/1.1) - 100.
    EXPECT_NEAR(TextOp(p, "1000")->y1, Y0 - 3.0 / 7.0 * 7600 / 1.1 - 100, 0.1);
    // Labels 1..10^7 on the vertical axis, ranks 1, 10, 100 on the horizontal one.
    EXPECT_EQ(CountText(p, "1"), 2);
    EXPECT_EQ(CountText(p, "10"), 2);
    EXPECT_EQ(CountText(p, "100"), 2);
    for (const char* s : {"1000", "10000", "100000", "1000000", "10000000"}) EXPECT_EQ(CountText(p, s), 1) << s;
    // The vertical label "1" stands at the corner, with no tick of its own: seven ticks.
    int leftTicks = 0;
    for (const auto& op : p.Ops())
        if (op.kind == OpKind::Line && op.x1 == X0 && op.x2 == X0 - 200 && op.y1 == op.y2 && op.y1 != Y0) ++leftTicks;
    EXPECT_EQ(leftTicks, 7);
    // 4 axis lines, 3 rank labels, 2 rank ticks, 7 population ticks, 8 labels, 2 titles.
    EXPECT_EQ(p.Ops().size(), 26u);
}

TEST(PlotFrameTest, TimeAxesHaveYearLabelsAndPopulationsInMillions) {
    Form f;
    f.frame.AxisKind = 0;
    // xRange 22 gives 300 twips per date step; yRange 1.05e8 as in the data properties.
    DrawAxes(CanvasOf(f), 105000000.0f, 22.0f, "Population", "Time");
    const Picture& p = f.Picture1;
    for (int k : {7, 12, 17, 22}) EXPECT_TRUE(HasLine(p, X0 + 300 * k, Y0, X0 + 300 * k, Y0 + 200)) << k;
    const std::pair<int, const char*> years[] = {{0, "1790"}, {7, "1850"}, {12, "1900"}, {17, "1950"}, {22, "2000"}};
    for (auto [k, label] : years) {
        const DrawOp* op = TextOp(p, label);
        ASSERT_NE(op, nullptr) << label;
        EXPECT_NEAR(op->x1, X0 - 150 + 300 * k, 0.01) << label;
        EXPECT_NEAR(op->y1, Y0 + 300, 0.01) << label;
    }
    // v = 10^7 m: y = 8300 - v * 7600 / 1.05e8; the label 100 twips higher, 1000 to the left.
    for (int m = 1; m <= 10; ++m) {
        double y = Y0 - 1e7 * m * 7600 / 1.05e8;
        EXPECT_TRUE(HasLine(p, X0, y, X0 - 200, y, 0.1)) << m;
        const DrawOp* op = TextOp(p, std::to_string(10 * m) + "m");
        ASSERT_NE(op, nullptr) << m;
        EXPECT_NEAR(op->y1, y - 100, 0.1);
        EXPECT_FLOAT_EQ(op->x1, X0 - 1000);
    }
    EXPECT_NEAR(TextOp(p, "100m")->y1, 961.905, 0.1);
    EXPECT_EQ(TextOp(p, "10000000"), nullptr);  // no log labels on time axes
    // 4 axis lines, 4 year ticks, 5 years, 10 population ticks, 10 labels, 2 titles.
    EXPECT_EQ(p.Ops().size(), 35u);
}

TEST(PlotFrameTest, AnyAxisKindOtherThanOneDrawsTimeAxes) {
    Form f;
    f.frame.AxisKind = 2;
    DrawAxes(CanvasOf(f), 105000000.0f, 22.0f, "Population", "Time");
    EXPECT_NE(TextOp(f.Picture1, "1850"), nullptr);
}

TEST(PlotFrameTest, TitlesBelowTheAxisEndAndAboveTheVerticalAxis) {
    Form f;
    f.frame.AxisKind = 1;
    DrawAxes(CanvasOf(f), 17.7f, 5.0f, "Log Population", "Log Rank");
    const auto& ops = f.Picture1.Ops();
    ASSERT_GE(ops.size(), 2u);
    const DrawOp& x = ops[ops.size() - 2];
    const DrawOp& y = ops.back();
    EXPECT_EQ(x.text, "Log Rank");
    EXPECT_EQ(x.x1, 9000 - 1350);
    EXPECT_EQ(x.y1, 9000 - 500);
    EXPECT_EQ(y.text, "Log Population");
    EXPECT_EQ(y.x1, 200);
    EXPECT_EQ(y.y1, 700 - 350);
}

TEST(PlotFrameTest, ZeroRangeIsADivisionByZeroAndKeepsWhatWasDrawn) {
    Form f;
    f.Picture1.Line(1, 1, 2, 2, 0);
    for (auto ranges : {std::pair{0.0f, 5.0f}, std::pair{5.0f, 0.0f}}) {
        try {
            DrawAxes(CanvasOf(f), ranges.first, ranges.second, "y", "x");
            ADD_FAILURE() << "a zero range must not scale the axes";
        } catch (const RunError& e) {
            EXPECT_STREQ(e.what(), "Division by zero");
        }
        ASSERT_EQ(f.Picture1.Ops().size(), 1u);
        EXPECT_EQ(f.Picture1.Ops()[0].x2, 2);
    }
}

TEST(PlotFrameTest, InfiniteOrUndefinedRangeIsAnOverflowNotAFlatPlot) {
    Form f;
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (auto ranges : {std::pair{inf, 5.0f}, std::pair{5.0f, -inf}, std::pair{nan, 5.0f}}) {
        try {
            DrawAxes(CanvasOf(f), ranges.first, ranges.second, "y", "x");
            ADD_FAILURE() << "an infinite range would put every point on the axis";
        } catch (const RunError& e) {
            EXPECT_STREQ(e.what(), "Overflow");
        }
    }
    EXPECT_TRUE(f.Picture1.Ops().empty());
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

TEST(PlotFrameTest, ShortCurvesDrawOnlyTheMarkAndOverlongOnesStopAtTheCapacity) {
    Form f;
    f.frame.AxisKind = 0;
    DrawAxes(CanvasOf(f), 7600.0f, 22.0f, "y", "x");
    const std::size_t axisOps = f.Picture1.Ops().size();
    Vec1<float, 3> xs, ys;
    xs(1) = 1; xs(2) = 2; xs(3) = 3;
    PlotCurve(CanvasOf(f), ys, xs, 1);
    PlotCurve(CanvasOf(f), ys, xs, 0);  // element 1 is read even for n = 0
    EXPECT_EQ(f.Picture1.Ops().size(), axisOps + 2);
    try {
        PlotCurve(CanvasOf(f), ys, xs, 4);
        ADD_FAILURE() << "point 4 lies beyond the arrays";
    } catch (const RunError& e) {
        EXPECT_STREQ(e.what(), "Subscript out of range");
    }
    EXPECT_EQ(f.Picture1.Ops().size(), axisOps + 2 + 3);  // mark and two segments stay
}

TEST(PlotFrameTest, BackgroundChoiceFollowsOnlyPositionOneOfBackMap) {
    Form f;
    f.panel["BackMap"].items = {"Grey", "Black", "Grey", "Black"};
    const std::pair<int, bool> cases[] = {{-1, false}, {0, false}, {1, true}, {2, false}, {3, false}};
    for (auto [index, black] : cases) {
        f.panel["BackMap"].listIndex = index;
        f.frame.AxisColor = 12345;
        ApplyBackgroundChoice(CanvasOf(f), false);
        EXPECT_EQ(f.Picture1.BackColor, black ? Black : LightGrey) << index;
        EXPECT_EQ(f.frame.AxisColor, 12345) << "without the axis colour step";
        ApplyBackgroundChoice(CanvasOf(f), true);
        EXPECT_EQ(f.frame.AxisColor, static_cast<float>(black ? LightGrey : Black)) << index;
        EXPECT_EQ(BlackBackground(f), black);
    }
}

TEST(PlotFrameTest, ClearPictureKeepsTheBackground) {
    Form f;
    f.Picture1.BackColor = Black;
    f.Picture1.Line(0, 0, 1, 1, 5);
    ClearPicture(CanvasOf(f));
    EXPECT_TRUE(f.Picture1.Ops().empty());
    EXPECT_EQ(f.Picture1.BackColor, Black);
}
