#include "render/PngWriter.h"

#include "render/PngEncoding.h"

#include <QFile>
#include <libdeflate.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace render {

namespace png {

// Colours in order of first appearance, found with a small open hash; gives up past 256.
struct Palette {
    static constexpr unsigned Slots = 1024;  // power of two, well above 256 to keep probes short
    quint32 key[Slots];
    short index[Slots];
    std::vector<quint32> colours;

    Palette() { std::fill(std::begin(index), std::end(index), short(-1)); }
    // Index of c, adding it if new; -1 when a 257th colour turns up.
    int IndexOf(quint32 c) {
        unsigned h = (c * 2654435761u) >> 22;
        while (index[h] >= 0 && key[h] != c) h = (h + 1) & (Slots - 1);
        if (index[h] >= 0) return index[h];
        if (colours.size() == 256) return -1;
        key[h] = c;
        index[h] = static_cast<short>(colours.size());
        colours.push_back(c);
        return index[h];
    }
};

bool AsPalette(const QImage& image, Scanlines& out) {
    const std::size_t w = static_cast<std::size_t>(image.width());
    auto palette = std::make_unique<Palette>();
    out.size = (w + 1) * image.height();
    out.bytes.reset(new unsigned char[out.size]);
    for (int y = 0; y < image.height(); ++y) {
        const auto* src = reinterpret_cast<const quint32*>(image.constScanLine(y));
        unsigned char* dst = out.bytes.get() + y * (w + 1);
        *dst++ = 0;
        // Most pixels repeat their left neighbour, so the hash is consulted only at a change.
        quint32 last = src[0] & 0xffffffu;
        int lastIndex = palette->IndexOf(last);
        if (lastIndex < 0) return false;
        for (std::size_t x = 0; x < w; ++x) {
            const quint32 c = src[x] & 0xffffffu;
            if (c != last) {
                last = c;
                if ((lastIndex = palette->IndexOf(c)) < 0) return false;
            }
            dst[x] = static_cast<unsigned char>(lastIndex);
        }
    }
    out.palette = std::move(palette->colours);
    return true;
}

void AsRgbSub(const QImage& image, Scanlines& out) {
    const std::size_t w = static_cast<std::size_t>(image.width()), stride = 3 * w + 1;
    out.size = stride * image.height();
    out.bytes.reset(new unsigned char[out.size]);
    out.palette.clear();
    for (int y = 0; y < image.height(); ++y) {
        const auto* src = reinterpret_cast<const quint32*>(image.constScanLine(y));
        unsigned char* dst = out.bytes.get() + y * stride;
        *dst++ = 1;
        unsigned char r0 = 0, g0 = 0, b0 = 0;
        for (std::size_t x = 0; x < w; ++x) {
            const auto r = static_cast<unsigned char>(src[x] >> 16), g = static_cast<unsigned char>(src[x] >> 8),
                       b = static_cast<unsigned char>(src[x]);
            dst[3 * x] = static_cast<unsigned char>(r - r0);
            dst[3 * x + 1] = static_cast<unsigned char>(g - g0);
            dst[3 * x + 2] = static_cast<unsigned char>(b - b0);
            r0 = r, g0 = g, b0 = b;
        }
    }
}

void Put32(std::string& out, quint32 v) {
    const char b[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
    out.append(b, 4);
}

void Chunk(std::string& out, const char* type, const unsigned char* data, std::size_t size) {
    Put32(out, static_cast<quint32>(size));
    const std::size_t start = out.size();
    out.append(type, 4);
    if (size) out.append(reinterpret_cast<const char*>(data), size);
    Put32(out, libdeflate_crc32(0, out.data() + start, size + 4));
}

std::string Compress(const Scanlines& lines) {
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(1);
    if (!compressor) return {};
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor, lines.size);
    std::string out(bound, '\0');
    const std::size_t packed =
        libdeflate_zlib_compress(compressor, lines.bytes.get(), lines.size, out.data(), bound);
    libdeflate_free_compressor(compressor);
    out.resize(packed);
    return out;
}

void Header(std::string& out, int width, int height, bool indexed) {
    const auto w = static_cast<quint32>(width), h = static_cast<quint32>(height);
    const unsigned char header[13] = {static_cast<unsigned char>(w >> 24), static_cast<unsigned char>(w >> 16),
                                      static_cast<unsigned char>(w >> 8), static_cast<unsigned char>(w),
                                      static_cast<unsigned char>(h >> 24), static_cast<unsigned char>(h >> 16),
                                      static_cast<unsigned char>(h >> 8), static_cast<unsigned char>(h),
                                      8,                                            // bits per sample
                                      static_cast<unsigned char>(indexed ? 3 : 2),  // palette or RGB
                                      0, 0, 0};  // deflate, adaptive filters, no interlace
    out.append("\x89PNG\r\n\x1a\n", 8);
    Chunk(out, "IHDR", header, sizeof header);
}

}  // namespace png

namespace {

using namespace png;

// The whole file; empty if out of memory. libdeflate's fastest level is about twice as fast
// as zlib's on these pictures, and makes slightly smaller files.
std::string Encode(int width, int height, const Scanlines& lines) {
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(1);
    if (!compressor) return {};
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor, lines.size);
    std::unique_ptr<unsigned char[]> idat(new unsigned char[bound]);
    const std::size_t packed = libdeflate_zlib_compress(compressor, lines.bytes.get(), lines.size, idat.get(), bound);
    libdeflate_free_compressor(compressor);
    if (packed == 0) return {};

    std::string out;
    out.reserve(packed + 1024 + 3 * lines.palette.size());
    const bool indexed = !lines.palette.empty();
    Header(out, width, height, indexed);
    if (indexed) {
        std::vector<unsigned char> plte;
        for (quint32 c : lines.palette)
            plte.insert(plte.end(), {static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8), static_cast<unsigned char>(c)});
        Chunk(out, "PLTE", plte.data(), plte.size());
    }
    Chunk(out, "IDAT", idat.get(), packed);
    Chunk(out, "IEND", nullptr, 0);
    return out;
}

}  // namespace

QString WritePng(const QImage& source, const QString& path) {
    const QImage image = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) return QStringLiteral("Cannot write ") + path + QStringLiteral(": empty image");
    Scanlines lines;
    if (!AsPalette(image, lines)) AsRgbSub(image, lines);
    const std::string png = Encode(image.width(), image.height(), lines);
    QFile file(path);
    if (png.empty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(png.data(), static_cast<qint64>(png.size())) != static_cast<qint64>(png.size()))
        return QStringLiteral("Cannot write ") + path;
    return {};
}

}  // namespace render
