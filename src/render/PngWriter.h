#pragma once
#include <QImage>
#include <QString>

namespace render {

// Writes an opaque image as PNG with settings chosen for speed: no adaptive filter search,
// the fastest deflate level, and an exact palette when the image has at most 256 colours
// (the decoded pixels are always the image's own). Returns an empty string or the error.
QString WritePng(const QImage& image, const QString& path);

}  // namespace render
