#pragma once

#include <cstdio>
#include <cstdlib>

// A property check that stays active in optimised builds (assert() does not): on failure it
// names the broken property and aborts, which libFuzzer and the replay runner both report.
#define FUZZ_CHECK(condition, what)                                                                          \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, what);                  \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
