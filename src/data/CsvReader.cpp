#include "data/CsvReader.h"

#include <utility>

#include "data/TextDecode.h"
#include "draw/RunError.h"

namespace {

// What the first bytes say a binary file is; empty for anything else.
std::string BinaryKind(std::string_view bytes) {
    auto starts = [&](std::string_view magic) { return bytes.substr(0, magic.size()) == magic; };
    if (starts("PK\x03\x04")) return "a zip archive (an .xlsx or .ods workbook?)";
    if (starts("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) return "an Office file of the old kind (an .xls workbook?)";
    if (starts("SQLite format 3")) return "an SQLite database (a GeoPackage?)";
    if (starts("%PDF")) return "a PDF document";
    if (starts("\x1F\x8B")) return "a gzip archive";
    return {};
}

}  // namespace

namespace {

RawTable Split(DecodedText dec, const std::string& name) {
    RawTable raw;
    raw.source = name;
    raw.encoding = dec.encoding;
    const char delimiter = GuessDelimiter(dec.text);
    raw.rows = SplitCells(dec.text, delimiter, name);
    // The header-less layout reads the text itself, commas only; with another delimiter it
    // reads the cells as a sheet's are read.
    if (delimiter == ',') raw.text = std::move(dec.text);
    return raw;
}

void RefuseBinary(std::string_view bytes, const std::string& name) {
    if (const std::string kind = BinaryKind(bytes); !kind.empty())
        throw RunError(name + ": not a text table: the file is " + kind + "; give it the extension of what it is");
}

}  // namespace

RawTable ReadCsvTable(std::string_view bytes, const std::string& name) {
    RefuseBinary(bytes, name);
    return Split(DecodeText(bytes), name);
}

RawTable ReadCsvTable(std::string&& bytes, const std::string& name) {
    RefuseBinary(bytes, name);
    return Split(DecodeText(std::move(bytes)), name);
}
