#pragma once
// A failed property stops the fuzzer with a message; libFuzzer then saves the input.
#include <cstdio>
#include <cstdlib>
#include <string>

// The text as a C string literal, to paste into a regression test.
inline std::string Escaped(const std::string& text) {
    std::string out = "\"";
    char buf[8];
    for (unsigned char c : text) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c == '\t') out += "\\t";
        else if (c == '"' || c == '\\') out += std::string("\\") + static_cast<char>(c);
        else if (c < 32 || c >= 127) {
            std::snprintf(buf, sizeof buf, "\\x%02X\"\"", c);
            out += buf;
        } else out += static_cast<char>(c);
    }
    return out + "\"";
}

// The text under test, printed with a failure so that it can go into a regression test.
inline const std::string* FuzzText = nullptr;
inline const std::string* FuzzFields = nullptr;  // the fields the text was written from

[[noreturn]] inline void FuzzFail(const std::string& what) {
    std::fprintf(stderr, "PROPERTY FAILED: %s\n", what.c_str());
    if (FuzzText) std::fprintf(stderr, "TEXT: %s\n", Escaped(*FuzzText).c_str());
    if (FuzzFields) std::fprintf(stderr, "FIELDS: %s\n", Escaped(*FuzzFields).c_str());
    std::abort();
}

#define FUZZ_CHECK(cond, what)                                       \
    do {                                                             \
        if (!(cond)) FuzzFail(std::string(#cond " -- ") + (what));   \
    } while (0)
