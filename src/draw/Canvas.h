#pragma once
#include <cstdint>

#include "draw/Emphasis.h"
#include "draw/Picture.h"
#include "draw/PlotFrame.h"
#include "draw/TextSurface.h"

// What an analysis draws and prints on, handed down by the command that runs it so that the
// analysis never sees the window: the picture and its frame, the text pane, whether the
// background chooser stands at "Black" when the command starts, and the loop counter a loop
// shares with the plotting routines it calls (some results depend on where it is left).
struct Canvas {
    Picture& pic;
    PlotFrame& frame;
    TextSurface& text;
    bool black;
    int& LoopIndex;
    // The places marked (pin and selection): a thinned picture of paths draws theirs too.
    Emphasised marked = {};
};
