#include "draw/PlotFrame.h"

#include <algorithm>
#include <cmath>

#include "draw/Canvas.h"
#include "draw/Contrast.h"
#include "draw/Thinning.h"
#include "draw/Ticks.h"

void ApplyBackgroundChoice(const Canvas& c, bool setAxisColor) {
    c.pic.BackColor = c.black ? Black : LightGrey;
    if (setAxisColor) c.frame.AxisColor = static_cast<float>(c.black ? LightGrey : Black);
}

void ClearPicture(const Canvas& c) { c.pic.Clear(); }

void PrintAt(Picture& p, double x, double y, const std::string& text) {
    p.CurrentX = static_cast<float>(x);
    p.CurrentY = static_cast<float>(y);
    p.Print(text);
}

namespace {

// The ticks and labels of the range a zoom shows: values chosen anew for that range, at the
// positions the zoom gives them; labels keep their size.
template <class Seg>
void DrawZoomedTicks(const Canvas& c, const Axes& axes, const Seg& seg) {
    const PlotFrame& fr = c.frame;
    Picture& p = c.pic;
    const ViewRect& area = p.ZoomArea;
    const ViewRect shown = p.View.Shown(area);
    const double X0 = area.left, Y0 = area.bottom;
    // The data range shown along each axis, and twips per data unit at the zoom.
    const double ax0 = (shown.left - X0) / fr.XScale, ax1 = (shown.right - X0) / fr.XScale;
    const double ay0 = (Y0 - shown.bottom) / fr.YScale, ay1 = (Y0 - shown.top) / fr.YScale;
    const double sx = fr.XScale * p.View.ScaleX(area), sy = fr.YScale * p.View.ScaleY(area);
    auto within = [](std::vector<Tick> ticks, double lo, double hi) {
        std::vector<Tick> kept;
        const double eps = (hi - lo) * 1e-6;
        for (Tick& t : ticks)
            if (t.at >= lo - eps && t.at <= hi + eps) kept.push_back(std::move(t));
        return kept;
    };
    auto ticksFor = [&](AxisScale scale, double lo, double hi, double perUnit, bool horizontal) {
        // A value at the very edge of the range (single-precision scales) still gets its tick.
        const double slack = (hi - lo) * 1e-6;
        std::vector<Tick> ticks = scale == AxisScale::Log ? LogTicksIn(lo - slack, hi + slack) : LinearTicks(lo - slack, hi + slack);
        return Thinned(within(std::move(ticks), lo, hi), perUnit, p.FontSize, horizontal);
    };
    std::vector<Tick> xs;
    if (axes.x == AxisScale::Years) {
        const YearSpan& y = axes.years;
        const double perYear = y.last == y.first ? 0 : (y.xLast - y.xFirst) / (y.last - y.first);
        if (perYear > 0) {
            const int first = static_cast<int>(std::ceil(y.first + (ax0 - y.xFirst) / perYear - 1e-9));
            const int last = static_cast<int>(std::floor(y.first + (ax1 - y.xFirst) / perYear + 1e-9));
            auto at = [&](int year) { return y.xFirst + (year - y.first) * perYear; };
            if (last >= first) xs = within(YearTicks(first, last, at(first), at(last), sx, p.FontSize), ax0, ax1);
        }
    } else {
        xs = ticksFor(axes.x, ax0, ax1, sx, true);
    }
    const std::vector<Tick> ys = ticksFor(axes.y, ay0, ay1, sy, false);
    const double h = LabelHeight(p.FontSize);
    for (const Tick& t : xs) {
        const double x = X0 + (t.at - ax0) * sx;
        seg(x, Y0, x, Y0 + 200);
        const double w = LabelWidth(t.label, p.FontSize);
        PrintAt(p, std::clamp(x - w / 2, 0.0, fr.PicWidth - w), Y0 + 230, t.label);
    }
    for (const Tick& t : ys) {
        const double y = Y0 - (t.at - ay0) * sy;
        seg(X0, y, X0 - 200, y);
        PrintAt(p, std::max(0.0, X0 - 250 - LabelWidth(t.label, p.FontSize)), y - h / 2, t.label);
    }
}

}  // namespace

void SetPlotMargins(const Canvas& c) {
    PlotFrame& fr = c.frame;
    fr.LeftMargin = fr.RightMargin = 1200;
    fr.TopMargin = fr.BottomMargin = 700;
    fr.PicWidth = c.pic.Width;
    fr.PicHeight = c.pic.Height;
    fr.PlotWidth = fr.PicWidth - fr.LeftMargin - fr.RightMargin;
    fr.PlotHeight = fr.PicHeight - fr.TopMargin - fr.BottomMargin;
}

void DrawAxes(const Canvas& c, float yRange, float xRange, const std::string& yTitle, const std::string& xTitle,
              const Axes& axes) {
    PlotFrame& fr = c.frame;
    Picture& p = c.pic;
    const Colour axis = InkFor(p.BackColor);
    p.FontSize = 9;
    p.ForeColor = axis;
    p.DrawWidth = 1;
    p.MapIntoView(false);
    fr.AxisKind = axes.x == AxisScale::Log && axes.y == AxisScale::Log ? 1 : 0;
    SetPlotMargins(c);
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

    p.ZoomArea = ViewRect{X0, fr.TopMargin, XR, Y0};
    const double h = LabelHeight(p.FontSize);
    if (p.View.zoomed) {
        DrawZoomedTicks(c, axes, seg);
    } else {
    auto inRange = [](const std::vector<Tick>& ticks, double range) {
        std::vector<Tick> kept;
        for (const Tick& t : ticks)
            if (t.at >= 0 && t.at <= range * (1 + 1e-6)) kept.push_back(t);
        return kept;
    };
    std::vector<Tick> xs;
    if (axes.x == AxisScale::Years) {
        const YearSpan& y = axes.years;
        xs = inRange(YearTicks(y.first, y.last, y.xFirst, y.xLast, fr.XScale, p.FontSize), xRange);
    } else {
        xs = inRange(axes.x == AxisScale::Log ? LogTicks(xRange) : LinearTicks(0, xRange), xRange);
        xs = Thinned(xs, fr.XScale, p.FontSize, true);
    }
    std::vector<Tick> ys = inRange(axes.y == AxisScale::Log ? LogTicks(yRange) : LinearTicks(0, yRange), yRange);
    ys = Thinned(ys, fr.YScale, p.FontSize, false);
    // Labels centred under their ticks and right-aligned beside them, clear of the tick ends.
    for (const Tick& t : xs) {
        const double x = X0 + t.at * fr.XScale;
        if (t.at > 0) seg(x, Y0, x, Y0 + 200);
        const double w = LabelWidth(t.label, p.FontSize);
        PrintAt(p, std::clamp(x - w / 2, 0.0, fr.PicWidth - w), Y0 + 230, t.label);
    }
    for (const Tick& t : ys) {
        const double y = Y0 - t.at * fr.YScale;
        if (t.at > 0) seg(X0, y, X0 - 200, y);
        PrintAt(p, std::max(0.0, X0 - 250 - LabelWidth(t.label, p.FontSize)), y - h / 2, t.label);
    }
    }
    p.ForeColor = axis;
    // The x title below the x labels, ending inside the picture; the y title above the top label.
    const double xTitleWidth = LabelWidth(xTitle, p.FontSize);
    PrintAt(p, std::max(0.0, fr.PicWidth - 100 - xTitleWidth), Y0 + 230 + h + 20, xTitle);
    PrintAt(p, 200, fr.TopMargin - 350, yTitle);
    // What the plot draws from here on is data: it goes through the zoom.
    p.MapIntoView(true);
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
    // A long curve skips the points within a pixel (15 twips) of the last one drawn; its
    // last point is always drawn. Short curves draw every point.
    const bool merge = n > MaxCurvePoints;
    // A pixel of the zoomed picture is fewer twips of the layout.
    const float pixelX = p.MappingIntoView() ? static_cast<float>(15 / p.View.ScaleX(p.ZoomArea)) : 15.0f;
    const float pixelY = p.MappingIntoView() ? static_cast<float>(15 / p.View.ScaleY(p.ZoomArea)) : 15.0f;
    for (c.LoopIndex = 2; c.LoopIndex <= n; ++c.LoopIndex) {
        const float nx = px(c.LoopIndex), ny = py(c.LoopIndex);
        if (merge && c.LoopIndex < n && std::fabs(nx - x) < pixelX && std::fabs(ny - y) < pixelY) continue;
        p.CurrentTag.point = c.LoopIndex;
        p.LineTo(nx, ny, colour);
        x = nx;
        y = ny;
    }
    p.CurrentTag = tag;
}

void AddFadeKey(int t, int numDates, int year, Colour colour, std::vector<KeyEntry>& key) {
    if (t == 1 || t == numDates || t == (numDates + 1) / 2) key.push_back({std::to_string(year), colour, 2});
}

void DrawKey(const Canvas& c, const std::vector<KeyEntry>& entries, bool inPictureCorner) {
    Picture& p = c.pic;
    const PlotFrame& fr = c.frame;
    const float savedSize = p.FontSize;
    const int16_t savedWidth = p.DrawWidth;
    // In the picture's corner, between the dial's year labels, it keeps to a smaller font.
    p.FontSize = inPictureCorner ? 7 : 8;
    const float stroke = inPictureCorner ? 300 : 400, gap = 120;
    float width = stroke + gap;
    for (const auto& e : entries) width = std::max(width, stroke + gap + static_cast<float>(LabelWidth(e.name, p.FontSize)));
    const float x = inPictureCorner ? fr.PicWidth - width - 20 : fr.PicWidth - fr.RightMargin - width - 100;
    float y = inPictureCorner ? 20 : fr.TopMargin + 100;
    const OpTag tag = p.CurrentTag;
    const bool mapping = p.MappingIntoView();
    p.MapIntoView(false);  // the key stays where it is at any zoom
    p.CurrentTag = OpTag{0, 0, KeySeries};
    for (const auto& e : entries) {
        const float mid = y + p.TextHeight() / 2;
        p.DrawWidth = e.width;
        p.Line(x, mid, x + stroke, mid, e.colour);
        p.ForeColor = InkFor(p.BackColor);
        PrintAt(p, x + stroke + gap, y, e.name);
        y += p.TextHeight();
    }
    p.CurrentTag = tag;
    p.MapIntoView(mapping);
    p.FontSize = savedSize;
    p.DrawWidth = savedWidth;
}
