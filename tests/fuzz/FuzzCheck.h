#pragma once
// A failed property stops the fuzzer with a message; libFuzzer then saves the input.
#include <cstdio>
#include <cstdlib>
#include <string>

[[noreturn]] inline void FuzzFail(const std::string& what) {
    std::fprintf(stderr, "PROPERTY FAILED: %s\n", what.c_str());
    std::abort();
}

#define FUZZ_CHECK(cond, what)                                     \
    do {                                                           \
        if (!(cond)) FuzzFail(std::string(#cond " -- ") + (what)); \
    } while (0)
