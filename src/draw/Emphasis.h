#pragma once
#include <vector>

#include "draw/Picture.h"

// Cities emphasised across a picture (one hovered or pinned, and a set brushed): their paths
// drawn over everything, wider; every other city's path dimmed toward the background; axes,
// labels, rings and keys as drawn. The screen, PNG, PDF, SVG and the clipboard all draw it
// by these rules.

// The cities emphasised: one city (0: none) and a set, `places[c]` non-zero for city c (null:
// none). The set is borrowed: it must outlive the painting.
struct Emphasised {
    int city = 0;
    const std::vector<char>* places = nullptr;
    Emphasised(int c = 0) : city(c) {}  // NOLINT: one city converts, as before sets
    Emphasised(int c, const std::vector<char>* set) : city(c), places(set) {}
    bool Has(int c) const {
        if (c <= 0) return false;
        if (c == city) return true;
        return places && static_cast<std::size_t>(c) < places->size() && (*places)[static_cast<std::size_t>(c)];
    }
    bool Any() const { return city > 0 || (places && !places->empty()); }
};

// Ops of marks drawn only for emphasised places (a halo and name on the map, a ring on each
// rank-size curve): the dimmed base of a picture leaves them out, so that marking other places
// repaints only the top.
inline constexpr int16_t MarkSeries = 30;

struct OpStyle {
    Colour colour;
    int16_t width;
    // Drawn a second time, over the whole picture (the first time it is dimmed like the
    // rest, so the picture under the emphasised path is the same whichever city it is).
    bool onTop;
    Colour fill = -1;  // a disc's inside, dimmed with its ring
};

// How far a dimmed colour is blended toward the background.
inline constexpr double DimShare = 0.8;
// Pixels an emphasised line gains.
inline constexpr int16_t EmphasisExtraWidth = 2;

// The city whose path the op belongs to, or 0: keys and a line across cities at one date
// (the rank-shift's red curve) belong to no city's path, even where they name one.
int PathCity(const DrawOp& op);

Colour Dimmed(Colour c, Colour background);

// The look of `op` while `emphasis` holds (none: every op as drawn).
OpStyle EmphasisStyle(const DrawOp& op, const Emphasised& emphasis, Colour background);

// The op's look in the first pass of an emphasised picture: EmphasisStyle, except that the
// emphasised path is dimmed too (it is drawn again on top in the second pass).
OpStyle BaseStyle(const DrawOp& op, const Emphasised& emphasis, Colour background);

// Whether the picture draws any of the city's path: emphasising a city that is not there
// would only dim the picture, so it changes nothing.
bool ShowsCity(const Picture& picture, int city);

// The part of `emphasis` the picture shows: the city if its path is drawn, the set if any of
// its places' paths is; nothing otherwise.
Emphasised ShownPart(const Picture& picture, const Emphasised& emphasis);
