#include "stats/TailFitPlots.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "draw/Colours.h"
#include "draw/Ticks.h"

namespace {

// Both readable on the grey (200) and the black background.
constexpr Colour GiColour = SeriesBlue;
constexpr Colour MleColour = SeriesOrange;
constexpr Colour LognormalColour = SeriesGreen;
constexpr float PointRadius = 35;

std::string Number(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", v);
    return buf;
}

// A linear or decade axis from lo to hi in data units, with ticks and labels; the frame
// maps data (u, v) to twips once both are set.
struct Scale {
    double lo = 0, hi = 1;
};

// The frame of a plot whose axes this file draws itself: margins as DrawAxes sets them,
// the picture cleared, the background applied.
struct Frame {
    const Canvas& c;
    Scale u, v;
    double X0 = 0, Y0 = 0;

    Frame(const Canvas& cv, Scale x, Scale y) : c(cv), u(x), v(y) {
        PlotFrame& fr = c.frame;
        SetPlotMargins(c);
        fr.XScale = static_cast<float>(fr.PlotWidth / (u.hi - u.lo));
        fr.YScale = static_cast<float>(fr.PlotHeight / (v.hi - v.lo));
        X0 = fr.LeftMargin;
        Y0 = fr.PicHeight - fr.BottomMargin;
    }
    float X(double a) const { return static_cast<float>(X0 + (a - u.lo) * c.frame.XScale); }
    float Y(double b) const {
        return static_cast<float>(Y0 - (std::clamp(b, v.lo, v.hi) - v.lo) * c.frame.YScale);
    }
    Colour Axis() const { return ColourFromFloat(c.frame.AxisColor); }

    void Label(double x, double y, const std::string& text) const {
        c.pic.ForeColor = Axis();
        PrintAt(c.pic, x, y, text);
    }
    void XTick(double a, const std::string& text) const { XTickAt(X(a), text); }
    void YTick(double b, const std::string& text) const { YTickAt(Y(b), text); }
    void XTickAt(float x, const std::string& text) const {
        c.pic.Line(x, static_cast<float>(Y0), x, static_cast<float>(Y0 + 200), Axis());
        Label(x - 60.0 * static_cast<double>(text.size()), Y0 + 230, text);
    }
    void YTickAt(float y, const std::string& text) const {
        c.pic.Line(static_cast<float>(X0), y, static_cast<float>(X0 - 200), y, Axis());
        Label(X0 - 300 - 120.0 * static_cast<double>(text.size()), y - 100, text);
    }

    // The plot area is what a zoom magnifies; axes re-tick for the range it shows.
    ViewRect Area() const { return ViewRect{X0, c.frame.TopMargin, c.frame.PicWidth - c.frame.RightMargin, Y0}; }
    bool Zoomed() const { return c.pic.View.zoomed; }
    // The data range the zoom shows along each axis.
    Scale ShownU() const {
        const ViewRect s = c.pic.View.Shown(Area());
        return {u.lo + (s.left - X0) / c.frame.XScale, u.lo + (s.right - X0) / c.frame.XScale};
    }
    Scale ShownV() const {
        const ViewRect s = c.pic.View.Shown(Area());
        return {v.lo + (Y0 - s.bottom) / c.frame.YScale, v.lo + (Y0 - s.top) / c.frame.YScale};
    }
    // Ticks (positions in data units) of the zoomed range, at the places the zoom shows them.
    void ZoomedTicks(const std::vector<Tick>& xs, const std::vector<Tick>& ys) const {
        const ViewRect area = Area();
        const ViewRange& view = c.pic.View;
        const Scale su = ShownU(), sv = ShownV();
        const double sx = c.frame.XScale * view.ScaleX(area), sy = c.frame.YScale * view.ScaleY(area);
        auto inside = [](double a, const Scale& r) {
            const double eps = (r.hi - r.lo) * 1e-6;
            return a >= r.lo - eps && a <= r.hi + eps;
        };
        for (const Tick& t : Thinned(xs, sx, c.pic.FontSize, true))
            if (inside(t.at, su)) XTickAt(static_cast<float>(X0 + (t.at - su.lo) * sx), t.label);
        for (const Tick& t : Thinned(ys, sy, c.pic.FontSize, false))
            if (inside(t.at, sv)) YTickAt(static_cast<float>(Y0 - (t.at - sv.lo) * sy), t.label);
    }
    // Data from here on goes through the zoom, clipped to the plot area.
    void StartData() const {
        c.pic.ZoomArea = Area();
        c.pic.MapIntoView(true);
    }
    void Box(const std::string& yTitle, const std::string& xTitle) const {
        const PlotFrame& fr = c.frame;
        c.pic.FontSize = 9;
        c.pic.DrawWidth = 1;
        c.pic.Line(static_cast<float>(X0), fr.TopMargin, static_cast<float>(X0), static_cast<float>(Y0), Axis());
        c.pic.Line(static_cast<float>(X0), static_cast<float>(Y0), fr.PicWidth - fr.RightMargin,
                   static_cast<float>(Y0), Axis());
        // As DrawAxes places them: the x title below the tick labels, ending inside the picture.
        const double h = LabelHeight(c.pic.FontSize);
        Label(std::max(0.0, fr.PicWidth - 100 - LabelWidth(xTitle, c.pic.FontSize)), Y0 + 230 + h + 20, xTitle);
        Label(200, fr.TopMargin - 350, yTitle);
    }
    void Segment(double a1, double b1, double a2, double b2, Colour colour) const {
        c.pic.Line(X(a1), Y(b1), X(a2), Y(b2), colour);
    }
};

std::string Population(double v) {
    if (v >= 1e6) return Number(v / 1e6) + "m";
    if (v >= 1e3) return Number(v / 1e3) + "k";
    return Number(v);
}

// Ticks of a log10 range, positions in log10 units.
std::vector<Tick> Log10Ticks(const Scale& r) {
    const double ln10 = std::log(10.0);
    std::vector<Tick> ticks = LogTicksIn(r.lo * ln10, r.hi * ln10);
    for (Tick& t : ticks) t.at /= ln10;
    return ticks;
}

}  // namespace

void DrawTailFitExponents(const DataSet& d, const TailFitState& s, const Canvas& c) {
    Picture& p = c.pic;
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    double top = 1.2;  // zeta = 1 always shows
    for (const auto& r : s.rows)
        for (double v : {r.gi.zeta + 1.96 * r.gi.se, r.pl.zeta + 1.96 * r.pl.se})
            if (std::isfinite(v)) top = std::max(top, v);
    top *= 1.2;  // the key (four lines at the top right) stays above every band
    const int T = d.NumDates;
    c.frame.AxisKind = 0;
    DrawAxes(c, static_cast<float>(top), static_cast<float>(T * 1.1), "Zeta", "Time",
             Axes{AxisScale::Years, AxisScale::Linear, {d.DateYear(1), d.DateYear(T), 0.0, static_cast<double>(T)}});
    const Frame fr(c, Scale{0, T * 1.1}, Scale{0, top});
    const Colour axis = fr.Axis();
    fr.Segment(0, 1, T * 1.1, 1, axis);

    auto x = [&](int t) { return static_cast<double>(T) * d.TimeFraction(t); };
    auto series = [&](auto value, auto se, Colour colour) {
        for (double side : {-1.96, 0.0, 1.96}) {
            p.DrawWidth = side == 0 ? 2 : 1;
            BrokenPath path(p, colour);
            for (std::size_t i = 0; i < s.rows.size(); ++i) {
                const double v = value(s.rows[i]) + side * se(s.rows[i]);
                if (!std::isfinite(v)) {
                    path.Break();
                    continue;
                }
                path.To(fr.X(x(static_cast<int>(i) + 1)), fr.Y(v));
            }
        }
        p.DrawWidth = 2;
        for (std::size_t i = 0; i < s.rows.size(); ++i) {
            const double v = value(s.rows[i]);
            if (!std::isfinite(v)) continue;
            const int t = static_cast<int>(i) + 1;
            p.CurrentTag = OpTag{0, static_cast<int16_t>(t), TailFitExponents};
            p.Circle(fr.X(x(t)), fr.Y(v), PointRadius, colour);
            p.CurrentTag = OpTag{};
        }
    };
    series([](const TailFitRow& r) { return r.gi.zeta; }, [](const TailFitRow& r) { return r.gi.se; }, GiColour);
    series([](const TailFitRow& r) { return r.pl.zeta; }, [](const TailFitRow& r) { return r.pl.se; }, MleColour);
    DrawKey(c, {{"zeta GI (rank - 1/2)", GiColour, 2},
                {"zeta MLE above x_min", MleColour, 2},
                {"thin: 95% bands", axis, 1},
                {"zeta = 1", axis, 1}});
    p.DrawWidth = 1;
}

void DrawTailPlot(const DataSet& d, int t, const TailFitRow& fit, const Canvas& c) {
    Picture& p = c.pic;
    std::vector<double> sorted = PresentPopulations(d, t);
    std::sort(sorted.begin(), sorted.end());
    const double n = static_cast<double>(sorted.size());
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    const Scale u{std::floor(std::log10(sorted.front())), std::ceil(std::log10(sorted.back()) + 1e-9)};
    const Scale v{std::floor(std::log10(1 / n)), 0};
    const Frame fr(c, u, v);
    fr.Box("P(size >= x), " + std::to_string(d.DateYear(t)), "Population x");
    if (fr.Zoomed()) {
        fr.ZoomedTicks(Log10Ticks(fr.ShownU()), Log10Ticks(fr.ShownV()));
    } else {
        for (int e = static_cast<int>(u.lo); e <= static_cast<int>(u.hi); ++e) fr.XTick(e, Population(std::pow(10.0, e)));
        for (int e = static_cast<int>(v.lo); e <= 0; ++e) fr.YTick(e, Number(std::pow(10.0, e)));
    }
    fr.StartData();

    // The fitted curves, both scaled to the tail's share of the cities at x_min.
    const double share = fit.pl.nTail / n;
    const double xmax = sorted.back();
    p.DrawWidth = 2;
    // The lognormal under the power law, wider, so both show where they coincide.
    p.DrawWidth = 4;
    const auto& ln = fit.lognormal;
    BrokenPath lognormal(p, LognormalColour);
    const int steps = 60;
    for (int k = 0; k <= steps; ++k) {
        const double x = fit.pl.xmin * std::pow(xmax / fit.pl.xmin, static_cast<double>(k) / steps);
        const double logCcdf = std::log(share) + TruncatedLognormalLogCcdf(x, fit.pl.xmin, ln.mu, ln.sigma);
        if (std::isfinite(logCcdf)) lognormal.To(fr.X(std::log10(x)), fr.Y(logCcdf / std::log(10.0)));
    }
    p.DrawWidth = 2;
    auto plCcdf = [&](double x) { return share * std::pow(x / fit.pl.xmin, 1 - fit.pl.alpha); };
    fr.Segment(std::log10(fit.pl.xmin), std::log10(share), std::log10(xmax), std::log10(plCcdf(xmax)), MleColour);
    p.DrawWidth = 1;
    const std::vector<KeyEntry> key = {{"cities", fr.Axis(), 2},
                                       {"power law, zeta " + Number(std::round(fit.pl.zeta * 1000) / 1000), MleColour, 2},
                                       {"lognormal", LognormalColour, 4},
                                       {"x_min " + std::to_string(std::lround(fit.pl.xmin)), fr.Axis(), 1}};
    // The x_min mark rises from the axis to where the power law starts, and never into the
    // key (DrawKey's box: top right of the plot, 8 pt names after a 400-twip stroke).
    {
        const float saved = p.FontSize;
        p.FontSize = 8;
        double keyWidth = 520;
        for (const auto& e : key) keyWidth = std::max(keyWidth, 520 + LabelWidth(e.name, 8));
        const double keyLeft = c.frame.PicWidth - c.frame.RightMargin - keyWidth - 100;
        const double keyBottom = c.frame.TopMargin + 100 + p.TextHeight() * static_cast<double>(key.size());
        p.FontSize = saved;
        const float x = fr.X(std::log10(fit.pl.xmin));
        float top = fr.Y(std::log10(share));
        if (x >= keyLeft - 60) top = std::max(top, static_cast<float>(keyBottom + 60));
        p.Line(x, fr.Y(v.lo), x, top, fr.Axis());
    }

    // Every city, tagged so hovering names it; P counts the cities at or above its size.
    for (int city = 1; city <= d.NumCities; ++city) {
        if (d.Present(city, t) != 1 || !(d.PopTable(city, t) > 0)) continue;
        const double x = d.PopTable(city, t);
        const double atLeast = static_cast<double>(sorted.end() - std::lower_bound(sorted.begin(), sorted.end(), x));
        p.CurrentTag = OpTag{city, static_cast<int16_t>(t), CitiesAtOneDate};
        p.Circle(fr.X(std::log10(x)), fr.Y(std::log10(atLeast / n)), PointRadius, fr.Axis());
    }
    p.CurrentTag = OpTag{};
    DrawKey(c, key);
}

void DrawHillPlot(const DataSet& d, int t, const Canvas& c) {
    Picture& p = c.pic;
    std::vector<double> x = PresentPopulations(d, t);
    std::sort(x.begin(), x.end(), std::greater<>());
    const auto hill = HillEstimates(x);
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    // The band at small k is wide; the scale follows the estimates from k = 10 on.
    double top = 1.2;
    for (const auto& h : hill)
        if (h.k >= 10 && std::isfinite(h.zeta)) top = std::max(top, h.zeta * 1.5);
    const double kmax = std::max<double>(2, static_cast<double>(hill.size()));
    const Frame fr(c, Scale{0, kmax}, Scale{0, top});
    fr.Box("Hill zeta_k, " + std::to_string(d.DateYear(t)), "k largest");
    // Round ticks on both axes; 0 is the corner.
    if (fr.Zoomed()) {
        const Scale su = fr.ShownU(), sv = fr.ShownV();
        fr.ZoomedTicks(LinearTicks(su.lo, su.hi), LinearTicks(sv.lo, sv.hi));
    } else {
        for (const Tick& y : LinearTicks(0, top))
            if (y.at > 0) fr.YTick(y.at, y.label);
        for (const Tick& k : LinearTicks(0, kmax))
            if (k.at > 0) fr.XTick(k.at, k.label);
    }
    fr.StartData();
    fr.Segment(0, 1, kmax, 1, fr.Axis());

    for (int band = 0; band < 3; ++band) {
        p.DrawWidth = band == 0 ? 2 : 1;
        BrokenPath path(p, band == 0 ? MleColour : GiColour);
        for (const auto& h : hill) {
            const double v = band == 0 ? h.zeta : band == 1 ? h.lower : h.upper;
            if (!std::isfinite(v)) {
                path.Break();
                continue;
            }
            p.CurrentTag = band == 0 ? OpTag{0, static_cast<int16_t>(t), TailHillPoint, h.k}
                                     : OpTag{};
            path.To(fr.X(h.k), fr.Y(v));
        }
        p.CurrentTag = OpTag{};
    }
    p.DrawWidth = 1;
    DrawKey(c, {{"Hill zeta_k", MleColour, 2}, {"+- 1.96 zeta_k / sqrt(k)", GiColour, 1}, {"zeta = 1", fr.Axis(), 1}});
}
