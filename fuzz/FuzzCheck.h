#pragma once
// A broken promise of the code under a fuzz target: say which, and stop so the fuzzer
// keeps the input.
#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void FuzzFailure(const char* what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}
