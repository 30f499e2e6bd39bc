// Devices under test of the simulated HP 4192A: complex impedance and two-port transfer
// computed from their component values at the measurement frequency.
#pragma once

#include <complex>
#include <optional>
#include <string_view>

namespace lorvane::sim {

enum class DeviceKind { Default, Rlc, Rc, Varactor, Lowpass };

// Looks up a device by its name ("default", "rlc", "rc", "varactor", "lowpass").
std::optional<DeviceKind> deviceByName(std::string_view name);
std::string_view deviceName(DeviceKind kind);

// Impedance in ohms seen at the UNKNOWN terminals at `hz`, with `biasVolts` of DC bias
// applied (0 when the bias is switched off).
std::complex<double> deviceImpedance(DeviceKind kind, double hz, double biasVolts);

// Transfer B/A of the network in the gain-phase set-up: channel A is the reference, channel B
// the network's output. Two-terminal devices sit in series between the source and channel B's
// 50 ohm input.
std::complex<double> deviceTransfer(DeviceKind kind, double hz);

// Group delay -d(phase)/d(omega) of the transfer, in seconds.
double deviceGroupDelay(DeviceKind kind, double hz);

}  // namespace lorvane::sim
