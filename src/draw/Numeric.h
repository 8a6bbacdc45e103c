#pragma once
#include <cmath>
#include <cstdint>

#include "RunError.h"

// The written constants of the system; results depend on them, not on a precise pi.
inline constexpr double Pi = 3.14159265;
inline constexpr double TwoPi = 6.2831853;

// Nearest integer, an exact half to the even neighbour.
inline long RoundToLong(double v) {
    if (!std::isfinite(v) || v > 2147483647.0 || v < -2147483648.0) throw RunError("Overflow");
    double r = std::nearbyint(v);  // default rounding mode: ties to even
    return static_cast<long>(r);
}

// A float converted to a 16-bit integer: ties to even, "Overflow" outside -32768..32767.
inline int16_t ToInt16(double v) {
    long r = RoundToLong(v);
    if (r < -32768 || r > 32767) throw RunError("Overflow");
    return static_cast<int16_t>(r);
}

// A float count (a NumPresent, say) to a whole number, nearest with ties to even as ToInt16,
// without its 16-bit limit: counts of places pass 32,767 on the large tables.
inline int ToCount(double v) { return static_cast<int>(RoundToLong(v)); }

// 16-bit integer arithmetic that overflows the way the system's counters do.
inline int16_t Add16(int a, int b) {
    int r = a + b;
    if (r < -32768 || r > 32767) throw RunError("Overflow");
    return static_cast<int16_t>(r);
}

// A division that reports a zero divisor as the run-time error instead of producing inf/NaN.
inline double Divide(double a, double b) {
    if (b == 0.0) throw RunError("Division by zero");
    return a / b;
}

// Colours are 24-bit values r + 256 g + 65536 b.
using Colour = int32_t;

// Components are converted to integers (ties to even); above 255 counts as 255.
Colour RGB(double r, double g, double b);

// Palette colour n (0..15) of the 16 standard colours.
Colour PaletteColour(int n);

inline int RedOf(Colour c) { return c & 0xFF; }
inline int GreenOf(Colour c) { return (c >> 8) & 0xFF; }
inline int BlueOf(Colour c) { return (c >> 16) & 0xFF; }

// A colour held in a float field is handed to the surface rounded to the nearest integer.
inline Colour ColourFromFloat(double v) { return static_cast<Colour>(RoundToLong(v)); }
