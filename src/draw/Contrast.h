#pragma once
#include "draw/Numeric.h"

// When a colour counts as "too close" to the background, decided in one place for axes,
// palettes, fades and every other curve: a thin line is lost when it differs from the
// background neither in lightness (the ratio of the two relative luminances, sRGB, each
// lifted by 0.05, the lighter over the darker, below MinContrast) nor in hue (the distance
// of the two colours in RGB below MinDistance): navy or grey 35 on black, grey 192 on grey
// 200. Saturated colours of the same lightness as the background, lime or aqua on grey, or
// yellow on white, stand out by hue and stay as they are.
inline constexpr double MinContrast = 1.4;
inline constexpr double MinDistance = 150;

double LuminanceContrast(Colour a, Colour b);
double RgbDistance(Colour a, Colour b);
inline bool TooClose(Colour c, Colour back) {
    return LuminanceContrast(c, back) < MinContrast && RgbDistance(c, back) < MinDistance;
}

// Axes, ticks, titles and key names: light grey on a dark background, black on a light one.
Colour InkFor(Colour back);

// A colour that is visible stays exactly as it is; one too close is blended step by step
// toward the ink of the background (lighter on black, darker on grey) until it is visible,
// so a fade keeps its hue and its last steps stay the faintest visible ones.
Colour Visible(Colour c, Colour back);

// Palette colour n; one too close to the background is skipped for the next entry that is not.
Colour VisiblePaletteColour(int n, Colour back);
