#pragma once

#include <cstdio>
#include <cstdlib>

// Ends the fuzzer with the invariant that broke, so that libFuzzer keeps the input.
inline void Require(bool holds, const char* invariant) {
    if (holds) return;
    std::fprintf(stderr, "broken: %s\n", invariant);
    std::abort();
}
