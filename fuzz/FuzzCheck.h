#pragma once
// A broken property of a fuzz target: prints what broke and aborts, so that
// libFuzzer keeps the input as a crash.

#include <cstdio>
#include <cstdlib>

#define CQ_FUZZ_CHECK(condition)                                                                  \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (false)
