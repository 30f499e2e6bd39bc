#include "sim_config.h"

#include <charconv>
#include <limits>
#include <optional>

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

std::optional<Fault> parseFault(std::string_view text) {
    struct Named {
        std::string_view name;
        Fault::Kind kind;
    };
    static constexpr Named kKinds[] = {{"none", Fault::Kind::None},
                                       {"silent", Fault::Kind::Silent},
                                       {"garbled", Fault::Kind::Garbled},
                                       {"short", Fault::Kind::Short},
                                       {"drop", Fault::Kind::Drop}};
    const std::size_t colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    for (const Named& known : kKinds) {
        if (known.name != name) continue;
        if (colon == std::string_view::npos) return Fault{known.kind, 0};
        const auto after = parseWhole(text.substr(colon + 1), 1'000'000'000);
        if (!after) return std::nullopt;
        return Fault{known.kind, *after};
    }
    return std::nullopt;
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
            if (const auto fault = parseFault(text)) {
                config.fault = *fault;
                return {};
            }
            return "bad fault " + quoted(text) +
                   ": expected none, silent, garbled, short or drop, optionally followed by :N";
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
