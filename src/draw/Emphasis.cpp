#include "draw/Emphasis.h"

#include <algorithm>
#include <cmath>

#include "draw/Contrast.h"

int PathCity(const DrawOp& op) {
    if (op.tag.series == KeySeries || op.tag.series == CitiesAtOneDate) return 0;
    return op.tag.city > 0 ? op.tag.city : 0;
}

Colour Dimmed(Colour c, Colour background) {
    auto mix = [](int from, int to) { return static_cast<int>(std::lround(from + (to - from) * DimShare)); };
    return mix(RedOf(c), RedOf(background)) + 256 * mix(GreenOf(c), GreenOf(background)) +
           65536 * mix(BlueOf(c), BlueOf(background));
}

OpStyle EmphasisStyle(const DrawOp& op, const Emphasised& emphasis, Colour background) {
    const int own = PathCity(op);
    if (!emphasis.Any() || own == 0) return {op.colour, op.width, false, op.fill};
    const Colour fill = op.fill < 0 ? op.fill : Dimmed(op.fill, background);
    if (!emphasis.Has(own)) return {Dimmed(op.colour, background), op.width, false, fill};
    // A mark is drawn for the emphasis and keeps its own width (hundreds of halos would merge).
    if (op.tag.series == MarkSeries) return {op.colour, op.width, true, op.fill};
    // The city's own colour, made visible if it was one of a fade's faintest steps.
    return {Visible(op.colour, background), static_cast<int16_t>(std::max<int>(1, op.width) + EmphasisExtraWidth), true,
            op.fill};
}

OpStyle BaseStyle(const DrawOp& op, const Emphasised& emphasis, Colour background) {
    const OpStyle s = EmphasisStyle(op, emphasis, background);
    return s.onTop ? OpStyle{Dimmed(op.colour, background), op.width, false, s.fill < 0 ? s.fill : Dimmed(s.fill, background)}
                   : s;
}

bool ShowsCity(const Picture& picture, int city) {
    if (city <= 0) return false;
    for (const DrawOp& op : picture.Ops())
        if (PathCity(op) == city) return true;
    return false;
}

Emphasised ShownPart(const Picture& picture, const Emphasised& emphasis) {
    if (!emphasis.Any()) return {};
    bool city = false, set = false;
    for (const DrawOp& op : picture.Ops()) {
        const int c = PathCity(op);
        if (c <= 0) continue;
        city = city || c == emphasis.city;
        set = set || (emphasis.places && c != emphasis.city && Emphasised(0, emphasis.places).Has(c));
        if (city && (set || !emphasis.places || emphasis.places->empty())) break;
    }
    return Emphasised(city ? emphasis.city : 0, set ? emphasis.places : nullptr);
}
