#pragma once
#include <cmath>
#include <string>
#include <string_view>

#include "draw/RunError.h"

// The value of a command-line option of an analysis, read whole: "12x" is no number.

// A whole number from `low` to `high`; RunError naming the option otherwise.
inline long WholeOption(std::string_view name, std::string_view value, long low, long high) {
    long v = 0;
    try {
        std::size_t used = 0;
        v = std::stol(std::string(value), &used);
        if (used != value.size()) throw RunError("");
    } catch (...) {
        throw RunError("--" + std::string(name) + " takes a whole number, not \"" + std::string(value) + "\"");
    }
    if (v < low || v > high)
        throw RunError("--" + std::string(name) + " " + std::string(value) + " is out of range (" + std::to_string(low) +
                       " to " + std::to_string(high) + ")");
    return v;
}

// A positive finite number; RunError naming the option otherwise.
inline double PositiveOption(std::string_view name, std::string_view value) {
    double h = 0;
    try {
        std::size_t used = 0;
        h = std::stod(std::string(value), &used);
        if (used != value.size()) h = 0;
    } catch (...) {
        h = 0;
    }
    if (!(h > 0 && std::isfinite(h)))
        throw RunError("--" + std::string(name) + " takes a positive number, not \"" + std::string(value) + "\"");
    return h;
}

inline constexpr long MaxOptionCount = 1000000;
