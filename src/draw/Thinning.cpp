#include "draw/Thinning.h"

#include "draw/Canvas.h"
#include "draw/Contrast.h"

namespace {

std::string WithThousands(int v) {
    std::string s = std::to_string(v);
    for (int k = static_cast<int>(s.size()) - 3; k > 0; k -= 3) s.insert(static_cast<std::size_t>(k), 1, ',');
    return s;
}

std::string Ordinal(int n) {
    const int tens = n % 100, units = n % 10;
    const char* suffix = (tens >= 11 && tens <= 13) ? "th" : units == 1 ? "st" : units == 2 ? "nd" : units == 3 ? "rd" : "th";
    return std::to_string(n) + suffix;
}

}  // namespace

std::string ThinningCaption(int paths, int step) {
    if (step <= 1) return {};
    return WithThousands(paths) + " paths: every " + Ordinal(step) + " drawn";
}

void DrawThinningCaption(const Canvas& c, int paths, int step) {
    const std::string text = ThinningCaption(paths, step);
    if (text.empty()) return;
    Picture& p = c.pic;
    const float savedSize = p.FontSize;
    const Colour savedFore = p.ForeColor;
    const OpTag savedTag = p.CurrentTag;
    p.CurrentTag = OpTag{0, 0, KeySeries};
    p.FontSize = 8;
    p.ForeColor = InkFor(p.BackColor);
    const bool mapping = p.MappingIntoView();
    p.MapIntoView(false);
    PrintAt(p, 100, p.Height - 100 - p.TextHeight(), text);
    p.MapIntoView(mapping);
    p.FontSize = savedSize;
    p.ForeColor = savedFore;
    p.CurrentTag = savedTag;
}
