#include "render/SvgWriter.h"

#include <QFile>
#include <QFontMetricsF>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "draw/Emphasis.h"
#include "render/PictureRenderer.h"

namespace render {

namespace {

// Six significant digits, like the numbers of Qt's own SVG output. Most coordinates are on a
// half pixel, written directly as the general formatting would.
void Num(std::string& out, double v) {
    const double twice = v * 2;
    if (twice == std::floor(twice) && std::fabs(v) < 99999.5) {
        const long h = static_cast<long>(twice);
        const long whole = (h < 0 ? -h : h) / 2;
        if (h < 0) out += '-';
        out += std::to_string(whole);
        if (h % 2 != 0) out += ".5";
        return;
    }
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
    if (ec != std::errc()) end = buf + std::snprintf(buf, sizeof buf, "%g", v);
    out.append(buf, end);
}

void Hex(std::string& out, Colour c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", RedOf(c), GreenOf(c), BlueOf(c));
    out += buf;
}

// Escapes markup and drops what XML forbids (control characters other than tab).
void Text(std::string& out, const std::string& s) {
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        default:
            if (c >= 0x20 || c == '\t') out += ch;
        }
    }
}

}  // namespace

QString WriteSvg(const Picture& picture, const QString& path, double scale, const Emphasised& emphasis) {
    const double pxPerTwip = scale / TwipsPerPixel;
    const double pixel = pxPerTwip * TwipsPerPixel;
    const long width = std::lround(picture.Width * pxPerTwip), height = std::lround(picture.Height * pxPerTwip);
    auto coord = [pxPerTwip](float v) { return std::round(v * pxPerTwip) + 0.5; };
    std::string out;
    out.reserve(64 * picture.Ops().size() + 1024);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
    out += std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" viewBox=\"0 0 " + std::to_string(width) + " " +
           std::to_string(height) + "\">\n<title>citysize picture</title>\n<rect x=\"0\" y=\"0\" width=\"" + std::to_string(width) +
           "\" height=\"" + std::to_string(height) + "\" stroke=\"none\" fill=\"";
    Hex(out, picture.BackColor);
    out += "\"/>\n";
    // The frame a zoomed picture cuts its discs at, written only when one is cut.
    const ViewRect& area = picture.ZoomArea;
    for (const DrawOp& op : picture.Ops())
        if (op.clip) {
            out += "<clipPath id=\"zoom\"><rect x=\"";
            Num(out, area.left * pxPerTwip);
            out += "\" y=\"";
            Num(out, area.top * pxPerTwip);
            out += "\" width=\"";
            Num(out, area.Width() * pxPerTwip);
            out += "\" height=\"";
            Num(out, area.Height() * pxPerTwip);
            out += "\"/></clipPath>\n";
            break;
        }
    out += "<g fill=\"none\" stroke=\"none\" stroke-linecap=\"square\" stroke-linejoin=\"miter\" font-family=\"DejaVu Sans\">\n";

    // Consecutive lines of one colour and width share a path, and consecutive points a filled
    // one: the drawing order between differently styled ops is kept.
    enum class Run { None, Lines, Points } run = Run::None;
    Colour runColour = 0;
    double runWidth = 0;
    auto close = [&] {
        if (run != Run::None) out += "\"/>\n";
        run = Run::None;
    };
    std::map<std::pair<int, bool>, double> ascents;  // by pixel size and weight
    auto write = [&](const DrawOp& op, const OpStyle& style) {
        const Colour colour = style.colour;
        const int penWidth = style.width;
        switch (op.kind) {
        case OpKind::Line: {
            const double w = std::max(1, penWidth) * pixel;
            const double x1 = coord(op.x1), y1 = coord(op.y1), x2 = coord(op.x2), y2 = coord(op.y2);
            const Run kind = x1 == x2 && y1 == y2 ? Run::Points : Run::Lines;
            if (run != kind || runColour != colour || runWidth != w) {
                close();
                run = kind;
                runColour = colour;
                runWidth = w;
                if (kind == Run::Lines) {
                    out += "<path stroke=\"";
                    Hex(out, colour);
                    out += "\" stroke-width=\"";
                    Num(out, w);
                } else {
                    out += "<path fill=\"";
                    Hex(out, colour);
                }
                out += "\" d=\"";
            }
            if (kind == Run::Lines) {
                out += 'M'; Num(out, x1); out += ' '; Num(out, y1);
                out += 'L'; Num(out, x2); out += ' '; Num(out, y2);
            } else {
                // A point is the pen's square centred on it, as the raster painter draws it.
                out += 'M'; Num(out, x1 - w / 2); out += ' '; Num(out, y1 - w / 2);
                out += 'h'; Num(out, w); out += 'v'; Num(out, w); out += 'h'; Num(out, -w); out += 'z';
            }
            break;
        }
        case OpKind::Circle: {
            close();
            out += "<circle cx=\""; Num(out, coord(op.x1));
            out += "\" cy=\""; Num(out, coord(op.y1));
            out += "\" r=\""; Num(out, op.radius * pxPerTwip);
            out += "\" stroke=\""; Hex(out, colour);
            out += "\" stroke-width=\""; Num(out, std::max(1, penWidth) * pixel);
            if (style.fill >= 0) {
                out += "\" fill=\""; Hex(out, style.fill);
            }
            if (op.clip) out += "\" clip-path=\"url(#zoom)";
            out += "\"/>\n";
            break;
        }
        case OpKind::Text: {
            close();
            const QFont font = PictureFont(op, pxPerTwip);
            auto key = std::make_pair(font.pixelSize(), op.bold);
            auto it = ascents.find(key);
            if (it == ascents.end()) it = ascents.emplace(key, QFontMetricsF(font).ascent()).first;
            out += "<text x=\""; Num(out, op.x1 * pxPerTwip);
            out += "\" y=\""; Num(out, op.y1 * pxPerTwip + it->second);
            out += "\" fill=\""; Hex(out, colour);
            out += "\" font-size=\""; out += std::to_string(font.pixelSize());
            if (op.bold) out += "\" font-weight=\"bold";
            out += "\" xml:space=\"preserve\">";
            Text(out, op.text);
            out += "</text>\n";
            break;
        }
        }
    };
    // As the painter draws an emphasis: every op in order, paths dimmed, then the emphasised
    // city's path again on top.
    const Colour back = picture.BackColor;
    const Emphasised shown = ShownEmphasis(picture, emphasis);
    for (const DrawOp& op : picture.Ops())
        if (!shown.Any() || op.tag.series != MarkSeries) write(op, BaseStyle(op, shown, back));
    if (shown.Any())
        for (const DrawOp& op : picture.Ops())
            if (shown.Has(PathCity(op))) write(op, EmphasisStyle(op, shown, back));
    close();
    out += "</g>\n</svg>\n";
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(out.data(), static_cast<qint64>(out.size())) != static_cast<qint64>(out.size()))
        return QStringLiteral("Cannot write ") + path;
    return {};
}

}  // namespace render
