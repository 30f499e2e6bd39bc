// Settings of one simulated instrument, shared by both front ends, and their text forms.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "devices.h"

namespace lorvane::sim {

// A fault the instrument shows on demand, beginning after `after` readings went out.
struct Fault {
    enum class Kind { None, Silent, Garbled, Short, Drop };
    Kind kind = Kind::None;
    std::size_t after = 0;
    bool operator==(const Fault&) const = default;
};

struct SimConfig {
    int address = 1;  // GPIB primary address
    DeviceKind device = DeviceKind::Default;
    int delayMs = 100;       // measurement time per point
    unsigned noiseSeed = 0;  // 0: no noise
    Fault fault;
    std::size_t replySize = 0;  // pad readings with blanks to this length (0: no padding)
    bool operator==(const SimConfig&) const = default;
};

enum class ConfigKey { Address, Device, DelayMs, NoiseSeed, Fault, ReplySize };

// Sets one setting from its text form. Returns "" when the text was taken, otherwise a message
// that says what is wrong; the setting then keeps its value.
std::string setConfigValue(SimConfig& config, ConfigKey key, std::string_view text);

}  // namespace lorvane::sim
