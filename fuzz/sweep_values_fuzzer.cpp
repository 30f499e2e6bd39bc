// lorvane-sweep's values: frequencies, bias values, oscillator levels, ranges and whole
// numbers, as the operator types them on the command line.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "sweep_values.h"

namespace lorvane {
namespace {

// A parsed value is finite and whole in its resolution; printed in its base unit it parses
// back to the same value. A value that does not parse says why.
void checkValue(const std::optional<double>& value, const QString& error, double resolution,
                const QString& unit, std::optional<double> (*parse)(QStringView, QString&)) {
    if (!value) {
        FUZZ_CHECK(!error.isEmpty(), "a value that does not parse says why");
        return;
    }
    FUZZ_CHECK(std::isfinite(*value), "a parsed value is finite");
    // (Far beyond any limit a double has no room left for the resolution.)
    FUZZ_CHECK(std::abs(*value) > 1e15 || std::fmod(*value, resolution) == 0,
               "a parsed value is whole in its resolution");
    QString again;
    FUZZ_CHECK(parse(QString::number(*value, 'f', 0) + unit, again) == value,
               "a value that parses prints back to the same value");
}

}  // namespace
}  // namespace lorvane

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lorvane;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    checkValue(parseFrequency(text, error), error, 1, QStringLiteral("Hz"), parseFrequency);
    error.clear();
    checkValue(parseBias(text, error), error, 10, QStringLiteral("mV"), parseBias);

    error.clear();
    if (const std::optional<double> level = parseOscillator(text, error)) {
        FUZZ_CHECK(*level >= 5 && *level <= 1100, "an oscillator level lies within its limits");
        QString again;
        FUZZ_CHECK(parseOscillator(QString::number(*level, 'f', 17), again) == level,
                   "an oscillator level prints back to the same level");
    } else {
        FUZZ_CHECK(!error.isEmpty(), "a level that does not parse says why");
    }

    for (const Quantity quantity : {Quantity::Frequency, Quantity::Bias}) {
        error.clear();
        const auto range = parseRange(quantity, text, error);
        if (!range) {
            FUZZ_CHECK(!error.isEmpty(), "a range that does not parse says why");
            continue;
        }
        const auto [start, stop, step] = *range;
        FUZZ_CHECK(start <= stop && step > 0 && (start == stop || step <= stop - start),
                   "a range runs upwards by a step within its span");
        const QString unit =
            quantity == Quantity::Frequency ? QStringLiteral("Hz") : QStringLiteral("mV");
        const QString printed = QString::number(start, 'f', 0) + unit + u':' +
                                QString::number(stop, 'f', 0) + unit + u':' +
                                QString::number(step, 'f', 0) + unit;
        FUZZ_CHECK(parseRange(quantity, printed, error) == range,
                   "a range that parses prints back to the same range");
    }

    error.clear();
    if (const std::optional<int> whole = parseWhole(text, 0, 100, error)) {
        QString again;
        FUZZ_CHECK(*whole >= 0 && *whole <= 100, "a whole number lies within its limits");
        FUZZ_CHECK(parseWhole(QString::number(*whole), 0, 100, again) == whole,
                   "a whole number prints back to the same number");
    } else {
        FUZZ_CHECK(!error.isEmpty(), "a whole number that does not parse says why");
    }
    return 0;
}
