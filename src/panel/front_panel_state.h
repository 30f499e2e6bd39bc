#pragma once

#include <QString>
#include <array>
#include <cstdint>

namespace lorvane {

// The front panel's own state, beside what its controls show. Selections are the indexes of
// MeasureMode, CircuitMode and SweepParam; frequencies are in hertz and bias voltages in
// millivolts.
struct FrontPanelState {
    int16_t SelectedMode = 0;
    int16_t SelectedCircuit = 0;
    int16_t SelectedSweep = 0;
    // The auto-step option is on (it mirrors vAuto).
    bool AutoStep = false;
    // With auto-step on, the frequency step runs logarithmically ("Log") rather than linearly.
    bool LogStep = false;
    // The program itself is changing panel controls: the change handlers that test it do
    // nothing. A plain flag, not a counter: whoever sets it clears it afterwards, also when it
    // was already set.
    bool Updating = false;
    // Names of the swept quantity and of the first and second reading.
    std::array<QString, 3> QuantityLabel;
    // Unit captions of the frequency (0) and bias (1) step fields, kept while auto-step is on.
    std::array<QString, 2> SavedStepUnit;
    // Remembered start, stop and step values.
    std::array<double, 3> PrevFreq{};
    std::array<double, 3> PrevBias{};
    // The text the frequency or bias field that last got the focus had then.
    QString FocusText;
};

}  // namespace lorvane
