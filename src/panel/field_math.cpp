#include "field_math.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "number_format.h"

namespace lorvane {
namespace {

double frequencyFactor(const QString& unit) {
    if (unit == QLatin1String("Hz")) return 1;
    if (unit == QLatin1String("kHz")) return 1000;
    if (unit == QLatin1String("MHz")) return 1000000;
    return 0;
}

double biasFactor(const QString& unit) {
    if (unit == QLatin1String("mV")) return 1;
    if (unit == QLatin1String("V")) return 1000;
    return 0;
}

// A typed number in the program's unit (Hz or mV). The product is rounded to a millionth of
// that unit, far below anything a field shows, so that it is the decimal value the operator
// typed: 2.01 V is 2010 mV, where the binary product is 2009.9999999999998 and would be cut to
// 2000 mV.
double typedValue(const QString& text, double factor) {
    const double product = parseLocaleNumber(text).value_or(0) * factor;
    return std::round(product * 1e6) / 1e6;
}

}  // namespace

bool isAutoStepText(const QString& text) {
    return text == QLatin1String("Lin") || text == QLatin1String("Log");
}

Limits frequencyLimits(int index) {
    return index == kStepField ? Limits{1, 1000000} : Limits{5, 13000000};
}

Limits biasLimits(int index) {
    return index == kStepField ? Limits{10, 5000} : Limits{-32000, 32000};
}

Clamped clampToLimits(double value, Limits limits) {
    if (value < limits.low) return {limits.low, true};
    if (value > limits.high) return {limits.high, true};
    return {value, false};
}

int roundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    // nearbyint rounds in the default mode, to nearest with halves to even.
    const double rounded = std::nearbyint(value);
    if (rounded <= std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
    if (rounded >= std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    return static_cast<int>(rounded);
}

double frequencyFromText(const QString& text, const QString& unit) {
    return typedValue(text, frequencyFactor(unit));
}

std::optional<QString> frequencyText(double hz, const QString& unit) {
    if (unit == QLatin1String("Hz")) return formatNumber(hz, QStringLiteral("0"));
    if (unit == QLatin1String("kHz")) return formatNumber(hz / 1000, QStringLiteral("0.000"));
    if (unit == QLatin1String("MHz")) return formatNumber(hz / 1000000, QStringLiteral("0.000000"));
    return std::nullopt;
}

QString nextFrequencyUnit(const QString& unit) {
    if (unit == QLatin1String("Hz")) return QStringLiteral("kHz");
    if (unit == QLatin1String("kHz")) return QStringLiteral("MHz");
    if (unit == QLatin1String("MHz")) return QStringLiteral("Hz");
    return unit;
}

std::optional<int> frequencyTypingLimit(const QString& unit) {
    if (unit == QLatin1String("Hz")) return 8;
    if (unit == QLatin1String("kHz") || unit == QLatin1String("MHz")) return 9;
    return std::nullopt;
}

int frequencyBarPosition(int index, double hz) {
    // The step bar starts at 1 kHz; the field itself may show less.
    const double bar = index == kStepField && hz < 1000 ? 1000 : hz;
    return roundHalfEven(bar / 1000);
}

double frequencyFromBar(int index, int position, double shownHz) {
    const int moved = position - frequencyBarPosition(index, shownHz);
    return roundHalfEven(shownHz) + moved * 1000.0;
}

double biasFromText(const QString& text, const QString& unit) {
    return std::floor(typedValue(text, biasFactor(unit)) / 10) * 10;
}

std::optional<QString> biasText(double mv, const QString& unit) {
    if (unit == QLatin1String("mV")) return formatNumber(mv, QStringLiteral("0"));
    if (unit == QLatin1String("V")) return formatNumber(mv / 1000, QStringLiteral("0.000"));
    return std::nullopt;
}

QString toggledBiasUnit(const QString& unit) {
    if (unit == QLatin1String("mV")) return QStringLiteral("V");
    if (unit == QLatin1String("V")) return QStringLiteral("mV");
    return unit;
}

std::optional<int> biasTypingLimit(int index, const QString& unit) {
    const int step = index == kStepField ? 2 : 0;
    if (unit == QLatin1String("mV")) return 6 - step;
    if (unit == QLatin1String("V")) return 7 - step;
    return std::nullopt;
}

std::vector<RangeFix> frequencyRangeFixes(int edited, const std::array<double, 3>& values) {
    const auto [f0, f1, f2] = values;
    std::vector<RangeFix> fixes;
    if (edited == 0 && f0 > f1) fixes.push_back({1, f0});
    if (edited == 1 && f1 < f0) fixes.push_back({0, f1});
    const double span = std::fabs(f1 - f0);
    if (f2 > span) {
        // A tenth of the whole hertz of the span; it may keep a fraction (12345 Hz gives
        // 1234.5 Hz). Never below the smallest step the instrument takes: a span of a few
        // hertz would otherwise leave a step that shows as 0 and a sweep that never advances.
        double step = std::floor(span) / 10;
        if (step == 0) step = std::floor(f1 / 10);
        fixes.push_back({kStepField, std::max(step, frequencyLimits(kStepField).low)});
    }
    return fixes;
}

std::vector<RangeFix> biasRangeFixes(int edited, const std::array<double, 3>& values) {
    const auto [v0, v1, v2] = values;
    std::vector<RangeFix> fixes;
    if (edited == 0 && v0 > v1) fixes.push_back({1, v0});
    if (edited == 1 && v1 < v0) fixes.push_back({0, v1});
    if (v1 - v0 < v2) {
        double step = std::floor((v1 - v0) / 10);
        if (step == 0) step = std::floor(v1 / 10);
        if (step < 10) step = 10;
        fixes.push_back({kStepField, step});
    }
    return fixes;
}

std::optional<OscillatorFix> oscillatorFix(double level) {
    if (level < 5) return OscillatorFix{QStringLiteral("5"), true};
    if (level > 1100) return OscillatorFix{QStringLiteral("1100"), true};
    if (level > 100) {
        double n = std::floor(level / 10) * 10;
        if (level - n >= 5) n += 5;
        return OscillatorFix{QString::number(static_cast<int>(n)), false};
    }
    return std::nullopt;
}

}  // namespace lorvane
