#pragma once
#include <cstddef>
#include <string>
#include <vector>

// A rectangle in twips, y downward.
struct ViewRect {
    double left = 0, top = 0, right = 0, bottom = 0;
    double Width() const { return right - left; }
    double Height() const { return bottom - top; }
    bool Empty() const { return !(right > left) || !(bottom > top); }
    bool Contains(double x, double y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    bool operator==(const ViewRect&) const = default;
};

// The vertical range of a panel shown, in twips of its unzoomed layout.
struct ViewSpan {
    double top = 0, bottom = 0;
    bool operator==(const ViewSpan&) const = default;
};

// The zoom of a picture's plot area or map frame. `shown` is the part of the unzoomed layout
// (its twips) that fills the area; the picture is laid out anew through it, so axes re-tick
// and outlines are drawn at the zoom instead of a magnified image. Navigation works in the
// twips of the picture as shown, which is what the mouse gives.
struct ViewRange {
    bool zoomed = false;
    ViewRect shown;
    // Panels stacked over one horizontal axis (see ZoomPanelsAbout): the vertical range shown
    // of each, `shown`'s left and right being the horizontal one they share.
    std::vector<ViewSpan> spans;

    // Back to the whole layout.
    void Reset() { *this = ViewRange{}; }
    // The part shown, the whole area when not zoomed.
    ViewRect Shown(const ViewRect& area) const { return zoomed ? shown : area; }
    // Zooms in by `factor` (above 1 in, below 1 out) keeping the point (x, y) of the shown
    // picture where it is. Never zooms out past the whole area; false when nothing changed
    // (the point outside the area, or already whole).
    bool ZoomAbout(const ViewRect& area, double x, double y, double factor);
    // Moves what is shown by (dx, dy) twips of the shown picture, as a drag does: the layout
    // follows the pointer. Stays inside the whole layout; false when nothing moved.
    bool Pan(const ViewRect& area, double dx, double dy);

    // The same zoom for the picture laid out anew with its area moved from `from` to `to` (a
    // resize): the same magnification about the same relative point, inside the new area.
    void Rescale(const ViewRect& from, const ViewRect& to);

    // From the unzoomed layout's twips to the shown picture's, and back.
    double ScaleX(const ViewRect& area) const { return area.Width() / Shown(area).Width(); }
    double ScaleY(const ViewRect& area) const { return area.Height() / Shown(area).Height(); }
    double ToShownX(const ViewRect& area, double x) const { return area.left + (x - Shown(area).left) * ScaleX(area); }
    double ToShownY(const ViewRect& area, double y) const { return area.top + (y - Shown(area).top) * ScaleY(area); }
    double ToLayoutX(const ViewRect& area, double x) const { return Shown(area).left + (x - area.left) / ScaleX(area); }
    double ToLayoutY(const ViewRect& area, double y) const { return Shown(area).top + (y - area.top) / ScaleY(area); }
};

// The zoom of panels stacked over one horizontal axis (Growth-Plot's mean over its spread):
// one horizontal range is shown in all, each panel's vertical range is its own. The wheel over
// a panel zooms the shared axis and that panel's vertical axis about the pointer; anywhere
// else beside the panels (between them, or the keys zooming about the middle) the shared axis
// alone. `panels` are the panels' plot areas, all with the same left and right.

// The panel holding (x, y), or -1.
int PanelAt(const std::vector<ViewRect>& panels, double x, double y);
// The part of panel i's unzoomed layout that fills it (the panel itself when not zoomed).
ViewRect PanelShown(const ViewRange& v, const std::vector<ViewRect>& panels, std::size_t i);
// Zooms by `factor` (above 1 in) keeping the layout point under (x, y) where it is; false when
// nothing changed. Back to whole, the view is reset.
bool ZoomPanelsAbout(ViewRange& v, const std::vector<ViewRect>& panels, double x, double y, double factor);
// A drag by (dx, dy) that started at (x, y): every panel follows it sideways, the panel it
// started in also up and down. False when nothing moved.
bool PanPanels(ViewRange& v, const std::vector<ViewRect>& panels, double x, double y, double dx, double dy);
// The same zoom for the panels laid out anew (a resize): each range at the same fractions
// of its panel. A different number of panels resets it.
void RescalePanels(ViewRange& v, const std::vector<ViewRect>& from, const std::vector<ViewRect>& to);

// The part of the segment inside `r`, in place; false when none of it is.
bool ClipToRect(double& x1, double& y1, double& x2, double& y2, const ViewRect& r);

// A picture's size in pixels, "WxH" (e.g. "1600x1000"); throws RunError naming the value when
// it is not two whole numbers from 1 to MaxPictureSide.
inline constexpr int MaxPictureSide = 8000;
struct PixelSize {
    int width = 600, height = 600;
};
PixelSize ParsePictureSize(const std::string& text);
