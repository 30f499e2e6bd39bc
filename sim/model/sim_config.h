// Settings of one simulated instrument, shared by both front ends, and their text forms.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "devices.h"
#include "faults.h"

namespace lorvane::sim {

struct SimConfig {
    int address = 1;  // GPIB primary address
    DeviceKind device = DeviceKind::Default;
    int delayMs = 100;              // measurement time per point
    unsigned noiseSeed = 0;         // 0: no noise
    std::vector<FaultRule> faults;  // none: every reply as measured
    unsigned faultSeed = 1;         // draws of the faults with a percentage
    std::size_t replySize = 0;      // pad readings with blanks to this length (0: no padding)
    bool operator==(const SimConfig&) const = default;
};

enum class ConfigKey { Address, Device, DelayMs, NoiseSeed, Fault, FaultSeed, ReplySize };

// Sets one setting from its text form. Returns "" when the text was taken, otherwise a message
// that says what is wrong; the setting then keeps its value.
std::string setConfigValue(SimConfig& config, ConfigKey key, std::string_view text);

}  // namespace lorvane::sim
