#pragma once
#include "draw/Numeric.h"

// The colours the pictures share, in one place: a picture names its series by these rather
// than copying the numbers. (Colour packs red + 256 green + 65536 blue.)

constexpr Colour Rgb(int r, int g, int b) { return r + 256 * g + 65536 * b; }

inline constexpr Colour White = Rgb(255, 255, 255);
inline constexpr Colour Grey150 = Rgb(150, 150, 150);

// The newer analyses' pair of series (the estimate and its alternative), both visible on
// the grey and the black background: blue and orange, with pale bands of each.
inline constexpr Colour SeriesBlue = Rgb(0, 120, 255);
inline constexpr Colour SeriesOrange = Rgb(230, 80, 0);
inline constexpr Colour SeriesGreen = Rgb(0, 170, 90);
inline constexpr Colour BandBlue = Rgb(120, 160, 230);
inline constexpr Colour BandOrange = Rgb(235, 170, 110);
inline constexpr Colour FaintGrey = Rgb(125, 125, 125);

// ColorBrewer's RdBu, diverging: blue for below, red for above, through near white.
inline constexpr int RdBuLow[3] = {33, 102, 172}, RdBuMid[3] = {247, 247, 247}, RdBuHigh[3] = {178, 24, 43};
