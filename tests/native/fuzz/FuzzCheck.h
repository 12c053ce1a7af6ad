// The fuzz targets' property check: a broken property stops the run as a finding.
#pragma once

#include <cstdio>
#include <cstdlib>

// Prints what does not hold and aborts, which libFuzzer reports as a crash with its input.
#define FUZZ_CHECK(condition, what)                                                                             \
    do {                                                                                                        \
        if (!(condition)) {                                                                                     \
            std::fprintf(stderr, "Property broken: %s\n  (%s, %s:%d)\n", what, #condition, __FILE__, __LINE__); \
            std::abort();                                                                                       \
        }                                                                                                       \
    } while (false)
