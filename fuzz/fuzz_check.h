#pragma once
// What every fuzzing target shares: a property check that stops the fuzzer with a message, so
// that libFuzzer keeps the input that broke it, just as it keeps one that crashed.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace lorvane::fuzz {

[[noreturn]] inline void propertyFailed(const char* property, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, property);
    std::abort();
}

// A command line's arguments from the fuzzer's bytes: UTF-8, separated by NUL as in
// /proc/<pid>/cmdline.
inline QStringList argumentsOf(const uint8_t* data, size_t size) {
    return QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))
        .split(QChar(u'\0'));
}

}  // namespace lorvane::fuzz

#define FUZZ_CHECK(condition, property) \
    ((condition) ? (void)0 : ::lorvane::fuzz::propertyFailed(property, __FILE__, __LINE__))
