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
