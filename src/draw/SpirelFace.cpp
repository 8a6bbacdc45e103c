#include "draw/SpirelFace.h"

#include <cmath>

#include "app/Form.h"

float ClearForStatisticsSpirel(Form& f) {
    ClearPicture(f);
    f.Picture1.DrawWidth = 1;
    ApplyBackgroundChoice(f, false);
    return static_cast<float>(BlackBackground(f) ? LightGrey : Black);
}

float SpirelStartAngle() { return static_cast<float>(TwoPi / 4); }

SpirelPoint SpirelPosition(const Form& f, double r, double theta) {
    double cx = f.frame.PicWidth / 2.0, cy = f.frame.PicHeight / 2.0;
    return {static_cast<float>(cx - r * std::cos(theta)), static_cast<float>(cy - r * std::sin(theta))};
}

float DrawSpirelRings(Form& f, float fg) {
    PlotFrame& fr = f.frame;
    Picture& p = f.Picture1;
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

void DrawSpirelSpokes(Form& f, float radius, float fg) {
    const PlotFrame& fr = f.frame;
    Picture& p = f.Picture1;
    const Colour colour = ColourFromFloat(fg);
    const float cx = fr.PicWidth / 2, cy = fr.PicHeight / 2;
    // One spoke fewer than dates: after a full turn the last date shares the first spoke.
    float angle = SpirelStartAngle();
    for (int t = 1; t <= f.data->NumDates - 1; ++t) {
        double X = std::cos(static_cast<double>(angle)) * radius;
        double Y = std::sin(static_cast<double>(angle)) * radius;
        p.Line(cx, cy, static_cast<float>(cx - X), static_cast<float>(cy - Y), colour);
        angle = angle + f.data->AngleStep(t);
    }
}

float DrawSpirelRingsAndSpokes(Form& f, float fg) {
    const float R = DrawSpirelRings(f, fg);
    DrawSpirelSpokes(f, R, fg);
    return R;
}

float DrawSpirelFaceProcedure(Form& f, float fg) {
    float R = DrawSpirelRingsAndSpokes(f, fg);
    float angle = 0;
    DrawSpirelFace(f, angle, R, fg);
    return R;
}

void DrawSpirelFace(Form& f, float& angle, float radius, float colour) {
    Picture& p = f.Picture1;
    p.ForeColor = ColourFromFloat(colour);
    p.FontSize = 11;
    p.FontBold = false;
    angle = SpirelStartAngle();
    const DataSet& d = *f.data;
    for (f.LoopIndex = 1; f.LoopIndex <= d.NumDates - 1; f.LoopIndex = Add16(f.LoopIndex, 1)) {
        double X = std::cos(static_cast<double>(angle)) * radius * 1.1;
        double Y = std::sin(static_cast<double>(angle)) * radius * 1.1;
        p.CurrentX = static_cast<float>(f.frame.PicWidth / 2.0 - (X + 300));
        p.CurrentY = static_cast<float>(f.frame.PicHeight / 2.0 - (Y + 80));
        p.Print(std::string(" ").append(std::to_string(d.DateYear(f.LoopIndex))));
        angle = angle + d.AngleStep(f.LoopIndex);
    }
}
