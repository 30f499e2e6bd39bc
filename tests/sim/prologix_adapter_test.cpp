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

TEST_F(AdapterTest, AnswersVersionAndRefusesUnknownCommands) {
    EXPECT_EQ(send("++ver\r"), "Prologix GPIB-USB Controller version 6.107\r\n");
    EXPECT_EQ(send("++savecfg 1\n"), "Unrecognized command\r\n");
}

TEST_F(AdapterTest, TakesTheProgramsSetUpQuietly) {
    EXPECT_EQ(send("++mode 1\r\n++auto 0\r\n++read_tmo_ms 3000\r\n++eos 3\r\n++addr 1\r\n"
                   "++clr\r\n++ifc\r\n"),
              "");
    EXPECT_EQ(send("++mode\r++auto\r++read_tmo_ms\r++eos\r++addr\r"),
              "1\r\n0\r\n3000\r\n3\r\n1\r\n");
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

TEST_F(DelayedAdapterTest, AReadWaitsForTheMeasurementAndHoldsBackLaterLines) {
    const Instrument::TimePoint start{};
    EXPECT_EQ(send("EX\r++read 10\r++ver\r", start), "");
    EXPECT_EQ(adapter_.wakeAt(), start + milliseconds(100));
    adapter_.advance(start + milliseconds(99));
    EXPECT_EQ(adapter_.takeOutput(), "");
    adapter_.advance(start + milliseconds(100));
    EXPECT_EQ(adapter_.takeOutput(),
              std::string(kReading) + "Prologix GPIB-USB Controller version 6.107\r\n");
    EXPECT_FALSE(adapter_.wakeAt().has_value());
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
        config.fault = {Fault::Kind::Drop, 1};
        return config;
    }());
    PrologixAdapter adapter(dropping, log_);
    adapter.receive("EX\r++read 10\r++ver\r", {});
    EXPECT_EQ(adapter.takeOutput(), kReading);
    adapter.receive("++ver\r", {});
    EXPECT_EQ(adapter.takeOutput(), "");
}

}  // namespace
}  // namespace lorvane::sim
