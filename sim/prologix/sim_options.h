// Command line of lorvane-sim.
#pragma once

#include <string>
#include <vector>

#include "sim_config.h"

namespace lorvane::sim {

struct SimOptions {
    SimConfig config;
    int port = 7;  // COM number of the emulated adapter
    std::string wireLog;
    bool help = false;
};

// Reads "--name value" or "--name=value" options. Returns "" when all were understood,
// otherwise a message naming the bad option.
std::string parseSimOptions(const std::vector<std::string>& arguments, SimOptions& options);

extern const char* const kSimUsage;

}  // namespace lorvane::sim
