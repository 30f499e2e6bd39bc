#pragma once

#include <cstdint>

namespace lorvane {

// What a run sweeps: the index of the option button in lSwp and the value of the setting Sweep.
enum class SweepParam : int16_t { Frequency = 0, Bias = 1 };

}  // namespace lorvane
