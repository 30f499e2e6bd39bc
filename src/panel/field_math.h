#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace lorvane {

// The arithmetic behind the frequency, bias and oscillator fields, free of widgets. Field
// index 0 is the start (or spot) value, 1 the stop value, 2 the step. Frequencies are in hertz,
// bias voltages and the oscillator level in millivolts. Texts follow the user's locale.

// The index of the step field.
inline constexpr int kStepField = 2;

// A step field's text while auto-step is on: "Lin" or "Log".
bool isAutoStepText(const QString& text);

struct Limits {
    double low;
    double high;
};

// Start and stop 5 Hz to 13 MHz, step 1 Hz to 1 MHz.
Limits frequencyLimits(int index);
// Start and stop -32000 mV to 32000 mV, step 10 mV to 5000 mV.
Limits biasLimits(int index);

// A value brought within its limits (bounds included); `corrected` asks for a beep.
struct Clamped {
    double value;
    bool corrected;
};
Clamped clampToLimits(double value, Limits limits);

// Nearest integer with halves to the even neighbour, held within the int range (0 for NaN):
// how a value becomes a scroll-bar position.
int roundHalfEven(double value);

// --- Frequency fields: units "Hz", "kHz", "MHz".

// The value of `text` shown in `unit`, in hertz: the decimal value typed, free of the binary
// product's last bits (1.001 kHz is 1001 Hz). Another unit, or a text that is not a number,
// gives 0.
double frequencyFromText(const QString& text, const QString& unit);
// `hz` written in `unit` ("0", "0.000" and "0.000000" for Hz, kHz and MHz); nullopt for
// another unit, which leaves a field's text as it is.
std::optional<QString> frequencyText(double hz, const QString& unit);
// "Hz" -> "kHz" -> "MHz" -> "Hz"; another caption stays as it is.
QString nextFrequencyUnit(const QString& unit);
// Typing limit of the start and stop fields in `unit`: 8 for "Hz", 9 for "kHz" and "MHz";
// nullopt for another caption (the limit then stays).
std::optional<int> frequencyTypingLimit(const QString& unit);
// Scroll-bar position for `hz` in field `index`: the nearest whole kilohertz (halves to even);
// the step bar never goes below 1 kHz.
int frequencyBarPosition(int index, double hz);
// The frequency a bar of field `index` moved to `position` asks for: the frequency shown so
// far, in whole hertz, moved by as many kilohertz as the bar moved from where that frequency
// put it. Each arrow thus moves exactly 1 kHz, also where the bar stands rounded up (2.6 kHz at
// 3) or held at its minimum (a 0.5 kHz step at 1).
double frequencyFromBar(int index, int position, double shownHz);

// --- Bias fields: units "mV", "V".

// The value of `text` shown in `unit`, cut down to a multiple of 10 mV (-15 mV gives -20 mV).
// The cut works on the decimal value typed: 2.01 V gives 2010 mV. Another unit, or a text that
// is not a number, gives 0.
double biasFromText(const QString& text, const QString& unit);
// `mv` written in `unit` ("0" for mV, "0.000" for V); nullopt for another unit.
std::optional<QString> biasText(double mv, const QString& unit);
// "mV" <-> "V"; another caption stays as it is.
QString toggledBiasUnit(const QString& unit);
// Typing limit of field `index` in `unit`: 6 for "mV", 7 for "V" on the start and stop fields,
// two less on the step; nullopt for another caption.
std::optional<int> biasTypingLimit(int index, const QString& unit);

// --- Range checks after a field was edited.

// One correction: field `index` is to show `value`, remembering what it showed, with a beep.
struct RangeFix {
    int index;
    double value;
};

// Keeps the start not above the stop and the step not above the span, after field `edited`
// was changed; `values` are the three fields' values as they stand. The stop follows a start
// raised above it, the start follows a stop lowered below it, and a step above the unsigned
// span becomes a tenth of the span (or a tenth of the stop for a span below 1 Hz), never
// below 1 Hz. Every test works on `values` as given, not on earlier corrections.
std::vector<RangeFix> frequencyRangeFixes(int edited, const std::array<double, 3>& values);
// As above for the bias fields, with a signed span (a stop below the start always gives a
// 10 mV step), the tenth taken as a whole number and a step never below 10 mV.
std::vector<RangeFix> biasRangeFixes(int edited, const std::array<double, 3>& values);

// --- Oscillator level.

// The text the oscillator field gets for a typed level, and whether that asks for a beep:
// below 5 mV it becomes "5" and above 1100 mV "1100" (with a beep); above 100 mV it is
// rounded down to a multiple of 5 mV and written as a whole number. Levels from 5 to 100 mV
// give nullopt: they stay as typed, fractions included.
struct OscillatorFix {
    QString text;
    bool beep;
};
std::optional<OscillatorFix> oscillatorFix(double level);

}  // namespace lorvane
