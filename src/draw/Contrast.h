#pragma once
#include "draw/Numeric.h"

// When a colour counts as "too close" to the background, decided in one place for axes,
// palettes, fades and every other curve: the ratio of the two relative luminances (sRGB,
// each lifted by 0.05, the lighter over the darker) must reach MinContrast. Below it a thin
// line is lost: navy or grey 35 on black, grey 192 on grey 200.
inline constexpr double MinContrast = 1.4;

double LuminanceContrast(Colour a, Colour b);
inline bool TooClose(Colour c, Colour back) { return LuminanceContrast(c, back) < MinContrast; }

// Axes, ticks, titles and key names: light grey on a dark background, black on a light one.
Colour InkFor(Colour back);

// A colour that is visible stays exactly as it is; one too close is blended step by step
// toward the ink of the background (lighter on black, darker on grey) until it is visible,
// so a fade keeps its hue and its last steps stay the faintest visible ones.
Colour Visible(Colour c, Colour back);

// Palette colour n; one too close to the background is skipped for the next entry that is not.
Colour VisiblePaletteColour(int n, Colour back);
