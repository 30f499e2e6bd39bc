#pragma once

#include <QString>
#include <array>

#include "measure_mode.h"
#include "sweep_param.h"

namespace lorvane {

// The front panel as a run finds it when it starts: everything the run programs the instrument
// from, taken once so that the run does not depend on widgets.
struct PanelSnapshot {
    MeasureMode mode = MeasureMode::Impedance;
    CircuitMode circuit = CircuitMode::Auto;
    SweepParam sweep = SweepParam::Frequency;
    // The auto-step option, and with it the logarithmic ("Log") rather than linear spacing.
    bool autoStep = false;
    bool logStep = false;
    // The High Speed check box.
    bool highSpeed = false;
    // GetFrequency(0..2) in Hz and GetBias(0..2) in mV: start (or spot), stop and step.
    std::array<double, 3> frequency{};
    std::array<double, 3> bias{};
    // The step box of each sweep (indexed by SweepParam) shows "Lin" or "Log".
    std::array<bool, 2> stepShowsAuto{};
    // The text of the oscillator level box, in mV in the user's locale.
    QString oscillatorText;

    // The start, stop and step of the selected sweep as the panel gives them (Hz or mV).
    const std::array<double, 3>& sweepFields() const {
        return sweep == SweepParam::Bias ? bias : frequency;
    }
    bool sweepStepShowsAuto() const { return stepShowsAuto[static_cast<int>(sweep)]; }
};

}  // namespace lorvane
