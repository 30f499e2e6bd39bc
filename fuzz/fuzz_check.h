#pragma once
// What every fuzzing target shares: a property check that stops the fuzzer with a message, so
// that libFuzzer keeps the input that broke it, just as it keeps one that crashed.

#include <QByteArray>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace lorvane::fuzz {

[[noreturn]] inline void propertyFailed(const char* property, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, property);
    std::abort();
}

}  // namespace lorvane::fuzz

#define FUZZ_CHECK(condition, property) \
    ((condition) ? (void)0 : ::lorvane::fuzz::propertyFailed(property, __FILE__, __LINE__))
