// The emulated Prologix adapter's protocol, driven directly with a stopped clock.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "prologix_adapter.h"
#include "sim_test_support.h"

namespace lorvane::sim {
namespace {

using std::chrono::milliseconds;
using test::kGood;

const std::string kVersion = "Prologix GPIB-USB Controller version 6.107\r\n";

SimConfig configWith(std::string_view fault, int delayMs = 0) {
    SimConfig config = test::instantConfig();
    config.delayMs = delayMs;
    EXPECT_EQ(setConfigValue(config, ConfigKey::Fault, fault), "");
    return config;
}

// An adapter in front of its own instrument, with its wire log in a file of the test's.
struct Rig {
    explicit Rig(const SimConfig& config = test::instantConfig()) : instrument(config) {
        std::remove(logPath.c_str());
        EXPECT_TRUE(log.open(logPath));
    }
    ~Rig() { std::remove(logPath.c_str()); }
    std::string send(std::string_view bytes, Instrument::TimePoint at = {}) {
        adapter.receive(bytes, at);
        return adapter.takeOutput();
    }
    std::vector<std::string> logLines() const {
        std::ifstream file(logPath);
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) lines.push_back(line);
        return lines;
    }

    Instrument instrument;
    WireLog log;
    std::string logPath = ::testing::TempDir() + "adapter-" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
    PrologixAdapter adapter{instrument, log};
};

TEST(PrologixAdapter, AnswersEveryCommandAsTheAdapterDoes) {
    const std::string reading(kGood);
    const struct {
        std::vector<std::string_view> sent;  // in pieces
        std::string answer;
    } cases[] = {
        {{"++ver\r"}, kVersion},
        {{"++v", "er", "\r\n\r\n\n"}, kVersion},  // empty lines are ignored
        {{"++mode\r++auto\r++read_tmo_ms\r++eos\r++addr\r++eoi\r++eot_enable\r++eot_char\r"},
         "1\r\n0\r\n500\r\n0\r\n1\r\n1\r\n0\r\n0\r\n"},
        {{"++lon\r++status\r++savecfg\r++srq\r++spoll\r"}, "0\r\n0\r\n1\r\n0\r\n0\r\n"},
        // The program's set-up, then settings read back; out-of-range values are ignored.
        {{"++mode 1\r\n++auto 0\r\n++read_tmo_ms 3000\r\n++eos 3\r\n++addr 1\r\n++clr\r\n"
          "++ifc\r\n++eoi 0\n++eos 4\n++auto 2\n++eot_char 256\n++status 72\n++lon 1\n++llo\n"
          "++loc all\n++read_tmo_ms\r++eos\r++eoi\r++eot_char\r++status\r++lon\r++auto\r"},
         "3000\r\n3\r\n0\r\n0\r\n72\r\n1\r\n0\r\n"},
        {{"++bogus\r++savecfg2\r"}, "Unrecognized command\r\nUnrecognized command\r\n"},
        {{"++eot_enable 1\r++eot_char 4\rEX\r++read 10\r"}, reading + "\x04"},
        // Lines reach the instrument; a read takes what waits, once.
        {{"A1B1EX\r", "++read 10\r++read 10\r"}, reading},
        {{"EX\n++read eoi\nEX\r\n++read\r\n"}, reading + reading},
        {{"EX\r++read 44\r"}, "NZFN+96.841E+00,"},  // up to the character given
        {{"++auto 1\rEX\rA2\r"}, reading},          // automatic mode reads after every line
        // A group execute trigger reaches the instrument at the current or a listed address.
        {{"++trg\r++read eoi\r++trg 5\r++read eoi\r++trg 3 1\r++read\r"}, reading + reading},
        // Data-ready SRQ: the line is up until a serial poll, whose status byte has RQS (64).
        {{"D1EX\r++srq\r++spoll\r++srq\r++spoll 1\r++spoll 5\r"}, "1\r\n65\r\n0\r\n1\r\n"},
        // ++rst goes back to the settings saved while ++savecfg was 1.
        {{"++auto 1\r++savecfg 0\r++read_tmo_ms 50\r++rst\r++auto\r++read_tmo_ms\r"},
         "1\r\n500\r\n"},
        // Lines for another address reach nobody; a device clear resets the instrument.
        {{"++addr 5\rA2EX\r++read 10\r++clr\r++addr 1\rEX\r++read 10\r"}, reading},
        {{"A2EX\r++clr\r++read 10\rEX\r++read 10\r"}, reading},
    };
    for (const auto& row : cases) {
        Rig rig;
        std::string answer;
        for (const std::string_view piece : row.sent) answer += rig.send(piece);
        EXPECT_EQ(answer, row.answer) << row.sent.front();
    }
    EXPECT_EQ(Rig().send("++help\r").substr(0, 36), "++addr [PAD [SAD]] -- the GPIB addre");
}

TEST(PrologixAdapter, UnescapesDataAndLogsTheTrafficWithTheEosTerminator) {
    Rig rig;
    rig.send("++eos 0\rA1\x1b\rB1\x1b+EX\r++eos 3\rEX\r++read 10\r\x1b+\x1b+\r");
    EXPECT_EQ(rig.instrument.syntaxErrors(), (std::vector<std::string>{"+", "++"}));
    EXPECT_EQ(rig.logLines(),
              (std::vector<std::string>{
                  "+ ++eos 0", "> A1\\rB1+EX\\r\\n", "+ ++eos 3", "> EX", "+ ++read 10",
                  "< NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n", "> ++"}));
}

TEST(PrologixAdapter, AReadWaitsForTheReadingOrItsTimeoutAndHoldsBackLaterLines) {
    const struct {
        std::string_view fault;
        std::string_view setup;
        int dueMs;
        std::string answer;
    } cases[] = {
        {"none", "", 100, std::string(kGood) + kVersion},
        {"slow=1000@1", "", 1100, std::string(kGood) + kVersion},  // past the 500 ms timeout
        {"none", "++read_tmo_ms 50\r", 50, kVersion},
    };
    const Instrument::TimePoint start{};
    for (const auto& row : cases) {
        SCOPED_TRACE(row.fault);
        Rig rig(configWith(row.fault, 100));
        EXPECT_EQ(rig.send(std::string(row.setup) + "EX\r++read 10\r++ver\r", start), "");
        EXPECT_EQ(rig.adapter.wakeAt(), start + milliseconds(row.dueMs));
        rig.adapter.advance(start + milliseconds(row.dueMs - 1));
        EXPECT_EQ(rig.adapter.takeOutput(), "");
        rig.adapter.advance(start + milliseconds(row.dueMs));
        EXPECT_EQ(rig.adapter.takeOutput(), row.answer);
        EXPECT_FALSE(rig.adapter.wakeAt().has_value());
    }
    // After a timeout the reading is still there for a later read.
    Rig rig(configWith("none", 100));
    rig.send("++read_tmo_ms 50\rEX\r++read 10\r", start);
    rig.adapter.advance(start + milliseconds(50));
    EXPECT_EQ(rig.send("++read 10\r", start + milliseconds(100)), kGood);
}

TEST(PrologixAdapter, ADroppedInstrumentEndsAllAnswersAndAnEndlessReplyGoesOutInPieces) {
    Rig dropping(configWith("drop:1"));
    EXPECT_EQ(dropping.send("EX\r++read 10\r++ver\r"), kGood);
    EXPECT_EQ(dropping.send("++ver\r"), "");

    Rig rig(configWith("endless=10000@1"));
    std::string received = rig.send("EX\r++read 10\r++ver\r");
    EXPECT_EQ(received.size(), 4096u);
    for (int piece = 0; piece < 10 && rig.adapter.wakeAt(); ++piece) {
        rig.adapter.advance({});
        received += rig.adapter.takeOutput();
    }
    ASSERT_EQ(received.size(), kGood.size() - 2 + 10000 + kVersion.size());
    EXPECT_EQ(received.find('\n'), received.size() - 1);  // only the answer to ++ver
    EXPECT_EQ(received.substr(received.size() - kVersion.size()), kVersion);
    const std::vector<std::string> lines = rig.logLines();
    ASSERT_EQ(lines.size(), 4u);  // of the long reply only the first piece
    EXPECT_EQ(lines[2].size(), 2 + 4096u);
}

TEST(PrologixAdapter, PowerComesBackWithTheSavedSettingsAndNothingPending) {
    Rig rig;
    rig.send("++auto 1\r++savecfg 0\r++eos 3\r++read_tmo_ms 20\r++a");
    rig.adapter.powerOn();
    EXPECT_EQ(rig.send("uto\r++auto\r++eos\r++read_tmo_ms\r"), "1\r\n0\r\n500\r\n");
}

}  // namespace
}  // namespace lorvane::sim
