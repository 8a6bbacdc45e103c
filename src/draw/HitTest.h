#pragma once
#include <optional>
#include <string>

#include "draw/Picture.h"

class Form;

struct Hit {
    std::size_t opIndex;
    OpTag tag;
};

// The topmost tagged op (the last drawn) within `tolerance` twips of (x, y), counting half
// the line's width; untagged ops (axes, rings, labels) are never hits.
std::optional<Hit> HitTest(const Picture& picture, float x, float y, float tolerance);

// What a researcher is told about a hit: the city, the date, its rank and population there;
// for a curve of one date, the date and the nearest point's rank and population.
std::string DescribeHit(const Form& f, const Hit& hit, float x, float y);
