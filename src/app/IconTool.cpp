// Draws the program's icon, the banner's dial, as a 256 x 256 PNG: citysize-icon FILE.png.
// Run at build time, so the icon always matches the banner the window shows.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

#include "core/Banner.h"
#include "render/PictureRenderer.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: citysize-icon FILE.png\n");
        return 2;
    }
    QGuiApplication app(argc, argv);
    constexpr int Size = 256;
    // The dial of the banner: centre (1250, 1207) twips, radius 1000, and a margin around it.
    constexpr double CentreX = 1250, CentreY = 1207, Span = 2300;
    constexpr double Scale = Size / Span;
    QImage image(Size, Size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(0, 0, Size, Size), 36, 36);
    painter.setClipPath(tile);
    painter.translate(-(CentreX - Span / 2) * Scale, -(CentreY - Span / 2) * Scale);
    render::Paint(painter, MakeBanner(), Scale);
    painter.end();
    if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "citysize-icon: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
