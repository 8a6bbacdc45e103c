#include "Formats.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "RunError.h"

namespace {

// Shortest %G form with the given significant digits, in the system's notation:
// "0.5" -> ".5", exponents as E+07 / E-05.
std::string GeneralForm(double v, int digits) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*G", digits, v);
    std::string s = buf;
    bool negative = !s.empty() && s[0] == '-';
    std::string body = negative ? s.substr(1) : s;
    if (body.rfind("0.", 0) == 0) body.erase(0, 1);
    return (negative ? "-" : " ") + body + " ";
}

}  // namespace

std::string Unformatted(float v) {
    if (!std::isfinite(v)) throw RunError("Overflow");
    if (v == 0.0f) return " 0 ";
    return GeneralForm(static_cast<double>(v), 7);
}

std::string Unformatted(double v) {
    if (!std::isfinite(v)) throw RunError("Overflow");
    if (v == 0.0) return " 0 ";
    return GeneralForm(v, 15);
}

std::string Unformatted(int v) {
    std::string s = std::to_string(v);
    return (v < 0 ? "" : " ") + s + " ";
}

std::string Format(double v, std::string_view picture) {
    if (!std::isfinite(v)) throw RunError("Overflow");
    std::size_t point = picture.find('.');
    bool hasPoint = point != std::string_view::npos;
    int decimals = 0;
    if (hasPoint)
        for (std::size_t i = point + 1; i < picture.size(); ++i)
            if (picture[i] == '#') ++decimals;

    // Exact decimal expansion of the double, rounded half away from zero.
    bool negative = v < 0;
    double a = std::fabs(v);
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.60f", a);
    std::string digits = buf;
    std::size_t dot = digits.find('.');
    std::string intPart = digits.substr(0, dot);
    std::string frac = digits.substr(dot + 1);
    bool roundUp = frac.size() > static_cast<std::size_t>(decimals) && frac[decimals] >= '5';
    frac = frac.substr(0, decimals);
    std::string all = intPart + frac;
    if (roundUp) {
        int i = static_cast<int>(all.size()) - 1;
        while (i >= 0 && all[i] == '9') all[i--] = '0';
        if (i >= 0)
            ++all[i];
        else
            all.insert(all.begin(), '1');
    }
    intPart = all.substr(0, all.size() - decimals);
    frac = all.substr(all.size() - decimals);
    // No leading zeros in the integer part, no trailing zeros in the decimals.
    std::size_t firstNonZero = intPart.find_first_not_of('0');
    intPart = firstNonZero == std::string::npos ? "" : intPart.substr(firstNonZero);
    while (!frac.empty() && frac.back() == '0') frac.pop_back();
    std::string out = intPart;
    if (hasPoint) out += "." + frac;
    bool isZero = intPart.empty() && frac.empty();
    if (negative && !isZero) out = "-" + out;
    return out;
}
