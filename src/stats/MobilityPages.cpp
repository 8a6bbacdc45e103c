#include "stats/MobilityPages.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "data/DataSet.h"
#include "data/Ranking.h"
#include "draw/Canvas.h"
#include "draw/Ticks.h"
#include "stats/Mobility.h"

namespace {

// Mid-luminance colours (relative luminance about 0.13 to 0.17), so each stands out about
// equally from the grey 200 and from the black background.
const Colour TauColour = RGB(40, 80, 255);
const Colour TurnoverColour = RGB(180, 90, 0);
const Colour ShiftColour = RGB(180, 0, 180);

std::string Label(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// The smallest of 1, 2, 2.5, 5, 10 times a power of ten at or above v (v > 0), so the
// right-hand axis splits into four round steps.
double RoundTop(double v) {
    if (!(v > 0)) return 1;
    const double power = std::pow(10.0, std::floor(std::log10(v)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * power >= v * (1 - 1e-12)) return m * power;
    return 10 * power;
}

// The right-hand axis of the mean shift, 0..shiftTop, its ticks at the heights of 0, .25, .5, .75
// and 1 on the left axis.
void DrawValueAxes(const Canvas& c, double shiftTop) {
    const PlotFrame& fr = c.frame;
    Picture& p = c.pic;
    const Colour axis = ColourFromFloat(fr.AxisColor);
    const double XR = fr.PicWidth - fr.RightMargin, Y0 = fr.PicHeight - fr.BottomMargin;
    // An axis, not data: it stays at the plot's edge at any zoom.
    p.MapIntoView(false);
    p.Line(static_cast<float>(XR), fr.TopMargin, static_cast<float>(XR), static_cast<float>(Y0), axis);
    p.ForeColor = axis;
    auto tick = [&](double y, const std::string& label) {
        p.Line(static_cast<float>(XR), static_cast<float>(y), static_cast<float>(XR + 120), static_cast<float>(y), axis);
        PrintAt(p, XR + 180, y - 110, label);
    };
    if (p.View.zoomed && !p.ZoomArea.Empty()) {
        // The shift range the zoom shows, ticked anew (shiftTop is 1 on the left axis).
        const ViewRect& area = p.ZoomArea;
        const ViewRect shown = p.View.Shown(area);
        const double lo = (Y0 - shown.bottom) / fr.YScale * shiftTop, hi = (Y0 - shown.top) / fr.YScale * shiftTop;
        const double perRank = fr.YScale * p.View.ScaleY(area) / shiftTop, slack = 1e-6 * (hi - lo);
        for (const Tick& t : Thinned(LinearTicks(lo - slack, hi + slack, 5), perRank, p.FontSize, false))
            if (t.at >= lo - slack && t.at <= hi + slack) tick(Y0 - (t.at - lo) * perRank, t.label);
    } else {
        for (int k = 0; k <= 4; ++k) tick(Y0 - 0.25 * k * fr.YScale, Label(shiftTop * 0.25 * k));
    }
    PrintAt(p, XR - 1200, fr.TopMargin - 350, "Mean shift (ranks)");
    p.MapIntoView(true);
}

}  // namespace

void Mobility(const DataSet& d, const RankTables& r, MobilityState& s, const Canvas& c) {
    MobilityState fresh = ComputeMobility(d, r);  // throws before anything changes
    s = std::move(fresh);
    c.text.Clear();
    PrintMobility(s, c.text);

    Picture& p = c.pic;
    const PlotFrame saved = c.frame;
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    c.frame.AxisKind = 0;
    const int T = d.NumDates;
    // Head room above 1 keeps the key clear of the curves.
    DrawAxes(c, 1.2f, static_cast<float>(T * 1.1), "Tau_b, turnover", "Time",
             Axes{AxisScale::Years, AxisScale::Linear, {d.DateYear(1), d.DateYear(T), 0.0, static_cast<double>(T)}});
    double maxShift = 0;
    for (const MobilityPair& m : s.pairs) maxShift = std::max(maxShift, static_cast<double>(m.meanShift));
    const double shiftTop = RoundTop(maxShift);
    DrawValueAxes(c, shiftTop);

    const PlotFrame& fr = c.frame;
    auto px = [&](int t) { return static_cast<float>(fr.LeftMargin + T * d.TimeFraction(t) * static_cast<double>(fr.XScale)); };
    auto py = [&](double v) { return static_cast<float>(fr.PicHeight - fr.BottomMargin - v * fr.YScale); };
    struct Curve {
        Colour colour;
        double (*value)(const MobilityPair&, double shiftTop);
    };
    const Curve curves[] = {
        {TauColour, [](const MobilityPair& m, double) { return m.kendall.tau; }},
        {TurnoverColour, [](const MobilityPair& m, double) { return m.turnover; }},
        {ShiftColour, [](const MobilityPair& m, double top) { return m.meanShift / top; }},
    };
    p.DrawWidth = 2;
    for (const Curve& curve : curves) {
        // Pair i ends at date i + 2; a pair without a value (tau_b of all ties) breaks the line.
        BrokenPath path(p, curve.colour);
        for (std::size_t i = 0; i < s.pairs.size(); ++i) {
            const int t = static_cast<int>(i) + 2;
            const double v = curve.value(s.pairs[i], shiftTop);
            p.CurrentTag = OpTag{0, static_cast<int16_t>(t), MobilityPairSeries};
            if (!std::isfinite(v)) {
                path.Break();
                continue;
            }
            const float x = px(t), y = py(v);
            path.To(x, y);
            p.Circle(x, y, 45, curve.colour);  // leaves the position at (x, y) for the next segment
        }
    }
    p.CurrentTag = OpTag{};
    DrawKey(c, {{"Kendall tau_b (left)", TauColour}, {"Turnover (left)", TurnoverColour},
                {"Mean shift (right)", ShiftColour}});
    p.DrawWidth = 1;
    c.frame = saved;
}

void NextMobility(const MobilityState& s, TextSurface& out) {
    out.Clear();
    PrintMobilityMatrix(s, out);
}
