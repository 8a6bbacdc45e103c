#include "stats/ByGroupPlots.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "draw/Colours.h"
#include "draw/Contrast.h"
#include "draw/PlotFrame.h"
#include "draw/Ticks.h"

namespace {

// Readable on the grey (200) and the black background.
constexpr Colour IntervalColour = SeriesBlue;
constexpr Colour ExcludesOneColour = SeriesOrange;
constexpr float NameWidth = 2700;                              // twips left of the plot for names
constexpr float PixelTwips = 15;

std::string Number(double v, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

// A name cut to fit `width` twips at the picture's font size.
std::string Fitted(const std::string& name, double width, float size) {
    std::string s = name;
    while (s.size() > 3 && LabelWidth(s, size) > width) s = s.substr(0, s.size() - 4) + "..";
    return s;
}

struct Area {
    float left, top, right, bottom;
};

// The plot area of both pictures: room for names on the left, titles above, the key right.
Area PlotArea(const Canvas& c, float rightRoom) {
    return Area{NameWidth, 900, c.pic.Width - rightRoom, c.pic.Height - 800};
}

// A picture narrower than 600 pixels has the shorter title, where one is given.
void Title(const Canvas& c, const std::string& text, Colour ink, const std::string& shorter = {}) {
    c.pic.ForeColor = ink;
    c.pic.FontSize = 10;
    c.pic.FontBold = true;
    PrintAt(c.pic, 200, 150, c.pic.Width < 9000 && !shorter.empty() ? shorter : text);
    c.pic.FontBold = false;
}

}  // namespace

Colour DivergingColour(double zeta, double spread) {
    const double u = std::clamp((zeta - 1.0) / spread, -1.0, 1.0);
    // Ends of the ColorBrewer RdBu scheme, through white.
    const int* end = u < 0 ? RdBuLow : RdBuHigh;
    const int* mid = RdBuMid;
    const double w = std::fabs(u);
    auto mix = [&](int k) { return static_cast<int>(std::lround(mid[k] + (end[k] - mid[k]) * w)); };
    return Rgb(mix(0), mix(1), mix(2));
}

std::vector<std::size_t> ForestOrder(const ByGroupState& s, int t) {
    std::vector<std::size_t> order;
    for (std::size_t g = 0; g < s.groups.size(); ++g)
        if (const ByGroupRow* r = s.Find(g, t); r && std::isfinite(r->gi.zeta) && std::isfinite(r->gi.se))
            order.push_back(g);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return s.Find(a, t)->gi.zeta < s.Find(b, t)->gi.zeta; });
    return order;
}

void DrawForestPlot(const ByGroupState& s, int t, int page, const Canvas& c) {
    Picture& p = c.pic;
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    const Colour ink = InkFor(p.BackColor);
    const std::vector<std::size_t> order = ForestOrder(s, t);
    const int year = s.years[static_cast<std::size_t>(t - 1)];
    if (order.empty()) {
        Title(c, "zeta_GI by group, " + std::to_string(year) + ": no group has a fit at this date", ink);
        return;
    }
    const int pages = (static_cast<int>(order.size()) + GroupsPerPage - 1) / GroupsPerPage;
    page = std::clamp(page, 0, pages - 1);
    const std::size_t first = static_cast<std::size_t>(page) * GroupsPerPage;
    const std::size_t last = std::min(order.size(), first + GroupsPerPage);

    // One scale for every page of the date, so pages compare; 1 always shows.
    double lo = 1, hi = 1;
    for (std::size_t g : order) {
        const ByGroupRow& r = *s.Find(g, t);
        lo = std::min(lo, r.gi.zeta - 1.96 * r.gi.se);
        hi = std::max(hi, r.gi.zeta + 1.96 * r.gi.se);
    }
    const double pad = 0.04 * (hi - lo);
    lo = std::max(0.0, lo - pad);
    hi += pad;
    const Area a = PlotArea(c, 300);
    const double row = (a.bottom - a.top) / GroupsPerPage;
    auto X = [&](double z) { return static_cast<float>(a.left + (z - lo) / (hi - lo) * (a.right - a.left)); };

    std::string title = "zeta_GI by group, " + std::to_string(year);
    std::string shorter = title;
    title += " (point and 95% interval)";
    if (pages > 1) {
        std::string rows(", rows ");
        rows.append(std::to_string(first + 1)).append("-").append(std::to_string(last)).append(" of ");
        rows.append(std::to_string(order.size()));
        title += rows;
        shorter += rows;
    }
    Title(c, title, ink, shorter);
    // The key sits above the plot, clear of every row and line.
    p.FontSize = 8;
    p.DrawWidth = 2;
    p.CurrentTag = OpTag{0, 0, KeySeries};
    p.Line(200, 600, 500, 600, IntervalColour);
    p.ForeColor = ink;
    PrintAt(p, 600, 500, "interval contains 1");
    p.Line(3200, 600, 3500, 600, ExcludesOneColour);
    PrintAt(p, 3600, 500, "interval excludes 1 (name in bold)");
    p.CurrentTag = OpTag{};

    // Axis: ticks below the rows, a line at zeta = 1 through them.
    p.DrawWidth = 1;
    p.Line(a.left, a.bottom, a.right, a.bottom, ink);
    // A zoom shows part of the rows and of the zeta range; the axis ticks anew for that part.
    const ViewRect area{a.left, a.top, a.right, a.bottom};
    const bool zoomed = p.View.zoomed;
    const ViewRect shown = p.View.Shown(area);
    const double zlo = lo + (shown.left - a.left) / (a.right - a.left) * (hi - lo);
    const double zhi = lo + (shown.right - a.left) / (a.right - a.left) * (hi - lo);
    auto tickX = [&](double z) {
        return zoomed ? static_cast<float>(a.left + (z - zlo) / (zhi - zlo) * (a.right - a.left)) : X(z);
    };
    const double slack = 1e-6 * (zhi - zlo);
    for (const Tick& k : zoomed ? LinearTicks(zlo - slack, zhi + slack) : LinearTicks(lo, hi)) {
        if (zoomed && (k.at < zlo - slack || k.at > zhi + slack)) continue;
        p.Line(tickX(k.at), a.bottom, tickX(k.at), a.bottom + 120, ink);
        PrintAt(p, tickX(k.at) - LabelWidth(k.label, p.FontSize) / 2, a.bottom + 150, k.label);
    }
    PrintAt(p, a.right - LabelWidth("zeta_GI", p.FontSize), a.bottom + 400, "zeta_GI");
    p.ZoomArea = area;
    p.MapIntoView(true);
    p.Line(X(1), a.top, X(1), a.bottom, ink);

    p.FontSize = 7;
    const double text = LabelHeight(p.FontSize);
    for (std::size_t k = first; k < last; ++k) {
        const std::size_t g = order[k];
        const ByGroupRow& r = *s.Find(g, t);
        const double lower = r.gi.zeta - 1.96 * r.gi.se, upper = r.gi.zeta + 1.96 * r.gi.se;
        const bool excludes = lower > 1 || upper < 1;
        const Colour colour = excludes ? ExcludesOneColour : IntervalColour;
        const float y = static_cast<float>(a.top + (static_cast<double>(k - first) + 0.5) * row);
        p.CurrentTag = OpTag{0, static_cast<int16_t>(t), GroupForestRow, static_cast<int16_t>(g + 1)};
        p.ForeColor = ink;
        p.FontBold = excludes;
        const std::string name = Fitted(r.group, NameWidth - 300, p.FontSize);
        // The name beside its row as the zoom shows it, and only while the row shows.
        const float nameY = zoomed ? static_cast<float>(p.View.ToShownY(area, y)) : y;
        p.MapIntoView(false);
        if (!zoomed || (nameY >= a.top && nameY <= a.bottom))
            PrintAt(p, NameWidth - 150 - LabelWidth(name, p.FontSize), nameY - text / 2, name);
        p.MapIntoView(true);
        p.FontBold = false;
        p.DrawWidth = 2;
        p.Line(X(lower), y, X(upper), y, colour);
        p.Circle(X(r.gi.zeta), y, 45, colour);
    }
    p.CurrentTag = OpTag{};
    p.MapIntoView(false);
    p.DrawWidth = 1;
}

void DrawHeatMap(const ByGroupState& s, int page, const Canvas& c) {
    Picture& p = c.pic;
    ClearPicture(c);
    ApplyBackgroundChoice(c, true);
    const Colour ink = InkFor(p.BackColor);
    const int groups = static_cast<int>(s.groups.size());
    if (groups == 0) {
        Title(c, "zeta_GI by group and date: no group has enough places", ink);
        return;
    }
    const int pages = (groups + GroupsPerPage - 1) / GroupsPerPage;
    page = std::clamp(page, 0, pages - 1);
    const int first = page * GroupsPerPage, last = std::min(groups, first + GroupsPerPage);
    // The palette saturates at the largest distance from 1 in the whole table (at most 1).
    double spread = 0.05;
    for (const auto& r : s.rows)
        if (std::isfinite(r.gi.zeta)) spread = std::max(spread, std::fabs(r.gi.zeta - 1));
    spread = std::min(spread, 1.0);

    std::string title = "zeta_GI by group and date (blank: fewer than " + std::to_string(s.options.minPlaces) +
                        " places)";
    std::string shorter("zeta_GI by group and date");
    if (pages > 1) {
        std::string rows(", groups ");
        rows.append(std::to_string(first + 1)).append("-").append(std::to_string(last)).append(" of ");
        rows.append(std::to_string(groups));
        title += rows;
        shorter += rows;
    }
    Title(c, title, ink, shorter);
    const Area a = PlotArea(c, 1400);
    const int T = static_cast<int>(s.years.size());
    const double colWidth = (a.right - a.left) / T;
    const double rowHeight = (a.bottom - a.top) / GroupsPerPage;
    // A cell is one thick line; its square caps reach half the width past each end.
    const int16_t thickness = static_cast<int16_t>(std::max(1.0, std::floor(rowHeight / PixelTwips) - 1));
    const float cap = thickness * PixelTwips / 2;
    p.FontSize = 7;
    const double text = LabelHeight(p.FontSize);
    for (int g = first; g < last; ++g) {
        const float y = static_cast<float>(a.top + (g - first + 0.5) * rowHeight);
        p.CurrentTag = OpTag{};
        p.ForeColor = ink;
        const std::string name = Fitted(s.groups[static_cast<std::size_t>(g)], NameWidth - 300, p.FontSize);
        p.CurrentTag = OpTag{0, 0, GroupHeatCell, static_cast<int16_t>(g + 1)};
        PrintAt(p, NameWidth - 150 - LabelWidth(name, p.FontSize), y - text / 2, name);
        for (int t = 1; t <= T; ++t) {
            const ByGroupRow* r = s.Find(static_cast<std::size_t>(g), t);
            if (!r || !std::isfinite(r->gi.zeta)) continue;
            const float x1 = static_cast<float>(a.left + (t - 1) * colWidth), x2 = static_cast<float>(x1 + colWidth);
            p.CurrentTag = OpTag{0, static_cast<int16_t>(t), GroupHeatCell, static_cast<int16_t>(g + 1)};
            p.DrawWidth = thickness;
            p.Line(x1 + cap + 8, y, std::max(x1 + cap + 8, x2 - cap - 8), y, DivergingColour(r->gi.zeta, spread));
        }
    }
    p.CurrentTag = OpTag{};
    p.DrawWidth = 1;
    // Years under the columns, thinned so they never overprint.
    p.FontSize = 7;
    const double yearWidth = LabelWidth("0000", p.FontSize) + 80;
    const int every = std::max(1, static_cast<int>(std::ceil(yearWidth / colWidth)));
    for (int t = 1; t <= T; t += every) {
        const std::string y = std::to_string(s.years[static_cast<std::size_t>(t - 1)]);
        const double mid = a.left + (t - 0.5) * colWidth;
        PrintAt(p, mid - LabelWidth(y, p.FontSize) / 2, a.top + (last - first) * rowHeight + 80, y);
    }
    // The key: a column of the palette from 1 - spread (bottom) to 1 + spread (top).
    const float kx = a.right + 350, kTop = a.top + 300, kBottom = a.top + 3300;
    const int steps = 40;
    p.CurrentTag = OpTag{0, 0, KeySeries};
    p.DrawWidth = 14;
    for (int k = 0; k < steps; ++k) {
        const double z = 1 + spread * (1 - 2.0 * (k + 0.5) / steps);
        const float y = kTop + (kBottom - kTop) * (k + 0.5f) / steps;
        p.Line(kx, y, kx, y, DivergingColour(z, spread));
    }
    p.DrawWidth = 1;
    p.ForeColor = ink;
    PrintAt(p, kx - 150, kTop - 350, "zeta_GI");
    for (double z : {1 + spread, 1.0, 1 - spread}) {
        const float y = static_cast<float>(kTop + (kBottom - kTop) * (1 + spread - z) / (2 * spread));
        PrintAt(p, kx + 250, y - text / 2, (z == 1 + spread && spread == 1.0 ? ">= " : "") + Number(z, 2));
    }
    p.CurrentTag = OpTag{};
}
