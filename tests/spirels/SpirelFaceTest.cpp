#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TestForm.h"
#include "draw/SpirelFace.h"

namespace {

// Three cities over the 22 census dates 1790..2000: enough for a full dial.
std::string TwentyTwoDates() {
    std::string csv;
    for (const char* name : {"A", "B", "C"}) {
        csv += std::string("\"") + name + "\"";
        for (int t = 1; t <= 22; ++t) csv += "," + std::to_string(100 * t + (name[0] - 'A'));
        csv += "\n";
    }
    return csv;
}

std::vector<DrawOp> OpsOf(const Picture& p, OpKind kind) {
    std::vector<DrawOp> out;
    for (const DrawOp& op : p.Ops())
        if (op.kind == kind) out.push_back(op);
    return out;
}

constexpr double ExactTwoPi = 6.283185307179586;

}  // namespace

TEST(SpirelFace, RingsSpokesAndLabelsOfTheTwentyTwoDates) {
    auto f = FormWithData(TwentyTwoDates(), 3, 22);
    f->Picture1.Clear();
    const float fg = static_cast<float>(RGB(200, 200, 200));
    const float R = DrawSpirelFaceProcedure(*f, fg);

    // 9000 x 9000 twips with margins of 700: PlotWidth = PlotHeight = 7600, R = 7600 / 2.
    EXPECT_EQ(R, 3800.0f);
    EXPECT_EQ(f->frame.LeftMargin, 700.0f);
    EXPECT_EQ(f->frame.BottomMargin, 700.0f);
    EXPECT_EQ(f->frame.PlotWidth, 7600.0f);

    auto rings = OpsOf(f->Picture1, OpKind::Circle);
    ASSERT_EQ(rings.size(), 5u);
    const float radii[] = {3800, 3040, 2280, 1520, 760};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(rings[k].x1, 4500.0f);
        EXPECT_EQ(rings[k].y1, 4500.0f);
        EXPECT_NEAR(rings[k].radius, radii[k], 1e-3) << "ring " << k;
        EXPECT_EQ(rings[k].colour, RGB(200, 200, 200));
    }

    // 21 spokes, spoke t at 2 pi (t - 1) / 21 clockwise from straight up, each of length R.
    auto spokes = OpsOf(f->Picture1, OpKind::Line);
    ASSERT_EQ(spokes.size(), 21u);
    for (int t = 1; t <= 21; ++t) {
        const DrawOp& s = spokes[t - 1];
        const double a = ExactTwoPi * (t - 1) / 21;
        EXPECT_EQ(s.x1, 4500.0f);
        EXPECT_EQ(s.y1, 4500.0f);
        EXPECT_NEAR(s.x2, 4500 + 3800 * std::sin(a), 0.05) << "spoke " << t;
        EXPECT_NEAR(s.y2, 4500 - 3800 * std::cos(a), 0.05) << "spoke " << t;
        EXPECT_EQ(s.width, 1);
    }

    // 21 labels " 1790" .. " 1990"; the last date has none (it would cover 1790's).
    auto labels = OpsOf(f->Picture1, OpKind::Text);
    ASSERT_EQ(labels.size(), 21u);
    for (int t = 1; t <= 21; ++t) EXPECT_EQ(labels[t - 1].text, " " + std::to_string(1780 + 10 * t));
    for (const DrawOp& l : labels) {
        EXPECT_NE(l.text, " 2000");
        EXPECT_EQ(l.colour, RGB(200, 200, 200));
        EXPECT_EQ(l.fontSize, 11.0f);
        EXPECT_FALSE(l.bold);
    }
    // Date 1: top left corner at (cx - 300, cy - 1.1 R - 80) = (4200, 240).
    EXPECT_NEAR(labels[0].x1, 4200.0, 1e-3);
    EXPECT_NEAR(labels[0].y1, 240.0, 1e-3);
    // Date 6, five steps on: right of the centre, below the label of date 1. On the circle of
    // 1.1 R = 4180 at 10 pi / 21 from the top: x = 4500 + 4180 sin - 300, y = 4500 - 4180 cos - 80.
    const double a6 = ExactTwoPi * 5 / 21;
    EXPECT_GT(labels[5].x1, 4500.0f);
    EXPECT_GT(labels[5].y1, labels[0].y1);
    EXPECT_NEAR(labels[5].x1, 4500 + 4180 * std::sin(a6) - 300, 0.05);
    EXPECT_NEAR(labels[5].y1, 4500 - 4180 * std::cos(a6) - 80, 0.05);

    // The routine leaves its font and colour in force and the shared counter at NumDates.
    EXPECT_EQ(f->Picture1.ForeColor, RGB(200, 200, 200));
    EXPECT_EQ(f->Picture1.FontSize, 11.0f);
    EXPECT_EQ(f->LoopIndex, 22);
}

TEST(SpirelFace, AngleComesBackAFullTurnLater) {
    auto f = FormWithData(TwentyTwoDates(), 3, 22);
    const float theta0 = SpirelStartAngle();
    // 6.2831853 / 4 = 1.570796325, whose nearest single is 1.57079637.
    EXPECT_EQ(theta0, 1.57079637f);
    float angle = -123;  // not read
    DrawSpirelFace(*f, angle, 3800, 0);
    EXPECT_NEAR(angle, theta0 + 6.2831853, 2e-6);
    EXPECT_NE(angle, theta0);
    EXPECT_GT(angle, 7.8f);
}

TEST(SpirelFace, RadiusFromTheShorterSideAndCentreFromBoth) {
    auto f = FormWithData(TwentyTwoDates(), 3, 22);
    f->Picture1.Width = 12000;
    f->Picture1.Height = 9000;
    f->Picture1.Clear();
    // PlotWidth = 10600 > PlotHeight = 7600: R = 3800, centre (6000, 4500).
    EXPECT_EQ(DrawSpirelRingsAndSpokes(*f, 0), 3800.0f);
    auto rings = OpsOf(f->Picture1, OpKind::Circle);
    EXPECT_EQ(rings[0].x1, 6000.0f);
    EXPECT_EQ(rings[0].y1, 4500.0f);
    auto spokes = OpsOf(f->Picture1, OpKind::Line);
    EXPECT_NEAR(spokes[0].x2, 6000, 1e-3);
    EXPECT_NEAR(spokes[0].y2, 700, 1e-3);
    // No labels from this half.
    EXPECT_TRUE(OpsOf(f->Picture1, OpKind::Text).empty());

    f->Picture1.Width = 7000;  // PlotWidth = 5600 < PlotHeight = 7600
    f->Picture1.Clear();
    EXPECT_EQ(DrawSpirelRingsAndSpokes(*f, 0), 2800.0f);
}

TEST(SpirelFace, PositionTurnsClockwiseFromTheTop) {
    auto f = FormWithData(TwentyTwoDates(), 3, 22);
    f->Picture1.Clear();
    DrawSpirelRingsAndSpokes(*f, 0);
    const double quarter = SpirelStartAngle();
    SpirelPoint up = SpirelPosition(*f, 1000, quarter);
    EXPECT_NEAR(up.x, 4500, 1e-3);
    EXPECT_NEAR(up.y, 3500, 1e-3);
    SpirelPoint right = SpirelPosition(*f, 1000, quarter + 3.14159265 / 2);
    EXPECT_NEAR(right.x, 5500, 1e-3);
    EXPECT_NEAR(right.y, 4500, 1e-3);
}
