// libFuzzer target for the picture formats and the unformatted numbers. Each input gives
// a picture of those in use, a double and a float taken bit for bit (so NaN, infinities,
// subnormals and negative zero come up), and an int. Properties:
//  - only RunError escapes, and only for a value that is not finite;
//  - Format prints only digits, one point (exactly when the picture has one) and a
//    leading minus; no leading zero, no trailing zero after the point, never "-" alone;
//  - for |v| < 1e12 Format agrees digit for digit with an exact rounding done here on the
//    binary value of v (integer arithmetic on its mantissa), half away from zero;
//  - Unformatted prints a leading blank or minus, a trailing blank, only digits, point,
//    E, + and -, no "0." before the point, and reads back within half a unit of its last
//    significant digit (7 for a single, 15 for a double); an int prints exactly.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "draw/Formats.h"
#include "draw/RunError.h"

namespace {

const char* const Pictures[] = {"#.###", "###.#####", "###.####", "###.######", "###.",
                                ".###",  "###",       "######",   "#########"};

int DecimalsOf(std::string_view picture) {
    std::size_t point = picture.find('.');
    return point == std::string_view::npos ? 0 : static_cast<int>(picture.size() - point - 1);
}

// The expected text of Format for a moderate value: v = m * 2^e exactly, so
// v * 10^d = m * 5^d * 2^(e + d), an integer shifted by a power of two.
std::string ExpectedFormat(double v, std::string_view picture) {
    const int d = DecimalsOf(picture);
    int e = 0;
    double frac = std::frexp(std::fabs(v), &e);  // |v| = frac * 2^e, 0.5 <= frac < 1
    auto m = static_cast<unsigned __int128>(std::ldexp(frac, 53));
    e -= 53;
    unsigned __int128 q = m;
    for (int k = 0; k < d; ++k) q *= 5;
    const int shift = -(e + d);
    unsigned __int128 n;
    if (shift <= 0) {
        n = q << -shift;  // |v| < 1e12 keeps this far inside 128 bits
    } else if (shift >= 100) {
        n = 0;  // q < 2^75, so the value is below one half
    } else {
        n = q >> shift;
        unsigned __int128 rest = q - (n << shift);
        if (rest >= (static_cast<unsigned __int128>(1) << (shift - 1))) ++n;  // half away from zero
    }
    std::string digits;
    for (unsigned __int128 x = n; x > 0; x /= 10) digits.insert(digits.begin(), static_cast<char>('0' + x % 10));
    while (static_cast<int>(digits.size()) < d) digits.insert(digits.begin(), '0');
    std::string whole = digits.substr(0, digits.size() - d);
    std::string decimals = digits.substr(digits.size() - d);
    while (!whole.empty() && whole.front() == '0') whole.erase(0, 1);
    while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
    std::string out = whole;
    if (picture.find('.') != std::string_view::npos) out += "." + decimals;
    if (v < 0 && n != 0) out = "-" + out;
    return out;
}

void CheckFormat(double v, std::string_view picture) {
    std::string s;
    try {
        s = Format(v, picture);
    } catch (const RunError&) {
        FUZZ_CHECK(!std::isfinite(v), "RunError for a finite value");
        return;
    }
    FUZZ_CHECK(std::isfinite(v), "no error for a value that is not finite");
    const std::string where = std::string(picture) + " gives \"" + s + "\"";
    std::string body = s;
    if (!body.empty() && body[0] == '-') body.erase(0, 1);
    FUZZ_CHECK(body != "" || s == "", where);
    int points = 0;
    for (char c : body) {
        FUZZ_CHECK((c >= '0' && c <= '9') || c == '.', where);
        points += c == '.';
    }
    FUZZ_CHECK(points == (picture.find('.') != std::string_view::npos ? 1 : 0), where);
    std::size_t point = body.find('.');
    std::string whole = body.substr(0, point);
    FUZZ_CHECK(whole.empty() || whole[0] != '0', where);
    if (point != std::string::npos) {
        std::string decimals = body.substr(point + 1);
        FUZZ_CHECK(decimals.empty() || decimals.back() != '0', where);
        FUZZ_CHECK(static_cast<int>(decimals.size()) <= DecimalsOf(picture), where);
    }
    if (std::fabs(v) < 1e12) FUZZ_CHECK(s == ExpectedFormat(v, picture), where + ", expected \"" + ExpectedFormat(v, picture) + "\"");
}

// Unformatted text of a finite value: checks the shape and returns the number it reads as
// (in long double: the 15-digit text of the largest double is beyond the largest double).
long double CheckUnformattedShape(const std::string& s) {
    FUZZ_CHECK(s.size() >= 3, "\"" + s + "\"");
    FUZZ_CHECK(s.front() == ' ' || s.front() == '-', "\"" + s + "\"");
    FUZZ_CHECK(s.back() == ' ', "\"" + s + "\"");
    std::string body = s.substr(1, s.size() - 2);
    for (char c : body)
        FUZZ_CHECK((c >= '0' && c <= '9') || c == '.' || c == 'E' || c == '+' || c == '-', "\"" + s + "\"");
    FUZZ_CHECK(body.rfind("0.", 0) != 0, "a zero before the point: \"" + s + "\"");
    long double back = std::strtold(body.c_str(), nullptr);
    return s.front() == '-' ? -back : back;
}

template <typename T>
void CheckUnformatted(T v, int significant) {
    std::string s;
    try {
        s = Unformatted(v);
    } catch (const RunError&) {
        FUZZ_CHECK(!std::isfinite(v), "RunError for a finite value");
        return;
    }
    FUZZ_CHECK(std::isfinite(v), "no error for a value that is not finite: \"" + s + "\"");
    long double back = CheckUnformattedShape(s);
    long double x = static_cast<long double>(v);
    if (x == 0) {
        FUZZ_CHECK(s == " 0 ", "\"" + s + "\"");
        return;
    }
    // Half a unit of the last of `significant` digits, and a little for the reading back.
    long double unit = std::pow(10.0L, std::floor(std::log10(std::fabs(x))) - (significant - 1));
    FUZZ_CHECK(std::fabs(back - x) <= 0.5L * unit * (1 + 1e-9L) + std::fabs(x) * 1e-15L,
               "\"" + s + "\" does not read back as its value");
    FUZZ_CHECK((x < 0) == (s.front() == '-'), "sign of \"" + s + "\"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const char* picture = Pictures[in.ConsumeIntegralInRange(0, 8)];
    uint64_t dbits = in.ConsumeIntegral<uint64_t>();
    uint32_t fbits = in.ConsumeIntegral<uint32_t>();
    int i = in.ConsumeIntegral<int>();
    double d;
    float f;
    std::memcpy(&d, &dbits, sizeof d);
    std::memcpy(&f, &fbits, sizeof f);
    // Moderate values reach the rounding digits far more often than raw bit patterns.
    double scaled = static_cast<double>(static_cast<int64_t>(dbits % 2000000000001ULL) - 1000000000000LL) /
                    std::pow(10.0, static_cast<double>(fbits % 13));

    for (double v : {d, static_cast<double>(f), scaled, static_cast<double>(static_cast<float>(scaled))})
        CheckFormat(v, picture);
    CheckUnformatted(f, 7);
    CheckUnformatted(static_cast<float>(scaled), 7);
    CheckUnformatted(d, 15);
    CheckUnformatted(scaled, 15);
    std::string si = Unformatted(i);
    FUZZ_CHECK(static_cast<long>(CheckUnformattedShape(si)) == i, "\"" + si + "\"");
    FUZZ_CHECK(si.substr(i < 0 ? 0 : 1, si.size() - (i < 0 ? 1 : 2)) == std::to_string(i), "\"" + si + "\"");
    return 0;
}
