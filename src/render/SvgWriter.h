#pragma once
#include <QString>

#include "draw/Emphasis.h"
#include "draw/Picture.h"

namespace render {

// Writes the display list as SVG text, op for op in drawing order, with the geometry Paint
// gives the raster image: the same pixel-centred ends, widths, square caps, centred points
// and text baselines, and the same emphasis of cities (none: as drawn). Returns an empty string or
// the error.
QString WriteSvg(const Picture& picture, const QString& path, double scale = 1.0, const Emphasised& emphasis = {});

}  // namespace render
