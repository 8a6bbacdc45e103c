#include "Loader.h"

#include <cctype>
#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "draw/RunError.h"

// Text of the file as a message shows it: control characters as \xNN escapes, and at
// most 40 characters, so that a binary or 100 MB field still gives a one-line message.
std::string Shown(std::string_view text) {
    constexpr std::size_t Longest = 40;
    std::string out;
    for (std::size_t k = 0; k < text.size() && k < Longest; ++k) {
        auto c = static_cast<unsigned char>(text[k]);
        if (c < 0x20 || c == 0x7F) {
            const char* hex = "0123456789ABCDEF";
            out += std::string("\\x") + hex[c >> 4] + hex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    if (text.size() > Longest) out += "... (" + std::to_string(text.size()) + " characters)";
    return out;
}

namespace {

constexpr int16_t StandardFirstYear = 1790;


// Reads fields the way the system's file input does: blanks before a field are skipped,
// a quoted field runs to the next quote, any other field to the next comma or line end,
// and records are not tied to lines.
class FieldReader {
public:
    FieldReader(std::string_view text, const std::string& name) : s_(text), name_(name) {
        if (s_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;  // a UTF-8 byte order mark is no text
    }

    struct Field {
        std::string text;
        bool quoted = false;
    };

    // Returns false at the end of the file before any character of the field.
    bool Next(Field& out) {
        out = Field{};
        SkipBlanks();
        if (!afterComma_) {
            // A field that does not follow a comma may start after any number of line ends.
            while (pos_ < s_.size() && IsLineEnd(s_[pos_])) {
                SkipLineEnd();
                SkipBlanks();
            }
        }
        if (pos_ >= s_.size()) {
            if (afterComma_) {  // a comma at the very end of the file: an empty field
                afterComma_ = false;
                return true;
            }
            return false;
        }
        char c = s_[pos_];
        if (c == '"') {
            out.quoted = true;
            std::size_t close = s_.find('"', pos_ + 1);
            if (close == std::string_view::npos)
                throw RunError(name_ + ": a quoted field opened on line " + std::to_string(LineOf(pos_)) +
                               " is not closed before the end of the file");
            out.text = std::string(s_.substr(pos_ + 1, close - pos_ - 1));
            pos_ = close + 1;
            // Whatever stands between the closing quote and the delimiter is dropped.
            while (pos_ < s_.size() && s_[pos_] != ',' && !IsLineEnd(s_[pos_])) ++pos_;
        } else {
            std::size_t start = pos_;
            while (pos_ < s_.size() && s_[pos_] != ',' && !IsLineEnd(s_[pos_])) ++pos_;
            out.text = std::string(s_.substr(start, pos_ - start));
            while (!out.text.empty() && (out.text.back() == ' ' || out.text.back() == '\t'))
                out.text.pop_back();
        }
        afterComma_ = false;
        if (pos_ < s_.size()) {
            if (s_[pos_] == ',') {
                ++pos_;
                afterComma_ = true;
            } else {
                SkipLineEnd();
            }
        }
        return true;
    }

private:
    static bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }
    // Line number of a position, counting CR, LF and CR LF as one line end each.
    std::size_t LineOf(std::size_t at) const {
        std::size_t line = 1;
        for (std::size_t k = 0; k < at; ++k)
            if (s_[k] == '\n' || (s_[k] == '\r' && (k + 1 >= s_.size() || s_[k + 1] != '\n'))) ++line;
        return line;
    }
    void SkipBlanks() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
    }
    void SkipLineEnd() {
        if (pos_ < s_.size() && s_[pos_] == '\r') ++pos_;
        if (pos_ < s_.size() && s_[pos_] == '\n') ++pos_;
    }

    std::string_view s_;
    const std::string& name_;
    std::size_t pos_ = 0;
    bool afterComma_ = false;
};

// A population field: empty reads as 0; otherwise a decimal number, nothing else.
float ParsePopulation(const std::string& text, const std::string& where) {
    if (text.empty()) return 0.0f;
    const char* begin = text.c_str();
    bool plainDecimal = true;
    for (char c : text)
        if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' ||
              c == 'e' || c == 'E'))
            plainDecimal = false;
    char* end = nullptr;
    errno = 0;
    double v = plainDecimal ? std::strtod(begin, &end) : 0.0;
    if (!plainDecimal || end == begin || *end != '\0')
        throw RunError(where + ": \"" + Shown(text) + "\" is not a number");
    if (errno == ERANGE && std::fabs(v) > 1.0)
        throw RunError(where + ": \"" + Shown(text) + "\" is too large (Overflow)");
    if (std::fabs(v) > static_cast<double>(FLT_MAX))
        throw RunError(where + ": \"" + Shown(text) + "\" is too large for a population (Overflow)");
    return static_cast<float>(v);
}

}  // namespace

void DeriveTimeMeasures(DataSet& d) {
    const int16_t n = d.NumDates;
    DateVec diff(n);
    for (int t = 1; t <= n; ++t) diff(t) = static_cast<float>(d.DateYear(t) - d.DateYear(1));
    for (int t = 1; t <= n; ++t) d.TimeFraction(t) = diff(t) / diff(n);
    const double span = d.DateYear(n) - d.DateYear(1);
    d.StepFraction(1) = 0.0f;
    for (int t = 2; t <= n; ++t)
        d.StepFraction(t) = static_cast<float>((d.DateYear(t) - d.DateYear(t - 1)) / span);
    Vec1<double, MaxDates> length(n);
    for (int t = 2; t <= n; ++t) length(t) = d.DateYear(t) - d.DateYear(t - 1);
    length(1) = length(2);
    double total = 0;
    for (int t = 1; t <= n; ++t) total += length(t);
    for (int t = 1; t <= n; ++t) d.DateWeight(t) = static_cast<float>(length(t) / total);
    for (int t = 2; t <= n; ++t)
        d.AngleStep(t - 1) = static_cast<float>(
            2.0 * (static_cast<double>(d.TimeFraction(t)) - d.TimeFraction(t - 1)) * Pi);
}

void MarkPresence(DataSet& d) {
    for (int t = 1; t <= d.NumDates; ++t) {
        for (int i = 1; i <= d.NumCities; ++i) {
            d.Present(i, t) = 1.0f;
            if (!(d.PopTable(i, t) > 0.0f)) {
                d.Present(i, t) = 0.0f;
                d.PopTable(i, t) = 1.0f;
            }
        }
    }
    for (int t = 1; t <= d.NumDates; ++t) {
        float sum = 0.0f;
        for (int i = 1; i <= d.NumCities; ++i) sum += d.Present(i, t);
        d.NumPresent(t) = sum;
    }
}

std::unique_ptr<DataSet> LoadDataText(std::string_view text, const std::string& name, int numCities,
                                      int16_t numDates) {
    if (numCities < 1 || numDates < 2) throw RunError("Subscript out of range");
    auto d = std::make_unique<DataSet>();
    d->Resize(numCities, numDates);
    d->NumDates = numDates;
    d->DataReady = 0;
    d->NumCities = numCities;
    d->FirstYear = StandardFirstYear;
    for (int t = 1; t <= d->NumDates; ++t) d->DateYear(t) = static_cast<int16_t>(d->FirstYear + 10 * (t - 1));

    if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF")
        throw RunError(name + ": the file is in UTF-16; save it as plain text (ASCII or UTF-8)");
    FieldReader reader(text, name);
    FieldReader::Field field;
    for (int i = 1; i <= d->NumCities; ++i) {
        for (int f = 0; f <= d->NumDates; ++f) {
            if (!reader.Next(field)) {
                throw RunError(name + ": input past end of file in record " + std::to_string(i) +
                               " (field " + std::to_string(f + 1) + " of " +
                               std::to_string(d->NumDates + 1) + "); " +
                               std::to_string(d->NumCities) + " complete records of a name and " +
                               std::to_string(d->NumDates) + " populations are needed, " +
                               std::to_string(i - 1) + " were found");
            }
            if (f == 0) {
                d->CityName(i) = field.text;
            } else {
                std::string where = name + ", record " + std::to_string(i) + " (" +
                                    (d->CityName(i).empty() ? std::string("no name") : Shown(d->CityName(i))) +
                                    "), field " + std::to_string(f + 1) + " (" +
                                    std::to_string(d->DateYear(f)) + ")";
                d->PopTable(i, f) = ParsePopulation(field.text, where);
            }
        }
    }

    DeriveTimeMeasures(*d);
    MarkPresence(*d);
    return d;
}

std::string ReadDataBytes(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::exists(path, ec)) throw RunError("File not found: " + path);
    if (fs::is_directory(path, ec)) throw RunError("Cannot read " + path + ": it is a folder, not a file");
    // A pipe would block and a device such as /dev/zero never end.
    if (!fs::is_regular_file(path, ec)) throw RunError("Cannot read " + path + ": it is not a regular file");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw RunError("Cannot open " + path + " for reading (permission denied?)");
    // Read straight into one string of the file's size: a stream buffer and its copy would
    // hold a large table twice.
    const auto size = fs::file_size(path, ec);
    if (ec) throw RunError("Cannot read " + path);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) throw RunError("Cannot read " + path);
    return bytes;
}

std::unique_ptr<DataSet> LoadDataFile(const std::string& path) { return LoadDataText(ReadDataBytes(path), path); }
