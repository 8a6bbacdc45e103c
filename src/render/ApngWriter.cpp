#include "render/ApngWriter.h"

#include <QFile>

#include <algorithm>

#include "render/PngEncoding.h"

namespace render {

namespace {

void Put16(std::string& out, unsigned v) {
    out += static_cast<char>((v >> 8) & 0xff);
    out += static_cast<char>(v & 0xff);
}

// The smallest rectangle holding every pixel that differs between two images of one size; a
// single pixel when none does (a frame needs an area).
QRect Changed(const QImage& before, const QImage& after) {
    int top = after.height(), bottom = -1, left = after.width(), right = -1;
    for (int y = 0; y < after.height(); ++y) {
        const auto* a = reinterpret_cast<const quint32*>(before.constScanLine(y));
        const auto* b = reinterpret_cast<const quint32*>(after.constScanLine(y));
        int x0 = 0;
        while (x0 < after.width() && a[x0] == b[x0]) ++x0;
        if (x0 == after.width()) continue;
        int x1 = after.width() - 1;
        while (a[x1] == b[x1]) --x1;
        top = std::min(top, y), bottom = y;
        left = std::min(left, x0), right = std::max(right, x1);
    }
    return bottom < 0 ? QRect(0, 0, 1, 1) : QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace

QString WriteApng(const std::vector<QImage>& frames, int frameMs, const QString& path) {
    using namespace png;
    if (frames.empty()) return QStringLiteral("Cannot write ") + path + QStringLiteral(": no frames");
    if (frameMs < 1 || frameMs > 65535) return QStringLiteral("A frame lasts 1 to 65535 ms");
    const QSize size = frames.front().size();
    std::string out;
    Header(out, size.width(), size.height(), false);
    std::string actl;
    Put32(actl, static_cast<quint32>(frames.size()));
    Put32(actl, 0);  // plays: for ever
    Chunk(out, "acTL", reinterpret_cast<const unsigned char*>(actl.data()), actl.size());
    quint32 sequence = 0;
    QImage previous;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const QImage image = frames[i].convertToFormat(QImage::Format_RGB32);
        if (image.size() != size) return QStringLiteral("Cannot write ") + path + QStringLiteral(": frames differ in size");
        // After the first, a frame stores only the rectangle where it differs from the one
        // before (drawn over it): the map's borders and keys, or the curves already drawn,
        // are not stored again.
        const QRect area = i == 0 ? image.rect() : Changed(previous, image);
        std::string fctl;
        Put32(fctl, sequence++);
        Put32(fctl, static_cast<quint32>(area.width()));
        Put32(fctl, static_cast<quint32>(area.height()));
        Put32(fctl, static_cast<quint32>(area.x()));
        Put32(fctl, static_cast<quint32>(area.y()));
        Put16(fctl, static_cast<unsigned>(frameMs));
        Put16(fctl, 1000);
        fctl += '\0';  // dispose: none (the next frame is drawn over this one)
        fctl += '\0';  // blend: source (the area's pixels replace those under it)
        Chunk(out, "fcTL", reinterpret_cast<const unsigned char*>(fctl.data()), fctl.size());
        Scanlines lines;
        AsRgbSub(i == 0 ? image : image.copy(area), lines);
        previous = image;
        std::string packed = Compress(lines);
        if (packed.empty()) return QStringLiteral("Cannot write ") + path + QStringLiteral(": out of memory");
        if (i == 0) {
            // The first frame is the image's own data, what a plain PNG reader shows.
            Chunk(out, "IDAT", reinterpret_cast<const unsigned char*>(packed.data()), packed.size());
        } else {
            std::string fdat;
            fdat.reserve(packed.size() + 4);
            Put32(fdat, sequence++);
            fdat += packed;
            Chunk(out, "fdAT", reinterpret_cast<const unsigned char*>(fdat.data()), fdat.size());
        }
    }
    Chunk(out, "IEND", nullptr, 0);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(out.data(), static_cast<qint64>(out.size())) != static_cast<qint64>(out.size()))
        return QStringLiteral("Cannot write ") + path;
    return {};
}

}  // namespace render
