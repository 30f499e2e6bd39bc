#pragma once

#include <cstdint>

namespace lorvane {

// What a run measures: the index of the option button in lMod and the value of the setting
// Mode.
enum class MeasureMode : int16_t {
    Impedance = 0,
    Inductance = 1,
    Resistance = 2,
    Capacitance = 3,
    Gain = 4,
    Delay = 5
};

// The equivalent circuit: the index in lCrm and the value of the setting Circuit.
enum class CircuitMode : int16_t { Auto = 0, Series = 1, Parallel = 2 };

}  // namespace lorvane
