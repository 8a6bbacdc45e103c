#include "render/ApngWriter.h"

#include <QFile>

#include "render/PngEncoding.h"

namespace render {

namespace {

void Put16(std::string& out, unsigned v) {
    out += static_cast<char>((v >> 8) & 0xff);
    out += static_cast<char>(v & 0xff);
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
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const QImage image = frames[i].convertToFormat(QImage::Format_RGB32);
        if (image.size() != size) return QStringLiteral("Cannot write ") + path + QStringLiteral(": frames differ in size");
        std::string fctl;
        Put32(fctl, sequence++);
        Put32(fctl, static_cast<quint32>(size.width()));
        Put32(fctl, static_cast<quint32>(size.height()));
        Put32(fctl, 0);  // x offset
        Put32(fctl, 0);  // y offset
        Put16(fctl, static_cast<unsigned>(frameMs));
        Put16(fctl, 1000);
        fctl += '\0';  // dispose: none (the next frame covers it whole)
        fctl += '\0';  // blend: source
        Chunk(out, "fcTL", reinterpret_cast<const unsigned char*>(fctl.data()), fctl.size());
        Scanlines lines;
        AsRgbSub(image, lines);
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
