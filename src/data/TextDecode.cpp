#include "data/TextDecode.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

namespace {

void PutUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool ValidUtf8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        int more = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : -1;
        if (more < 0 || (more == 1 && c < 0xC2)) return false;
        if (more > 0 && i + static_cast<std::size_t>(more) >= s.size()) return false;
        for (int k = 1; k <= more; ++k)
            if ((static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) >> 6) != 2) return false;
        i += static_cast<std::size_t>(more) + 1;
    }
    return true;
}

// The bytes 0x80..0x9F of Windows-1252; the rest is Latin-1. Unassigned bytes keep their value.
constexpr uint16_t Cp1252High[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                     0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

std::string FromUtf16(std::string_view s, bool little) {
    std::string out;
    out.reserve(s.size());
    auto unit = [&](std::size_t i) -> uint32_t {
        auto a = static_cast<unsigned char>(s[i]), b = static_cast<unsigned char>(s[i + 1]);
        return little ? static_cast<uint32_t>(a | (b << 8)) : static_cast<uint32_t>((a << 8) | b);
    };
    for (std::size_t i = 0; i + 1 < s.size(); i += 2) {
        uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < s.size()) {
            uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        PutUtf8(out, c);
    }
    return out;
}

// UTF-16 without a byte order mark: a text table is mostly ASCII, so half its bytes are NUL,
// nearly all at even offsets (big-endian) or nearly all at odd ones (little-endian). UTF-8
// and Windows-1252 text has no NUL at all.
std::optional<bool> Utf16Order(std::string_view s) {
    const std::size_t n = std::min<std::size_t>(s.size() & ~std::size_t{1}, 4096);
    if (n < 4) return std::nullopt;
    std::size_t even = 0, odd = 0;
    for (std::size_t i = 0; i < n; i += 2) {
        even += s[i] == '\0';
        odd += s[i + 1] == '\0';
    }
    const std::size_t units = n / 2;
    if (odd * 10 >= units * 6 && even * 10 < units) return true;
    if (even * 10 >= units * 6 && odd * 10 < units) return false;
    return std::nullopt;
}

}  // namespace

DecodedText DecodeText(std::string_view bytes) {
    if (bytes.substr(0, 2) == "\xFF\xFE") return {FromUtf16(bytes.substr(2), true), "UTF-16LE"};
    if (bytes.substr(0, 2) == "\xFE\xFF") return {FromUtf16(bytes.substr(2), false), "UTF-16BE"};
    if (const auto little = Utf16Order(bytes)) return {FromUtf16(bytes, *little), *little ? "UTF-16LE" : "UTF-16BE"};
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    if (ValidUtf8(bytes)) return {std::string(bytes), "UTF-8"};
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char ch : bytes) {
        auto c = static_cast<unsigned char>(ch);
        PutUtf8(out, c >= 0x80 && c < 0xA0 ? Cp1252High[c - 0x80] : c);
    }
    return {out, "Windows-1252"};
}

DecodedText DecodeText(std::string&& bytes) {
    const bool bom = std::string_view(bytes).substr(0, 3) == "\xEF\xBB\xBF";
    const std::string_view rest = std::string_view(bytes).substr(bom ? 3 : 0);
    if (Utf16Order(bytes) || std::string_view(bytes).substr(0, 2) == "\xFF\xFE" ||
        std::string_view(bytes).substr(0, 2) == "\xFE\xFF" || !ValidUtf8(rest))
        return DecodeText(std::string_view(bytes));
    if (bom) bytes.erase(0, 3);
    return {std::move(bytes), "UTF-8"};
}
