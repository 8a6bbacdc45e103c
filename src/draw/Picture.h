#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "Numeric.h"
#include "ViewRange.h"

// What a drawing op stands for, so the window can later tell what is under the mouse.
// 0 means "not set" in each slot.
struct OpTag {
    int city = 0;
    int16_t date = 0;
    int16_t series = 0;  // RankCurve or CitiesAtOneDate; 0 for a city's path in time
    int point = 0;       // set by PlotCurve: index of the curve's point the op ends at
    bool operator==(const OpTag&) const = default;
};

inline constexpr int16_t RankCurve = 1;
// A line across cities at one date (not a path in time): its ops name the city and date as they are.
inline constexpr int16_t CitiesAtOneDate = 2;
// The strokes and names of a plot's key: they stand for no data.
inline constexpr int16_t KeySeries = -1;
// Tail-Fit: a date's exponents (zeta_GI, zeta_MLE) on the picture through time, and a
// point k of a date's Hill plot (`point` holds k).
inline constexpr int16_t TailFitExponents = 10;
inline constexpr int16_t TailHillPoint = 11;
// Growth: a pair's beta (`date` its first date) and a place in a Growth-Plot.
inline constexpr int16_t GrowthBetaPoint = 12;
inline constexpr int16_t GrowthPlacePoint = 13;

enum class OpKind { Line, Circle, Text };

// One drawing operation in twips (1/1440 inch, 15 per pixel at 96 dpi), y downward.
struct DrawOp {
    OpKind kind = OpKind::Line;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // line ends; circle centre in x1, y1
    float radius = 0;                      // circle
    Colour fill = -1;                      // circle: the disc's colour under its ring; -1 none
    Colour colour = 0;
    int16_t width = 1;                     // line thickness in pixels (DrawWidth)
    std::string text;                      // text: top-left corner at (x1, y1)
    float fontSize = 0;
    bool bold = false;
    OpTag tag;
    // Painted clipped to the picture's ZoomArea (a disc cut by the edge of a zoomed frame).
    bool clip = false;
};

// The drawing surface Picture1 as a display list: commands append ops, renderers paint them.
class Picture {
public:
    float Width = 9000;
    float Height = 9000;
    float Top = 150;
    float Left = 3700;
    bool Visible = false;
    Colour BackColor = 200 + 256 * 200 + 65536 * 200;
    Colour ForeColor = 0;
    int16_t DrawWidth = 1;
    float FontSize = 8.25f;
    bool FontBold = false;
    float CurrentX = 0;
    float CurrentY = 0;

    // Tag carried by every op appended from now on.
    OpTag CurrentTag;

    // The zoom asked of the picture; a redraw keeps it (Clear leaves it), a new picture resets
    // it. ZoomArea is the plot area or map frame the last drawing laid out (empty: the picture
    // has none to zoom).
    ViewRange View;
    ViewRect ZoomArea;
    // Pictures of panels stacked over one horizontal axis: the panels' plot areas (ZoomArea
    // spanning them all), zoomed as ZoomPanelsAbout says. Empty for one plot area.
    std::vector<ViewRect> ZoomPanels;
    // While on (and View zoomed), ops are moved from the unzoomed layout into the zoomed
    // ZoomArea: lines clipped to it, discs cut by its edge, whatever lies outside left out.
    // Positions handed in, and CurrentX / CurrentY, stay in the unzoomed layout's twips.
    // `evenWhole` clips to ZoomArea without a zoom too (a map of a box cuts its edge discs).
    void MapIntoView(bool on, bool evenWhole = false) {
        mapping_ = on && (View.zoomed || evenWhole) && !ZoomArea.Empty();
    }
    bool MappingIntoView() const { return mapping_; }

    // Assigning an empty picture: every earlier drawing vanishes, BackColor stays.
    void Clear();

    // Line with both ends; the current position becomes (x2, y2).
    void Line(float x1, float y1, float x2, float y2, Colour colour);
    // Line from the current position to (x2, y2).
    void LineTo(float x2, float y2, Colour colour);
    void Circle(float x, float y, float r, Colour colour);
    // A filled circle (a disc) ringed in `colour`.
    void Disc(float x, float y, float r, Colour fill, Colour colour);
    // An op as it is, for pictures assembled from another's ops (an animation's frames).
    void Append(DrawOp op) { ops_.push_back(std::move(op)); }
    // Print at (CurrentX, CurrentY) in ForeColor; then the position moves to the start
    // of the next line, as a print statement without a trailing separator does.
    void Print(const std::string& text);

    // Height of one printed line at the current FontSize, in twips.
    float TextHeight() const;

    const std::vector<DrawOp>& Ops() const { return ops_; }

private:
    // Moves a circle into the zoomed area: false when it lies wholly outside.
    bool PlaceInView(DrawOp& op) const;
    std::vector<DrawOp> ops_;
    bool mapping_ = false;
};

// A path that breaks where its points are missing: each run of points starts with a
// one-point mark in `markColour`, and the following points join it in `colour`.
class BrokenPath {
public:
    BrokenPath(Picture& p, Colour colour, Colour markColour) : p_(p), colour_(colour), mark_(markColour) {}
    BrokenPath(Picture& p, Colour colour) : BrokenPath(p, colour, colour) {}
    // Returns true when the point continued a run (a segment was drawn to it).
    bool To(float x, float y) {
        if (!down_) {
            p_.Line(x, y, x, y, mark_);
            down_ = true;
            return false;
        }
        p_.LineTo(x, y, colour_);
        return true;
    }
    void Break() { down_ = false; }

private:
    Picture& p_;
    Colour colour_, mark_;
    bool down_ = false;
};
