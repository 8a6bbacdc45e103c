#pragma once
#include <QImage>
#include <QString>
#include <vector>

namespace render {

// Writes the images as an animated PNG (every browser plays it; a viewer without animation
// shows the first frame), each frame shown `frameMs` milliseconds, looping for ever. Each frame
// after the first stores the rectangle where it differs from the one before, in RGB with the
// PNG writer's filter and compressor, so the same frames always give the same bytes. Returns
// an empty string or the error.
QString WriteApng(const std::vector<QImage>& frames, int frameMs, const QString& path);

}  // namespace render
