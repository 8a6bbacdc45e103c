#include "stats/DistFitPlots.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "draw/Ticks.h"
#include "stats/PlotPanel.h"

namespace {

// One colour per law, readable on the grey (200) and the black background, as Tail-Fit's.
constexpr Colour LawColours[3] = {
    0 + 256 * 170 + 65536 * 90,   // lognormal: green
    0 + 256 * 120 + 65536 * 255,  // dpln: blue
    230 + 256 * 80,               // lognormal-pareto: orange
};
constexpr int16_t LawWidths[3] = {4, 2, 2};  // the lognormal wider, so a law drawn over it still shows it
constexpr float PointRadius = 30;

// A plot area of the picture with its axes and marks.
struct Panel : PlotArea {
    const Canvas& c;

    bool Inside(double v) const { return v >= v0 && v <= v1; }
    Colour Axis() const { return ColourFromFloat(c.frame.AxisColor); }
    void Label(double x, double y, const std::string& text) const {
        c.pic.ForeColor = Axis();
        PrintAt(c.pic, x, y, text);
    }
    void Box(const std::string& yTitle, const std::string& xTitle) const {
        c.pic.FontSize = 9;
        c.pic.DrawWidth = 1;
        const float x0 = static_cast<float>(left), y0 = static_cast<float>(top + height);
        c.pic.Line(x0, static_cast<float>(top), x0, y0, Axis());
        c.pic.Line(x0, y0, static_cast<float>(left + width), y0, Axis());
        const double h = LabelHeight(c.pic.FontSize);
        Label(left + width - LabelWidth(xTitle, c.pic.FontSize), top + height + 230 + h + 20, xTitle);
        Label(left - 700, top - 350, yTitle);
    }
    void XTick(double u, const std::string& text) const {
        const float y0 = static_cast<float>(top + height);
        c.pic.Line(X(u), y0, X(u), y0 + 150, Axis());
        Label(X(u) - LabelWidth(text, c.pic.FontSize) / 2, y0 + 230, text);
    }
    void YTick(double v, const std::string& text) const {
        c.pic.Line(static_cast<float>(left), Y(v), static_cast<float>(left - 150), Y(v), Axis());
        Label(left - 230 - LabelWidth(text, c.pic.FontSize), Y(v) - LabelHeight(c.pic.FontSize) / 2, text);
    }
    // A vertical mark from the axis up, with its name at the top.
    void Mark(double u, Colour colour, const std::string& name, double labelRow) const {
        if (u < u0 || u > u1) return;
        c.pic.DrawWidth = 1;
        c.pic.Line(X(u), static_cast<float>(top + height), X(u), static_cast<float>(top + 150 + labelRow), colour);
        Label(X(u) + 40, top + labelRow, name);
    }
};

// The scale of the AIC picture: v = ln(1 + dAIC).
double AicScale(double dAic) { return std::log1p(std::max(0.0, dAic)); }

}  // namespace

void DrawDistFitAic(const DataSet& d, const DistFitState& s, const Canvas& c) {
    Picture& p = c.pic;
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    SetPlotMargins(c);
    c.frame.AxisKind = 0;
    double top = AicScale(10);
    for (const auto& r : s.rows)
        for (const auto& f : r.fits)
            if (f.ok) {
                double best = Infinity;
                for (const auto& g : r.fits)
                    if (g.ok) best = std::min(best, g.aic);
                top = std::max(top, AicScale(f.aic - best));
            }
    top *= 1.25;  // room for the key
    const int T = d.NumDates;
    const PlotFrame& fr = c.frame;
    const Panel pan{{0, T * 1.1, 0, top, fr.LeftMargin, fr.TopMargin, fr.PlotWidth, fr.PlotHeight}, c};
    auto x = [&](int t) { return static_cast<double>(T) * d.TimeFraction(t); };
    pan.Box("AIC - best AIC of the date (0: the best law)", "Census");
    for (const Tick& k : YearTicks(d.DateYear(1), d.DateYear(T), x(1), x(T), pan.width / (pan.u1 - pan.u0), 9))
        pan.XTick(k.at, k.label);
    for (double v : {0.0, 2.0, 10.0, 100.0, 1e3, 1e4, 1e5, 1e6})
        if (AicScale(v) <= top) pan.YTick(AicScale(v), v == 0 ? "0" : PopulationLabel(v));
    // dAIC = 2: below it two laws are hardly distinguished.
    p.DrawWidth = 1;
    p.Line(pan.X(0), pan.Y(AicScale(2)), pan.X(pan.u1), pan.Y(AicScale(2)), pan.Axis());
    for (int law = 0; law < 3; ++law) {
        p.DrawWidth = LawWidths[law];
        BrokenPath path(p, LawColours[law]);
        for (const auto& r : s.rows) {
            const LawFit& f = r.fits[static_cast<std::size_t>(law)];
            double best = Infinity;
            for (const auto& g : r.fits)
                if (g.ok) best = std::min(best, g.aic);
            if (!f.ok) {
                path.Break();
                continue;
            }
            const float px = pan.X(x(r.date)), py = pan.Y(AicScale(f.aic - best));
            path.To(px, py);
            p.CurrentTag = OpTag{0, static_cast<int16_t>(r.date), DistAicPoint, law + 1};
            p.Circle(px, py, 45, LawColours[law]);
            p.CurrentTag = OpTag{};
        }
    }
    p.DrawWidth = 1;
    DrawKey(c, {{"lognormal", LawColours[0], LawWidths[0]},
                {"dpln", LawColours[1], LawWidths[1]},
                {"lognormal-pareto", LawColours[2], LawWidths[2]},
                {"dAIC = 2", pan.Axis(), 1}});
}

void DrawDistPlot(const DataSet& d, int t, const DistFitRow& row, const Canvas& c) {
    Picture& p = c.pic;
    std::vector<double> x = PresentPopulations(d, t);
    std::sort(x.begin(), x.end());
    const double n = static_cast<double>(x.size());
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    SetPlotMargins(c);
    c.frame.AxisKind = 1;
    const double W = c.pic.Width, H = c.pic.Height;
    const double panelTop = 900, panelHeight = H * 0.58;
    const double leftW = W / 2 - 1250, rightLeft = W / 2 + 800, rightW = W - rightLeft - 250;
    const LawFit* lp = row.fits[2].ok ? &row.fits[2] : nullptr;
    const double xmin = row.nTail > 0 ? row.xmin : NAN;
    p.FontSize = 9;
    {
        std::string title = std::to_string(d.DateYear(t)) + ": " + std::to_string(row.n) + " places; best (lowest AIC): " + row.best;
        // Shorter where the picture is too narrow for it.
        if (1000 + LabelWidth(title, p.FontSize) > W - 150)
            title = std::to_string(d.DateYear(t)) + ": " + std::to_string(row.n) + " places; best: " + row.best;
        PrintAt(p, 1000, 150, title);
    }

    // Left: P(X >= x) on log-log axes.
    const Panel cc{{std::floor(std::log10(x.front())), std::ceil(std::log10(x.back()) + 1e-9),
                    std::floor(std::log10(1 / n)), 0, 1000, panelTop, leftW, panelHeight},
                   c};
    cc.Box("P(size >= x)", "Population x");
    for (int e = static_cast<int>(cc.u0); e <= static_cast<int>(cc.u1); ++e) cc.XTick(e, PopulationLabel(std::pow(10.0, e)));
    for (int e = static_cast<int>(cc.v0); e <= 0; ++e) cc.YTick(e, NumberLabel(std::pow(10.0, e)));
    const int steps = 200;
    for (int law = 0; law < 3; ++law) {
        const LawFit& f = row.fits[static_cast<std::size_t>(law)];
        if (!f.ok) continue;
        p.DrawWidth = LawWidths[law];
        BrokenPath path(p, LawColours[law]);
        for (int k = 0; k <= steps; ++k) {
            const double u = cc.u0 + (cc.u1 - cc.u0) * k / steps;
            const double ccdf = 1 - Cdf(f, std::pow(10.0, u));
            const double v = ccdf > 0 ? std::log10(ccdf) : -Infinity;
            if (!(v >= cc.v0)) {
                path.Break();
                continue;
            }
            path.To(cc.X(u), cc.Y(v));
        }
    }
    p.DrawWidth = 1;
    for (int city = 1; city <= d.NumCities; ++city) {
        if (d.Present(city, t) != 1 || !(d.Pop(city, t) > 0)) continue;
        const double v = d.Pop(city, t);
        const double atLeast = static_cast<double>(x.end() - std::lower_bound(x.begin(), x.end(), v));
        p.CurrentTag = OpTag{city, static_cast<int16_t>(t), DistPlace};
        p.Circle(cc.X(std::log10(v)), cc.Y(std::log10(atLeast / n)), PointRadius, cc.Axis());
    }
    p.CurrentTag = OpTag{};

    // Right: the density of ln x, histogram and fitted laws.
    const double y0 = std::log(x.front()), y1 = std::log(x.back());
    const int bins = std::clamp(static_cast<int>(std::sqrt(n)), 10, 50);
    const double width = std::max(1e-9, (y1 - y0) / bins);
    std::vector<double> count(static_cast<std::size_t>(bins), 0);
    for (double v : x) count[static_cast<std::size_t>(std::min(bins - 1, static_cast<int>((std::log(v) - y0) / width)))] += 1;
    double peak = 0;
    for (double k : count) peak = std::max(peak, k / (n * width));
    auto density = [&](const LawFit& f, double y) { return std::exp(LogPdf(f, std::exp(y)) + y); };
    const double ua = y0 - 0.5, ub = y1 + 0.5;
    for (const auto& f : row.fits)
        if (f.ok)
            for (int k = 0; k <= steps; ++k) {
                const double dv = density(f, ua + (ub - ua) * k / steps);
                if (std::isfinite(dv)) peak = std::max(peak, std::min(dv, 3 * peak));
            }
    const Panel dn{{ua, ub, 0, peak * 1.1, rightLeft, panelTop, rightW, panelHeight}, c};
    dn.Box("Density of ln x", "Population x (log scale)");
    for (int e = 0; e <= 9; ++e)
        if (e * std::log(10.0) >= ua && e * std::log(10.0) <= ub) dn.XTick(e * std::log(10.0), PopulationLabel(std::pow(10.0, e)));
    for (const Tick& k : LinearTicks(0, peak * 1.1, 5)) dn.YTick(k.at, k.label);
    p.DrawWidth = 1;
    // Thin outlines in the axis colour: the fitted curves stay the brightest lines.
    const Colour bar = dn.Axis();
    for (int b = 0; b < bins; ++b) {
        const double h = count[static_cast<std::size_t>(b)] / (n * width);
        if (h <= 0) continue;
        const float xa = dn.X(y0 + b * width), xb = dn.X(y0 + (b + 1) * width), ya = dn.Y(0), yb = dn.Y(h);
        p.Line(xa, ya, xa, yb, bar);
        p.Line(xa, yb, xb, yb, bar);
        p.Line(xb, yb, xb, ya, bar);
    }
    for (int law = 0; law < 3; ++law) {
        const LawFit& f = row.fits[static_cast<std::size_t>(law)];
        if (!f.ok) continue;
        p.DrawWidth = LawWidths[law];
        BrokenPath path(p, LawColours[law]);
        for (int k = 0; k <= steps * 2; ++k) {
            const double u = ua + (ub - ua) * k / (steps * 2);
            const double dv = density(f, u);
            if (!std::isfinite(dv) || dv > dn.v1) {
                path.Break();
                continue;
            }
            path.To(dn.X(u), dn.Y(dv));
        }
    }
    // The switch point and x_min on both.
    const double rowH = LabelHeight(9);
    if (lp) {
        cc.Mark(std::log10(lp->lp.t), LawColours[2], "t", 0);
        dn.Mark(std::log(lp->lp.t), LawColours[2], "t", 0);
    }
    if (std::isfinite(xmin)) {
        cc.Mark(std::log10(xmin), cc.Axis(), "x_min", rowH);
        dn.Mark(std::log(xmin), dn.Axis(), "x_min", rowH);
    }

    // The key under both panels: each law with its AIC, then the marks.
    std::vector<KeyEntry> key;
    key.push_back({"places (left), histogram (right)", cc.Axis(), 2});
    for (int law = 0; law < 3; ++law) {
        const LawFit& f = row.fits[static_cast<std::size_t>(law)];
        char buf[160];
        if (f.ok)
            std::snprintf(buf, sizeof buf, "%s, AIC %.1f%s", LawName(f.law), f.aic, row.best == LawName(f.law) ? " (best)" : "");
        else
            std::snprintf(buf, sizeof buf, "%s: not fitted", LawName(f.law));
        key.push_back({buf, LawColours[law], LawWidths[law]});
    }
    if (lp) key.push_back({"t: switch point " + PopulationLabel(std::round(lp->lp.t)), LawColours[2], 1});
    if (std::isfinite(xmin)) key.push_back({"x_min (Tail-Fit) " + PopulationLabel(std::round(xmin)), cc.Axis(), 1});
    PlotFrame& fr = c.frame;
    fr.TopMargin = static_cast<float>(panelTop + panelHeight + 1100);
    fr.RightMargin = static_cast<float>(W - 1000 - leftW - 1500);
    DrawKey(c, key);
    SetPlotMargins(c);
    p.DrawWidth = 1;
}
