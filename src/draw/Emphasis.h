#pragma once
#include "draw/Picture.h"

// One city emphasised across a picture (hovered or pinned): its path drawn over everything,
// wider; every other city's path dimmed toward the background; axes, labels, rings and keys
// as drawn. The screen, PNG, PDF, SVG and the clipboard all draw it by these rules.

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

// The look of `op` while `city` is emphasised (0: none, every op as drawn).
OpStyle EmphasisStyle(const DrawOp& op, int city, Colour background);

// The op's look in the first pass of an emphasised picture: EmphasisStyle, except that the
// emphasised path is dimmed too (it is drawn again on top in the second pass).
OpStyle BaseStyle(const DrawOp& op, int city, Colour background);

// Whether the picture draws any of the city's path: emphasising a city that is not there
// would only dim the picture, so it changes nothing.
bool ShowsCity(const Picture& picture, int city);
