// The simulated instrument and the emulated Prologix adapter in front of it, driven directly
// with a stopped clock: program codes, readings, sweeps, faults and the adapter's protocol.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cmath>
#include <fstream>

#include "c_locale.h"
#include "instrument.h"
#include "prologix_adapter.h"

namespace lorvane::sim {
namespace {

using std::chrono::milliseconds;

const std::string kGood = "NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n";  // at power-on

// A configuration that measures at once, without noise, with the faults `fault`.
SimConfig instant(std::string_view fault = "none", DeviceKind device = DeviceKind::Default) {
    SimConfig config;
    config.device = device;
    config.delayMs = 0;
    EXPECT_EQ(setConfigValue(config, ConfigKey::Fault, fault), "");
    return config;
}

// Sends one message and returns the whole reading then waiting ("" when none).
std::string query(Instrument& instrument, std::string_view message) {
    instrument.receive(message, {});
    return instrument.read({}, 1'000'000).text;
}

TEST(InstrumentSettings, SyntaxErrorsAreRecordedAndDeviceClearRestoresThePowerOnState) {
    Instrument instrument(instant());
    // A number without "EN", an unknown code, lower case and blanks.
    EXPECT_EQ(query(instrument, "A2ZZ9B1OL0.5a1 Q7EX"),
              "NRFN+10.000E+00,NXFN-96.323E+00,K+0100.0000\r\n");
    EXPECT_EQ(instrument.syntaxErrors(), (std::vector<std::string>{"ZZ9", "OL0.5", "a1", "Q7"}));
    instrument.receive("A4B2C2F0T3FR1.000ENOL0.050ENSB0.100ENW1W2EX", {});
    instrument.deviceClear();
    EXPECT_FALSE(instrument.readingDueAt().has_value());  // the unread reading is gone
    EXPECT_EQ(query(instrument, "EX"), kGood);
}

TEST(InstrumentOutput, TheLatestReadingIsReadOnceInPiecesWhenItIsDue) {
    SimConfig config = instant();
    config.delayMs = 100;
    Instrument instrument(config);
    const auto at = [](int ms) { return Instrument::TimePoint{} + milliseconds(ms); };
    instrument.receive("FR1.000ENEX", at(0));
    instrument.receive("FR100.000ENEX", at(0));  // replaces the unread reading
    EXPECT_EQ(instrument.read(at(99), 1000).text, "");
    std::string pieces;
    for (const std::optional<char> end : {std::optional<char>{}, {'\r'}, {}, {}}) {
        const Instrument::Piece piece = instrument.read(at(100), pieces.empty() ? 10 : 1000, end);
        pieces += piece.text + (piece.end ? "|" : "/");
    }
    EXPECT_EQ(pieces, "NZFN+96.84/1E+00,NTDN-84.073E+00,K+0100.0000\r/\n|/");
}

TEST(ReadingFunctions, EveryDisplayFunctionOnTheDevicesThatShowIt) {
    // clang-format off
    const std::tuple<DeviceKind, const char*, const char*> cases[] = {
        // |Z| with the phase in radians; G with B in parallel.
        {DeviceKind::Rc, "A1B2FR1.000ENEX", "NZFN+9.9853E+03,NTRN-62.718E-03,K+01.000000\r\n"},
        {DeviceKind::Rc, "A2B1C3FR1.000ENEX", "NGFN+99.950E-06,NBFN+6.2769E-06,K+01.000000\r\n"},
        // L with Q; auto picks series below 1 kohm (here 612 ohm).
        {DeviceKind::Rlc, "A3B1C2FR1000.000ENEX", "NLSN+97.467E-06,NQFN+61.240E+00,K+01000.000\r\n"},
        // Gain with group delay; a channel level in dBV. The low-pass is 3 dB down at its corner.
        {DeviceKind::Lowpass, "A5B1N1FR15.915ENEX", "NBAN-3.0102E+00,NGDN+5.0002E-06,K+015.91500\r\n"},
        {DeviceKind::Lowpass, "A7B3N2OL0.500ENFR15.915ENEX", "NBVN-9.0308E+00,NTRN-785.38E-03,K+015.91500\r\n"},
        // The series R-L-C at resonance leaves its 10 ohm; for gain, a divider with the 50 ohm input.
        {DeviceKind::Rlc, "A1B1FR159.155ENEX", "NZFN+10.000E+00,NTDN+409.74E-06,K+0159.1550\r\n"},
        {DeviceKind::Rlc, "A5B2FR159.155ENEX", "NBAN-1.5836E+00,NTDN-68.290E-06,K+0159.1550\r\n"},
        // The bias acts only when switched on, or in a bias sweep; F0 leaves out display C.
        {DeviceKind::Varactor, "A4B2C2I1BI-1.500ENFR1.000ENEX", "NCSN+5.6408E-09,NDFN+70.884E-06,K+01.000000\r\n"},
        {DeviceKind::Varactor, "A4B2C2I0BI-1.500ENFR1.000ENF0EX", "NCSN+10.000E-09,NDFN+125.66E-06\r\n"},
        {DeviceKind::Varactor, "A4B2C2I0FR1.000ENSB0.500ENTB0.000ENPB2.000ENBI2.000ENEX", "NCSN+5.0918E-09,NDFN+63.985E-06,V+02.00\r\n"},
    };
    // clang-format on
    for (const auto& [device, setup, reading] : cases) {
        Instrument instrument(instant("none", device));
        EXPECT_EQ(query(instrument, setup), reading) << setup;
    }
}

TEST(ReadingLayout, FieldsKeepTheirDigitsAndOverflowBeyondTheDisplay) {
    const std::pair<std::string, const char*> cases[] = {
        {formatBiasField(-0.001), "V+00.00"},
        // Rounding that carries moves the point or the exponent.
        {formatDisplayField("ZF", 999.996), "NZFN+1.0000E+03"},
        {formatDisplayField("CS", -INFINITY), "OCSN-999.99E+09"},
        {formatDisplayField("ZF", 999.999e9), "OZFN+999.99E+09"},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(text, expected);
}

TEST(ReadingLayout, ReadingsAndCommandsKeepTheirPointInADecimalCommaLocale) {
    // The stand-in library runs inside the program, whose C library may write a comma.
    const test::ScopedCLocale german(test::kDecimalCommaLocale);
    ASSERT_TRUE(german.ok()) << test::missingLocaleMessage(test::kDecimalCommaLocale);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    Instrument instrument(instant("none", DeviceKind::Lowpass));
    EXPECT_EQ(query(instrument, "SB0.100ENTB-1.500ENPB1.500ENA5B1N1FR15.915ENBI-0.500ENEX"),
              "NBAN-3.0102E+00,NGDN+5.0002E-06,V-00.50\r\n");
}

TEST(Sweep, StepsAndTheAutomaticSweepGiveTheseDisplayCFields) {
    // The set-up, then the messages, and field C of the readings they bring ("" without one).
    const std::tuple<const char*, std::vector<const char*>, const char*> cases[] = {
        {"SF1.000ENTF1.000ENPF2.500EN\rFR1.000EN\rW0\r",
         {"EX", "W2EX", "W2EX", "W2EX", "W4EX", "W4EX", "W4EX"},
         "K+01.000000 K+02.000000 K+02.500000 K+02.500000 K+01.500000 K+01.000000 K+01.000000"},
        // The start measures the start point; the first lone trigger measures it again, each
        // later one steps first, not one behind other codes; the sweep stays at the stop.
        {"SF1.000ENTF1.000ENPF3.000EN\rFR7.000EN",
         {"W1W2EX", "EX", "A1B1EX", "EX", "EX", "EX"},
         "K+01.000000 K+01.000000 K+01.000000 K+02.000000 K+03.000000 K+03.000000"},
        // Pause holds it and step up resumes it; abort stops it where it stands.
        {"SF1.000ENTF1.000ENPF5.000EN\rW1W2EX\rEX\rEX",
         {"W3", "EX", "W2", "EX", "ABEX", "EX"},
         "K+02.000000 K+02.000000  K+03.000000 K+03.000000 K+03.000000"},
        {"SB0.500ENTB-1.000ENPB1.000EN\rW1W4EX", {"EX", "EX", "EX"}, "V+01.00 V+00.50 V+00.00"},
        // A log sweep has ten points a decade.
        {"G1\rSF0.000ENTF1.000ENPF15.000EN\rW1W2EX\rEX\rEX\rEX\rEX\rEX\rEX\rEX\rEX\rEX",
         {"EX", "EX", "EX", "EX"},
         "K+07.943282 K+010.00000 K+012.58925 K+015.00000"},
    };
    for (const auto& [setup, messages, expected] : cases) {
        Instrument instrument(instant());
        instrument.receive(setup, {});
        std::string fields;
        for (std::size_t i = 0; i < messages.size(); ++i) {
            const std::string reading = query(instrument, messages[i]);
            const std::size_t comma = reading.rfind(',');
            fields +=
                (i == 0 ? "" : " ") + (comma == std::string::npos
                                           ? reading
                                           : reading.substr(comma + 1, reading.size() - comma - 3));
        }
        EXPECT_EQ(fields, expected) << setup;
    }
}

// One letter per reply: g good, s silent (nothing), x garbled, f only the first field.
std::string replyPattern(Instrument& instrument, std::size_t replies) {
    std::string pattern;
    for (std::size_t i = 0; i < replies; ++i) {
        const std::string reply = query(instrument, "EX");
        pattern += reply == kGood                   ? 'g'
                   : reply.empty()                  ? 's'
                   : reply == "?#GARBLED#?\r\n"     ? 'x'
                   : reply == "NZFN+96.841E+00\r\n" ? 'f'
                                                    : '?';
    }
    return pattern;
}

TEST(Faults, RulesPickTheRepliesTheyNameAndRandomOnesFollowTheirSeed) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"silent:2", "ggssss"},
        {"garbled/3,short:4", "ggxgfx"},
        {"garbled%100", "xxxxxx"},
        {"garbled@1,short", "xfffff"},  // the first rule that hits a reply gives its fault
        {"silent@2,garbled/2,none", "gsgxgx"},
    };
    for (const auto& [rules, replies] : cases) {
        Instrument instrument(instant(rules));
        EXPECT_EQ(replyPattern(instrument, 6), replies) << rules;
        EXPECT_EQ(instrument.replies(), 6u) << rules;
    }

    SimConfig config = instant("silent%20,garbled%20");
    config.faultSeed = 7;
    Instrument first(config);
    Instrument second(config);
    const std::string pattern = replyPattern(first, 200);
    EXPECT_EQ(replyPattern(second, 200), pattern);
    const auto count = [&](char c) { return std::size_t(std::ranges::count(pattern, c)); };
    EXPECT_TRUE(count('s') > 20 && count('s') < 60 && count('x') > 10) << pattern;
    EXPECT_EQ(first.faultCounts()[std::size_t(FaultKind::Silent)], count('s'));
    EXPECT_EQ(first.faultCounts()[std::size_t(FaultKind::Garbled)], count('x'));
}

TEST(SimSettings, TakesValidTextsAndRefusesBadOnesWithAReason) {
    SimConfig config;
    EXPECT_EQ(setConfigValue(config, ConfigKey::Fault, "drop:3,endless@2,slow=250/5,unplug%0.5"),
              "");
    using S = FaultRule::Schedule;
    const std::vector<FaultRule> faults{{FaultKind::Drop, 0, S::From, 3, 0.0},
                                        {FaultKind::Endless, 1'000'000, S::Once, 2},
                                        {FaultKind::Slow, 250, S::Every, 5},
                                        {FaultKind::Unplug, 1'000, S::Random, 0, 0.5}};
    EXPECT_EQ(config.faults, faults);
    EXPECT_EQ(setConfigValue(config, ConfigKey::Address, "30"), "");
    EXPECT_EQ(setConfigValue(config, ConfigKey::DelayMs, "-5"),
              "bad delay '-5': expected whole milliseconds from 0 to 600000");
    EXPECT_EQ(setConfigValue(config, ConfigKey::Address, "31"),
              "bad address '31': expected a whole number from 0 to 30");
    for (const char* fault : {"loud", "drop:", "silent=5", "slow=600001", "unplug", "garbled@0",
                              "garbled%101", "garbled%x", "garbled,", "short@1x", "Silent"}) {
        EXPECT_EQ(setConfigValue(config, ConfigKey::Fault, fault),
                  "bad fault '" + std::string(fault) +
                      "': expected none or rules KIND[=VALUE][:N|@N|/K|%P] separated by commas, "
                      "KIND being silent, garbled, short, endless, slow, drop or unplug");
    }
    EXPECT_EQ(config.faults, faults);
    EXPECT_EQ(config.delayMs + config.address, 130);
}

const std::string kVersion = "Prologix GPIB-USB Controller version 6.107\r\n";

// An adapter in front of its own instrument, with its wire log in a file of the test's.
struct Rig {
    explicit Rig(const SimConfig& config = instant()) : instrument(config) {
        std::remove(logPath.c_str());
        EXPECT_TRUE(log.open(logPath));
    }
    std::string send(std::string_view bytes, Instrument::TimePoint at = {}) {
        adapter.receive(bytes, at);
        return adapter.takeOutput();
    }
    std::string logText() const {
        std::ifstream file(logPath);
        return {std::istreambuf_iterator<char>(file), {}};
    }

    Instrument instrument;
    WireLog log;
    std::string logPath = ::testing::TempDir() + "adapter.log";
    PrologixAdapter adapter{instrument, log};
};

TEST(PrologixAdapter, AnswersEveryCommandAsTheAdapterDoes) {
    const std::pair<std::vector<std::string_view>, std::string> cases[] = {
        {{"++v", "er", "\r\n\r\n\n"}, kVersion},  // in pieces; empty lines are ignored
        {{"++mode\r++auto\r++read_tmo_ms\r++eos\r++addr\r++eoi\r++eot_enable\r++eot_char\r++lon\r"
          "++status\r++savecfg\r++srq\r++spoll\r++bogus\r++savecfg2\r"},
         "1\r\n0\r\n500\r\n0\r\n1\r\n1\r\n0\r\n0\r\n0\r\n0\r\n1\r\n0\r\n0\r\n"
         "Unrecognized command\r\nUnrecognized command\r\n"},
        // The program's set-up, then settings read back; out-of-range values are ignored.
        {{"++mode 1\r\n++auto 0\r\n++read_tmo_ms 3000\r\n++eos 3\r\n++addr 1\r\n++clr\r\n"
          "++ifc\r\n++eoi 0\n++eos 4\n++auto 2\n++eot_char 256\n++status 72\n++lon 1\n++llo\n"
          "++loc all\n++read_tmo_ms\r++eos\r++eoi\r++eot_char\r++status\r++lon\r++auto\r"},
         "3000\r\n3\r\n0\r\n0\r\n72\r\n1\r\n0\r\n"},
        {{"++eot_enable 1\r++eot_char 4\rEX\r++read 10\r"}, kGood + "\x04"},
        // Lines reach the instrument; a read takes what waits, once.
        {{"A1B1EX\r", "++read 10\r++read 10\rEX\n++read eoi\nEX\r\n++read\r\n"},
         kGood + kGood + kGood},
        {{"EX\r++read 44\r"}, "NZFN+96.841E+00,"},  // up to the character given
        {{"++auto 1\rEX\rA2\r"}, kGood},            // automatic mode reads after every line
        // A group execute trigger reaches the instrument at the current or a listed address.
        {{"++trg\r++read eoi\r++trg 5\r++read eoi\r++trg 3 1\r++read\r"}, kGood + kGood},
        // Data-ready SRQ: the line is up until a serial poll, whose status byte has RQS (64).
        {{"D1EX\r++srq\r++spoll\r++srq\r++spoll 1\r++spoll 5\r"}, "1\r\n65\r\n0\r\n1\r\n"},
        // ++rst goes back to the settings saved while ++savecfg was 1.
        {{"++auto 1\r++savecfg 0\r++read_tmo_ms 50\r++rst\r++auto\r++read_tmo_ms\r"},
         "1\r\n500\r\n"},
        // Lines for another address reach nobody; a device clear resets the instrument.
        {{"++addr 5\rA2EX\r++read 10\r++clr\r++addr 1\rA2EX\r++clr\r++read 10\rEX\r++read 10\r"},
         kGood},
    };
    for (const auto& [sent, expected] : cases) {
        Rig rig;
        std::string answer;
        for (const std::string_view piece : sent) answer += rig.send(piece);
        EXPECT_EQ(answer, expected) << sent.front();
    }
    // Power comes back with the saved settings and nothing half received.
    Rig rig;
    rig.send("++auto 1\r++savecfg 0\r++eos 3\r++read_tmo_ms 20\r++a");
    rig.adapter.powerOn();
    EXPECT_EQ(rig.send("uto\r++auto\r++eos\r++read_tmo_ms\r"), "1\r\n0\r\n500\r\n");
}

TEST(PrologixAdapter, UnescapesDataAndLogsTheTrafficWithTheEosTerminator) {
    Rig rig;
    rig.send("++eos 0\rA1\x1b");  // the escaped byte comes in the next piece
    rig.send("\rB1\x1b+EX\r++eos 3\rEX\r++read 10\r\x1b+\x1b+\r");
    EXPECT_EQ(rig.instrument.syntaxErrors(), (std::vector<std::string>{"+", "++"}));
    EXPECT_EQ(rig.logText(),
              "+ ++eos 0\n> A1\\rB1+EX\\r\\n\n+ ++eos 3\n> EX\n+ ++read 10\n"
              "< NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n\n> ++\n");
}

TEST(PrologixAdapter, AReadWaitsForTheReadingOrItsTimeoutAndHoldsBackLaterLines) {
    const std::tuple<std::string_view, std::string_view, int, std::string> cases[] = {
        {"slow=1000@1", "", 1100, kGood + kVersion},  // past the 500 ms timeout
        {"none", "++read_tmo_ms 50\r", 50, kVersion},
    };
    const auto at = [](int ms) { return Instrument::TimePoint{} + milliseconds(ms); };
    for (const auto& [fault, setup, dueMs, answer] : cases) {
        SCOPED_TRACE(fault);
        SimConfig config = instant(fault);
        config.delayMs = 100;
        Rig rig(config);
        EXPECT_EQ(rig.send(std::string(setup) + "EX\r++read 10\r++ver\r"), "");
        EXPECT_EQ(rig.adapter.wakeAt(), at(dueMs));
        rig.adapter.advance(at(dueMs - 1));
        EXPECT_EQ(rig.adapter.takeOutput(), "");
        rig.adapter.advance(at(dueMs));
        EXPECT_EQ(rig.adapter.takeOutput(), answer);
        EXPECT_FALSE(rig.adapter.wakeAt().has_value());
        // After a timeout the reading is still there for a later read.
        EXPECT_EQ(rig.send("++read 10\r", at(100)), dueMs == 50 ? kGood : "");
    }
}

TEST(PrologixAdapter, AnEndlessReplyGoesOutInBoundedPieces) {
    Rig rig(instant("endless=10000@1"));
    std::string received = rig.send("EX\r++read 10\r++ver\r");
    EXPECT_EQ(received.size(), 4096u);
    for (int piece = 0; piece < 10 && rig.adapter.wakeAt(); ++piece) {
        rig.adapter.advance({});
        received += rig.adapter.takeOutput();
    }
    ASSERT_EQ(received.size(), 43 + 10000 + kVersion.size());
    EXPECT_EQ(received.substr(received.find('\n') - 43), kVersion);  // only from ++ver
    EXPECT_EQ(rig.logText().size(), 9 + 12 + 2 + 4096 + 1 + 8);      // of the long reply one piece
}

}  // namespace
}  // namespace lorvane::sim
