#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "TestForm.h"
#include "render/PictureRenderer.h"

TEST(Render, WritesPngSvgAndPdf) {
    auto f = FormWithRealData();
    f->Choose("BackMap", 1);
    QTemporaryDir dir;  // where each format puts what: SamePlacesTest
    EXPECT_FALSE(render::Save(f->Picture1, dir.filePath("r.bmp")).isEmpty());
    // The PNG decodes (by Qt's own reader) to exactly the rendered pixels, both when it is
    // written with a palette (few colours) and as RGB (a spirel's antialiased rainbow).
    for (auto [command, format] : {std::pair{"Rank", QImage::Format_Indexed8}, std::pair{"RankSpirel2", QImage::Format_RGB32}}) {
        f->Click("Clear");
        f->Click(command);
        f->Picture1.Line(0, 22.5, 9000, 22.5, RGB(200, 0, 50));  // channels that differ: no grey hides a swap
        const QString path = dir.filePath(QString::fromLatin1(command) + ".png");
        ASSERT_TRUE(render::Save(f->Picture1, path).isEmpty());
        const QImage decoded(path);
        EXPECT_EQ(decoded.format(), format) << command;
        EXPECT_TRUE(decoded.convertToFormat(QImage::Format_RGB32) == render::ToImage(f->Picture1)) << command;
    }
}

// A pinned city looks the same in every format: emphasised, the others dimmed.
TEST(Render, SavedPictureKeepsThePin) {
    // City 1 red across row 100, city 2 blue across row 300, an untagged black axis at row 500.
    Picture p;
    p.Width = p.Height = 9000;
    p.CurrentTag = OpTag{1, 2, 0, 0};
    p.Line(1500, 1500, 7500, 1500, RGB(255, 0, 0));
    p.CurrentTag = OpTag{2, 2, 0, 0};
    p.Line(1500, 4500, 7500, 4500, RGB(0, 0, 255));
    p.CurrentTag = OpTag{};
    p.Line(1500, 7500, 7500, 7500, RGB(0, 0, 0));
    QTemporaryDir dir;
    const QString png = dir.filePath("pin.png"), svg = dir.filePath("pin.svg");
    ASSERT_TRUE(render::Save(p, png, 1.0, 1).isEmpty());
    ASSERT_TRUE(render::Save(p, svg, 1.0, 1).isEmpty());
    const QImage img(png);
    // The other city's blue, 80 % of the way to grey 200: 0.8 * 200 = 160, 255 - 0.8 * 55 = 211.
    EXPECT_EQ(img.pixelColor(300, 300), QColor(160, 160, 211));
    // The pinned path three pixels wide, in its own red; the axis as drawn.
    for (int y : {99, 100, 101}) EXPECT_EQ(img.pixelColor(300, y), QColor(255, 0, 0)) << y;
    EXPECT_EQ(img.pixelColor(300, 500), QColor(0, 0, 0));
    // Unpinned, the blue is as drawn.
    EXPECT_EQ(render::ToImage(p).pixelColor(300, 300), QColor(0, 0, 255));
    EXPECT_NE(FileBytes(svg.toStdString()).find("stroke=\"#a0a0d3\""), std::string::npos);
    // The SVG drawn back by Qt's renderer has the PNG's colours on both paths.
    QImage back(600, 600, QImage::Format_RGB32);
    back.fill(Qt::white);
    { QPainter painter(&back); QSvgRenderer(svg).render(&painter); }
    for (const int y : {100, 300}) {
        const QColor a = img.pixelColor(300, y), b = back.pixelColor(300, y);
        EXPECT_LE(std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())}), 24)
            << "row " << y << ": PNG " << a.name().toStdString() << ", SVG " << b.name().toStdString();
    }
}
