// Faults on demand, and the text forms of the simulator's settings.
#include <gtest/gtest.h>

#include "sim_test_support.h"

namespace lorvane::sim {
namespace {

using test::instantConfig;
using test::query;

constexpr std::string_view kGood = "NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n";

Instrument withFault(std::string_view fault) {
    SimConfig config = instantConfig();
    EXPECT_EQ(setConfigValue(config, ConfigKey::Fault, fault), "");
    return Instrument(config);
}

TEST(Faults, SilentAnswersNoTrigger) {
    Instrument instrument = withFault("silent");
    EXPECT_EQ(query(instrument, "EX"), "");
    EXPECT_FALSE(instrument.readingDueAt().has_value());
}

TEST(Faults, GarbledAnswersJunkWithoutCommas) {
    Instrument instrument = withFault("garbled");
    EXPECT_EQ(query(instrument, "EX"), "?#GARBLED#?\r\n");
}

TEST(Faults, ShortAnswersOnlyTheFirstField) {
    Instrument instrument = withFault("short");
    EXPECT_EQ(query(instrument, "EX"), "NZFN+96.841E+00\r\n");
}

TEST(Faults, BeginAfterTheGivenNumberOfReadings) {
    Instrument silent = withFault("silent:2");
    EXPECT_EQ(query(silent, "EX"), kGood);
    EXPECT_EQ(query(silent, "EX"), kGood);
    EXPECT_EQ(query(silent, "EX"), "");
    EXPECT_EQ(query(silent, "EX"), "");

    Instrument garbled = withFault("garbled:1");
    EXPECT_EQ(query(garbled, "EX"), kGood);
    EXPECT_EQ(query(garbled, "EX"), "?#GARBLED#?\r\n");
}

TEST(Faults, OnlyReadingsThatWentOutCount) {
    Instrument instrument = withFault("short:1");
    instrument.receive("EX", {});  // replaced before anyone read it
    EXPECT_EQ(query(instrument, "EX"), kGood);
    EXPECT_EQ(query(instrument, "EX"), "NZFN+96.841E+00\r\n");
}

TEST(Faults, DropEndsTheConnectionAfterTheLastReading) {
    Instrument instrument = withFault("drop:2");
    EXPECT_EQ(query(instrument, "EX"), kGood);
    EXPECT_FALSE(instrument.dropped());
    EXPECT_EQ(query(instrument, "EX"), kGood);
    EXPECT_TRUE(instrument.dropped());
    instrument.receive("A2EX", {});
    instrument.deviceClear();
    EXPECT_EQ(instrument.read({}, 1000).text, "");
    EXPECT_EQ(instrument.state().displayA, 1);  // nothing reached the instrument

    EXPECT_TRUE(withFault("drop").dropped());
}

TEST(SimSettings, TakesEveryValidText) {
    SimConfig config;
    EXPECT_EQ(setConfigValue(config, ConfigKey::Address, "17"), "");
    EXPECT_EQ(setConfigValue(config, ConfigKey::Device, "varactor"), "");
    EXPECT_EQ(setConfigValue(config, ConfigKey::DelayMs, "0"), "");
    EXPECT_EQ(setConfigValue(config, ConfigKey::NoiseSeed, "1234"), "");
    EXPECT_EQ(setConfigValue(config, ConfigKey::Fault, "drop:3"), "");
    EXPECT_EQ(setConfigValue(config, ConfigKey::ReplySize, "12000"), "");
    EXPECT_EQ(config.address, 17);
    EXPECT_EQ(config.device, DeviceKind::Varactor);
    EXPECT_EQ(config.delayMs, 0);
    EXPECT_EQ(config.noiseSeed, 1234u);
    EXPECT_EQ(config.fault, (Fault{Fault::Kind::Drop, 3}));
    EXPECT_EQ(config.replySize, 12000u);
}

TEST(SimSettings, RefusesBadTextWithAReasonAndKeepsTheValue) {
    SimConfig config;
    EXPECT_EQ(setConfigValue(config, ConfigKey::Address, "31"),
              "bad address '31': expected a whole number from 0 to 30");
    EXPECT_EQ(setConfigValue(config, ConfigKey::Device, "resistor"),
              "unknown device 'resistor': expected default, rlc, rc, varactor or lowpass");
    EXPECT_EQ(setConfigValue(config, ConfigKey::DelayMs, "-5"),
              "bad delay '-5': expected whole milliseconds from 0 to 600000");
    EXPECT_EQ(setConfigValue(config, ConfigKey::NoiseSeed, "x"),
              "bad noise seed 'x': expected a whole number (0: no noise)");
    EXPECT_EQ(setConfigValue(config, ConfigKey::Fault, "drop:"),
              "bad fault 'drop:': expected none, silent, garbled, short or drop, optionally "
              "followed by :N");
    EXPECT_EQ(setConfigValue(config, ConfigKey::Fault, "slow"),
              "bad fault 'slow': expected none, silent, garbled, short or drop, optionally "
              "followed by :N");
    EXPECT_EQ(setConfigValue(config, ConfigKey::ReplySize, "10k"),
              "bad reply size '10k': expected a whole number of characters");
    EXPECT_EQ(config, SimConfig{});
}

}  // namespace
}  // namespace lorvane::sim
