// What the simulated HP 4192A measures and how it writes a reading.
#pragma once

#include <complex>
#include <random>
#include <string>
#include <string_view>

#include "devices.h"
#include "instrument_state.h"

namespace lorvane::sim {

// Small deterministic measurement noise. Seed 0 gives none.
class NoiseSource {
  public:
    explicit NoiseSource(unsigned seed);
    std::complex<double> complexFactor();  // 1 + a small complex deviation
    double realFactor();                   // 1 + a small deviation

  private:
    bool enabled_;
    std::mt19937 engine_;
    std::normal_distribution<double> normal_;
};

struct Display {
    std::string code;  // two-letter function code, e.g. "ZF"
    double value = 0.0;
};

struct Displays {
    Display a;
    Display b;
};

// Measures the device at the state's spot and returns the values of displays A and B.
Displays measure(const InstrumentState& state, DeviceKind device, NoiseSource& noise);

// Display A or B field: status (N normal, O overflow), code, deviation mode N, then the value
// with a sign, five significant digits, the point where it falls and an exponent that is a
// multiple of 3. Examples: "NZFN+2.8170E+03", "NTDN-30.000E-03".
std::string formatDisplayField(std::string_view code, double value);

// Display C field with the spot frequency: "K+01.000000" at 1 kHz, "K+01000.000" at 1 MHz.
std::string formatFrequencyField(double khz);

// Display C field with the spot bias: "V+01.50", "V-00.50".
std::string formatBiasField(double volts);

// The whole reading, ending in CR LF: fields A and B, and field C with format F1.
std::string formatReading(const InstrumentState& state, const Displays& displays);

}  // namespace lorvane::sim
