// Limits, resolution and sweep stepping of the simulated HP 4192A.
#pragma once

#include "instrument_state.h"

namespace lorvane::sim {

inline constexpr double kMinFrequencyKhz = 0.005;
inline constexpr double kMaxFrequencyKhz = 13000.0;
inline constexpr double kMaxBiasVolts = 35.0;
inline constexpr double kMinOscillatorVolts = 0.005;
inline constexpr double kMaxOscillatorVolts = 1.1;
// Points per decade of a logarithmic frequency sweep.
inline constexpr int kLogPointsPerDecade = 10;

// Decimals of the frequency in kHz that the instrument resolves at this frequency: 1 mHz below
// 10 kHz, 10 mHz below 100 kHz, 100 mHz below 1 MHz, 1 Hz above.
int frequencyDecimals(double khz);

// Clamp to the instrument's limits and round to its resolution.
double settleFrequencyKhz(double khz);
double settleBiasVolts(double volts);        // 10 mV steps
double settleOscillatorVolts(double volts);  // 1 mV steps up to 100 mV, 5 mV above
double settleFrequencyStepKhz(double khz);
double settleBiasStepVolts(double volts);

// Moves the swept quantity's spot one step up (direction 1) or down (-1), never beyond the
// ends of its sweep range. A logarithmic frequency sweep moves between the points of a fixed
// grid with kLogPointsPerDecade points per decade.
void stepSweep(InstrumentState& state, int direction);

// Puts the swept quantity's spot at the beginning of a sweep in `direction`: the start going
// up, the stop going down.
void moveToSweepBeginning(InstrumentState& state, int direction);

}  // namespace lorvane::sim
