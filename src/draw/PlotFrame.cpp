#include "draw/PlotFrame.h"

#include <algorithm>
#include <cmath>

#include "draw/Canvas.h"

void ApplyBackgroundChoice(const Canvas& c, bool setAxisColor) {
    c.pic.BackColor = c.black ? Black : LightGrey;
    if (setAxisColor) c.frame.AxisColor = static_cast<float>(c.black ? LightGrey : Black);
}

void ClearPicture(const Canvas& c) { c.pic.Clear(); }

namespace {

void PrintAt(Picture& p, double x, double y, const std::string& text) {
    p.CurrentX = static_cast<float>(x);
    p.CurrentY = static_cast<float>(y);
    p.Print(text);
}

void DrawTimeAxes(const Canvas& c, Colour axis, double X0, double Y0) {
    PlotFrame& fr = c.frame;
    Picture& p = c.pic;
    for (int k : {7, 12, 17, 22}) {
        double x = X0 + k * static_cast<double>(fr.XScale);
        p.Line(static_cast<float>(x), static_cast<float>(Y0), static_cast<float>(x), static_cast<float>(Y0 + 200), axis);
    }
    const std::pair<int, const char*> years[] = {{0, "1790"}, {7, "1850"}, {12, "1900"}, {17, "1950"}, {22, "2000"}};
    for (auto [k, label] : years) PrintAt(p, X0 - 150 + k * static_cast<double>(fr.XScale), Y0 + 300, label);
    for (int m = 1; m <= 10; ++m) {
        double v = 10000000.0 * m;
        double y = Y0 - v * fr.YScale;
        p.Line(static_cast<float>(X0), static_cast<float>(y), static_cast<float>(X0 - 200), static_cast<float>(y), axis);
    }
    for (int m = 1; m <= 10; ++m) {
        double v = 10000000.0 * m;
        PrintAt(p, X0 - 1000, Y0 - v * fr.YScale - 100, std::to_string(10 * m) + "m");
    }
}

void DrawLogAxes(const Canvas& c, Colour axis, double X0, double Y0) {
    PlotFrame& fr = c.frame;
    Picture& p = c.pic;
    PrintAt(p, X0 - 100, Y0 + 300, "1");
    for (int v : {10, 100}) {
        double x = X0 + std::log(static_cast<double>(v)) * fr.XScale;
        p.Line(static_cast<float>(x), static_cast<float>(Y0), static_cast<float>(x), static_cast<float>(Y0 + 200), axis);
        PrintAt(p, X0 - 100 + std::log(static_cast<double>(v)) * fr.XScale, Y0 + 300, std::to_string(v));
    }
    for (double v = 10; v <= 10000000; v *= 10) {
        double y = Y0 - std::log(v) * fr.YScale;
        p.Line(static_cast<float>(X0), static_cast<float>(y), static_cast<float>(X0 - 200), static_cast<float>(y), axis);
    }
    long v = 1;
    for (int e = 0; e <= 7; ++e, v *= 10)
        PrintAt(p, X0 - 1000, Y0 - std::log(static_cast<double>(v)) * fr.YScale - 100, std::to_string(v));
}

}  // namespace

void DrawAxes(const Canvas& c, float yRange, float xRange, const std::string& yTitle, const std::string& xTitle) {
    PlotFrame& fr = c.frame;
    Picture& p = c.pic;
    const Colour axis = ColourFromFloat(fr.AxisColor);
    p.FontSize = 9;
    p.ForeColor = axis;
    p.DrawWidth = 1;
    fr.LeftMargin = fr.RightMargin = 1200;
    fr.TopMargin = fr.BottomMargin = 700;
    fr.PicWidth = p.Width;
    fr.PicHeight = p.Height;
    fr.PlotWidth = fr.PicWidth - fr.LeftMargin - fr.RightMargin;
    fr.PlotHeight = fr.PicHeight - fr.TopMargin - fr.BottomMargin;
    // An infinite range is a single-precision overflow upstream; it would scale everything to 0.
    if (!std::isfinite(yRange) || !std::isfinite(xRange)) throw RunError("Overflow");
    fr.YScale = static_cast<float>(Divide(fr.PlotHeight, yRange));
    fr.XScale = static_cast<float>(Divide(fr.PlotWidth, xRange));

    const double X0 = fr.LeftMargin;
    const double Y0 = fr.PicHeight - fr.BottomMargin;
    const double XR = fr.PicWidth - fr.RightMargin;
    auto seg = [&](double x1, double y1, double x2, double y2) {
        p.Line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2), static_cast<float>(y2), axis);
    };
    seg(X0, fr.TopMargin, X0, Y0);
    seg(X0, Y0, XR, Y0);
    seg(X0, Y0, X0 - 200, Y0);
    seg(X0, Y0, X0, Y0 + 200);
    if (fr.AxisKind != 1)
        DrawTimeAxes(c, axis, X0, Y0);
    else
        DrawLogAxes(c, axis, X0, Y0);
    p.ForeColor = axis;
    PrintAt(p, fr.PicWidth - 1350, fr.PicHeight - 500, xTitle);
    PrintAt(p, 200, fr.TopMargin - 350, yTitle);
}

void PlotCurveImpl(const Canvas& c, const float* ys, std::size_t ysCap, const float* xs, std::size_t xsCap, int n) {
    const PlotFrame& fr = c.frame;
    Picture& p = c.pic;
    auto px = [&](int k) {
        if (k > static_cast<int>(xsCap)) throw RunError("Subscript out of range");
        return static_cast<float>(static_cast<double>(xs[k - 1]) * fr.XScale + fr.LeftMargin);
    };
    auto py = [&](int k) {
        if (k > static_cast<int>(ysCap)) throw RunError("Subscript out of range");
        return static_cast<float>(static_cast<double>(fr.PlotHeight) + fr.TopMargin -
                                  static_cast<double>(ys[k - 1]) * fr.YScale);
    };
    const OpTag tag = p.CurrentTag;
    float x = px(1), y = py(1);
    p.CurrentTag.point = 1;
    p.Line(x, y, x, y, Black);
    const Colour colour = ColourFromFloat(fr.PlotColor);
    for (c.LoopIndex = 2; c.LoopIndex <= n; c.LoopIndex = Add16(c.LoopIndex, 1)) {
        p.CurrentTag.point = c.LoopIndex;
        p.LineTo(px(c.LoopIndex), py(c.LoopIndex), colour);
    }
    p.CurrentTag = tag;
}

void DrawKey(const Canvas& c, const std::vector<KeyEntry>& entries) {
    Picture& p = c.pic;
    const PlotFrame& fr = c.frame;
    const float savedSize = p.FontSize;
    const int16_t savedWidth = p.DrawWidth;
    p.FontSize = 8;
    std::size_t longest = 0;
    for (const auto& e : entries) longest = std::max(longest, e.name.size());
    // About 0.6 em per character of the sans-serif label font, 20 twips per point.
    const float stroke = 400, gap = 120;
    const float width = stroke + gap + static_cast<float>(longest) * p.FontSize * 20 * 0.6f;
    const float x = fr.PicWidth - fr.RightMargin - width - 100;
    float y = fr.TopMargin + 100;
    for (const auto& e : entries) {
        const float mid = y + p.TextHeight() / 2;
        p.DrawWidth = e.width;
        p.Line(x, mid, x + stroke, mid, e.colour);
        p.ForeColor = ColourFromFloat(fr.AxisColor);
        PrintAt(p, x + stroke + gap, y, e.name);
        y += p.TextHeight();
    }
    p.FontSize = savedSize;
    p.DrawWidth = savedWidth;
}
