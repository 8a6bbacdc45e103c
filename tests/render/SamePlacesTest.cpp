// One picture saved as PNG, SVG (drawn back by QSvgRenderer) and PDF (by Ghostscript, if installed)
// puts each mark and label where the display list says (15 twips a pixel, a text at its top left);
// on real plots each axis label stands at its own tick; a PNG decodes to exactly the pixels drawn
// and a pinned city looks the same in every format.
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

#include "TestForm.h"
#include "draw/Ticks.h"
#include "render/PictureRenderer.h"

namespace {

struct Box {
    int left = 9999, top = 9999, right = -1, bottom = -1;
};
std::ostream& operator<<(std::ostream& o, const Box& b) {
    return o << "(" << b.left << ", " << b.top << ") to (" << b.right << ", " << b.bottom << ")";
}

// Each side of `b` within `slack` of `a`'s.
bool Near(const Box& a, const Box& b, int slack) {
    return std::abs(a.left - b.left) <= slack && std::abs(a.top - b.top) <= slack &&
           std::abs(a.right - b.right) <= slack && std::abs(a.bottom - b.bottom) <= slack;
}

// The largest difference of one channel.
int Distance(QColor a, QColor b) {
    return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()), std::abs(a.blue() - b.blue())});
}

// The box of the pixels nearer `ink` than `back` inside `within`, whatever the smoothing of edges.
Box InkBox(const QImage& img, QColor ink, QColor back, QRect within) {
    Box b;
    within = within.intersected(img.rect());
    for (int y = within.top(); y <= within.bottom(); ++y)
        for (int x = within.left(); x <= within.right(); ++x)
            if (const QColor c = img.pixelColor(x, y); Distance(c, ink) < Distance(c, back))
                b = {std::min(b.left, x), std::min(b.top, y), std::max(b.right, x), std::max(b.bottom, y)};
    return b;
}

// The PDF drawn back at 96 dpi (one pixel a pixel), or nothing without Ghostscript.
std::optional<QImage> FromPdf(const QString& pdf) {
    const QString gs = QStandardPaths::findExecutable(QStringLiteral("gs"));
    QProcess p;
    if (!gs.isEmpty())
        p.start(gs, {"-q", "-dSAFER", "-dBATCH", "-dNOPAUSE", "-sDEVICE=png16m", "-r96", "-dTextAlphaBits=4",
                     "-dGraphicsAlphaBits=4", "-sOutputFile=" + pdf + ".png", pdf});
    if (gs.isEmpty() || !p.waitForFinished(30000) || p.exitCode() != 0) return std::nullopt;
    return QImage(pdf + ".png").convertToFormat(QImage::Format_RGB32);
}

// The picture saved in each format and drawn back at its own size.
std::vector<std::pair<const char*, QImage>> Renderings(const Picture& p, const QTemporaryDir& dir, const Emphasised& pin = {}) {
    std::vector<std::pair<const char*, QImage>> out;
    for (const char* name : {"p.png", "p.svg", "p.pdf"}) EXPECT_TRUE(render::Save(p, dir.filePath(name), 1.0, pin).isEmpty());
    out.emplace_back("PNG", QImage(dir.filePath("p.png")).convertToFormat(QImage::Format_RGB32));
    QImage svg(600, 600, QImage::Format_RGB32);
    svg.fill(Qt::white);
    QPainter painter(&svg);
    QSvgRenderer(dir.filePath("p.svg")).render(&painter);
    out.emplace_back("SVG", svg);
    if (auto pdf = FromPdf(dir.filePath("p.pdf"))) out.emplace_back("PDF", *pdf);
    else std::cout << "[   NOTE   ] no Ghostscript (gs): the PDF is not drawn back and compared\n";
    return out;
}

}  // namespace

TEST(SamePlaces, EveryFormatPutsEachElementWhereTheDisplayListSays) {
    Picture p;
    p.BackColor = RGB(255, 255, 255);
    struct Element {
        const char* what;
        QColor colour;
        Box expected;  // from the display list, in pixels
        int slack;     // a text's box is estimated (0.6 em a character, a fifth more in bold)
    };
    std::vector<Element> elements;
    auto text = [&](const char* what, float x, float y, float size, bool bold, QColor c, const char* s) {
        p.FontSize = size, p.FontBold = bold, p.ForeColor = RGB(c.red(), c.green(), c.blue());
        p.CurrentX = x, p.CurrentY = y;
        p.Print(s);
        const int l = static_cast<int>(x / 15), t = static_cast<int>(y / 15);
        elements.push_back({what, c, {l, t, l + static_cast<int>(LabelWidth(s, size) * (bold ? 1.2 : 1) / 15),
                                      t + static_cast<int>(LabelHeight(size) / 15)}, 4});
    };
    auto line = [&](const char* what, float x1, float y1, float x2, float y2, int width, QColor c) {
        p.DrawWidth = static_cast<int16_t>(width);
        p.Line(x1, y1, x2, y2, RGB(c.red(), c.green(), c.blue()));
        const int half = width / 2;
        elements.push_back({what, c, {static_cast<int>(std::min(x1, x2) / 15) - half, static_cast<int>(std::min(y1, y2) / 15) - half,
                                      static_cast<int>(std::max(x1, x2) / 15) + half, static_cast<int>(std::max(y1, y2) / 15) + half}, 1});
    };
    text("a 9-point label", 600, 600, 9, false, QColor(255, 0, 0), "1000");
    text("a bold 14-point title", 3600, 450, 14, true, QColor(0, 0, 255), "Rank");
    text("a 7-point key", 6300, 1050, 7, false, QColor(0, 0, 0), "1790");
    line("a thin diagonal", 600, 3600, 2700, 5400, 1, QColor(0, 160, 0));
    line("a wide horizontal", 3600, 4500, 5700, 4500, 3, QColor(255, 0, 255));
    line("a point (a line of no length)", 7500, 4500, 7500, 4500, 4, QColor(255, 128, 0));  // also in the PDF
    p.DrawWidth = 1;
    p.Circle(3000, 7500, 900, RGB(0, 160, 160));  // centre (200, 500), radius 60 pixels
    elements.push_back({"a ring", QColor(0, 160, 160), {140, 440, 260, 560}, 1});
    EXPECT_EQ(render::ToImage(p, 2.0).size(), QSize(1200, 1200));  // twice the size, twice the pixels
    QTemporaryDir dir;
    const auto renderings = Renderings(p, dir);
    for (const Element& e : elements) {
        const QRect around(e.expected.left - 40, e.expected.top - 40, e.expected.right - e.expected.left + 80,
                           e.expected.bottom - e.expected.top + 80);
        const Box png = InkBox(renderings[0].second, e.colour, Qt::white, around);
        const Box& x = e.expected;  // a text's ink inside its estimated box; a line or ring fills its extent
        const bool inside = png.left >= x.left - e.slack && png.top >= x.top - e.slack &&
                            png.right <= x.right + e.slack && png.bottom <= x.bottom + e.slack;
        EXPECT_TRUE(inside && (e.slack > 1 || Near(png, x, 1))) << e.what << ": " << png << ", expected " << x;
        // The other formats within a pixel of the PNG (Ghostscript smooths edges more: two).
        for (std::size_t k = 1; k < renderings.size(); ++k) {
            const auto& [format, img] = renderings[k];
            const Box other = InkBox(img, e.colour, Qt::white, around);
            EXPECT_TRUE(Near(png, other, k == 2 ? 2 : 1)) << e.what << " in " << format << ": " << other << ", PNG " << png;
        }
    }
}

// The axes of real plots as the reader sees them: the ink of each x label centred under its
// tick, each y label level with its tick and ending just left of it.
TEST(SamePlaces, AxisLabelsStandAtTheirTicks) {
    for (const char* command : {"Rank", "PopChange"}) {
        auto f = FormWithRealData();
        f->Click(command);
        const Picture& pic = f->Picture1;
        const QImage img = render::ToImage(pic);
        const float x0 = f->frame.LeftMargin, y0 = f->frame.PicHeight - f->frame.BottomMargin;
        const double h = LabelHeight(9);
        // The ink of the text nearest to where the tick's label belongs, inside its own box.
        auto labelInk = [&](double x, double y) {
            const DrawOp* best = nullptr;
            for (const DrawOp& op : pic.Ops()) {
                auto distance = [&](const DrawOp& o) { return std::hypot(o.x1 + LabelWidth(o.text, o.fontSize) / 2 - x, o.y1 + h / 2 - y); };
                if (op.kind == OpKind::Text && (!best || distance(op) < distance(*best))) best = &op;
            }
            return InkBox(img, Qt::black, QColor(200, 200, 200),
                          QRect(static_cast<int>(best->x1 / 15) - 2, static_cast<int>(best->y1 / 15) + 1,
                                static_cast<int>(LabelWidth(best->text, best->fontSize) / 15) + 3, static_cast<int>(h / 15)));
        };
        int ticks[2] = {0, 0};
        for (const DrawOp& op : pic.Ops()) {
            // An x tick hangs 200 twips below the axis; a y tick reaches 200 twips left of it.
            const bool xTick = op.kind == OpKind::Line && op.x1 == op.x2 && op.y1 == y0 && op.y2 == y0 + 200 && op.x1 > x0;
            const bool yTick = op.kind == OpKind::Line && op.y1 == op.y2 && op.x1 == x0 && op.x2 == x0 - 200 && op.y1 < y0;
            const double tx = std::round(op.x1 / 15) + 0.5, ty = std::round(op.y1 / 15) + 0.5;  // pixel centres
            const Box b = xTick ? labelInk(op.x1, y0 + 200 + h / 2) : yTick ? labelInk(x0 - 200, op.y1) : Box{};
            const bool level = xTick ? std::abs((b.left + b.right + 1) / 2.0 - tx) <= 2.5 && b.top > (y0 + 200) / 15 && b.top < (y0 + 200) / 15 + 8
                                     : std::abs((b.top + b.bottom + 1) / 2.0 - ty) <= 2.5 && b.right < (x0 - 200) / 15 && b.right > (x0 - 200) / 15 - 8;
            if (xTick || yTick) {
                EXPECT_TRUE(level) << command << ": the label of the tick at " << (xTick ? "x = " : "y = ") << (xTick ? tx : ty) << " at " << b;
            }
            ticks[0] += xTick, ticks[1] += yTick;
        }
        EXPECT_TRUE(ticks[0] >= 2 && ticks[1] >= 2) << command;
    }
}

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
    const auto renderings = Renderings(p, dir, 1);
    const QImage& img = renderings[0].second;
    // The other city's blue, 80 % of the way to grey 200: 0.8 * 200 = 160, 255 - 0.8 * 55 = 211.
    EXPECT_EQ(img.pixelColor(300, 300), QColor(160, 160, 211));
    // The pinned path three pixels wide, in its own red; the axis as drawn.
    for (int y : {99, 100, 101}) EXPECT_EQ(img.pixelColor(300, y), QColor(255, 0, 0)) << y;
    EXPECT_EQ(img.pixelColor(300, 500), QColor(0, 0, 0));
    // Unpinned, the blue is as drawn.
    EXPECT_EQ(render::ToImage(p).pixelColor(300, 300), QColor(0, 0, 255));
    // The other formats drawn back have the PNG's colours on both paths.
    for (const auto& [format, back] : renderings)
        for (const int y : {100, 300})
            EXPECT_LE(Distance(img.pixelColor(300, y), back.pixelColor(300, y)), 24)
                << format << " row " << y << ": PNG " << img.pixelColor(300, y).name().toStdString();
}
