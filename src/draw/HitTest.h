#pragma once
#include <optional>
#include <string>

#include "draw/Picture.h"

struct Hit {
    std::size_t opIndex;
    OpTag tag;
};

// The topmost tagged op (the last drawn) within `tolerance` twips of (x, y), counting half
// the line's width; untagged ops (axes, rings, labels) are never hits.
std::optional<Hit> HitTest(const Picture& picture, float x, float y, float tolerance);
