#include "sweep.h"

#include <algorithm>
#include <cmath>

namespace lorvane::sim {

namespace {

double roundTo(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

double& spot(InstrumentState& state) {
    return state.swept == SweepQuantity::Frequency ? state.frequencyKhz : state.biasVolts;
}

const SweepRange& range(const InstrumentState& state) {
    return state.swept == SweepQuantity::Frequency ? state.frequencySweep : state.biasSweep;
}

double settle(const InstrumentState& state, double value) {
    return state.swept == SweepQuantity::Frequency ? settleFrequencyKhz(value)
                                                   : settleBiasVolts(value);
}

}  // namespace

int frequencyDecimals(double khz) {
    if (khz < 10.0) return 6;
    if (khz < 100.0) return 5;
    if (khz < 1000.0) return 4;
    return 3;
}

double settleFrequencyKhz(double khz) {
    const double clamped = std::clamp(khz, kMinFrequencyKhz, kMaxFrequencyKhz);
    return roundTo(clamped, frequencyDecimals(clamped));
}

double settleBiasVolts(double volts) {
    return roundTo(std::clamp(volts, -kMaxBiasVolts, kMaxBiasVolts), 2);
}

double settleOscillatorVolts(double volts) {
    const double clamped = std::clamp(volts, kMinOscillatorVolts, kMaxOscillatorVolts);
    if (clamped <= 0.1) return roundTo(clamped, 3);
    return std::round(clamped * 200.0) / 200.0;
}

double settleFrequencyStepKhz(double khz) {
    return roundTo(std::clamp(khz, 0.0, kMaxFrequencyKhz), 6);
}

double settleBiasStepVolts(double volts) {
    return roundTo(std::clamp(volts, 0.0, 2.0 * kMaxBiasVolts), 2);
}

void stepSweep(InstrumentState& state, int direction) {
    const SweepRange& sweep = range(state);
    const double low = std::min(sweep.start, sweep.stop);
    const double high = std::max(sweep.start, sweep.stop);
    double& value = spot(state);
    if (direction > 0 ? value >= high : value <= low) return;
    double next = 0.0;
    if (state.swept == SweepQuantity::Frequency && state.logSweep) {
        // Points lie on a fixed grid of kLogPointsPerDecade per decade (1, 1.2589, ... 7.9433,
        // 10); a step goes to the next grid point. The margin absorbs the rounding of points.
        constexpr double kMargin = 1e-3;
        const double position = std::log10(value) * kLogPointsPerDecade;
        const double point = direction > 0 ? std::floor(position + kMargin) + 1.0
                                           : std::ceil(position - kMargin) - 1.0;
        next = std::pow(10.0, point / kLogPointsPerDecade);
    } else {
        next = direction > 0 ? value + sweep.step : value - sweep.step;
    }
    value = settle(state, std::clamp(next, low, high));
}

void moveToSweepBeginning(InstrumentState& state, int direction) {
    const SweepRange& sweep = range(state);
    spot(state) = direction > 0 ? sweep.start : sweep.stop;
}

}  // namespace lorvane::sim
