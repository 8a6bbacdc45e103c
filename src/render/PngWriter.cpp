#include "render/PngWriter.h"

#include <QFile>
#include <libdeflate.h>

#include <cstring>
#include <string>
#include <vector>

namespace render {

namespace {

// Colours in order of first appearance, found with a small open hash; gives up past 256.
struct Palette {
    static constexpr int Slots = 1024;  // power of two, well above 256 to keep probes short
    std::vector<quint32> key = std::vector<quint32>(Slots);
    std::vector<int> index = std::vector<int>(Slots, -1);
    std::vector<quint32> colours;

    int Find(quint32 c) const {
        for (unsigned h = (c * 2654435761u) >> 22;; h = (h + 1) & (Slots - 1)) {
            if (index[h] < 0 || key[h] == c) return static_cast<int>(h);
        }
    }
    // Index of c, adding it if new; -1 when a 257th colour turns up.
    int IndexOf(quint32 c) {
        const int slot = Find(c);
        if (index[slot] >= 0) return index[slot];
        if (colours.size() == 256) return -1;
        key[slot] = c;
        index[slot] = static_cast<int>(colours.size());
        colours.push_back(c);
        return index[slot];
    }
};

// The rows as libpng takes them: palette indices, or RGB triples.
struct Rows {
    int width = 0, height = 0;
    bool indexed = false;
    std::vector<unsigned char> bytes;
    std::vector<const unsigned char*> rows;
    struct Rgb { unsigned char red, green, blue; };
    std::vector<Rgb> palette;
};

void Convert(const QImage& image, Rows& out) {
    out.width = image.width();
    out.height = image.height();
    const std::size_t w = static_cast<std::size_t>(out.width);
    // Most pixels repeat their left neighbour, so the hash is consulted only at a change.
    Palette palette;
    out.bytes.resize(w * out.height);
    bool fits = true;
    for (int y = 0; y < out.height && fits; ++y) {
        const auto* src = reinterpret_cast<const quint32*>(image.constScanLine(y));
        unsigned char* dst = out.bytes.data() + y * w;
        quint32 last = src[0] & 0xffffffu;
        int lastIndex = palette.IndexOf(last);
        fits = lastIndex >= 0;
        for (std::size_t x = 0; x < w && fits; ++x) {
            const quint32 c = src[x] & 0xffffffu;
            if (c != last) {
                last = c;
                lastIndex = palette.IndexOf(c);
                fits = lastIndex >= 0;
            }
            dst[x] = static_cast<unsigned char>(lastIndex);
        }
    }
    out.indexed = fits;
    if (fits) {
        for (quint32 c : palette.colours)
            out.palette.push_back({static_cast<unsigned char>(c >> 16), static_cast<unsigned char>(c >> 8), static_cast<unsigned char>(c)});
    } else {
        out.bytes.resize(w * 3 * out.height);
        for (int y = 0; y < out.height; ++y) {
            const auto* src = reinterpret_cast<const quint32*>(image.constScanLine(y));
            unsigned char* dst = out.bytes.data() + y * w * 3;
            for (std::size_t x = 0; x < w; ++x) {
                dst[3 * x] = static_cast<unsigned char>(src[x] >> 16);
                dst[3 * x + 1] = static_cast<unsigned char>(src[x] >> 8);
                dst[3 * x + 2] = static_cast<unsigned char>(src[x]);
            }
        }
    }
    const std::size_t stride = out.indexed ? w : 3 * w;
    out.rows.resize(out.height);
    for (int y = 0; y < out.height; ++y) out.rows[y] = out.bytes.data() + y * stride;
}

void Put32(std::string& out, quint32 v) {
    const char b[4] = {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8), static_cast<char>(v)};
    out.append(b, 4);
}

void Chunk(std::string& out, const char* type, const unsigned char* data, std::size_t size) {
    Put32(out, static_cast<quint32>(size));
    const std::size_t start = out.size();
    out.append(type, 4);
    out.append(reinterpret_cast<const char*>(data), size);
    Put32(out, libdeflate_crc32(0, out.data() + start, size + 4));
}

// The PNG stream: rows filtered with Sub (RGB) or None (palette), then deflated in one go.
// libpng's adaptive filter search cost more than the deflate itself, and libdeflate's fastest
// level is about twice as fast as zlib's on these pictures.
std::string Encode(const Rows& rows) {
    const std::size_t channels = rows.indexed ? 1 : 3, stride = channels * rows.width;
    std::vector<unsigned char> filtered((stride + 1) * rows.height);
    for (int y = 0; y < rows.height; ++y) {
        const unsigned char* src = rows.rows[y];
        unsigned char* dst = filtered.data() + y * (stride + 1);
        if (rows.indexed) {
            dst[0] = 0;
            std::memcpy(dst + 1, src, stride);
        } else {
            dst[0] = 1;
            std::memcpy(dst + 1, src, channels);
            for (std::size_t i = channels; i < stride; ++i) dst[1 + i] = static_cast<unsigned char>(src[i] - src[i - channels]);
        }
    }
    libdeflate_compressor* compressor = libdeflate_alloc_compressor(1);
    if (!compressor) return {};
    std::vector<unsigned char> idat(libdeflate_zlib_compress_bound(compressor, filtered.size()));
    const std::size_t packed = libdeflate_zlib_compress(compressor, filtered.data(), filtered.size(), idat.data(), idat.size());
    libdeflate_free_compressor(compressor);
    if (packed == 0) return {};

    std::string out("\x89PNG\r\n\x1a\n", 8);
    unsigned char header[13];
    const auto w = static_cast<quint32>(rows.width), h = static_cast<quint32>(rows.height);
    const unsigned char ihdr[13] = {static_cast<unsigned char>(w >> 24), static_cast<unsigned char>(w >> 16),
                                    static_cast<unsigned char>(w >> 8), static_cast<unsigned char>(w),
                                    static_cast<unsigned char>(h >> 24), static_cast<unsigned char>(h >> 16),
                                    static_cast<unsigned char>(h >> 8), static_cast<unsigned char>(h),
                                    8, static_cast<unsigned char>(rows.indexed ? 3 : 2), 0, 0, 0};
    std::memcpy(header, ihdr, sizeof header);
    Chunk(out, "IHDR", header, sizeof header);
    if (rows.indexed) {
        std::vector<unsigned char> plte;
        for (const auto& c : rows.palette) plte.insert(plte.end(), {c.red, c.green, c.blue});
        Chunk(out, "PLTE", plte.data(), plte.size());
    }
    Chunk(out, "IDAT", idat.data(), packed);
    Chunk(out, "IEND", nullptr, 0);
    return out;
}

}  // namespace

QString WritePng(const QImage& source, const QString& path) {
    const QImage image = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) return QStringLiteral("Cannot write ") + path + QStringLiteral(": empty image");
    Rows rows;
    Convert(image, rows);
    const std::string png = Encode(rows);
    QFile file(path);
    if (png.empty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(png.data(), static_cast<qint64>(png.size())) != static_cast<qint64>(png.size()))
        return QStringLiteral("Cannot write ") + path;
    return {};
}

}  // namespace render
