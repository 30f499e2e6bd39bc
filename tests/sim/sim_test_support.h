// Helpers for driving the simulated instrument directly in tests.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

#include "instrument.h"

namespace lorvane::test {

// A configuration that measures at once, without noise or faults.
inline sim::SimConfig instantConfig(sim::DeviceKind device = sim::DeviceKind::Default) {
    sim::SimConfig config;
    config.device = device;
    config.delayMs = 0;
    return config;
}

// Sends one message and returns the whole reading that is then waiting ("" when none). Time
// stands still: with no measurement delay every reading is complete at once.
inline std::string query(sim::Instrument& instrument, std::string_view message) {
    const sim::Instrument::TimePoint now{};
    instrument.receive(message, now);
    return instrument.read(now, std::numeric_limits<std::size_t>::max()).text;
}

// The number of display field `index` (0, 1 or 2) of a reading, read back for checks of the
// physics: the text after the status, code and mode letters (after the letter in field 2).
double fieldValue(const std::string& reading, int index);

}  // namespace lorvane::test
