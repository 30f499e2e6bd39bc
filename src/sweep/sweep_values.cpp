#include "sweep_values.h"

#include <QRegularExpression>
#include <cmath>

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

// A plain decimal number with a point: no exponent, no blanks, no group separators.
std::optional<double> decimal(QStringView text) {
    static const QRegularExpression pattern(u"^[+-]?(\\d+(\\.\\d*)?|\\.\\d+)$"_s);
    if (!pattern.match(text).hasMatch()) return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);  // QStringView reads with a point in every locale
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

struct Unit {
    QStringView suffix;
    double factor;
};

// The number in the base unit, a whole multiple of `resolution` (in the base unit), or nullopt
// with the reason.
std::optional<double> withUnit(QStringView text, std::initializer_list<Unit> units,
                               double defaultFactor, double resolution, const QString& what,
                               const QString& resolutionText, QString& error) {
    double factor = defaultFactor;
    QStringView number = text;
    for (const Unit& unit : units) {
        if (text.endsWith(unit.suffix)) {
            factor = unit.factor;
            number = text.chopped(unit.suffix.size());
            break;
        }
    }
    const std::optional<double> value = decimal(number);
    if (!value) {
        error = u"'%1' is no %2"_s.arg(text, what);
        return std::nullopt;
    }
    const double scaled = *value * factor;
    // A number of some 300 digits in MHz is finite as written but not once scaled.
    if (!std::isfinite(scaled)) {
        error = u"'%1' is no %2"_s.arg(text, what);
        return std::nullopt;
    }
    const double steps = std::round(scaled / resolution);
    if (std::abs(scaled / resolution - steps) > 1e-6) {
        error = u"%1: the %2 goes in steps of %3"_s.arg(text, what, resolutionText);
        return std::nullopt;
    }
    return steps * resolution + 0.0;  // no -0
}

bool within(double value, double low, double high, QStringView text, const QString& limits,
            QString& error) {
    if (value >= low && value <= high) return true;
    error = u"%1 is out of range (%2)"_s.arg(text, limits);
    return false;
}

}  // namespace

std::optional<double> parseFrequency(QStringView text, QString& error) {
    return withUnit(text, {{u"MHz", 1e6}, {u"kHz", 1e3}, {u"Hz", 1}}, 1e3, 1, u"frequency"_s,
                    u"1 Hz"_s, error);
}

std::optional<double> parseBias(QStringView text, QString& error) {
    return withUnit(text, {{u"mV", 1}, {u"V", 1e3}}, 1, 10, u"bias"_s, u"10 mV"_s, error);
}

std::optional<double> parseOscillator(QStringView text, QString& error) {
    const std::optional<double> level = decimal(text);
    if (!level) {
        error = u"'%1' is no oscillator level in mV"_s.arg(text);
        return std::nullopt;
    }
    if (!within(*level, 5, 1100, text, u"5 to 1100 mV"_s, error)) return std::nullopt;
    if (*level > 100 && std::fmod(*level, 5) != 0) {
        error = u"%1: above 100 mV the oscillator level goes in steps of 5 mV"_s.arg(text);
        return std::nullopt;
    }
    return level;
}

std::optional<double> parseSpot(Quantity quantity, QStringView text, QString& error) {
    if (quantity == Quantity::Frequency) {
        const std::optional<double> hz = parseFrequency(text, error);
        if (!hz || !within(*hz, 5, 13e6, text, u"5 Hz to 13 MHz"_s, error)) return std::nullopt;
        return hz;
    }
    const std::optional<double> mv = parseBias(text, error);
    if (!mv || !within(*mv, -32000, 32000, text, u"-32 V to 32 V"_s, error)) return std::nullopt;
    return mv;
}

std::optional<std::array<double, 3>> parseRange(Quantity quantity, QStringView text,
                                                QString& error) {
    const QList<QStringView> parts = text.split(u':');
    if (parts.size() != 3) {
        error = u"'%1' is no range START:STOP:STEP"_s.arg(text);
        return std::nullopt;
    }
    const std::optional<double> start = parseSpot(quantity, parts[0], error);
    if (!start) return std::nullopt;
    const std::optional<double> stop = parseSpot(quantity, parts[1], error);
    if (!stop) return std::nullopt;
    const bool frequency = quantity == Quantity::Frequency;
    const std::optional<double> step =
        frequency ? parseFrequency(parts[2], error) : parseBias(parts[2], error);
    if (!step) return std::nullopt;
    if (!(frequency ? within(*step, 1, 1e6, parts[2], u"a step of 1 Hz to 1 MHz"_s, error)
                    : within(*step, 10, 5000, parts[2], u"a step of 10 mV to 5 V"_s, error))) {
        return std::nullopt;
    }
    if (*start > *stop) {
        error = u"%1: the start lies above the stop"_s.arg(text);
        return std::nullopt;
    }
    if (*stop > *start && *step > *stop - *start) {
        error = u"%1: the step is larger than the span"_s.arg(text);
        return std::nullopt;
    }
    return std::array<double, 3>{*start, *stop, *step};
}

std::optional<int> parseWhole(QStringView text, int low, int high, QString& error) {
    static const QRegularExpression digits(u"^\\d{1,9}$"_s);
    if (digits.match(text).hasMatch()) {
        const int value = text.toInt();
        if (value >= low && value <= high) return value;
    }
    error = u"'%1' is no whole number from %2 to %3"_s.arg(text).arg(low).arg(high);
    return std::nullopt;
}

}  // namespace lorvane
