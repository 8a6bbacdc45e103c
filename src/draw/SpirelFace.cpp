#include "draw/SpirelFace.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "draw/Canvas.h"
#include "draw/Ticks.h"

float ClearForStatisticsSpirel(const Canvas& c) {
    ClearPicture(c);
    c.pic.DrawWidth = 1;
    ApplyBackgroundChoice(c, false);
    return static_cast<float>(c.black ? LightGrey : Black);
}

float SpirelStartAngle() { return static_cast<float>(TwoPi / 4); }

SpirelPoint SpirelPosition(const PlotFrame& frame, double r, double theta) {
    double cx = frame.PicWidth / 2.0, cy = frame.PicHeight / 2.0;
    return {static_cast<float>(cx - r * std::cos(theta)), static_cast<float>(cy - r * std::sin(theta))};
}

float DrawSpirelRings(const Canvas& c, float fg) {
    PlotFrame& fr = c.frame;
    Picture& p = c.pic;
    const Colour colour = ColourFromFloat(fg);
    fr.LeftMargin = fr.RightMargin = fr.TopMargin = fr.BottomMargin = 700;
    fr.PicWidth = p.Width;
    fr.PicHeight = p.Height;
    fr.PlotWidth = fr.PicWidth - fr.LeftMargin - fr.RightMargin;
    fr.PlotHeight = fr.PicHeight - fr.TopMargin - fr.BottomMargin;
    const float R = fr.PlotWidth <= fr.PlotHeight ? fr.PlotWidth / 2 : fr.PlotHeight / 2;
    const float cx = fr.PicWidth / 2, cy = fr.PicHeight / 2;
    const float step = R / 5;
    float r = R;
    for (int k = 1; k <= 5; ++k) {
        p.Circle(cx, cy, r, colour);
        r = r - step;
    }
    return R;
}

void DrawSpirelSpokes(const Canvas& c, const DialDates& dates, float radius, float fg) {
    const PlotFrame& fr = c.frame;
    Picture& p = c.pic;
    const Colour colour = ColourFromFloat(fg);
    const float cx = fr.PicWidth / 2, cy = fr.PicHeight / 2;
    // One spoke fewer than dates: after a full turn the last date shares the first spoke.
    float angle = SpirelStartAngle();
    for (int t = 1; t <= dates.NumDates - 1; ++t) {
        double X = std::cos(static_cast<double>(angle)) * radius;
        double Y = std::sin(static_cast<double>(angle)) * radius;
        p.Line(cx, cy, static_cast<float>(cx - X), static_cast<float>(cy - Y), colour);
        angle = angle + dates.AngleStep(t);
    }
}

float DrawSpirelRingsAndSpokes(const Canvas& c, const DialDates& dates, float fg) {
    const float R = DrawSpirelRings(c, fg);
    DrawSpirelSpokes(c, dates, R, fg);
    return R;
}

float DrawSpirelFaceProcedure(const Canvas& c, const DialDates& dates, float fg) {
    float R = DrawSpirelRingsAndSpokes(c, dates, fg);
    float angle = 0;
    DrawSpirelFace(c, dates, angle, R, fg);
    return R;
}

void DrawSpirelFace(const Canvas& c, const DialDates& dates, float& angle, float radius, float colour) {
    Picture& p = c.pic;
    p.ForeColor = ColourFromFloat(colour);
    p.FontSize = 11;
    p.FontBold = false;
    angle = SpirelStartAngle();
    // Each year centred on its spoke's extension at 1.1 R, kept inside the picture; a year
    // whose label would touch the last one printed (or the first) is left out.
    const double h = LabelHeight(p.FontSize);
    struct Box {
        double x, y, w;
    };
    std::vector<Box> kept;
    auto touches = [&](const Box& a, const Box& b) {
        return a.x < b.x + b.w + 40 && b.x < a.x + a.w + 40 && a.y < b.y + h && b.y < a.y + h;
    };
    for (c.LoopIndex = 1; c.LoopIndex <= dates.NumDates - 1; c.LoopIndex = Add16(c.LoopIndex, 1)) {
        double X = std::cos(static_cast<double>(angle)) * radius * 1.1;
        double Y = std::sin(static_cast<double>(angle)) * radius * 1.1;
        const std::string label = std::to_string(dates.Year(c.LoopIndex));
        const double w = LabelWidth(label, p.FontSize);
        const Box box{std::clamp(c.frame.PicWidth / 2.0 - X - w / 2, 0.0, c.frame.PicWidth - w),
                      std::clamp(c.frame.PicHeight / 2.0 - Y - h / 2, 0.0, c.frame.PicHeight - h), w};
        if (kept.empty() || (!touches(box, kept.back()) && !touches(box, kept.front()))) {
            kept.push_back(box);
            p.CurrentX = static_cast<float>(box.x);
            p.CurrentY = static_cast<float>(box.y);
            p.Print(label);
        }
        angle = angle + dates.AngleStep(c.LoopIndex);
    }
}
