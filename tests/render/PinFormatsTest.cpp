// A pinned city looks the same in every format: the SVG, drawn back by Qt's SVG renderer,
// has the PNG's colours on the pinned path (emphasised) and on another city's (dimmed).
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "draw/Picture.h"
#include "render/PictureRenderer.h"

TEST(PinnedFormats, TheSvgEmphasisesAndDimsAsThePngDoes) {
    Picture p;
    p.BackColor = RGB(192, 192, 192);
    p.DrawWidth = 2;
    p.CurrentTag = OpTag{1, 1, 0, 0};
    p.Line(1500, 1500, 7500, 1500, RGB(255, 0, 0));  // pixel row 100
    p.CurrentTag = OpTag{2, 1, 0, 0};
    p.Line(1500, 6000, 7500, 6000, RGB(0, 0, 255));  // pixel row 400
    QTemporaryDir dir;
    ASSERT_TRUE(render::Save(p, dir.filePath("p.png"), 1.0, 1).isEmpty());
    ASSERT_TRUE(render::Save(p, dir.filePath("p.svg"), 1.0, 1).isEmpty());
    const QImage png = QImage(dir.filePath("p.png")).convertToFormat(QImage::Format_RGB32);
    QImage svg(600, 600, QImage::Format_RGB32);
    svg.fill(Qt::white);
    { QPainter painter(&svg); QSvgRenderer(dir.filePath("p.svg")).render(&painter); }
    EXPECT_EQ(png.pixelColor(300, 100), QColor(255, 0, 0));  // the pinned path keeps its colour
    EXPECT_NE(png.pixelColor(300, 400), QColor(0, 0, 255));  // the other is dimmed
    for (const int y : {100, 400}) {
        const QColor a = png.pixelColor(300, y), b = svg.pixelColor(300, y);
        EXPECT_LE(std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())}), 24)
            << "row " << y << ": PNG " << a.name().toStdString() << ", SVG " << b.name().toStdString();
    }
}
