#include "render/PngWriter.h"

#include <QFile>
#include <png.h>
#include <zlib.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
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
    std::vector<png_bytep> rows;
    std::vector<png_color> palette;
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
            out.palette.push_back(png_color{static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8), static_cast<png_byte>(c)});
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

// Only plain data lives in this frame: libpng reports errors by longjmp.
bool Write(std::FILE* file, Rows& rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(rows.width), static_cast<png_uint_32>(rows.height), 8,
                 rows.indexed ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (rows.indexed) png_set_PLTE(png, info, rows.palette.data(), static_cast<int>(rows.palette.size()));
    // libpng's adaptive filter choice tries five filters on every row and cost more than the
    // deflate itself. Palette rows compress best unfiltered; antialiased RGB rows with Sub.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, rows.indexed ? PNG_FILTER_NONE : PNG_FILTER_SUB);
    png_set_compression_level(png, 1);
    png_set_compression_strategy(png, Z_RLE);
    png_set_compression_buffer_size(png, 1 << 16);
    png_write_info(png, info);
    png_write_image(png, rows.rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

QString WritePng(const QImage& source, const QString& path) {
    const QImage image = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) return QStringLiteral("Cannot write ") + path + QStringLiteral(": empty image");
    Rows rows;
    Convert(image, rows);
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file) return QStringLiteral("Cannot write ") + path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    const bool written = Write(file, rows);
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) return QStringLiteral("Cannot write ") + path;
    return {};
}

}  // namespace render
