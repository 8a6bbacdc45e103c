#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "draw/Arrays.h"

struct Canvas;

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

// Assign an empty picture to Picture1: every drawing vanishes, BackColor stays.
void ClearPicture(const Canvas& c);

// Sets the frame fields from Picture1's size and draws both axes of the kind AxisKind
// holds, their ticks and labels, and the two titles, in AxisColor.
// One line of a plot's key: a short stroke in the curve's colour and width, then its name.
struct KeyEntry {
    std::string name;
    Colour colour = 0;
    int16_t width = 2;
};

// A small key in the top right corner inside the plot area, its names in AxisColor, so a
// plot with several curves says which is which. Call it after DrawAxes (it reads the frame).
void DrawKey(const Canvas& c, const std::vector<KeyEntry>& entries);

void DrawAxes(const Canvas& c, float yRange, float xRange, const std::string& yTitle, const std::string& xTitle);

// The polyline through (xs(k), ys(k)), k = 1..n, in data units on the last frame: a black
// one-point mark at the first point, then n - 1 segments in PlotColor. Uses LoopIndex.
void PlotCurveImpl(const Canvas& c, const float* ys, std::size_t ysCap, const float* xs, std::size_t xsCap, int n);

template <typename A, typename B>
void PlotCurve(const Canvas& c, const A& ys, const B& xs, int n) {
    // Element 1 is always read, so an empty array fails even with n = 0.
    const float* y = &ys(1);
    const float* x = &xs(1);
    PlotCurveImpl(c, y, A::Capacity, x, B::Capacity, n);
}
