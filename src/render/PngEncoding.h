#pragma once
#include <QImage>

#include <memory>
#include <string>
#include <vector>

// The pieces of the PNG writer that the animated-PNG writer shares: the same filters, the
// same compressor, the same chunks.
namespace render::png {

// PNG scanlines, each a filter byte and its pixels: exact palette indices unfiltered when the
// image has 256 colours or fewer, else RGB with the Sub filter (antialiased edges and flat
// runs both turn into small, repetitive differences). libpng's adaptive choice tries five
// filters on every row and cost more than the deflate itself.
struct Scanlines {
    std::unique_ptr<unsigned char[]> bytes;  // left uninitialised: every byte gets written
    std::size_t size = 0;
    std::vector<quint32> palette;  // empty for RGB
};

// Palette scanlines; false when the image has more than 256 colours. `image` is RGB32.
bool AsPalette(const QImage& image, Scanlines& out);
void AsRgbSub(const QImage& image, Scanlines& out);

void Put32(std::string& out, quint32 v);
// Appends a chunk: length, type, data and CRC.
void Chunk(std::string& out, const char* type, const unsigned char* data, std::size_t size);
// The scanlines as a zlib stream at libdeflate's fastest level; empty when out of memory.
std::string Compress(const Scanlines& lines);
// The PNG signature and the IHDR chunk of an 8-bit RGB (or palette) image.
void Header(std::string& out, int width, int height, bool indexed);

}  // namespace render::png
