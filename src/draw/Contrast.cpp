#include "draw/Contrast.h"

#include <algorithm>
#include <cmath>

#include "draw/PlotFrame.h"

namespace {
double Linear(int component) {
    const double v = component / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
}
double Luminance(Colour c) {
    return 0.2126 * Linear(RedOf(c)) + 0.7152 * Linear(GreenOf(c)) + 0.0722 * Linear(BlueOf(c));
}
}  // namespace

double LuminanceContrast(Colour a, Colour b) {
    const double la = Luminance(a) + 0.05, lb = Luminance(b) + 0.05;
    return std::max(la, lb) / std::min(la, lb);
}

double RgbDistance(Colour a, Colour b) {
    const double dr = RedOf(a) - RedOf(b), dg = GreenOf(a) - GreenOf(b), db = BlueOf(a) - BlueOf(b);
    return std::sqrt(dr * dr + dg * dg + db * db);
}

Colour InkFor(Colour back) { return Luminance(back) < 0.18 ? LightGrey : Black; }

Colour Visible(Colour c, Colour back) {
    if (!TooClose(c, back)) return c;
    const Colour ink = Luminance(back) < 0.18 ? RGB(255, 255, 255) : Black;
    for (int k = 1; k <= 20; ++k) {
        const double w = k / 20.0;
        auto mix = [&](int from, int to) { return from + (to - from) * w; };
        const Colour m = RGB(mix(RedOf(c), RedOf(ink)), mix(GreenOf(c), GreenOf(ink)), mix(BlueOf(c), BlueOf(ink)));
        if (!TooClose(m, back)) return m;
    }
    return ink;
}

Colour VisiblePaletteColour(int n, Colour back) {
    for (int k = 0; k < 16; ++k) {
        const Colour c = PaletteColour((n + k) % 16);
        if (!TooClose(c, back)) return c;
    }
    return InkFor(back);
}
