#include "draw/ViewRange.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "draw/RunError.h"

namespace {

// Deeper than this a twip of the layout is more than a pixel: nothing new is seen.
constexpr double MaxZoom = 4000;

// Slides [lo, lo + w] into [min, max] (w no wider than the span).
double Inside(double lo, double w, double min, double max) { return std::clamp(lo, min, std::max(min, max - w)); }

// One axis of a zoom: the range [lo, hi] shown of [min, max] narrowed by `factor` about `at`
// (a point of the layout, at fraction f of the area's side), kept inside [min, max].
void ZoomAxis(double& lo, double& hi, double min, double max, double at, double f, double factor) {
    const double w = std::clamp((hi - lo) / factor, (max - min) / MaxZoom, max - min);
    lo = Inside(at - f * w, w, min, max);
    hi = lo + w;
}

// Moves [lo, hi] by `by` inside [min, max].
void PanAxis(double& lo, double& hi, double min, double max, double by) {
    const double w = hi - lo;
    lo = Inside(lo + by, w, min, max);
    hi = lo + w;
}

// The view of stacked panels as it stands, with every range filled in (whole where unzoomed).
ViewRange PanelsNow(const ViewRange& v, const std::vector<ViewRect>& panels) {
    ViewRange now = v;
    const ViewRect& first = panels.front();
    if (!v.zoomed || v.spans.size() != panels.size()) {
        now.shown = ViewRect{first.left, panels.front().top, first.right, panels.back().bottom};
        now.spans.clear();
        for (const ViewRect& p : panels) now.spans.push_back({p.top, p.bottom});
    }
    now.zoomed = true;
    return now;
}

// Stores `next` in `v`, reset when it shows every panel whole; whether anything changed.
bool Settle(ViewRange& v, ViewRange next, const std::vector<ViewRect>& panels) {
    // A range zoomed back out is as wide as its side, up to rounding.
    auto full = [](double lo, double hi, double min, double max) { return hi - lo >= (max - min) * (1 - 1e-9); };
    bool whole = full(next.shown.left, next.shown.right, panels.front().left, panels.front().right);
    for (std::size_t i = 0; i < panels.size(); ++i)
        whole = whole && full(next.spans[i].top, next.spans[i].bottom, panels[i].top, panels[i].bottom);
    if (whole) next = ViewRange{};
    const bool changed = next.zoomed != v.zoomed || (next.zoomed && (next.shown != v.shown || next.spans != v.spans));
    v = std::move(next);
    return changed;
}

bool PanelsUsable(const std::vector<ViewRect>& panels) {
    return !panels.empty() && std::none_of(panels.begin(), panels.end(), [](const ViewRect& p) { return p.Empty(); });
}

}  // namespace

bool ViewRange::ZoomAbout(const ViewRect& area, double x, double y, double factor) {
    if (area.Empty() || !area.Contains(x, y) || !(factor > 0)) return false;
    const ViewRect now = Shown(area);
    const double w = std::clamp(now.Width() / factor, area.Width() / MaxZoom, area.Width());
    const double h = w * area.Height() / area.Width();
    if (w >= area.Width()) {
        const bool changed = zoomed;
        Reset();
        return changed;
    }
    // The layout point under the pointer stays under it.
    const double hx = ToLayoutX(area, x), hy = ToLayoutY(area, y);
    const double fx = (x - area.left) / area.Width(), fy = (y - area.top) / area.Height();
    ViewRect next;
    next.left = Inside(hx - fx * w, w, area.left, area.right);
    next.top = Inside(hy - fy * h, h, area.top, area.bottom);
    next.right = next.left + w;
    next.bottom = next.top + h;
    if (zoomed && next == shown) return false;
    zoomed = true;
    shown = next;
    return true;
}

bool ViewRange::Pan(const ViewRect& area, double dx, double dy) {
    if (!zoomed || area.Empty()) return false;
    const double w = shown.Width(), h = shown.Height();
    ViewRect next;
    next.left = Inside(shown.left - dx / ScaleX(area), w, area.left, area.right);
    next.top = Inside(shown.top - dy / ScaleY(area), h, area.top, area.bottom);
    next.right = next.left + w;
    next.bottom = next.top + h;
    if (next == shown) return false;
    shown = next;
    return true;
}

void ViewRange::Rescale(const ViewRect& from, const ViewRect& to) {
    if (!zoomed || from.Empty() || to.Empty()) return Reset();
    const double zoom = ScaleX(from);
    const double cx = ((shown.left + shown.right) / 2 - from.left) / from.Width();
    const double cy = ((shown.top + shown.bottom) / 2 - from.top) / from.Height();
    const double w = to.Width() / zoom, h = to.Height() / zoom;
    shown.left = Inside(to.left + cx * to.Width() - w / 2, w, to.left, to.right);
    shown.top = Inside(to.top + cy * to.Height() - h / 2, h, to.top, to.bottom);
    shown.right = shown.left + w;
    shown.bottom = shown.top + h;
}

int PanelAt(const std::vector<ViewRect>& panels, double x, double y) {
    for (std::size_t i = 0; i < panels.size(); ++i)
        if (panels[i].Contains(x, y)) return static_cast<int>(i);
    return -1;
}

ViewRect PanelShown(const ViewRange& v, const std::vector<ViewRect>& panels, std::size_t i) {
    if (!v.zoomed || v.spans.size() != panels.size() || i >= panels.size()) return i < panels.size() ? panels[i] : ViewRect{};
    return ViewRect{v.shown.left, v.spans[i].top, v.shown.right, v.spans[i].bottom};
}

bool ZoomPanelsAbout(ViewRange& v, const std::vector<ViewRect>& panels, double x, double y, double factor) {
    if (!PanelsUsable(panels) || !(factor > 0)) return false;
    const ViewRect& first = panels.front();
    if (x < first.left || x > first.right || y < first.top || y > panels.back().bottom) return false;
    ViewRange next = PanelsNow(v, panels);
    const double fx = (x - first.left) / first.Width();
    ViewRect& s = next.shown;
    ZoomAxis(s.left, s.right, first.left, first.right, s.left + fx * s.Width(), fx, factor);
    if (const int at = PanelAt(panels, x, y); at >= 0) {
        const ViewRect& p = panels[static_cast<std::size_t>(at)];
        ViewSpan& span = next.spans[static_cast<std::size_t>(at)];
        const double fy = (y - p.top) / p.Height();
        ZoomAxis(span.top, span.bottom, p.top, p.bottom, span.top + fy * (span.bottom - span.top), fy, factor);
    }
    return Settle(v, std::move(next), panels);
}

bool PanPanels(ViewRange& v, const std::vector<ViewRect>& panels, double x, double y, double dx, double dy) {
    if (!v.zoomed || !PanelsUsable(panels)) return false;
    ViewRange next = PanelsNow(v, panels);
    const ViewRect& first = panels.front();
    ViewRect& s = next.shown;
    PanAxis(s.left, s.right, first.left, first.right, -dx * s.Width() / first.Width());
    if (const int at = PanelAt(panels, x, y); at >= 0) {
        const ViewRect& p = panels[static_cast<std::size_t>(at)];
        ViewSpan& span = next.spans[static_cast<std::size_t>(at)];
        PanAxis(span.top, span.bottom, p.top, p.bottom, -dy * (span.bottom - span.top) / p.Height());
    }
    return Settle(v, std::move(next), panels);
}

void RescalePanels(ViewRange& v, const std::vector<ViewRect>& from, const std::vector<ViewRect>& to) {
    if (!v.zoomed || from.size() != to.size() || !PanelsUsable(from) || !PanelsUsable(to) ||
        v.spans.size() != from.size())
        return v.Reset();
    // A point of the old layout at the same fraction of the new.
    auto along = [](double at, double min, double max, double newMin, double newMax) {
        return newMin + (at - min) / (max - min) * (newMax - newMin);
    };
    const ViewRect &a = from.front(), &b = to.front();
    v.shown = ViewRect{along(v.shown.left, a.left, a.right, b.left, b.right), to.front().top,
                       along(v.shown.right, a.left, a.right, b.left, b.right), to.back().bottom};
    for (std::size_t i = 0; i < to.size(); ++i)
        v.spans[i] = ViewSpan{along(v.spans[i].top, from[i].top, from[i].bottom, to[i].top, to[i].bottom),
                              along(v.spans[i].bottom, from[i].top, from[i].bottom, to[i].top, to[i].bottom)};
}

bool ClipToRect(double& x1, double& y1, double& x2, double& y2, const ViewRect& r) {
    // Liang-Barsky: the segment is x1 + s dx, s in [0, 1], narrowed by each edge in turn.
    const double dx = x2 - x1, dy = y2 - y1;
    double s0 = 0, s1 = 1;
    auto edge = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double s = q / p;
        if (p < 0) {
            if (s > s1) return false;
            s0 = std::max(s0, s);
        } else {
            if (s < s0) return false;
            s1 = std::min(s1, s);
        }
        return true;
    };
    if (!edge(-dx, x1 - r.left) || !edge(dx, r.right - x1) || !edge(-dy, y1 - r.top) || !edge(dy, r.bottom - y1))
        return false;
    const double ax = x1 + s0 * dx, ay = y1 + s0 * dy;
    x2 = x1 + s1 * dx;
    y2 = y1 + s1 * dy;
    x1 = ax;
    y1 = ay;
    return true;
}

PixelSize ParsePictureSize(const std::string& text) {
    const std::string bad = "--size takes WIDTHxHEIGHT in pixels, each from 1 to " + std::to_string(MaxPictureSide) +
                            " (e.g. 1600x1000), not \"" + text + "\"";
    const std::size_t x = text.find_first_of("xX");
    if (x == std::string::npos || x == 0 || x + 1 >= text.size()) throw RunError(bad);
    auto side = [&](const std::string& part) {
        if (part.find_first_not_of("0123456789") != std::string::npos) throw RunError(bad);
        errno = 0;
        const long v = std::strtol(part.c_str(), nullptr, 10);
        if (errno != 0 || v < 1 || v > MaxPictureSide) throw RunError(bad);
        return static_cast<int>(v);
    };
    return {side(text.substr(0, x)), side(text.substr(x + 1))};
}
