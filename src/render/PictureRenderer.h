#pragma once
#include <QFont>
#include <QImage>
#include <QString>

#include "draw/Emphasis.h"
#include "draw/Picture.h"

class QPainter;

namespace render {

inline constexpr double TwipsPerPixel = 15.0;

QColor ToQColor(Colour c);

// The font of a text op at `pxPerTwip` device pixels per twip (sized in whole pixels).
QFont PictureFont(const DrawOp& op, double pxPerTwip);

// Paints the whole display list, background first, at `pxPerTwip` device units per twip
// (1/15 at 100 %). One path serves the screen, PNG, SVG and PDF. `emphasis` names the cities
// (a pinned one, a brushed set) whose paths are drawn emphasised and the others dimmed
// (draw/Emphasis.h); none, or cities the picture does not show, paint the picture as drawn.
void Paint(QPainter& painter, const Picture& picture, double pxPerTwip, const Emphasised& emphasis = {});

// The emphasis Paint honours: the part of `emphasis` whose paths the picture shows.
Emphasised ShownEmphasis(const Picture& picture, const Emphasised& emphasis);

// The two layers of an emphasised picture, for a view that keeps the first as an image: the
// base (background and every op, paths dimmed) is the same for every city emphasised; the
// top is the city's own path. All is both, as Paint draws them. `emphasis` as ShownEmphasis.
enum class Layer { All, Base, Top };
void PaintLayer(QPainter& painter, const Picture& picture, double pxPerTwip, const Emphasised& emphasis, Layer layer);

// Qt's raster engine returns with the upper halves of the AVX registers in use; until they
// are cleared every SSE instruction after it (the analyses, the maths library) runs several
// times slower on Intel processors (Info-Stats on 10,000 places: 170 ms instead of 20).
inline void ClearUpperVectorState() {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    static const bool avx = __builtin_cpu_supports("avx");
    if (avx) asm volatile("vzeroupper");
#endif
}

// The picture as an image at `scale` times its on-screen size (600 x 600 at 1).
QImage ToImage(const Picture& picture, double scale = 1.0, const Emphasised& emphasis = {});

// Writes PNG, SVG or PDF by the file's suffix; returns an empty string or the error.
QString Save(const Picture& picture, const QString& path, double scale = 1.0, const Emphasised& emphasis = {});

}  // namespace render
