#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// A number printed without a format: a leading blank (or minus) and a trailing blank,
// the shortest decimal form with at most 7 significant digits for a single, 15 for a
// double, and no zero before the point of a value below 1 (.5, not 0.5).
std::string Unformatted(float v);
std::string Unformatted(double v);
std::string Unformatted(int v);
inline std::string Unformatted(int16_t v) { return Unformatted(static_cast<int>(v)); }

// A number through a picture format such as "#.###", "###.#####", "###." or "######":
// "#" is an optional digit, the point is printed whenever the picture has one, the
// value is rounded (half away from zero) to as many decimals as there are "#" after the
// point, no leading or trailing zeros are added, and integer digits beyond the "#" count
// are still printed. 0 through "###.#####" prints as a lone point; 0 through "###" as "".
std::string Format(double v, std::string_view picture);
