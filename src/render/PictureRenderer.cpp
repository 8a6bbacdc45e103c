#include "render/PictureRenderer.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>
#include <vector>

#include "draw/Emphasis.h"
#include "render/PngWriter.h"
#include "render/SvgWriter.h"

namespace render {

QColor ToQColor(Colour c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

QFont PictureFont(const DrawOp& op, double pxPerTwip) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    // One point is 20 twips.
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(op.fontSize * 20.0 * pxPerTwip))));
    font.setBold(op.bold);
    return font;
}

namespace {
constexpr std::size_t BatchLinesAbove = 20000;  // display-list operations

// A PDF viewer draws nothing for a zero-length line, whatever its cap, so on a PDF a point
// is the square its pen would cover; the raster painter keeps its own points (the pixels of
// every PNG stay as they were).
bool PointsAsSquares(QPainter& painter) {
    return painter.paintEngine() && painter.paintEngine()->type() == QPaintEngine::Pdf;
}

void DrawSquarePoints(QPainter& painter, const QPointF* points, int count, const QColor& colour, double side) {
    for (int i = 0; i < count; ++i)
        painter.fillRect(QRectF(points[i].x() - side / 2, points[i].y() - side / 2, side, side), colour);
}

void PaintOp(QPainter& painter, const DrawOp& op, const OpStyle& style, double pxPerTwip, const ViewRect& clip) {
    const int width = style.width;
    // DrawWidth is in screen pixels of the 100 % view.
    const double pixel = pxPerTwip * TwipsPerPixel;
    // A twip position names a whole device pixel: lines run through pixel centres so a thin
    // line covers its pixels instead of smearing over two.
    auto at = [pxPerTwip](float x, float y) {
        return QPointF(std::round(x * pxPerTwip) + 0.5, std::round(y * pxPerTwip) + 0.5);
    };
    const QColor colour = ToQColor(style.colour);
    switch (op.kind) {
    case OpKind::Line: {
        QPen pen(colour, std::max(1, width) * pixel, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
        painter.setPen(pen);
        QPointF a = at(op.x1, op.y1), b = at(op.x2, op.y2);
        if (a == b && PointsAsSquares(painter))
            DrawSquarePoints(painter, &a, 1, colour, pen.widthF());
        else if (a == b)
            painter.drawPoint(a);
        else
            painter.drawLine(a, b);
        break;
    }
    case OpKind::Circle: {
        painter.setPen(QPen(colour, std::max(1, width) * pixel));
        if (style.fill >= 0)
            painter.setBrush(ToQColor(style.fill));
        else
            painter.setBrush(Qt::NoBrush);
        double r = op.radius * pxPerTwip;
        if (op.clip) {
            // A disc cut by the edge of a zoomed frame.
            painter.save();
            painter.setClipRect(QRectF(clip.left * pxPerTwip, clip.top * pxPerTwip, clip.Width() * pxPerTwip,
                                       clip.Height() * pxPerTwip));
            painter.drawEllipse(at(op.x1, op.y1), r, r);
            painter.restore();
        } else {
            painter.drawEllipse(at(op.x1, op.y1), r, r);
        }
        break;
    }
    case OpKind::Text: {
        QFont font = PictureFont(op, pxPerTwip);
        painter.setFont(font);
        painter.setPen(colour);
        QFontMetricsF metrics(font);
        painter.drawText(QPointF(op.x1 * pxPerTwip, op.y1 * pxPerTwip + metrics.ascent()), QString::fromStdString(op.text));
        break;
    }
    }
}

// Pictures of thousands of places hold hundreds of thousands of segments; above any size the
// US data reaches (about 2,000 ops), consecutive lines of one colour and width go to the raster
// engine in one call instead of a pen change and a call each. Such a picture is a dense mass of
// lines where smoothing each edge is not seen but costs most of the time (Pop Change on 10,000
// places: 585 ms), so its lines are drawn unsmoothed.
void PaintBatched(QPainter& painter, const Picture& picture, double pxPerTwip, const Emphasised& emphasis, bool marks) {
    const double pixel = pxPerTwip * TwipsPerPixel;
    auto at = [pxPerTwip](float x, float y) {
        return QPointF(std::round(x * pxPerTwip) + 0.5, std::round(y * pxPerTwip) + 0.5);
    };
    std::vector<QLineF> lines;
    std::vector<QPointF> points;
    Colour runColour = 0;
    int runWidth = -1;
    auto flush = [&] {
        if (lines.empty() && points.empty()) return;
        painter.setPen(QPen(ToQColor(runColour), std::max(1, runWidth) * pixel, Qt::SolidLine, Qt::SquareCap,
                            Qt::MiterJoin));
        painter.setRenderHint(QPainter::Antialiasing, false);
        if (!lines.empty()) painter.drawLines(lines.data(), static_cast<int>(lines.size()));
        if (!points.empty() && PointsAsSquares(painter))
            DrawSquarePoints(painter, points.data(), static_cast<int>(points.size()), ToQColor(runColour),
                             std::max(1, runWidth) * pixel);
        else if (!points.empty())
            painter.drawPoints(points.data(), static_cast<int>(points.size()));
        painter.setRenderHint(QPainter::Antialiasing, true);
        lines.clear();
        points.clear();
    };
    for (const DrawOp& op : picture.Ops()) {
        if (!marks && op.tag.series == MarkSeries) continue;
        const OpStyle style = BaseStyle(op, emphasis, picture.BackColor);
        if (op.kind != OpKind::Line) {
            flush();
            PaintOp(painter, op, style, pxPerTwip, picture.ZoomArea);
            continue;
        }
        if (style.colour != runColour || style.width != runWidth) {
            flush();
            runColour = style.colour;
            runWidth = style.width;
        }
        const QPointF a = at(op.x1, op.y1), b = at(op.x2, op.y2);
        if (a == b)
            points.push_back(a);
        else
            lines.emplace_back(a, b);
    }
    flush();
}

}  // namespace

Emphasised ShownEmphasis(const Picture& picture, const Emphasised& emphasis) { return ShownPart(picture, emphasis); }

void PaintLayer(QPainter& painter, const Picture& picture, double pxPerTwip, const Emphasised& emphasis, Layer layer) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const Colour back = picture.BackColor;
    if (layer != Layer::Top) {
        painter.fillRect(QRectF(0, 0, picture.Width * pxPerTwip, picture.Height * pxPerTwip), ToQColor(back));
        // Marks are drawn with the emphasis on top; the base is the same whichever places are marked.
        const bool marks = layer == Layer::All && !emphasis.Any();
        if (picture.Ops().size() > BatchLinesAbove)
            PaintBatched(painter, picture, pxPerTwip, emphasis, marks);
        else
            for (const DrawOp& op : picture.Ops())
                if (marks || op.tag.series != MarkSeries) PaintOp(painter, op, BaseStyle(op, emphasis, back), pxPerTwip, picture.ZoomArea);
    }
    if (layer != Layer::Base && emphasis.Any())
        for (const DrawOp& op : picture.Ops())
            if (emphasis.Has(PathCity(op))) PaintOp(painter, op, EmphasisStyle(op, emphasis, back), pxPerTwip, picture.ZoomArea);
    painter.restore();
    ClearUpperVectorState();
}

void Paint(QPainter& painter, const Picture& picture, double pxPerTwip, const Emphasised& emphasis) {
    PaintLayer(painter, picture, pxPerTwip, ShownEmphasis(picture, emphasis), Layer::All);
}

QImage ToImage(const Picture& picture, double scale, const Emphasised& emphasis) {
    const double pxPerTwip = scale / TwipsPerPixel;
    QImage image(std::max(1, static_cast<int>(std::lround(picture.Width * pxPerTwip))),
                 std::max(1, static_cast<int>(std::lround(picture.Height * pxPerTwip))), QImage::Format_RGB32);
    image.fill(ToQColor(picture.BackColor));
    QPainter painter(&image);
    Paint(painter, picture, pxPerTwip, emphasis);
    painter.end();
    ClearUpperVectorState();
    return image;
}

QString Save(const Picture& picture, const QString& path, double scale, const Emphasised& emphasis) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("svg")) return WriteSvg(picture, path, scale, emphasis);
    if (suffix == QLatin1String("pdf")) {
        QPdfWriter pdf(path);
        pdf.setResolution(1440);  // one device unit per twip
        pdf.setPageSize(QPageSize(QSizeF(picture.Width / 1440.0, picture.Height / 1440.0), QPageSize::Inch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setCreator(QStringLiteral("citysize"));
        QPainter painter;
        if (!painter.begin(&pdf)) return QStringLiteral("Cannot write ") + path;
        Paint(painter, picture, 1.0, emphasis);
        painter.end();
        return {};
    }
    if (suffix != QLatin1String("png")) return QStringLiteral("Unknown picture format \"") + suffix + QStringLiteral("\": use .png, .svg or .pdf");
    return WritePng(ToImage(picture, scale, emphasis), path);
}

}  // namespace render
