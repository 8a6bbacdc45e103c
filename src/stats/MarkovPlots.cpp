#include "stats/MarkovPlots.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "draw/Contrast.h"
#include "draw/PlotFrame.h"
#include "draw/Ticks.h"

namespace {

constexpr float PixelTwips = 15;
constexpr Colour SteadyColour = 230 + 256 * 80;              // orange
constexpr Colour IColour = 0 + 256 * 120 + 65536 * 255;      // blue
constexpr Colour SignificantColour = 200 + 256 * 30 + 65536 * 30;

std::string Number(double v, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

// `full` where it fits left of the picture's right edge from x at the current font size,
// else `shorter` (a narrow picture).
std::string Fitting(const Picture& p, double x, const std::string& full, const std::string& shorter) {
    return shorter.empty() || x + LabelWidth(full, p.FontSize) * (p.FontBold ? 1.1 : 1.0) <= p.Width - 150 ? full : shorter;
}

void Title(Picture& p, const std::string& text, Colour ink, const std::string& shorter = {}) {
    p.ForeColor = ink;
    p.FontSize = 9;
    p.FontBold = true;
    PrintAt(p, 200, 150, Fitting(p, 200, text, shorter));
    p.FontBold = false;
}

// A filled rectangle as one thick line along its longer side (square caps reach half the
// line's width past each end).
void Cell(Picture& p, double x0, double y0, double x1, double y1, Colour fill) {
    const bool wide = x1 - x0 >= y1 - y0;
    const double across = wide ? y1 - y0 : x1 - x0;
    const auto thickness = static_cast<int16_t>(std::max(1.0, std::floor(across / PixelTwips)));
    const double cap = thickness * PixelTwips / 2;
    p.DrawWidth = thickness;
    if (wide) {
        const auto y = static_cast<float>((y0 + y1) / 2);
        p.Line(static_cast<float>(x0 + cap), y, static_cast<float>(std::max(x0 + cap, x1 - cap)), y, fill);
    } else {
        const auto x = static_cast<float>((x0 + x1) / 2);
        p.Line(x, static_cast<float>(y0 + cap), x, static_cast<float>(std::max(y0 + cap, y1 - cap)), fill);
    }
    p.DrawWidth = 1;
}

// One matrix of side `size` twips at (left, top), cells labelled with their probability when
// there is room; rows are the class at the start, columns the class at the end.
void Matrix(Picture& p, const TransitionMatrix& m, double left, double top, double size, Colour ink, int16_t series,
            int16_t lag) {
    const int k = m.K();
    const double cell = size / k;
    const float font = static_cast<float>(std::clamp(cell / 60, 5.0, 8.0));
    for (int i = 0; i < k; ++i)
        for (int j = 0; j < k; ++j) {
            const double x0 = left + j * cell, y0 = top + i * cell;
            const bool empty = m.RowCount(i) == 0;
            p.CurrentTag = OpTag{i + 1, lag, series, j + 1};
            Cell(p, x0 + 8, y0 + 8, x0 + cell - 8, y0 + cell - 8, empty ? InkFor(ink) : ProbabilityColour(m.P(i, j)));
            p.CurrentTag = OpTag{};
            if (empty || cell < 420) continue;
            p.FontSize = font;
            p.ForeColor = m.P(i, j) > 0.55 ? Colour(255 + 256 * 255 + 65536 * 255) : Colour(0);
            const std::string v = Number(m.P(i, j), 2);
            PrintAt(p, x0 + cell / 2 - LabelWidth(v, font) / 2, y0 + cell / 2 - LabelHeight(font) / 2, v);
        }
    p.CurrentTag = OpTag{};
    p.ForeColor = ink;
    p.FontSize = 7;
    for (int i = 0; i < k; ++i) {
        const std::string n = std::to_string(i + 1);
        PrintAt(p, left - 80 - LabelWidth(n, 7), top + (i + 0.5) * cell - LabelHeight(7) / 2, n);
        PrintAt(p, left + (i + 0.5) * cell - LabelWidth(n, 7) / 2, top - LabelHeight(7) - 40, n);
    }
}

}  // namespace

Colour ProbabilityColour(double p) {
    const double u = std::clamp(std::isfinite(p) ? p : 0.0, 0.0, 1.0);
    // White to ColorBrewer's darkest Blues (8, 48, 107).
    auto mix = [&](double end) { return static_cast<int>(std::lround(255 + (end - 255) * std::sqrt(u))); };
    return static_cast<Colour>(mix(8) + 256 * mix(48) + 65536 * mix(107));
}

void DrawMarkovHeatMap(const MarkovResult& m, const Canvas& c) {
    Picture& p = c.pic;
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    const Colour ink = InkFor(p.BackColor);
    const std::string years = std::to_string(m.firstYear) + "-" + std::to_string(m.lastYear);
    Title(p, "Markov chain of size classes, " + years + ": transition probabilities", ink,
          "Markov chain of size classes, " + years);
    const double left = 900, top = 1100, size = std::min(p.Width - 3200.0, p.Height - 2000.0);
    Matrix(p, m.transitions, left, top, size, ink, MarkovCell, 0);
    p.FontSize = 8;
    PrintAt(p, left, top + size + 150,
            Fitting(p, left, "Rows: class at a date (1 smallest); columns: class at the next date",
                    "Rows: class at a date; columns: at the next"));
    // The steady state: one bar per class, level with its row.
    const double barLeft = left + size + 300, barWidth = p.Width - barLeft - 500, cell = size / m.k;
    PrintAt(p, barLeft, top - LabelHeight(8) - 200, m.steady ? "Steady state" : "No steady state");
    if (!m.steady) return;
    const double largest = *std::max_element(m.steady->begin(), m.steady->end());
    for (int i = 0; i < m.k; ++i) {
        const double v = (*m.steady)[static_cast<std::size_t>(i)];
        const double y0 = top + i * cell + cell * 0.2, y1 = top + (i + 1) * cell - cell * 0.2;
        p.CurrentTag = OpTag{i + 1, 0, MarkovCell, 0};
        if (v > 0) Cell(p, barLeft, y0, barLeft + std::max(static_cast<double>(PixelTwips), barWidth * v / largest), y1, SteadyColour);
        p.CurrentTag = OpTag{};
        p.ForeColor = ink;
        p.FontSize = 7;
        PrintAt(p, barLeft, y1 + 20, Number(v, 3));
    }
}

void DrawSpatialMarkov(const SpatialMarkovResult& s, const Canvas& c) {
    Picture& p = c.pic;
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    const Colour ink = InkFor(p.BackColor);
    const std::string years = std::to_string(s.firstYear) + "-" + std::to_string(s.lastYear);
    Title(p, "Spatial Markov, " + years + ": by the neighbours' class", ink, "Spatial Markov, " + years);
    const int k = s.k;
    const int columns = k <= 4 ? 2 : 3;
    const int rowsOfPanels = (k + columns - 1) / columns;
    const double gap = 600, top0 = 1000;
    const double size = std::min((p.Width - 600 - gap * columns) / columns, (p.Height - top0 - 400 - gap * rowsOfPanels) / rowsOfPanels);
    for (int l = 0; l < k; ++l) {
        const double left = 600 + (l % columns) * (size + gap), top = top0 + (l / columns) * (size + gap) + 300;
        p.ForeColor = ink;
        p.FontSize = 8;
        // Each panel's name within its panel and the gap beside it.
        const std::string number = std::to_string(l + 1);
        const std::string name = std::string("Neighbours in class ").append(number);
        PrintAt(p, left, top - 500, LabelWidth(name, 8) <= size + gap - 100 ? name : std::string("Neighbour class ").append(number));
        Matrix(p, s.byLag[static_cast<std::size_t>(l)], left, top, size, ink, SpatialMarkovCell, static_cast<int16_t>(l + 1));
    }
    p.FontSize = 8;
    p.ForeColor = ink;
    std::string test("Q = ");
    test.append(Number(s.q, 1)).append(", LR = ").append(Number(s.lr, 1)).append(" on ").append(std::to_string(s.df));
    test.append(" df: p = ").append(Number(s.lrP, 4));
    std::string full(test);
    PrintAt(p, 600, p.Height - 350, Fitting(p, 600, full.append(" (homogeneity across neighbour classes)"), test));
}

void DrawMoranGrowth(const std::vector<MoranGrowthRow>& rows, const Canvas& c) {
    Picture& p = c.pic;
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    const Colour ink = InkFor(p.BackColor);
    Title(p, "Moran's I of growth between consecutive dates", ink);
    double lo = 0, hi = 0;
    for (const auto& r : rows)
        if (std::isfinite(r.moran.i)) lo = std::min({lo, r.moran.i, r.moran.ei}), hi = std::max({hi, r.moran.i, r.moran.ei});
    const double pad = std::max(0.02, 0.05 * (hi - lo));
    lo -= pad, hi += pad;
    const double first = rows.empty() ? 0 : (rows.front().fromYear + rows.front().toYear) / 2.0;
    const double last = rows.empty() ? 1 : (rows.back().fromYear + rows.back().toYear) / 2.0;
    const double left = 1300, right = p.Width - 400, top = 900, bottom = p.Height - 1100;
    auto X = [&](double year) { return static_cast<float>(left + (right - left) * (last > first ? (year - first) / (last - first) : 0.5)); };
    auto Y = [&](double v) { return static_cast<float>(bottom - (bottom - top) * (v - lo) / (hi - lo)); };
    p.Line(static_cast<float>(left), static_cast<float>(top), static_cast<float>(left), static_cast<float>(bottom), ink);
    p.Line(static_cast<float>(left), static_cast<float>(bottom), static_cast<float>(right), static_cast<float>(bottom), ink);
    p.FontSize = 8;
    p.ForeColor = ink;
    for (const Tick& t : LinearTicks(lo, hi)) {
        p.Line(static_cast<float>(left - 60), Y(t.at), static_cast<float>(left), Y(t.at), ink);
        PrintAt(p, left - 120 - LabelWidth(t.label, 8), Y(t.at) - LabelHeight(8) / 2, t.label);
    }
    if (!rows.empty())
        for (const Tick& t : YearTicks(static_cast<int>(first), static_cast<int>(last), first, last,
                                       (right - left) / std::max(1.0, last - first), 8)) {
            p.Line(X(t.at), static_cast<float>(bottom), X(t.at), static_cast<float>(bottom + 60), ink);
            PrintAt(p, X(t.at) - LabelWidth(t.label, 8) / 2, bottom + 100, t.label);
        }
    PrintAt(p, (left + right) / 2 - 1500, bottom + 450, "Pair of dates (middle year)");
    if (lo < 0 && hi > 0) p.Line(static_cast<float>(left), Y(0), static_cast<float>(right), Y(0), ink);
    // The expectation, then I over it (each its own path: a path continues from the last point).
    for (int pass = 0; pass < 2; ++pass) {
        BrokenPath path(p, pass == 0 ? ink : IColour);
        p.DrawWidth = static_cast<int16_t>(pass == 0 ? 1 : 2);
        for (const auto& r : rows) {
            if (!std::isfinite(r.moran.i)) {
                path.Break();
                continue;
            }
            path.To(X((r.fromYear + r.toYear) / 2.0), Y(pass == 0 ? r.moran.ei : r.moran.i));
        }
    }
    int k = 0;
    p.DrawWidth = 1;
    for (const auto& r : rows) {
        ++k;
        if (!std::isfinite(r.moran.i)) continue;
        const double mid = (r.fromYear + r.toYear) / 2.0;
        p.CurrentTag = OpTag{0, 0, MoranGrowthPoint, k};
        if (r.moran.pSim < 0.05) p.Disc(X(mid), Y(r.moran.i), 50, SignificantColour, SignificantColour);
        else p.Circle(X(mid), Y(r.moran.i), 50, IColour);
        p.CurrentTag = OpTag{};
    }
    p.DrawWidth = 1;
    // The key, top right.
    const std::pair<const char*, Colour> key[] = {{"Moran's I", IColour}, {"I with p_sim < 0.05", SignificantColour}, {"E[I] = -1/(n-1)", ink}};
    float ky = 500;
    p.FontSize = 8;
    p.ForeColor = ink;
    for (const auto& [name, colour] : key) {
        p.DrawWidth = colour == ink ? 1 : 3;
        p.Line(static_cast<float>(right - 2600), ky + 100, static_cast<float>(right - 2200), ky + 100, colour);
        p.DrawWidth = 1;
        PrintAt(p, right - 2100, ky, name);
        ky += 250;
    }
}
