#pragma once
#include <algorithm>
#include <string>

#include "draw/ViewRange.h"

// What the statistics' pictures of one or more plot areas share.

// A number as an axis writes it ("%g" unless told), and a population shortened with k and m
// ("250k", "1.5m").
std::string NumberLabel(double v, const char* format = "%g");
std::string PopulationLabel(double v);

// A plot area: data (u, v) in [u0, u1] x [v0, v1] mapped onto the twips rectangle (left, top,
// width, height), y downward; values beyond the vertical range sit at its edge.
struct PlotArea {
    double u0, u1, v0, v1;
    double left, top, width, height;

    float X(double u) const { return static_cast<float>(left + (u - u0) / (u1 - u0) * width); }
    float Y(double v) const {
        return static_cast<float>(top + height - (std::clamp(v, v0, v1) - v0) / (v1 - v0) * height);
    }
    double XScale() const { return width / (u1 - u0); }
    double YScale() const { return height / (v1 - v0); }
    ViewRect Area() const { return ViewRect{left, top, left + width, top + height}; }
    // The same rectangle holding the data range whose layout (in this area's twips) is `shown`:
    // what a zoom shows there.
    PlotArea Showing(const ViewRect& shown) const {
        return PlotArea{u0 + (shown.left - left) / XScale(), u0 + (shown.right - left) / XScale(),
                        v0 + (top + height - shown.bottom) / YScale(), v0 + (top + height - shown.top) / YScale(),
                        left, top, width, height};
    }
};
