#pragma once
#include <string>
#include <string_view>

// The bytes of a text file as UTF-8 without a byte order mark: UTF-8 is kept, UTF-16 is
// converted (with a byte order mark, or without one when NUL bytes fall on one side of each
// pair, as in mostly-ASCII text), and bytes that are not valid UTF-8 are read as Windows-1252
// (what spreadsheets on Windows save). `encoding` names what was found.
struct DecodedText {
    std::string text;
    std::string encoding;
};
DecodedText DecodeText(std::string_view bytes);
// The same, keeping the bytes themselves when they are UTF-8 already (no second copy of a
// large file).
DecodedText DecodeText(std::string&& bytes);
