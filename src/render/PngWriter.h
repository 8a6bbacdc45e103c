#pragma once
#include <QImage>
#include <QString>

namespace render {

// Writes an image as an opaque PNG with settings chosen for speed: one fixed filter and
// libdeflate's fastest level, and an exact palette when the image has at most 256 colours.
// The decoded pixels are always the image's own. Returns an empty string or the error.
QString WritePng(const QImage& image, const QString& path);

}  // namespace render
