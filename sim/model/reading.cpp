#include "reading.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "sweep.h"

namespace lorvane::sim {

namespace {

using Complex = std::complex<double>;

// Automatic circuit mode: parallel equivalent circuit from this impedance up, series below.
constexpr double kAutoParallelOhms = 1000.0;
constexpr double kNoiseDeviation = 2e-4;
// Largest exponent the display shows, and the smallest value it tells from zero.
constexpr int kMaxExponent = 9;
constexpr double kSmallestShown = 1e-18;
// Channel level of 1 V rms into 50 ohm, in dBm.
constexpr double kDbmAtOneVolt = 13.0103;

double degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

// A magnitude with `decimals` decimals and a point, zeros in front up to `width` characters, as
// "%0*.*f" writes it in the "C" locale. to_chars never looks at the locale: the simulator also
// runs inside the program's process, as its stand-in library, under whatever locale it has.
std::string fixedPoint(double magnitude, int decimals, std::size_t width) {
    char digits[352];  // any double with up to 6 decimals
    const auto end =
        std::to_chars(digits, digits + sizeof digits, magnitude, std::chars_format::fixed, decimals)
            .ptr;
    std::string text(digits, end);
    if (text.size() < width) text.insert(0, width - text.size(), '0');
    return text;
}

// Quotient that reads as an overflow (infinity) when the divisor is zero.
double ratio(double numerator, double divisor) {
    if (divisor == 0.0) return std::copysign(INFINITY, numerator);
    return numerator / divisor;
}

Display loss(int displayB, bool parallel, Complex z, Complex y) {
    switch (displayB) {
        case 2:
            return {"DF", ratio(z.real(), std::abs(z.imag()))};
        case 3:
            return parallel ? Display{"GF", y.real()} : Display{"RF", z.real()};
        default:
            return {"QF", ratio(std::abs(z.imag()), z.real())};
    }
}

Displays impedanceDisplays(const InstrumentState& state, Complex z, double hz) {
    const bool parallel =
        state.circuit == 3 || (state.circuit == 1 && std::abs(z) >= kAutoParallelOhms);
    const Complex y = 1.0 / z;
    const double w = 2.0 * std::numbers::pi * hz;
    switch (state.displayA) {
        case 2:
            if (parallel) return {{"GF", y.real()}, {"BF", y.imag()}};
            return {{"RF", z.real()}, {"XF", z.imag()}};
        case 3: {
            const Display l =
                parallel ? Display{"LP", ratio(-1.0, w * y.imag())} : Display{"LS", z.imag() / w};
            return {l, loss(state.displayB, parallel, z, y)};
        }
        case 4: {
            const Display c =
                parallel ? Display{"CP", y.imag() / w} : Display{"CS", ratio(-1.0, w * z.imag())};
            return {c, loss(state.displayB, parallel, z, y)};
        }
        default: {
            const Display theta = state.displayB == 2 ? Display{"TR", std::arg(z)}
                                                      : Display{"TD", degrees(std::arg(z))};
            return {{"ZF", std::abs(z)}, theta};
        }
    }
}

Displays gainPhaseDisplays(const InstrumentState& state, DeviceKind device, double hz,
                           NoiseSource& noise) {
    const Complex h = deviceTransfer(device, hz) * noise.complexFactor();
    const double delay = deviceGroupDelay(device, hz) * noise.realFactor();
    const double gainDb = 20.0 * std::log10(std::abs(h));
    const bool dbm = state.gainUnit == 1;
    const double levelA = 20.0 * std::log10(state.oscillatorVolts) + (dbm ? kDbmAtOneVolt : 0.0);
    Display a{"BA", gainDb};
    if (state.displayA == 6) a = {dbm ? "AM" : "AV", levelA};
    if (state.displayA == 7) a = {dbm ? "BM" : "BV", levelA + gainDb};
    switch (state.displayB) {
        case 2:
            return {a, {"TD", degrees(std::arg(h))}};
        case 3:
            return {a, {"TR", std::arg(h)}};
        default:
            return {a, {"GD", delay}};
    }
}

}  // namespace

NoiseSource::NoiseSource(unsigned seed) : enabled_(seed != 0), engine_(seed), normal_(0.0, 1.0) {}

std::complex<double> NoiseSource::complexFactor() {
    if (!enabled_) return 1.0;
    const double re = normal_(engine_);
    const double im = normal_(engine_);
    return {1.0 + kNoiseDeviation * re, kNoiseDeviation * im};
}

double NoiseSource::realFactor() {
    return enabled_ ? 1.0 + kNoiseDeviation * normal_(engine_) : 1.0;
}

Displays measure(const InstrumentState& state, DeviceKind device, NoiseSource& noise) {
    const double hz = state.frequencyKhz * 1000.0;
    if (state.displayA >= 5) return gainPhaseDisplays(state, device, hz, noise);
    // A bias sweep applies its bias even under I0: the controller we serve never sends I1, and
    // a C-V curve is what a bias sweep is for. A spot bias needs I1.
    const bool biasApplied = state.biasOn || state.swept == SweepQuantity::Bias;
    const double bias = biasApplied ? state.biasVolts : 0.0;
    const Complex z = deviceImpedance(device, hz, bias) * noise.complexFactor();
    return impedanceDisplays(state, z, hz);
}

std::string formatDisplayField(std::string_view code, double value) {
    const std::string head = std::string(code) + "N";
    const char sign = value < 0 ? '-' : '+';
    const std::string overflow = "O" + head + sign + "999.99E+09";
    const double magnitude = std::abs(value);
    if (!std::isfinite(magnitude)) return overflow;
    if (magnitude < kSmallestShown) return "N" + head + "+0.0000E+00";

    int exponent = static_cast<int>(std::floor(std::log10(magnitude) / 3.0)) * 3;
    double mantissa = magnitude / std::pow(10.0, exponent);
    if (mantissa >= 1000.0) mantissa /= 1000.0, exponent += 3;
    if (mantissa < 1.0) mantissa *= 1000.0, exponent -= 3;
    int integerDigits = mantissa < 10.0 ? 1 : mantissa < 100.0 ? 2 : 3;
    long digits = std::lround(mantissa * std::pow(10.0, 5 - integerDigits));
    if (digits >= 100000) {  // rounding carried into a sixth digit
        if (integerDigits < 3) {
            ++integerDigits;
        } else {
            integerDigits = 1;
            exponent += 3;
            mantissa /= 1000.0;
        }
        digits = std::lround(mantissa * std::pow(10.0, 5 - integerDigits));
    }
    if (exponent > kMaxExponent) return overflow;

    const std::string text = std::to_string(digits);
    char field[32];
    std::snprintf(field, sizeof field, "N%s%c%s.%sE%c%02d", head.c_str(), sign,
                  text.substr(0, integerDigits).c_str(), text.substr(integerDigits).c_str(),
                  exponent < 0 ? '-' : '+', std::abs(exponent));
    return field;
}

std::string formatFrequencyField(double khz) {
    return "K+" + fixedPoint(khz, frequencyDecimals(khz), 9);
}

std::string formatBiasField(double volts) {
    const double rounded = std::round(volts * 100.0) / 100.0;
    return std::string("V") + (rounded < 0 ? '-' : '+') + fixedPoint(std::abs(rounded), 2, 5);
}

std::string formatReading(const InstrumentState& state, const Displays& displays) {
    std::string reading = formatDisplayField(displays.a.code, displays.a.value) + "," +
                          formatDisplayField(displays.b.code, displays.b.value);
    if (state.outputFormat == 1) {
        reading += ",";
        reading += state.swept == SweepQuantity::Bias ? formatBiasField(state.biasVolts)
                                                      : formatFrequencyField(state.frequencyKhz);
    }
    return reading + "\r\n";
}

}  // namespace lorvane::sim
