// Helpers for driving the simulated instrument directly in tests.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>

#include "instrument.h"

namespace lorvane::test {

// The reading of the default device at power-on.
inline constexpr std::string_view kGood = "NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n";

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

}  // namespace lorvane::test
