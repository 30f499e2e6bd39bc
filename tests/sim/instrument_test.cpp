// The simulated instrument driven directly with a stopped clock: program codes, readings,
// sweeps and their stepping.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <functional>

#include "c_locale.h"
#include "sim_test_support.h"

namespace lorvane::sim {
namespace {

using test::instantConfig;
using test::kGood;
using test::query;

TEST(ProgramCodes, SplitsALineIntoCodesAndFlagsWhatItCannotRead) {
    // Each code as "name", an unreadable one as "!name".
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"ABI0OL0.005ENEX", {"AB", "I0", "OL", "EX"}},
        // A number without "EN", lower case and blanks.
        {"FR10EXa1b1 A9Q7W2", {"!FR10", "EX", "!a1b1", "!A9", "!Q7", "W2"}},
    };
    for (const auto& [line, expected] : cases) {
        std::vector<std::string> names;
        for (const ProgramCode& code : parseProgramLine(line))
            names.push_back((code.valid ? "" : "!") + code.name);
        EXPECT_EQ(names, expected) << line;
    }
    EXPECT_DOUBLE_EQ(parseProgramLine("OL0.005EN")[0].number.value(), 0.005);
}

TEST(InstrumentSettings, CodesSetTheStateWithinItsLimitsAndResolution) {
    using Get = std::function<double(const InstrumentState&)>;
    const Get freq = [](const InstrumentState& s) { return s.frequencyKhz; };
    const Get bias = [](const InstrumentState& s) { return s.biasVolts; };
    const Get osc = [](const InstrumentState& s) { return s.oscillatorVolts; };
    const struct {
        const char* codes;
        Get get;
        double value;
    } cases[] = {
        {"FR1.500EN", freq, 1.5},
        {"FR0.001EN", freq, 0.005},
        {"FR123.45678EN", freq, 123.4568},
        {"BI-1.250EN", bias, -1.25},
        {"BI-40.000EN", bias, -35},
        {"BI1.234EN", bias, 1.23},
        {"OL0.500EN", osc, 0.5},
        {"OL2.000EN", osc, 1.1},
        {"OL0.001EN", osc, 0.005},
        {"OL0.503EN", osc, 0.505},  // 5 mV steps above 100 mV
        {"SF10.000EN", [](const InstrumentState& s) { return s.frequencySweep.step; }, 10},
        {"TF20000.000EN", [](const InstrumentState& s) { return s.frequencySweep.start; }, 13000},
        {"PF100.000EN", [](const InstrumentState& s) { return s.frequencySweep.stop; }, 100},
        {"PB36.000EN", [](const InstrumentState& s) { return s.biasSweep.stop; }, 35},
        // Trigger, format, range, displays A and B, circuit and gain unit as digits; the
        // five switches (bias, log sweep, high speed, averaging, SRQ) add one each.
        {"T3F0R4I1G1H1A3B2C3N2V1D1",
         [](const InstrumentState& s) {
             return s.trigger * 1e7 + s.outputFormat * 1e6 + s.range * 1e5 + s.displayA * 1e4 +
                    s.displayB * 1e3 + s.circuit * 100 + s.gainUnit * 10 +
                    (s.biasOn + s.logSweep + s.highSpeed + s.averaging + s.dataReadySrq);
         },
         30432325},
    };
    for (const auto& c : cases) {
        Instrument instrument(instantConfig());
        instrument.receive(c.codes, {});
        EXPECT_DOUBLE_EQ(c.get(instrument.state()), c.value) << c.codes;
        EXPECT_TRUE(instrument.syntaxErrors().empty()) << c.codes;
    }
}

TEST(InstrumentSettings, SyntaxErrorsAreRecordedAndDeviceClearRestoresThePowerOnState) {
    Instrument instrument(instantConfig());
    EXPECT_EQ(query(instrument, "A2ZZ9B1OL0.5EX"),
              "NRFN+10.000E+00,NXFN-96.323E+00,K+0100.0000\r\n");
    EXPECT_EQ(instrument.syntaxErrors(), (std::vector<std::string>{"ZZ9", "OL0.5"}));
    instrument.receive("A4B2C2F0T3FR1.000ENOL0.050ENSB0.100ENW1W2EX", {});
    instrument.deviceClear();
    EXPECT_EQ(instrument.state().trigger, 1);
    EXPECT_EQ(instrument.state().autoSweep, AutoSweep::Idle);
    EXPECT_DOUBLE_EQ(instrument.state().oscillatorVolts, 1.0);
    EXPECT_FALSE(instrument.readingDueAt().has_value());  // the unread reading is gone
    EXPECT_EQ(query(instrument, "EX"), kGood);
}

TEST(InstrumentOutput, TheLatestReadingIsReadOnceInPiecesWhenItIsDue) {
    SimConfig config = instantConfig();
    config.delayMs = 100;
    Instrument instrument(config);
    const Instrument::TimePoint start{};
    const auto at = [&](int ms) { return start + std::chrono::milliseconds(ms); };
    instrument.receive("FR1.000ENEX", start);
    instrument.receive("FR100.000ENEX", start);  // replaces the unread reading
    EXPECT_EQ(instrument.readingDueAt(), at(100));
    EXPECT_EQ(instrument.read(at(99), 1000).text, "");
    const Instrument::Piece first = instrument.read(at(100), 10);
    EXPECT_EQ(first.text, "NZFN+96.84");
    EXPECT_FALSE(first.end);
    const Instrument::Piece upToCr = instrument.read(at(100), 1000, '\r');
    EXPECT_EQ(upToCr.text, "1E+00,NTDN-84.073E+00,K+0100.0000\r");
    EXPECT_FALSE(upToCr.end);
    const Instrument::Piece last = instrument.read(at(100), 1000);
    EXPECT_EQ(last.text, "\n");
    EXPECT_TRUE(last.end);
    EXPECT_EQ(instrument.read(at(100), 1000).text, "");  // read once only
    instrument.receive("FR2.000EN", at(100));            // no trigger, no reading
    EXPECT_EQ(instrument.read(at(300), 1000).text, "");

    config = instantConfig();
    config.replySize = 60;
    Instrument padded(config);
    EXPECT_EQ(query(padded, "EX"),
              "NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000               \r\n");
}

TEST(ReadingFunctions, EveryDisplayFunctionOnTheDevicesThatShowIt) {
    struct Case {
        DeviceKind device;
        const char* setup;
        const char* reading;
    };
    // clang-format off
    const Case cases[] = {
        // |Z| with the phase in degrees or radians.
        {DeviceKind::Rc, "A1B1FR1.000ENEX", "NZFN+9.9853E+03,NTDN-3.5935E+00,K+01.000000\r\n"},
        {DeviceKind::Rc, "A1B2FR1.000ENEX", "NZFN+9.9853E+03,NTRN-62.718E-03,K+01.000000\r\n"},
        // R with X in series, G with B in parallel.
        {DeviceKind::Rc, "A2B1C2FR1.000ENEX", "NRFN+9.9657E+03,NXFN-625.85E+00,K+01.000000\r\n"},
        {DeviceKind::Rc, "A2B1C3FR1.000ENEX", "NGFN+99.950E-06,NBFN+6.2769E-06,K+01.000000\r\n"},
        // L with Q, D or R; auto picks series below 1 kohm (here 612 ohm).
        {DeviceKind::Rlc, "A3B1C2FR1000.000ENEX", "NLSN+97.467E-06,NQFN+61.240E+00,K+01000.000\r\n"},
        {DeviceKind::Rlc, "A3B2C3FR1000.000ENEX", "NLPN+97.493E-06,NDFN+16.329E-03,K+01000.000\r\n"},
        {DeviceKind::Rlc, "A3B3C1FR1000.000ENEX", "NLSN+97.467E-06,NRFN+10.000E+00,K+01000.000\r\n"},
        // C with Q, D or G; auto picks parallel from 1 kohm up (here 9.99 kohm).
        {DeviceKind::Rc, "A4B1C1FR1.000ENEX", "NCPN+999.00E-12,NQFN+62.800E-03,K+01.000000\r\n"},
        {DeviceKind::Rc, "A4B2C2FR1.000ENEX", "NCSN+254.30E-09,NDFN+15.923E+00,K+01.000000\r\n"},
        {DeviceKind::Rc, "A4B3C3FR1.000ENEX", "NCPN+999.00E-12,NGFN+99.950E-06,K+01.000000\r\n"},
        // Gain with group delay or phase; channel levels in dBm or dBV. The low-pass is 3 dB
        // down with 45 degrees at its corner.
        {DeviceKind::Lowpass, "A5B1N1FR15.915ENEX", "NBAN-3.0102E+00,NGDN+5.0002E-06,K+015.91500\r\n"},
        {DeviceKind::Lowpass, "A5B2N1FR15.915ENEX", "NBAN-3.0102E+00,NTDN-44.999E+00,K+015.91500\r\n"},
        {DeviceKind::Lowpass, "A5B3FR15.915ENEX", "NBAN-3.0102E+00,NTRN-785.38E-03,K+015.91500\r\n"},
        {DeviceKind::Lowpass, "A6B2N1OL0.500ENFR15.915ENEX", "NAMN+6.9897E+00,NTDN-44.999E+00,K+015.91500\r\n"},
        {DeviceKind::Lowpass, "A6B2N2OL0.500ENFR15.915ENEX", "NAVN-6.0206E+00,NTDN-44.999E+00,K+015.91500\r\n"},
        {DeviceKind::Lowpass, "A7B2N2OL0.500ENFR15.915ENEX", "NBVN-9.0308E+00,NTDN-44.999E+00,K+015.91500\r\n"},
        // The series R-L-C at resonance leaves its 10 ohm; in the gain set-up a divider with
        // the 50 ohm input.
        {DeviceKind::Rlc, "A1B1FR159.155ENEX", "NZFN+10.000E+00,NTDN+409.74E-06,K+0159.1550\r\n"},
        {DeviceKind::Rlc, "A5B2FR159.155ENEX", "NBAN-1.5836E+00,NTDN-68.290E-06,K+0159.1550\r\n"},
        // The bias acts only when switched on, or in a bias sweep.
        {DeviceKind::Varactor, "A4B2C2I1BI-1.500ENFR1.000ENEX", "NCSN+5.6408E-09,NDFN+70.884E-06,K+01.000000\r\n"},
        {DeviceKind::Varactor, "A4B2C2I0BI-1.500ENFR1.000ENEX", "NCSN+10.000E-09,NDFN+125.66E-06,K+01.000000\r\n"},
        {DeviceKind::Varactor, "A4B2C2I0FR1.000ENSB0.500ENTB0.000ENPB2.000ENBI2.000ENEX", "NCSN+5.0918E-09,NDFN+63.985E-06,V+02.00\r\n"},
        {DeviceKind::Default, "A4B2C2I1BI5.000ENFR1.000ENEX", "NCSN+3.5044E-09,NDFN+220.19E-06,K+01.000000\r\n"},
        // Format F0 leaves out display C; a bias sweep shows the bias there (the R-L-C device
        // does not depend on it, so the displays stay those of 0 V).
        {DeviceKind::Default, "F0EX", "NZFN+96.841E+00,NTDN-84.073E+00\r\n"},
        {DeviceKind::Rlc, "SB0.100ENTB-1.500ENPB1.500ENBI-0.500ENEX", "NZFN+96.841E+00,NTDN-84.073E+00,V-00.50\r\n"},
    };
    // clang-format on
    for (const Case& c : cases) {
        Instrument instrument(instantConfig(c.device));
        EXPECT_EQ(query(instrument, c.setup), c.reading) << c.setup;
    }
}

TEST(ReadingLayout, FieldsKeepTheirDigitsAndOverflowBeyondTheDisplay) {
    const std::pair<std::string, const char*> cases[] = {
        {formatBiasField(1.5), "V+01.50"},
        {formatBiasField(-35.0), "V-35.00"},
        {formatBiasField(-0.001), "V+00.00"},
        {formatFrequencyField(0.005), "K+00.005000"},
        {formatFrequencyField(9.999999), "K+09.999999"},
        {formatFrequencyField(10.0), "K+010.00000"},
        {formatFrequencyField(159.155), "K+0159.1550"},
        {formatFrequencyField(13000.0), "K+13000.000"},
        {formatDisplayField("TD", -0.03), "NTDN-30.000E-03"},
        {formatDisplayField("CP", 0.791e-6), "NCPN+791.00E-09"},
        {formatDisplayField("CS", 1.2345e-12), "NCSN+1.2345E-12"},
        {formatDisplayField("RF", -0.0), "NRFN+0.0000E+00"},
        // Rounding that carries moves the point or the exponent.
        {formatDisplayField("ZF", 9.99996), "NZFN+10.000E+00"},
        {formatDisplayField("ZF", 99.9996), "NZFN+100.00E+00"},
        {formatDisplayField("ZF", 999.996), "NZFN+1.0000E+03"},
        {formatDisplayField("QF", INFINITY), "OQFN+999.99E+09"},
        {formatDisplayField("CS", -INFINITY), "OCSN-999.99E+09"},
        {formatDisplayField("ZF", 999.999e9), "OZFN+999.99E+09"},
        {formatDisplayField("ZF", 999.99e9), "NZFN+999.99E+09"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(text, expected);
}

TEST(ReadingLayout, ReadingsAndCommandsKeepTheirPointInADecimalCommaLocale) {
    // The stand-in library runs inside the program, whose C library may write a comma.
    const test::ScopedCLocale german(test::kDecimalCommaLocale);
    ASSERT_TRUE(german.ok()) << test::missingLocaleMessage(test::kDecimalCommaLocale);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    Instrument instrument(instantConfig(DeviceKind::Lowpass));
    EXPECT_EQ(query(instrument, "SB0.100ENTB-1.500ENPB1.500ENA5B1N1FR15.915ENBI-0.500ENEX"),
              "NBAN-3.0102E+00,NGDN+5.0002E-06,V-00.50\r\n");
}

TEST(ReadingNoise, IsOffByDefaultAndRepeatsForTheSameSeed) {
    SimConfig noisy = instantConfig();
    noisy.noiseSeed = 42;
    Instrument first(noisy);
    Instrument second(noisy);
    const std::string reading = query(first, "EX");
    EXPECT_EQ(query(second, "EX"), reading);
    EXPECT_NE(query(first, "EX"), reading);  // the next point draws new noise
    EXPECT_NE(reading, kGood);
    EXPECT_EQ(reading.substr(0, 8), kGood.substr(0, 8));
}

TEST(Sweep, StepsAndTheAutomaticSweepGiveTheseDisplayCFields) {
    // The set-up, then the messages; field C of the reading each brings ("" without one).
    const struct {
        const char* what;
        const char* setup;
        std::vector<const char*> messages;
        std::vector<std::string> fields;
    } cases[] = {
        {"manual steps stay between start and stop",
         "SF1.000ENTF1.000ENPF2.500EN\rFR1.000EN\rW0\r",
         {"EX", "W2EX", "W2EX", "W2EX", "W4EX", "W4EX", "W4EX"},
         {"K+01.000000", "K+02.000000", "K+02.500000", "K+02.500000", "K+01.500000", "K+01.000000",
          "K+01.000000"}},
        {"the quantity whose range came last is swept",
         "FR1.000ENBI0.000EN\rSB0.500ENTB0.000ENPB2.000EN\rW0W2",
         {"EX", "SF1.000ENTF1.000ENPF5.000EN\rW2EX"},
         {"V+00.50", "K+02.000000"}},
        // The start measures the start point; the first lone trigger measures it again, each
        // later one steps first; the sweep stays at the stop.
        {"the automatic sweep advances on lone triggers",
         "SF1.000ENTF1.000ENPF3.000EN\rFR7.000EN",
         {"W1W2EX", "EX", "EX", "EX", "EX"},
         {"K+01.000000", "K+01.000000", "K+02.000000", "K+03.000000", "K+03.000000"}},
        {"a trigger behind other codes does not advance",
         "SF1.000ENTF1.000ENPF5.000EN\rW1W2EX\rEX",
         {"EX", "A1B1EX", "EX"},
         {"K+02.000000", "K+02.000000", "K+03.000000"}},
        {"abort stops the sweep where it stands",
         "SF1.000ENTF1.000ENPF5.000EN\rW1W2EX\rEX\rEX",
         {"ABEX", "EX", "EX"},
         {"K+02.000000", "K+02.000000", "K+02.000000"}},
        {"pause holds it and step up resumes it",
         "SF1.000ENTF1.000ENPF5.000EN\rW1W2EX\rEX\rEX\rW3",
         {"EX", "EX", "W2", "EX"},
         {"K+02.000000", "K+02.000000", "", "K+03.000000"}},
        {"step down starts from the stop",
         "SB0.500ENTB-1.000ENPB1.000EN\rW1W4EX",
         {"EX", "EX", "EX"},
         {"V+01.00", "V+00.50", "V+00.00"}},
        // The sequence a controller sends when its step grows tenfold at 10 kHz.
        {"a decade change restarts at the new start",
         "SF1.000ENTF9.000ENPF100.000EN\rW1W2EX\rEX\rEX\rABEX\rSF10.000ENTF20.000ENPF100.000EN\r",
         {"W1W2EX", "EX", "EX"},
         {"K+020.00000", "K+020.00000", "K+030.00000"}},
        {"a log sweep has ten points a decade",
         "G1\rSF0.000ENTF1.000ENPF15.000EN\rW1W2EX\rEX\rEX\rEX\rEX\rEX\rEX\rEX\rEX\rEX",
         {"EX", "EX", "EX", "EX", "EX"},
         {"K+07.943282", "K+010.00000", "K+012.58925", "K+015.00000", "K+015.00000"}},
        {"a log sweep steps from off the grid to the grid",
         "G1W0\rSF0.000ENTF2.200ENPF100.000EN\rFR2.200EN",
         {"W2EX", "W4EX", "W4EX"},
         {"K+02.511886", "K+02.200000", "K+02.200000"}},
    };
    for (const auto& c : cases) {
        Instrument instrument(instantConfig());
        instrument.receive(c.setup, {});
        std::vector<std::string> fields;
        for (const char* message : c.messages) {
            const std::string reading = query(instrument, message);
            const std::size_t comma = reading.rfind(',');
            fields.push_back(comma == std::string::npos
                                 ? reading
                                 : reading.substr(comma + 1, reading.size() - comma - 3));
        }
        EXPECT_EQ(fields, c.fields) << c.what;
    }
    // Thirty manual steps of 0.1 V land exactly on the stop.
    Instrument instrument(instantConfig());
    instrument.receive("SB0.100ENTB-1.500ENPB1.500EN\rBI-1.500EN\rW0", {});
    for (int i = 0; i < 30; ++i) instrument.receive("W2", {});
    EXPECT_EQ(query(instrument, "EX").substr(32, 7), "V+01.50");
}

}  // namespace
}  // namespace lorvane::sim
