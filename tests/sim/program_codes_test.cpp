// Program codes: splitting lines into codes, applying them, limits and device clear.
#include <gtest/gtest.h>

#include "program_codes.h"
#include "sim_test_support.h"

namespace lorvane::sim {
namespace {

using test::instantConfig;
using test::query;

TEST(ProgramCodes, SplitsSettingsNumbersAndTriggers) {
    const auto codes = parseProgramLine("ABI0OL0.005ENEX");
    ASSERT_EQ(codes.size(), 4u);
    EXPECT_EQ(codes[0].name, "AB");
    EXPECT_EQ(codes[1].name, "I0");
    EXPECT_EQ(codes[2].name, "OL");
    EXPECT_DOUBLE_EQ(codes[2].number.value(), 0.005);
    EXPECT_EQ(codes[3].name, "EX");
    for (const auto& code : codes) EXPECT_TRUE(code.valid);
}

TEST(ProgramCodes, FlagsWhatItCannotReadAndGoesOn) {
    const auto codes = parseProgramLine("FR10EXa1b1 A9Q7W2");
    ASSERT_EQ(codes.size(), 6u);
    EXPECT_FALSE(codes[0].valid);  // a number without "EN" is not taken
    EXPECT_EQ(codes[0].name, "FR10");
    EXPECT_EQ(codes[1].name, "EX");
    EXPECT_FALSE(codes[2].valid);  // lower case
    EXPECT_EQ(codes[2].name, "a1b1");
    EXPECT_EQ(codes[3].name, "A9");
    EXPECT_EQ(codes[4].name, "Q7");
    EXPECT_TRUE(codes[5].valid);
    EXPECT_EQ(codes[5].name, "W2");
}

TEST(InstrumentSettings, AppliesEveryCodeOfALine) {
    Instrument instrument(instantConfig());
    instrument.receive("T3F0R4I1G1H1EX\rA3B2C3N2V1D1\r", {});
    const InstrumentState& state = instrument.state();
    EXPECT_EQ(state.trigger, 3);
    EXPECT_EQ(state.outputFormat, 0);
    EXPECT_EQ(state.range, 4);
    EXPECT_TRUE(state.biasOn);
    EXPECT_TRUE(state.logSweep);
    EXPECT_TRUE(state.highSpeed);
    EXPECT_EQ(state.displayA, 3);
    EXPECT_EQ(state.displayB, 2);
    EXPECT_EQ(state.circuit, 3);
    EXPECT_EQ(state.gainUnit, 2);
    EXPECT_TRUE(state.averaging);
    EXPECT_TRUE(state.dataReadySrq);
    EXPECT_TRUE(instrument.syntaxErrors().empty());
}

TEST(InstrumentSettings, TakesNumbersInKilohertzAndVolts) {
    Instrument instrument(instantConfig());
    instrument.receive("SF10.000ENTF20.000ENPF100.000EN", {});
    instrument.receive("FR1.500ENBI-1.250ENOL0.500EN", {});
    const InstrumentState& state = instrument.state();
    EXPECT_DOUBLE_EQ(state.frequencySweep.step, 10.0);
    EXPECT_DOUBLE_EQ(state.frequencySweep.start, 20.0);
    EXPECT_DOUBLE_EQ(state.frequencySweep.stop, 100.0);
    EXPECT_DOUBLE_EQ(state.frequencyKhz, 1.5);
    EXPECT_DOUBLE_EQ(state.biasVolts, -1.25);
    EXPECT_DOUBLE_EQ(state.oscillatorVolts, 0.5);
}

TEST(InstrumentSettings, ClampsToTheLimitsAndRoundsToTheResolution) {
    Instrument instrument(instantConfig());
    instrument.receive("FR0.001ENBI-40.000ENOL2.000ENTF20000.000ENPB36.000EN", {});
    EXPECT_DOUBLE_EQ(instrument.state().frequencyKhz, 0.005);
    EXPECT_DOUBLE_EQ(instrument.state().biasVolts, -35.0);
    EXPECT_DOUBLE_EQ(instrument.state().oscillatorVolts, 1.1);
    EXPECT_DOUBLE_EQ(instrument.state().frequencySweep.start, 13000.0);
    EXPECT_DOUBLE_EQ(instrument.state().biasSweep.stop, 35.0);

    instrument.receive("OL0.001ENBI1.234ENFR123.45678EN", {});
    EXPECT_DOUBLE_EQ(instrument.state().oscillatorVolts, 0.005);
    EXPECT_DOUBLE_EQ(instrument.state().biasVolts, 1.23);
    EXPECT_DOUBLE_EQ(instrument.state().frequencyKhz, 123.4568);
    instrument.receive("OL0.503EN", {});  // 5 mV steps above 100 mV
    EXPECT_DOUBLE_EQ(instrument.state().oscillatorVolts, 0.505);
}

TEST(InstrumentSettings, RecordsSyntaxErrorsWithoutLosingTheRest) {
    Instrument instrument(instantConfig());
    const std::string reading = query(instrument, "A2ZZ9B1OL0.5EX");
    EXPECT_EQ(instrument.syntaxErrors(), (std::vector<std::string>{"ZZ9", "OL0.5"}));
    EXPECT_EQ(instrument.state().displayA, 2);
    EXPECT_DOUBLE_EQ(instrument.state().oscillatorVolts, 1.0);
    EXPECT_EQ(reading, "NRFN+10.000E+00,NXFN-96.323E+00,K+0100.0000\r\n");
}

TEST(InstrumentSettings, DeviceClearReturnsThePowerOnState) {
    Instrument instrument(instantConfig());
    instrument.receive("A4B2C2F0T3FR1.000ENOL0.050ENSB0.100ENW1W2EX", {});
    instrument.deviceClear();
    const InstrumentState& state = instrument.state();
    EXPECT_DOUBLE_EQ(state.frequencyKhz, 100.0);
    EXPECT_DOUBLE_EQ(state.oscillatorVolts, 1.0);
    EXPECT_EQ(state.displayA, 1);
    EXPECT_EQ(state.displayB, 1);
    EXPECT_EQ(state.circuit, 1);
    EXPECT_EQ(state.trigger, 1);
    EXPECT_EQ(state.autoSweep, AutoSweep::Idle);
    EXPECT_FALSE(instrument.readingDueAt().has_value());  // the unread reading is gone
    EXPECT_EQ(query(instrument, "EX"), "NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n");
}

TEST(InstrumentOutput, EachTriggerReplacesTheUnreadReading) {
    Instrument instrument(instantConfig());
    instrument.receive("FR1.000ENEX", {});
    instrument.receive("FR2.000ENEX", {});
    EXPECT_EQ(instrument.read({}, 1000).text, "NZFN+7.9565E+03,NTDN-89.928E+00,K+02.000000\r\n");
    EXPECT_EQ(instrument.read({}, 1000).text, "");  // read once only
    instrument.receive("FR2.000EN", {});            // no trigger, no reading
    EXPECT_EQ(instrument.read({}, 1000).text, "");
}

TEST(InstrumentOutput, AReadingIsDueAfterTheMeasurementTime) {
    SimConfig config = instantConfig();
    config.delayMs = 100;
    Instrument instrument(config);
    const Instrument::TimePoint start{};
    instrument.receive("EX", start);
    EXPECT_EQ(instrument.readingDueAt(), start + std::chrono::milliseconds(100));
    EXPECT_EQ(instrument.read(start + std::chrono::milliseconds(99), 1000).text, "");
    EXPECT_NE(instrument.read(start + std::chrono::milliseconds(100), 1000).text, "");
}

TEST(InstrumentOutput, ReadsInPiecesWithEndOnTheLastOne) {
    Instrument instrument(instantConfig());
    instrument.receive("EX", {});
    const Instrument::Piece first = instrument.read({}, 10);
    EXPECT_EQ(first.text, "NZFN+96.84");
    EXPECT_FALSE(first.end);
    const Instrument::Piece upToCr = instrument.read({}, 1000, '\r');
    EXPECT_EQ(upToCr.text, "1E+00,NTDN-84.073E+00,K+0100.0000\r");
    EXPECT_FALSE(upToCr.end);
    const Instrument::Piece last = instrument.read({}, 1000);
    EXPECT_EQ(last.text, "\n");
    EXPECT_TRUE(last.end);
}

TEST(InstrumentOutput, PadsReadingsToTheReplySize) {
    SimConfig config = instantConfig();
    config.replySize = 60;
    Instrument instrument(config);
    EXPECT_EQ(query(instrument, "EX"),
              "NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000               \r\n");
}

}  // namespace
}  // namespace lorvane::sim
