#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "draw/Arrays.h"

struct Canvas;
class Picture;

// The frame fields shared by every x-y plot (and overwritten by the spirels).
struct PlotFrame {
    float LeftMargin = 0, RightMargin = 0, TopMargin = 0, BottomMargin = 0;
    float PicWidth = 0, PicHeight = 0, PlotWidth = 0, PlotHeight = 0;
    float XScale = 0, YScale = 0;
    int16_t AxisKind = 0;  // 1: log-log axes; anything else: time axes
    float AxisColor = 0;   // colours held as floats, as the system does
    float PlotColor = 0;
};

inline constexpr Colour Black = 0;
inline constexpr Colour LightGrey = 200 + 256 * 200 + 65536 * 200;

// The background choice every plot command starts with: BackColor from the chooser, and
// with setAxisColor the contrasting AxisColor. Neither clears the picture.
void ApplyBackgroundChoice(const Canvas& c, bool setAxisColor);

// Prints text with its top-left corner at (x, y) in twips, in the picture's ForeColor.
void PrintAt(Picture& p, double x, double y, const std::string& text);

// Assign an empty picture to Picture1: every drawing vanishes, BackColor stays.
void ClearPicture(const Canvas& c);

// One line of a plot's key: a short stroke in the curve's colour and width, then its name.
struct KeyEntry {
    std::string name;
    Colour colour = 0;
    int16_t width = 2;
};

// A small key in the top right corner inside the plot area, its names in AxisColor, so a
// plot with several curves says which is which. Call it after DrawAxes (it reads the frame).
// inPictureCorner puts it in the picture's own top right corner instead (the spirels,
// whose dial fills the frame).
void DrawKey(const Canvas& c, const std::vector<KeyEntry>& entries, bool inPictureCorner = false);

// The key of a fade of one curve per date: the first, the middle and the last date.
void AddFadeKey(int t, int numDates, int year, Colour colour, std::vector<KeyEntry>& key);

// What each axis of a plot shows, given by the plot itself so no plot inherits the axes of
// the one before: logarithms (ticks at powers of ten), plain values, or dates (x only),
// whose first and last years stand at xFirst and xLast data units.
enum class AxisScale { Log, Linear, Years };
struct YearSpan {
    int first = 0, last = 0;
    double xFirst = 0, xLast = 0;
};
struct Axes {
    AxisScale x = AxisScale::Log, y = AxisScale::Log;
    YearSpan years;
};

// The margins of every x-y plot and the plot area they leave in the picture.
void SetPlotMargins(const Canvas& c);

// Sets the frame fields from Picture1's size (AxisKind = 1 for log-log axes, else 0) and
// draws both axes with ticks and labels for the values in their ranges (thinned where
// they would overprint), and the two titles, in the colour that contrasts with BackColor.
void DrawAxes(const Canvas& c, float yRange, float xRange, const std::string& yTitle, const std::string& xTitle,
              const Axes& axes);

// The polyline through (xs(k), ys(k)), k = 1..n, in data units on the last frame: a black
// one-point mark at the first point, then n - 1 segments in PlotColor. Uses LoopIndex.
void PlotCurveImpl(const Canvas& c, const float* ys, std::size_t ysCap, const float* xs, std::size_t xsCap, int n);

template <typename A, typename B>
void PlotCurve(const Canvas& c, const A& ys, const B& xs, int n) {
    // Element 1 is always read, so an empty array fails even with n = 0.
    const float* y = &ys(1);
    const float* x = &xs(1);
    PlotCurveImpl(c, y, ys.Size(), x, xs.Size(), n);
}
