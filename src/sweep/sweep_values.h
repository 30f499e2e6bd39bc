#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>

namespace lorvane {

// The values lorvane-sweep reads from its command line. The point is the decimal separator
// whatever the locale, and a value outside the front panel's limits is an error, never
// corrected. Each function gives the value, or nullopt with the reason in `error`.

// A frequency in hertz: kHz unless the text ends in "Hz", "kHz" or "MHz" ("5Hz", "2.5kHz",
// "1MHz", "10"). The panel works in whole hertz.
std::optional<double> parseFrequency(QStringView text, QString& error);

// A bias in millivolts: mV unless the text ends in "V" ("-5V", "100", "250mV"). The panel works
// in steps of 10 mV.
std::optional<double> parseBias(QStringView text, QString& error);

// An oscillator level in millivolts, 5 to 1100, a multiple of 5 above 100.
std::optional<double> parseOscillator(QStringView text, QString& error);

// A range START:STOP:STEP of frequencies or bias values, each value within the front panel's
// limits (start and stop 5 Hz to 13 MHz, step 1 Hz to 1 MHz; start and stop -32 V to 32 V,
// step 10 mV to 5 V), the start not above the stop and the step not above the span (any step
// when the start is the stop).
enum class Quantity { Frequency, Bias };
std::optional<std::array<double, 3>> parseRange(Quantity quantity, QStringView text,
                                                QString& error);

// One value of a quantity within the limits of a start or stop.
std::optional<double> parseSpot(Quantity quantity, QStringView text, QString& error);

// A whole number from `low` to `high`.
std::optional<int> parseWhole(QStringView text, int low, int high, QString& error);

}  // namespace lorvane
