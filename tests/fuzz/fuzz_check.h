#pragma once
#include <cstdio>
#include <cstdlib>

// A broken property is a finding like a crash: libFuzzer keeps the input.
inline void require(bool holds, const char* what) {
    if (holds) return;
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}
