// libFuzzer target for Format and Unformatted: a picture, a double and a float bit for bit, and a
// moderate value. Only RunError escapes, only for a value not finite; for |v| < 1e12 Format equals
// an exact rounding (half away from zero) done here; Unformatted reads back within half a unit of
// its 7th (single) or 15th (double) significant digit.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "draw/Formats.h"
#include "draw/RunError.h"

namespace {

const char* const Pictures[] = {"#.###", "###.#####", "###.####", "###.######", "###.", ".###", "###", "#########"};

// v = m 2^e exactly, so v 10^d = m 5^d 2^(e + d): an integer shifted by a power of two.
std::string ExpectedFormat(double v, std::string_view picture) {
    const std::size_t point = picture.find('.');
    const int d = point == std::string_view::npos ? 0 : static_cast<int>(picture.size() - point - 1);
    int e = 0;
    auto q = static_cast<unsigned __int128>(std::ldexp(std::frexp(std::fabs(v), &e), 53));
    for (int k = 0; k < d; ++k) q *= 5;
    const int shift = 53 - e - d;
    unsigned __int128 n = 0;
    if (shift <= 0) {
        n = q << -shift;
    } else if (shift < 100) {
        n = q >> shift;
        if (q - (n << shift) >= (static_cast<unsigned __int128>(1) << (shift - 1))) ++n;
    }
    std::string digits;
    for (unsigned __int128 x = n; x > 0; x /= 10) digits.insert(digits.begin(), static_cast<char>('0' + x % 10));
    while (static_cast<int>(digits.size()) < d) digits.insert(digits.begin(), '0');
    std::string whole = digits.substr(0, digits.size() - d), decimals = digits.substr(digits.size() - d);
    while (!whole.empty() && whole.front() == '0') whole.erase(0, 1);
    while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
    std::string out = point == std::string_view::npos ? whole : whole + "." + decimals;
    return v < 0 && n != 0 ? "-" + out : out;
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
    if (std::fabs(v) < 1e12) FUZZ_CHECK(s == ExpectedFormat(v, picture), s + " for " + std::string(picture));
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
    FUZZ_CHECK(s.size() >= 3 && (s.front() == ' ' || s.front() == '-') && s.back() == ' ', "\"" + s + "\"");
    // Read back in long double: the 15-digit text of the largest double is beyond it.
    const long double x = v, back = std::strtold(s.c_str() + 1, nullptr) * (s.front() == '-' ? -1 : 1);
    if (x == 0) {
        FUZZ_CHECK(s == " 0 ", "\"" + s + "\"");
        return;
    }
    const long double unit = std::pow(10.0L, std::floor(std::log10(std::fabs(x))) - (significant - 1));
    FUZZ_CHECK(std::fabs(back - x) <= 0.5L * unit * (1 + 1e-9L) + std::fabs(x) * 1e-15L, "\"" + s + "\" reads back wrong");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const char* picture = Pictures[in.ConsumeIntegralInRange(0, 7)];
    const uint64_t dbits = in.ConsumeIntegral<uint64_t>();
    const uint32_t fbits = in.ConsumeIntegral<uint32_t>();
    double d;
    float f;
    std::memcpy(&d, &dbits, sizeof d);
    std::memcpy(&f, &fbits, sizeof f);
    // Moderate values reach the rounding digits far more often than raw bit patterns.
    const double scaled = static_cast<double>(static_cast<int64_t>(dbits % 2000000000001ULL) - 1000000000000LL) /
                          std::pow(10.0, static_cast<double>(fbits % 13));
    for (double v : {d, static_cast<double>(f), scaled}) CheckFormat(v, picture);
    CheckUnformatted(f, 7);
    CheckUnformatted(static_cast<float>(scaled), 7);
    CheckUnformatted(d, 15);
    return 0;
}
