#include "stats/GrowthPlots.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "draw/Colours.h"
#include "draw/Contrast.h"
#include "draw/Ticks.h"
#include "stats/PlotPanel.h"

namespace {

// Readable on the grey (200) and the black background.
constexpr Colour MeanColour = SeriesBlue;
constexpr Colour SpreadColour = SeriesOrange;
constexpr Colour MeanBand = BandBlue;
constexpr Colour SpreadBand = BandOrange;
constexpr Colour PlaceColour = FaintGrey;  // faint on both backgrounds
constexpr float FontSize = 9;
constexpr std::size_t MaxPoints = 8000;

// One plot area of the picture with its ticks and titles.
struct Panel : PlotArea {
    const Canvas& c;

    Colour Ink() const { return InkFor(c.pic.BackColor); }
    void Text(double x, double y, const std::string& s) const {
        c.pic.ForeColor = Ink();
        PrintAt(c.pic, x, y, s);
    }
    void Frame() const {
        c.pic.DrawWidth = 1;
        const float l = static_cast<float>(left), t = static_cast<float>(top), b = static_cast<float>(top + height);
        c.pic.Line(l, t, l, b, Ink());
        c.pic.Line(l, b, static_cast<float>(left + width), b, Ink());
    }
    void YTicks(const std::vector<Tick>& ticks) const {
        for (const Tick& k : Thinned(ticks, YScale(), FontSize, false)) {
            if (k.at < v0 || k.at > v1) continue;
            c.pic.Line(static_cast<float>(left), Y(k.at), static_cast<float>(left - 150), Y(k.at), Ink());
            Text(left - 230 - LabelWidth(k.label, FontSize), Y(k.at) - LabelHeight(FontSize) / 2, k.label);
        }
    }
    void XTicks(const std::vector<Tick>& ticks) const {
        const double b = top + height;
        for (const Tick& k : Thinned(ticks, XScale(), FontSize, true)) {
            if (k.at < u0 || k.at > u1) continue;
            c.pic.Line(X(k.at), static_cast<float>(b), X(k.at), static_cast<float>(b + 150), Ink());
            Text(X(k.at) - LabelWidth(k.label, FontSize) / 2, b + 190, k.label);
        }
    }
    // The title, or where it would run past the picture's right edge the shorter one.
    void Title(const std::string& s, const std::string& shorter = {}) const {
        const bool fits = shorter.empty() || left - 900 + LabelWidth(s, FontSize) <= c.pic.Width - 150;
        Text(left - 900, top - LabelHeight(FontSize) - 120, fits ? s : shorter);
    }
    void XTitle(const std::string& s) const {
        Text(std::max(0.0, left + width - LabelWidth(s, FontSize)), top + height + 190 + LabelHeight(FontSize) + 40, s);
    }
    // The panel of the data range the picture's zoom shows (the whole range unzoomed), whose
    // ticks are drawn anew for that range.
    Panel Shown() const { return c.pic.View.zoomed ? Panel{Showing(c.pic.View.Shown(Area())), c} : *this; }
    void Level(double v, Colour colour) const {
        c.pic.DrawWidth = 1;
        c.pic.Line(X(u0), Y(v), X(u1), Y(v), colour);
    }
};

// Ticks at 1, 2 and 5 times the powers of ten on the panel's log-size axis, or the powers
// of ten alone where those would overprint.
std::vector<Tick> SizeTicks(const Panel& p, bool relative) {
    // Zoomed, round values of the range shown, as every zoomed log axis has them, populations
    // written as the whole axis writes them ("20k").
    if (p.c.pic.View.zoomed) {
        std::vector<Tick> ticks = LogTicksIn(p.u0, p.u1);
        if (!relative)
            for (Tick& k : ticks) k.label = PopulationLabel(std::exp(k.at));
        return ticks;
    }
    std::vector<Tick> all, decades;
    const double ln10 = std::log(10.0);
    for (int e = static_cast<int>(std::floor(p.u0 / ln10)); e <= static_cast<int>(std::ceil(p.u1 / ln10)); ++e)
        for (double m : {1.0, 2.0, 5.0}) {
            const double v = m * std::pow(10.0, e);
            if (std::log(v) < p.u0 || std::log(v) > p.u1) continue;
            all.push_back({std::log(v), relative ? NumberLabel(v) : PopulationLabel(v)});
            if (m == 1.0) decades.push_back(all.back());
        }
    return Thinned(all, p.XScale(), FontSize, true).size() == all.size() || decades.size() < 2 ? all : decades;
}

// A curve with its band: the band as pale vertical strokes, its edges thin, the curve on top.
void CurveWithBand(const Panel& p, const std::vector<double>& grid, const std::vector<double>& y,
                   const std::vector<double>& lo, const std::vector<double>& hi, Colour colour, Colour band) {
    Picture& pic = p.c.pic;
    const double zoom = pic.MappingIntoView() ? pic.View.ScaleX(pic.ZoomArea) : 1.0;
    const double step = grid.size() > 1 ? (p.X(grid[1]) - p.X(grid[0])) * zoom / 15.0 : 1;  // pixels between points
    pic.DrawWidth = static_cast<int16_t>(std::max(1.0, std::ceil(step) + 1));
    // Zoomed, a stroke whose width would reach past the plot area's side is left out.
    const double half = pic.DrawWidth * 15.0 / 2;
    auto within = [&](float x) {
        if (!pic.MappingIntoView()) return true;
        const double shown = pic.View.ToShownX(pic.ZoomArea, x);
        return shown - half >= pic.ZoomArea.left && shown + half <= pic.ZoomArea.right;
    };
    // And its square ends stay inside the area too: the stroke is cut short by half its width.
    double vLo = p.v0, vHi = p.v1;
    if (pic.MappingIntoView()) {
        const Panel z = p.Shown();
        vLo = z.v0 + half / z.YScale();
        vHi = z.v1 - half / z.YScale();
    }
    for (std::size_t j = 0; j < grid.size(); ++j) {
        if (!std::isfinite(lo[j]) || !std::isfinite(hi[j]) || !within(p.X(grid[j]))) continue;
        const double a = std::max(lo[j], vLo), b = std::min(hi[j], vHi);
        if (a <= b) pic.Line(p.X(grid[j]), p.Y(a), p.X(grid[j]), p.Y(b), band);
    }
    for (const auto* edge : {&lo, &hi}) {
        pic.DrawWidth = 1;
        BrokenPath path(pic, colour);
        for (std::size_t j = 0; j < grid.size(); ++j)
            if (std::isfinite((*edge)[j]))
                path.To(p.X(grid[j]), p.Y((*edge)[j]));
            else
                path.Break();
    }
    pic.DrawWidth = 3;
    BrokenPath path(pic, colour);
    for (std::size_t j = 0; j < grid.size(); ++j)
        if (std::isfinite(y[j])) path.To(p.X(grid[j]), p.Y(y[j]));
    pic.DrawWidth = 1;
}

// The range of a band and its curve, padded, always holding `level`.
std::pair<double, double> RangeOf(const std::vector<std::vector<double>>& series, double level) {
    double lo = level, hi = level;
    for (const auto& s : series)
        for (double v : s)
            if (std::isfinite(v)) {
                lo = std::min(lo, v);
                hi = std::max(hi, v);
            }
    const double pad = hi > lo ? 0.08 * (hi - lo) : 0.05;
    return {lo - pad, hi + pad};
}

// Draws into panel i of a picture of stacked panels, at its zoom. The picture's View holds the
// zoom of every panel (ZoomPanelsAbout); while `draw` runs it stands for this panel's part
// alone, so Panel::Shown finds the range shown there and, once `draw` turns the mapping on,
// ops are moved and clipped into this panel.
template <class Draw>
void InPanel(Picture& pic, std::size_t i, Draw draw) {
    const ViewRange all = pic.View;
    const ViewRect area = pic.ZoomArea;
    pic.View = ViewRange{};
    if (all.zoomed) {
        pic.View.zoomed = true;
        pic.View.shown = PanelShown(all, pic.ZoomPanels, i);
    }
    pic.ZoomArea = pic.ZoomPanels[i];
    draw();
    pic.MapIntoView(false);
    pic.View = all;
    pic.ZoomArea = area;
}

}  // namespace

void DrawGrowthBetas(const DataSet& d, const GrowthState& s, const Canvas& c) {
    Picture& pic = c.pic;
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    SetPlotMargins(c);
    pic.FontSize = FontSize;
    std::vector<double> lo, hi;
    for (const auto& r : s.rows)
        if (!r.pooled) {
            lo.push_back(r.beta - 1.96 * r.seBeta);
            hi.push_back(r.beta + 1.96 * r.seBeta);
        }
    auto [v0, v1] = RangeOf({lo, hi}, 0.0);
    const double pad = std::max(1e-4, 0.02 * (v1 - v0));
    v0 -= pad;
    v1 += pad;
    const PlotFrame& fr = c.frame;
    const int first = d.DateYear(1), last = d.DateYear(d.NumDates);
    const Panel p{{static_cast<double>(first), static_cast<double>(last), v0, v1, fr.LeftMargin, fr.TopMargin,
                   fr.PlotWidth, fr.PlotHeight},
                  c};
    p.Frame();
    if (pic.View.zoomed) {
        const Panel z = p.Shown();
        // A tick at the very edge of the range shown still counts as inside it.
        const double slack = 1e-6 * (z.u1 - z.u0);
        const int y0 = static_cast<int>(std::ceil(z.u0 - slack)), y1 = static_cast<int>(std::floor(z.u1 + slack));
        z.YTicks(LinearTicks(z.v0, z.v1));
        if (y1 >= y0) z.XTicks(YearTicks(y0, y1, y0, y1, z.XScale(), FontSize));
    } else {
        p.YTicks(LinearTicks(v0, v1));
        p.XTicks(YearTicks(first, last, first, last, p.XScale(), FontSize));
    }
    p.Title("beta: growth per year per unit of ln size (OLS, 95 % HC1 interval)", "beta: growth a year per unit of ln size");
    p.XTitle("Pair of censuses (middle year)");
    pic.ZoomArea = p.Area();
    pic.MapIntoView(true);
    p.Level(0, p.Ink());
    int t = 0;
    for (const auto& r : s.rows) {
        ++t;
        if (r.pooled || !std::isfinite(r.beta)) continue;
        const double mid = (r.fromYear + r.toYear) / 2.0;
        pic.DrawWidth = 2;
        pic.Line(p.X(mid), p.Y(r.beta - 1.96 * r.seBeta), p.X(mid), p.Y(r.beta + 1.96 * r.seBeta), MeanColour);
        pic.CurrentTag = OpTag{0, static_cast<int16_t>(t), GrowthBetaPoint};
        pic.Circle(p.X(mid), p.Y(r.beta), 45, r.p < 0.05 ? SpreadColour : MeanColour);
        pic.CurrentTag = OpTag{};
    }
    pic.DrawWidth = 1;
    DrawKey(c, {{"beta, p < 0.05", SpreadColour, 4},
                {"beta, p >= 0.05", MeanColour, 4},
                {"95 % interval", MeanColour, 2},
                {"beta = 0: Gibrat", p.Ink(), 1}});
}

void DrawGrowthPlot(const DataSet& d, const GrowthSample& s, const GrowthCurves& k, const Canvas& c) {
    Picture& pic = c.pic;
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    SetPlotMargins(c);
    pic.FontSize = FontSize;
    const PlotFrame& fr = c.frame;
    const double u0 = k.grid.front(), u1 = k.grid.back();
    const double pad = 0.03 * (u1 - u0);
    const double gap = 2 * LabelHeight(FontSize) + 400;
    const double h = (fr.PlotHeight - gap) / 2;

    // The mean panel also holds the middle 95 % of the places' normalised growth.
    std::vector<double> gt;
    for (std::size_t i = 0; i < s.x.size(); ++i)
        if (s.x[i] >= u0 - pad && s.x[i] <= u1 + pad) gt.push_back(s.gt[i]);
    const double q0 = Percentile(gt, 2.5), q1 = Percentile(gt, 97.5);
    auto [m0, m1] = RangeOf({k.mean, k.meanLo, k.meanHi, {q0, q1}}, 0.0);
    auto [s0, s1] = RangeOf({k.sd, k.sdLo, k.sdHi}, 1.0);
    s0 = std::max(0.0, s0);
    const Panel top{{u0 - pad, u1 + pad, m0, m1, fr.LeftMargin, fr.TopMargin, fr.PlotWidth, h}, c};
    const Panel bottom{{u0 - pad, u1 + pad, s0, s1, fr.LeftMargin, fr.TopMargin + h + gap, fr.PlotWidth, h}, c};
    // Both panels zoom: the size axis they share together, each vertical axis on its own.
    pic.ZoomPanels = {top.Area(), bottom.Area()};
    pic.ZoomArea = ViewRect{top.left, top.top, top.left + top.width, bottom.top + bottom.height};

    const std::string pair = s.pooled ? "all pairs " + std::to_string(s.fromYear) + "-" + std::to_string(s.toYear)
                                      : std::to_string(s.fromYear) + "-" + std::to_string(s.toYear);
    std::size_t i = 0;
    for (const Panel* p : {&top, &bottom})
        InPanel(pic, i++, [&] {
            p->Frame();
            const Panel z = p->Shown();
            z.XTicks(SizeTicks(z, s.pooled));
        });
    InPanel(pic, 0, [&] {
        const Panel z = top.Shown();
        z.YTicks(LinearTicks(z.v0, z.v1, 5));
    });
    InPanel(pic, 1, [&] {
        const Panel z = bottom.Shown();
        z.YTicks(LinearTicks(z.v0, z.v1, 5));
    });
    top.Title("Mean of normalised growth, " + pair + " (n " + std::to_string(s.x.size()) + ")");
    bottom.Title("Spread (sd) of normalised growth");
    bottom.XTitle(s.pooled ? "Size relative to the pair's geometric mean (log scale)" : "Population in " +
                                                                                           std::to_string(s.fromYear) +
                                                                                           " (log scale)");

    // The places first, under the curves; those beyond the panel are not drawn, and of a
    // large sample only every stride-th, so the curves stay readable. Zoomed, the stride
    // counts the places shown, so a closer look shows more of them.
    std::size_t stride = (s.x.size() + MaxPoints - 1) / MaxPoints;
    InPanel(pic, 0, [&] {
        const Panel z = top.Shown();
        if (pic.View.zoomed) {
            std::size_t shown = 0;
            for (std::size_t j = 0; j < s.x.size(); ++j)
                shown += s.x[j] >= z.u0 && s.x[j] <= z.u1 && s.gt[j] >= z.v0 && s.gt[j] <= z.v1;
            stride = std::max<std::size_t>(1, (shown + MaxPoints - 1) / MaxPoints);
        }
        pic.MapIntoView(true);
        for (std::size_t j = 0; j < s.x.size(); j += stride) {
            if (s.x[j] < top.u0 || s.x[j] > top.u1 || s.gt[j] < top.v0 || s.gt[j] > top.v1) continue;
            pic.CurrentTag = OpTag{static_cast<int16_t>(s.city[j]), static_cast<int16_t>(s.date[j]), GrowthPlacePoint};
            pic.Circle(top.X(s.x[j]), top.Y(s.gt[j]), 10, PlaceColour);
        }
        pic.CurrentTag = OpTag{};
        top.Level(0, top.Ink());
    });
    InPanel(pic, 1, [&] {
        pic.MapIntoView(true);
        bottom.Level(1, bottom.Ink());
    });
    InPanel(pic, 0, [&] {
        pic.MapIntoView(true);
        CurveWithBand(top, k.grid, k.mean, k.meanLo, k.meanHi, MeanColour, MeanBand);
    });
    InPanel(pic, 1, [&] {
        pic.MapIntoView(true);
        CurveWithBand(bottom, k.grid, k.sd, k.sdLo, k.sdHi, SpreadColour, SpreadBand);
    });
    (void)d;
    const std::string band = k.replicates > 0 ? "95 % band, " + std::to_string(k.replicates) + " replicates"
                                              : "no bootstrap band";
    // The key in the spread panel, whose upper right is clear where the spread falls with size.
    const float topMargin = c.frame.TopMargin;
    c.frame.TopMargin = static_cast<float>(bottom.top);
    DrawKey(c, {{"kernel mean (h " + NumberLabel(k.h, "%.3f") + ")", MeanColour, 3},
                {"kernel spread", SpreadColour, 3},
                {band, MeanBand, 6},
                {"places, middle 95 %" + (stride > 1 ? ", 1 in " + std::to_string(stride) : std::string()),
                 PlaceColour, 2},
                {"0 and 1: Gibrat", top.Ink(), 1}});
    c.frame.TopMargin = topMargin;
}

std::string DescribeGrowthPlace(const DataSet& d, int city, int t) {
    if (city < 1 || city > d.NumCities || t < 1 || t >= d.NumDates) return {};
    const double a = d.Pop(city, t), b = d.Pop(city, t + 1);
    const int years = d.DateYear(t + 1) - d.DateYear(t);
    const double g = GrowthRate(a, b, years);
    char buf[200];
    std::snprintf(buf, sizeof buf, "%d-%d: %.0f to %.0f, growth ", d.DateYear(t), d.DateYear(t + 1), a, b);
    return d.CityName(city) + "\n" + buf + GrowthPercentText(g);
}

std::string DescribeGrowthRow(const GrowthRow& r) {
    char buf[240];
    std::snprintf(buf, sizeof buf,
                  "%d-%d: beta %.5f +- %.5f (95 %%), t %.2f, p %.4f\nSpearman %.4f (p %.4f), n %d, %d entered, %d "
                  "exited",
                  r.fromYear, r.toYear, r.beta, 1.96 * r.seBeta, r.t, r.p, r.spearman, r.pSpearman, r.n, r.entered,
                  r.exited);
    return buf;
}
