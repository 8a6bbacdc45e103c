#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "TestForm.h"
#include "draw/SpirelFace.h"

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

TEST(SpirelFace, RingsSpokesAndLabelsOfTheTwentyTwoDates) {
    auto f = TwentyTwoDates();
    const Colour fg = RGB(200, 200, 200);
    // 9000 x 9000 twips less margins of 700: PlotWidth = PlotHeight = 7600, R = 3800.
    EXPECT_EQ(DrawSpirelFaceProcedure(CanvasOf(*f), DialOf(*f->data), static_cast<float>(fg)), 3800.0f);
    EXPECT_EQ(f->frame.LeftMargin, 700.0f);
    EXPECT_EQ(f->frame.PlotHeight, 7600.0f);

    auto rings = OpsOf(f->Picture1, OpKind::Circle);
    ASSERT_EQ(rings.size(), 5u);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(rings[k].x1, 4500.0f);
        EXPECT_EQ(rings[k].y1, 4500.0f);
        EXPECT_NEAR(rings[k].radius, 3800 - 760 * k, 1e-3) << "ring " << k;
        EXPECT_EQ(rings[k].colour, fg);
    }
    // 21 spokes of length R, spoke t at 2 pi (t - 1) / 21 clockwise from straight up.
    auto spokes = OpsOf(f->Picture1, OpKind::Line);
    ASSERT_EQ(spokes.size(), 21u);
    for (int t = 1; t <= 21; ++t) {
        const double a = ExactTwoPi * (t - 1) / 21;
        EXPECT_EQ(spokes[t - 1].x1, 4500.0f);
        EXPECT_NEAR(spokes[t - 1].x2, 4500 + 3800 * std::sin(a), 0.05) << t;
        EXPECT_NEAR(spokes[t - 1].y2, 4500 - 3800 * std::cos(a), 0.05) << t;
    }
    // Labels "1790" .. "1990" in fg, 11 points, not bold; none for 2000 (it would cover 1790).
    auto labels = OpsOf(f->Picture1, OpKind::Text);
    ASSERT_EQ(labels.size(), 21u);
    for (int t = 1; t <= 21; ++t) {
        EXPECT_EQ(labels[t - 1].text, std::to_string(1780 + 10 * t));
        EXPECT_EQ(labels[t - 1].colour, fg);
        EXPECT_EQ(labels[t - 1].fontSize, 11.0f);
        EXPECT_FALSE(labels[t - 1].bold);
    }
    // Each label centred on its spoke at 1.1 R = 4180: 4 characters of 0.6 x 11 points
    // (528 twips) by a line of 253. Date 1 straight above the centre; date 6, at 10 pi / 21,
    // right of the centre and below date 1's label.
    EXPECT_NEAR(labels[0].x1, 4500 - 264, 1e-3);
    EXPECT_NEAR(labels[0].y1, 4500 - 4180 - 126.5, 1e-3);
    const double a6 = ExactTwoPi * 5 / 21;
    EXPECT_NEAR(labels[5].x1, 4500 + 4180 * std::sin(a6) - 264, 0.05);
    EXPECT_NEAR(labels[5].y1, 4500 - 4180 * std::cos(a6) - 126.5, 0.05);
    EXPECT_GT(labels[5].x1, 4500.0f);
    EXPECT_GT(labels[5].y1, labels[0].y1);
    EXPECT_EQ(f->LoopIndex, 22);  // the shared counter ends at NumDates
}

TEST(SpirelFace, AngleComesBackAFullTurnLater) {
    auto f = TwentyTwoDates();
    const float theta0 = SpirelStartAngle();
    EXPECT_EQ(theta0, 1.57079637f);  // 6.2831853 / 4 to the nearest single
    float angle = -123;              // not read
    DrawSpirelFace(CanvasOf(*f), DialOf(*f->data), angle, 3800, 0);
    EXPECT_NEAR(angle, theta0 + 6.2831853, 2e-6);
    EXPECT_NE(angle, theta0);
}

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
