#include "devices.h"

#include <cmath>
#include <numbers>

namespace lorvane::sim {

namespace {

using Complex = std::complex<double>;

constexpr double kChannelInputOhms = 50.0;

// Series R-L-C: 10 ohm, 100 uH, 10 nF; resonance near 159.15 kHz.
constexpr double kRlcR = 10.0;
constexpr double kRlcL = 100e-6;
constexpr double kRlcC = 10e-9;

// Rs + (Rp || C): 5 ohm, 10 kohm, 1 nF; the parallel corner lies near 15.9 kHz.
constexpr double kRcRs = 5.0;
constexpr double kRcRp = 10e3;
constexpr double kRcC = 1e-9;

// Varactor: C(V) = C0 / sqrt(1 + |V| / phi) in series with a small resistance.
constexpr double kVaractorC0 = 10e-9;
constexpr double kVaractorPhi = 0.7;
constexpr double kVaractorRs = 2.0;

// R-C low-pass: 1 kohm, 10 nF; corner near 15.92 kHz, delay RC = 10 us at low frequencies.
constexpr double kLowpassR = 1e3;
constexpr double kLowpassC = 10e-9;

double omega(double hz) { return 2.0 * std::numbers::pi * hz; }

Complex capacitor(double farads, double hz) { return 1.0 / Complex(0.0, omega(hz) * farads); }

double junctionCapacitance(double c0, double biasVolts) {
    return c0 / std::sqrt(1.0 + std::abs(biasVolts) / kVaractorPhi);
}

Complex rlc(double hz, double farads) {
    return Complex(kRlcR, omega(hz) * kRlcL) + capacitor(farads, hz);
}

Complex lowpassTransfer(double hz) { return 1.0 / Complex(1.0, omega(hz) * kLowpassR * kLowpassC); }

}  // namespace

std::optional<DeviceKind> deviceByName(std::string_view name) {
    for (DeviceKind kind : {DeviceKind::Default, DeviceKind::Rlc, DeviceKind::Rc,
                            DeviceKind::Varactor, DeviceKind::Lowpass}) {
        if (deviceName(kind) == name) return kind;
    }
    return std::nullopt;
}

std::string_view deviceName(DeviceKind kind) {
    switch (kind) {
        case DeviceKind::Default:
            return "default";
        case DeviceKind::Rlc:
            return "rlc";
        case DeviceKind::Rc:
            return "rc";
        case DeviceKind::Varactor:
            return "varactor";
        case DeviceKind::Lowpass:
            return "lowpass";
    }
    return "default";
}

std::complex<double> deviceImpedance(DeviceKind kind, double hz, double biasVolts) {
    switch (kind) {
        case DeviceKind::Default:
            return rlc(hz, junctionCapacitance(kRlcC, biasVolts));
        case DeviceKind::Rlc:
            return rlc(hz, kRlcC);
        case DeviceKind::Rc: {
            const Complex admittance = Complex(1.0 / kRcRp, omega(hz) * kRcC);
            return kRcRs + 1.0 / admittance;
        }
        case DeviceKind::Varactor:
            return kVaractorRs + capacitor(junctionCapacitance(kVaractorC0, biasVolts), hz);
        case DeviceKind::Lowpass:
            // Input impedance with the output open: the resistor in series with the capacitor.
            return kLowpassR + capacitor(kLowpassC, hz);
    }
    return {};
}

std::complex<double> deviceTransfer(DeviceKind kind, double hz) {
    if (kind == DeviceKind::Default || kind == DeviceKind::Lowpass) return lowpassTransfer(hz);
    return kChannelInputOhms / (kChannelInputOhms + deviceImpedance(kind, hz, 0.0));
}

double deviceGroupDelay(DeviceKind kind, double hz) {
    // Central difference of the phase; the ratio keeps the phase difference free of wraps.
    constexpr double kRelativeStep = 1e-4;
    const double low = hz * (1.0 - kRelativeStep);
    const double high = hz * (1.0 + kRelativeStep);
    const double phaseChange = std::arg(deviceTransfer(kind, high) / deviceTransfer(kind, low));
    return -phaseChange / (omega(high) - omega(low));
}

}  // namespace lorvane::sim
