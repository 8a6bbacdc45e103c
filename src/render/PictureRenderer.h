#pragma once
#include <QFont>
#include <QImage>
#include <QString>

#include "draw/Picture.h"

class QPainter;

namespace render {

inline constexpr double TwipsPerPixel = 15.0;

QColor ToQColor(Colour c);

// The font of a text op at `pxPerTwip` device pixels per twip (sized in whole pixels).
QFont PictureFont(const DrawOp& op, double pxPerTwip);

// Paints the whole display list, background first, at `pxPerTwip` device units per twip
// (1/15 at 100 %). One path serves the screen, PNG, SVG and PDF.
void Paint(QPainter& painter, const Picture& picture, double pxPerTwip);

// The picture as an image at `scale` times its on-screen size (600 x 600 at 1).
QImage ToImage(const Picture& picture, double scale = 1.0);

// Writes PNG, SVG or PDF by the file's suffix; returns an empty string or the error.
QString Save(const Picture& picture, const QString& path, double scale = 1.0);

}  // namespace render
