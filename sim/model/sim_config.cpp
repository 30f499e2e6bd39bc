#include "sim_config.h"

#include <charconv>
#include <limits>
#include <optional>
#include <utility>

namespace lorvane::sim {

namespace {

std::optional<unsigned long> parseWhole(std::string_view text, unsigned long max) {
    unsigned long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value > max) {
        return std::nullopt;
    }
    return value;
}

std::string quoted(std::string_view text) {
    std::string result;
    result.reserve(text.size() + 2);
    result.append(1, '\'').append(text).append(1, '\'');
    return result;
}

}  // namespace

std::string setConfigValue(SimConfig& config, ConfigKey key, std::string_view text) {
    switch (key) {
        case ConfigKey::Address:
            if (const auto value = parseWhole(text, 30)) {
                config.address = static_cast<int>(*value);
                return {};
            }
            return "bad address " + quoted(text) + ": expected a whole number from 0 to 30";
        case ConfigKey::Device:
            if (const auto device = deviceByName(text)) {
                config.device = *device;
                return {};
            }
            return "unknown device " + quoted(text) +
                   ": expected default, rlc, rc, varactor or lowpass";
        case ConfigKey::DelayMs:
            if (const auto value = parseWhole(text, 600'000)) {
                config.delayMs = static_cast<int>(*value);
                return {};
            }
            return "bad delay " + quoted(text) + ": expected whole milliseconds from 0 to 600000";
        case ConfigKey::NoiseSeed:
            if (const auto value = parseWhole(text, std::numeric_limits<unsigned>::max())) {
                config.noiseSeed = static_cast<unsigned>(*value);
                return {};
            }
            return "bad noise seed " + quoted(text) + ": expected a whole number (0: no noise)";
        case ConfigKey::Fault:
            if (auto faults = parseFaultRules(text)) {
                config.faults = std::move(*faults);
                return {};
            }
            return "bad fault " + quoted(text) + ": " + kFaultSyntax;
        case ConfigKey::FaultSeed:
            if (const auto value = parseWhole(text, std::numeric_limits<unsigned>::max())) {
                config.faultSeed = static_cast<unsigned>(*value);
                return {};
            }
            return "bad fault seed " + quoted(text) + ": expected a whole number";
        case ConfigKey::ReplySize:
            if (const auto value = parseWhole(text, 10'000'000)) {
                config.replySize = *value;
                return {};
            }
            return "bad reply size " + quoted(text) + ": expected a whole number of characters";
    }
    return "unknown setting";
}

}  // namespace lorvane::sim
