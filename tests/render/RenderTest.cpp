#include <QFile>
#include <QImage>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TestForm.h"
#include "render/PictureRenderer.h"

namespace {

// Largest channel difference from `want` in the 3 x 3 pixels around (x, y).
int NearestDistance(const QImage& img, int x, int y, QColor want) {
    int best = 999;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            QColor c = img.pixelColor(x + dx, y + dy);
            int d = std::max({std::abs(c.red() - want.red()), std::abs(c.green() - want.green()),
                              std::abs(c.blue() - want.blue())});
            best = std::min(best, d);
        }
    return best;
}

}  // namespace

// A hand-made picture in colour: the background, a line through pixel centres, a ring and
// a label whose top, not its baseline, stands at its position. 15 twips to the pixel.
TEST(Render, ColoursLinesRingsAndLabelsLandOnTheirPixels) {
    Picture p;
    p.BackColor = RGB(10, 20, 200);
    p.Line(1500, 1500, 7500, 1500, RGB(255, 0, 0));  // row 100, columns 100..500
    p.Circle(4500, 4500, 1500, RGB(0, 255, 0));       // a ring of 100 px about (300, 300)
    p.ForeColor = RGB(255, 255, 0);
    p.FontSize = 12;  // 16 px
    p.CurrentX = 1500;
    p.CurrentY = 6000;  // the top of the label at row 400
    p.Print("HHH");
    const QImage img = render::ToImage(p);
    EXPECT_EQ(img.pixelColor(5, 5), QColor(10, 20, 200));
    EXPECT_EQ(img.pixelColor(300, 100), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(300, 99), QColor(10, 20, 200));  // one pixel wide, not smeared
    EXPECT_EQ(img.pixelColor(300, 101), QColor(10, 20, 200));
    EXPECT_LE(NearestDistance(img, 400, 300, QColor(0, 255, 0)), 80);
    EXPECT_LE(NearestDistance(img, 300, 400, QColor(0, 255, 0)), 80);
    EXPECT_EQ(img.pixelColor(300, 300), QColor(10, 20, 200));
    int top = 600, bottom = -1;
    for (int y = 380; y < 430; ++y)
        for (int x = 100; x < 160; ++x)
            if (img.pixelColor(x, y) == QColor(255, 255, 0)) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_GE(top, 400);  // the ink lies between the top and one font height below it
    EXPECT_LE(bottom, 416);
    EXPECT_EQ(render::ToImage(p, 2.0).size(), QSize(1200, 1200));  // double size doubles the image
}

TEST(Render, WritesPngSvgAndPdf) {
    auto f = FormWithRealData();
    f->Choose("BackMap", 1);
    f->Click("Rank");
    QTemporaryDir dir;
    const QString png = dir.filePath("r.png"), svg = dir.filePath("r.svg"), pdf = dir.filePath("r.pdf");
    EXPECT_TRUE(render::Save(f->Picture1, png).isEmpty());
    EXPECT_TRUE(render::Save(f->Picture1, svg).isEmpty());
    EXPECT_TRUE(render::Save(f->Picture1, pdf).isEmpty());
    QImage back(png);
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.pixelColor(590, 10), QColor(0, 0, 0));
    QSvgRenderer svgRenderer(svg);
    EXPECT_TRUE(svgRenderer.isValid());
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdfFile.read(4) == "%PDF");
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
    QFile text(svg);
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_TRUE(text.readAll().contains("stroke=\"#a0a0d3\""));
}
