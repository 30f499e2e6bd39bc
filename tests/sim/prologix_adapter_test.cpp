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

constexpr std::string_view kReading = "NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n";

class AdapterTest : public ::testing::Test {
  protected:
    explicit AdapterTest(int delayMs = 0) : instrument_(configWithDelay(delayMs)) {
        std::remove(logPath_.c_str());
    }

    ~AdapterTest() override { std::remove(logPath_.c_str()); }
    static SimConfig configWithDelay(int delayMs) {
        SimConfig config = test::instantConfig();
        config.delayMs = delayMs;
        return config;
    }
    std::string send(std::string_view bytes, Instrument::TimePoint at = {}) {
        adapter_.receive(bytes, at);
        return adapter_.takeOutput();
    }
    std::vector<std::string> logLines() const {
        std::ifstream file(logPath_);
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) lines.push_back(line);
        return lines;
    }

    Instrument instrument_;
    WireLog log_;
    std::string logPath_ = ::testing::TempDir() + "adapter-" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
    PrologixAdapter adapter_{instrument_, log_};
};

using Lines = std::vector<std::string>;

TEST_F(AdapterTest, AnswersEveryCommandAsTheAdapterDoes) {
    const std::string reading(kReading);
    const struct {
        std::string_view sent;
        std::string answer;
    } kCases[] = {
        {"++ver\r", "Prologix GPIB-USB Controller version 6.107\r\n"},
        {"++mode\r++auto\r++read_tmo_ms\r++eos\r++addr\r++eoi\r++eot_enable\r++eot_char\r",
         "1\r\n0\r\n500\r\n0\r\n1\r\n1\r\n0\r\n0\r\n"},
        {"++lon\r++status\r++savecfg\r++srq\r++spoll\r", "0\r\n0\r\n1\r\n0\r\n0\r\n"},
        // The program's set-up, then settings read back; out-of-range values are ignored.
        {"++mode 1\r\n++auto 0\r\n++read_tmo_ms 3000\r\n++eos 3\r\n++addr 1\r\n++clr\r\n"
         "++ifc\r\n++eoi 0\n++eos 4\n++auto 2\n++eot_char 256\n++status 72\n++lon 1\n++llo\n++loc "
         "all\n"
         "++read_tmo_ms\r++eos\r++eoi\r++eot_char\r++status\r++lon\r++auto\r",
         "3000\r\n3\r\n0\r\n0\r\n72\r\n1\r\n0\r\n"},
        {"++bogus\r++savecfg2\r", "Unrecognized command\r\nUnrecognized command\r\n"},
        {"++eot_enable 1\r++eot_char 4\rEX\r++read 10\r", reading + "\x04"},
        // A group execute trigger reaches the instrument at the current or a listed address.
        {"++trg\r++read eoi\r++trg 5\r++read eoi\r++trg 3 1\r++read\r", reading + reading},
        // Data-ready SRQ: the line is up until a serial poll, whose status byte has RQS (64).
        {"D1EX\r++srq\r++spoll\r++srq\r++spoll 1\r++spoll 5\r", "1\r\n65\r\n0\r\n1\r\n"},
        // ++rst goes back to the settings saved while ++savecfg was 1.
        {"++auto 1\r++savecfg 0\r++read_tmo_ms 50\r++rst\r++auto\r++read_tmo_ms\r", "1\r\n500\r\n"},
    };
    for (const auto& row : kCases) {
        Instrument instrument(test::instantConfig());
        PrologixAdapter adapter(instrument, log_);
        adapter.receive(row.sent, {});
        EXPECT_EQ(adapter.takeOutput(), row.answer) << row.sent;
    }
    EXPECT_EQ(send("++help\r").substr(0, 36), "++addr [PAD [SAD]] -- the GPIB addre");
}

TEST_F(AdapterTest, PassesLinesToTheInstrumentAndReadsOnRequest) {
    EXPECT_EQ(send("A1B1EX\r"), "");
    EXPECT_EQ(send("++read 10\r"), kReading);
    EXPECT_EQ(send("++read 10\r"), "");  // nothing more to read
    EXPECT_EQ(send("EX\n++read eoi\n"), kReading);
    EXPECT_EQ(send("EX\r\n++read\r\n"), kReading);
}

TEST_F(AdapterTest, ReadsUpToTheRequestedCharacter) {
    send("EX\r");
    EXPECT_EQ(send("++read 44\r"), "NZFN+96.841E+00,");
    EXPECT_EQ(send("++read 10\r"), "NTDN-84.073E+00,K+0100.0000\r\n");
}

TEST_F(AdapterTest, AutomaticModeReadsAfterEveryLine) {
    EXPECT_EQ(send("++auto 1\rEX\r"), kReading);
    EXPECT_EQ(send("A2\r"), "");  // no trigger, nothing to read
}

TEST_F(AdapterTest, ArrivesInPiecesAndIgnoresEmptyLines) {
    EXPECT_EQ(send("++v"), "");
    EXPECT_EQ(send("er"), "");
    EXPECT_EQ(send("\r\n\r\n\n"), "Prologix GPIB-USB Controller version 6.107\r\n");
}

TEST_F(AdapterTest, LinesForAnotherAddressReachNobody) {
    EXPECT_EQ(send("++addr 5\rA2EX\r++read 10\r++clr\r"), "");
    EXPECT_EQ(instrument_.state().displayA, 1);
    EXPECT_EQ(send("++addr 1\rEX\r++read 10\r"), kReading);
}

TEST_F(AdapterTest, DeviceClearResetsTheInstrument) {
    send("A4B2EX\r++clr\r");
    EXPECT_EQ(instrument_.state().displayA, 1);
    EXPECT_EQ(send("++read 10\r"), "");
}

TEST_F(AdapterTest, UnescapesDataAndLogsTheTrafficWithTheEosTerminator) {
    ASSERT_TRUE(log_.open(logPath_));
    send("++eos 0\rA1\x1b\rB1\x1b+EX\r++eos 3\rEX\r++read 10\r");
    EXPECT_EQ(instrument_.syntaxErrors(), (std::vector<std::string>{"+"}));
    EXPECT_EQ(logLines(),
              (Lines{"+ ++eos 0", "> A1\\rB1+EX\\r\\n", "+ ++eos 3", "> EX", "+ ++read 10",
                     "< NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n"}));
}

TEST_F(AdapterTest, AnEscapedPlusIsNoCommand) {
    send("\x1b+\x1b+EX\r");
    EXPECT_EQ(instrument_.syntaxErrors(), (std::vector<std::string>{"++"}));
    EXPECT_EQ(send("++read 10\r"), kReading);
}

class DelayedAdapterTest : public AdapterTest {
  protected:
    DelayedAdapterTest() : AdapterTest(100) {}
};

TEST_F(AdapterTest, AReadWaitsForTheReadingAndHoldsBackLaterLines) {
    const struct {
        std::string_view fault;
        int dueMs;
    } kCases[] = {{"none", 100}, {"slow=1000@1", 1100}};  // slow: past the 500 ms read timeout
    for (const auto& row : kCases) {
        SimConfig config = configWithDelay(100);
        ASSERT_EQ(setConfigValue(config, ConfigKey::Fault, row.fault), "");
        Instrument instrument(config);
        PrologixAdapter adapter(instrument, log_);
        const Instrument::TimePoint start{};
        adapter.receive("EX\r++read 10\r++ver\r", start);
        EXPECT_EQ(adapter.takeOutput(), "") << row.fault;
        EXPECT_EQ(adapter.wakeAt(), start + milliseconds(row.dueMs)) << row.fault;
        adapter.advance(start + milliseconds(row.dueMs - 1));
        EXPECT_EQ(adapter.takeOutput(), "") << row.fault;
        adapter.advance(start + milliseconds(row.dueMs));
        EXPECT_EQ(adapter.takeOutput(),
                  std::string(kReading) + "Prologix GPIB-USB Controller version 6.107\r\n")
            << row.fault;
        EXPECT_FALSE(adapter.wakeAt().has_value()) << row.fault;
    }
}

TEST_F(DelayedAdapterTest, AReadGivesUpAfterItsTimeout) {
    const Instrument::TimePoint start{};
    send("++read_tmo_ms 50\rEX\r++read 10\r", start);
    EXPECT_EQ(adapter_.wakeAt(), start + milliseconds(50));
    adapter_.advance(start + milliseconds(50));
    EXPECT_EQ(adapter_.takeOutput(), "");
    EXPECT_FALSE(adapter_.wakeAt().has_value());
    // The reading is still there for a later read.
    EXPECT_EQ(send("++read 10\r", start + milliseconds(100)), kReading);
}

TEST_F(AdapterTest, ADroppedInstrumentEndsAllAnswers) {
    Instrument dropping([] {
        SimConfig config = test::instantConfig();
        setConfigValue(config, ConfigKey::Fault, "drop:1");
        return config;
    }());
    PrologixAdapter adapter(dropping, log_);
    adapter.receive("EX\r++read 10\r++ver\r", {});
    EXPECT_EQ(adapter.takeOutput(), kReading);
    adapter.receive("++ver\r", {});
    EXPECT_EQ(adapter.takeOutput(), "");
}

TEST_F(AdapterTest, AnEndlessReplyGoesOutInPiecesAsTheHostTakesThem) {
    Instrument instrument([] {
        SimConfig config = test::instantConfig();
        setConfigValue(config, ConfigKey::Fault, "endless=10000@1");
        return config;
    }());
    ASSERT_TRUE(log_.open(logPath_));
    PrologixAdapter adapter(instrument, log_);
    adapter.receive("EX\r++read 10\r++ver\r", {});
    std::string received = adapter.takeOutput();
    EXPECT_EQ(received.size(), 4096u);
    for (int piece = 0; piece < 10 && adapter.wakeAt(); ++piece) {
        adapter.advance({});
        received += adapter.takeOutput();
    }
    const std::string_view version = "Prologix GPIB-USB Controller version 6.107\r\n";
    ASSERT_EQ(received.size(), kReading.size() - 2 + 10000 + version.size());
    EXPECT_EQ(received.find('\n'), received.size() - 1);  // only the answer to ++ver
    EXPECT_EQ(received.substr(received.size() - version.size()), version);
    const Lines lines = logLines();
    ASSERT_EQ(lines.size(), 4u);  // of the long reply only the first piece
    EXPECT_EQ(lines[2].size(), 2 + 4096u);
}

TEST_F(AdapterTest, PowerComesBackWithTheSavedSettingsAndNothingPending) {
    send("++auto 1\r++savecfg 0\r++eos 3\r++read_tmo_ms 20\r++a");
    adapter_.powerOn();
    EXPECT_EQ(send("uto\r++auto\r++eos\r++read_tmo_ms\r"), "1\r\n0\r\n500\r\n");
}

}  // namespace
}  // namespace lorvane::sim
