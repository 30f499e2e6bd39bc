#include "sim_options.h"

#include <charconv>
#include <optional>

namespace lorvane::sim {

const char* const kSimUsage =
    "Usage: lorvane-sim [options]\n"
    "Emulates a Prologix GPIB-USB adapter with a simulated HP 4192A on a pseudo-terminal,\n"
    "reachable as $XDG_RUNTIME_DIR/lorvane/COM<port>.\n"
    "\n"
    "  --port N         COM port number (default 7)\n"
    "  --address PAD    GPIB address of the instrument, 0..30 (default 1)\n"
    "  --device NAME    default, rlc, rc, varactor or lowpass (default: default)\n"
    "  --delay MS       measurement time per point in ms (default 100)\n"
    "  --noise SEED     measurement noise from this seed (default 0: none)\n"
    "  --fault RULES    faults injected into replies, e.g. silent@5,garbled%1,unplug/100\n"
    "                   (see sim/README.md; default none)\n"
    "  --fault-seed N   seed of the faults given in percent (default 1)\n"
    "  --wire-log FILE  append the traffic to FILE\n"
    "  --help           show this text\n";

namespace {

std::optional<int> portNumber(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > 255) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

std::string parseSimOptions(const std::vector<std::string>& arguments, SimOptions& options) {
    static constexpr struct {
        const char* name;
        ConfigKey key;
    } kConfigOptions[] = {
        {"--address", ConfigKey::Address}, {"--device", ConfigKey::Device},
        {"--delay", ConfigKey::DelayMs},   {"--noise", ConfigKey::NoiseSeed},
        {"--fault", ConfigKey::Fault},     {"--fault-seed", ConfigKey::FaultSeed}};
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        if (name == "--help") {
            options.help = true;
            continue;
        }
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        } else if (i + 1 < arguments.size()) {
            value = arguments[++i];
        }
        bool known = name == "--port" || name == "--wire-log";
        for (const auto& option : kConfigOptions) known = known || name == option.name;
        if (!known) return "unknown option " + name;
        if (!value) return "option " + name + " needs a value";
        if (name == "--port") {
            const auto port = portNumber(*value);
            if (!port) return "--port: bad port '" + *value + "': expected 1 to 255";
            options.port = *port;
        } else if (name == "--wire-log") {
            options.wireLog = *value;
        }
        for (const auto& option : kConfigOptions) {
            if (name != option.name) continue;
            const std::string error = setConfigValue(options.config, option.key, *value);
            if (!error.empty()) return name + ": " + error;
        }
    }
    return {};
}

}  // namespace lorvane::sim
