// lorvane-sim's options; PyMeasure's client drives the program itself (pymeasure_sweep.py).
#include <gtest/gtest.h>

#include "pty_port.h"
#include "sim_options.h"

namespace lorvane::sim {
namespace {

TEST(SimOptions, ReadsOptionsWithOrWithoutEqualsAndNamesTheOneThatIsWrong) {
    SimOptions options;
    EXPECT_EQ(parseSimOptions({"--port", "9", "--address=17", "--fault", "garbled:2",
                               "--fault-seed=5", "--wire-log", "/tmp/w.log", "--help"},
                              options),
              "");
    SimConfig config;
    config.address = 17;
    config.faults = {{FaultKind::Garbled, 0, FaultRule::Schedule::From, 2}};
    config.faultSeed = 5;
    EXPECT_EQ(options.config, config);
    EXPECT_EQ(std::tuple(options.port, options.wireLog, options.help),
              std::tuple(9, "/tmp/w.log", true));
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--colour", "red"}, "unknown option --colour"},
        {{"--delay"}, "option --delay needs a value"},
        {{"--port", "0"}, "--port: bad port '0': expected 1 to 255"},
        {{"--device=resistor"}, "--device: unknown device 'resistor': expected default, rlc, rc"},
    };
    for (const auto& [arguments, reason] : cases) {
        SimOptions refused;
        EXPECT_EQ(parseSimOptions(arguments, refused).substr(0, reason.size()), reason);
        EXPECT_EQ(std::pair(refused.port, refused.config), std::pair(7, SimConfig{}));
    }
    EXPECT_EQ(runtimeDirectory("/run/user/1000", 1000), "/run/user/1000");
    EXPECT_EQ(runtimeDirectory("", 1000), "/tmp/lorvane-1000");
}

}  // namespace
}  // namespace lorvane::sim
