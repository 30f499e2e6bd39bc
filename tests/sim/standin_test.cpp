// The stand-in NI-488.2 library, loaded the way the program loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace lorvane::sim {
namespace {

constexpr int kCmpl = 0x100;
constexpr int kEnd = 0x2000;
constexpr int kErr = 0x8000;
constexpr int kErrTimo = 0xC000;
const std::string kReading = "NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n";

// The library's entry points, found by name as the program finds them.
template <typename T>
T entry(const char* name) {
    static void* const handle = dlopen(LORVANE_GPIB_STANDIN, RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) throw std::runtime_error(dlerror());
    void* const symbol = dlsym(handle, name);
    if (symbol == nullptr) throw std::runtime_error(std::string("missing symbol ") + name);
    return reinterpret_cast<T>(symbol);
}
int ibdev(int board, int pad) {
    return entry<int (*)(int, int, int, int, int, int)>("ibdev")(board, pad, 96, 12, 1, 0);
}
int call(const char* name, int ud) { return entry<int (*)(int)>(name)(ud); }
int call(const char* name, int ud, int value) { return entry<int (*)(int, int)>(name)(ud, value); }
int ibconfig(int ud, int option, int value) {
    return entry<int (*)(int, int, int)>("ibconfig")(ud, option, value);
}
int ibsta() { return *entry<int*>("ibsta"); }
int iberr() { return *entry<int*>("iberr"); }
long ibcntl() { return *entry<long*>("ibcntl"); }

class StandIn : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name :
             {"LORVANE_SIM_ADDRESS", "LORVANE_SIM_DEVICE", "LORVANE_SIM_NOISE", "LORVANE_SIM_FAULT",
              "LORVANE_SIM_FAULT_SEED", "LORVANE_SIM_REPLY_SIZE"}) {
            unsetenv(name);
        }
        setenv("LORVANE_SIM_DELAY_MS", "0", 1);
        std::remove(logPath_.c_str());
        setenv("LORVANE_SIM_WIRE_LOG", logPath_.c_str(), 1);
    }
    void TearDown() override {
        for (const int ud : opened_) call("ibonl", ud, 0);
        unsetenv("LORVANE_SIM_WIRE_LOG");
        std::remove(logPath_.c_str());
    }

    int open(int pad = 1) {
        const int ud = ibdev(0, pad);
        if (ud > 0) opened_.push_back(ud);
        return ud;
    }
    int write(int ud, const std::string& text) {
        return entry<int (*)(int, const void*, long)>("ibwrt")(ud, text.data(),
                                                               static_cast<long>(text.size()));
    }
    std::string read(int ud, long size = 10000) {
        std::string buffer(static_cast<std::size_t>(size), '\0');
        entry<int (*)(int, void*, long)>("ibrd")(ud, buffer.data(), size);
        return buffer.substr(0, static_cast<std::size_t>(ibcntl()));
    }
    std::vector<std::string> logLines() const {
        std::ifstream file(logPath_);
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) lines.push_back(line);
        return lines;
    }

    std::string logPath_ = ::testing::TempDir() + "standin-" +
                           ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
    std::vector<int> opened_;
};

TEST_F(StandIn, OpensTalksAndClosesLikeTheProgramAndLogsEachCall) {
    EXPECT_EQ(ibconfig(0, 0x17, 1), kCmpl);
    const int ud = open();
    ASSERT_GT(ud, 0);
    EXPECT_EQ(ibsta(), kCmpl);
    EXPECT_EQ(call("ibclr", ud), kCmpl);
    EXPECT_EQ(call("ibsic", ud), kCmpl);
    EXPECT_EQ(write(ud, "A1B1EX\r"), kCmpl);
    EXPECT_EQ(ibcntl(), 7);
    EXPECT_EQ(read(ud), kReading);
    EXPECT_EQ(ibsta(), kEnd | kCmpl);
    EXPECT_EQ(entry<int (*)()>("ThreadIbsta")(), kEnd | kCmpl);
    EXPECT_EQ(entry<int (*)()>("ThreadIbcnt")(), 45);
    EXPECT_EQ(*entry<int*>("ibcnt"), 45);
    EXPECT_EQ(entry<long (*)()>("ThreadIbcntl")(), 45);
    // Reading nothing times out at once.
    EXPECT_EQ(call("ibtmo", ud, 7), kCmpl);
    EXPECT_EQ(read(ud), "");
    EXPECT_EQ(ibsta(), kErrTimo);
    EXPECT_EQ(iberr(), 6);
    EXPECT_EQ(entry<int (*)()>("ThreadIberr")(), 6);
    EXPECT_EQ(call("ibloc", ud), kCmpl);
    write(ud, std::string("A\x1b\\B\t\x7f"));
    EXPECT_EQ(call("ibonl", ud, 0), kCmpl);
    EXPECT_EQ(logLines(),
              (std::vector<std::string>{
                  "# ibconfig 23 1", "# ibdev 0 1 96 12 1 0", "# ibclr", "# ibsic", "> A1B1EX\\r",
                  "< NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n", "# ibtmo 7",
                  "# ibrd timeout", "# ibloc", "> A\\x1B\\\\B\\x09\\x7F", "# ibonl 0"}));
}

// Unknown boards and addresses: see the card transport's tests.
TEST_F(StandIn, RefusesUnknownDescriptorsArgumentsAndBadSettings) {
    EXPECT_EQ(call("ibonl", -1, 0), kErr);
    EXPECT_EQ(iberr(), 0);  // EDVR
    EXPECT_EQ(write(42, "EX\r"), kErr);
    EXPECT_EQ(ibconfig(42, 0x17, 1), kErr);
    const int ud = open();
    EXPECT_EQ(call("ibtmo", ud, 18), kErr);
    EXPECT_EQ(iberr(), 4);  // EARG
    call("ibonl", ud, 0);
    EXPECT_EQ(write(ud, "EX\r"), kErr);
    EXPECT_EQ(call("ibclr", ud), kErr);
    EXPECT_EQ(iberr(), 0);

    setenv("LORVANE_SIM_DEVICE", "resistor", 1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(open(), -1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "libgpib (Lorvane simulator): LORVANE_SIM_DEVICE: unknown device 'resistor': "
              "expected default, rlc, rc, varactor or lowpass\n");
    EXPECT_EQ(ibsta(), kErr);
    EXPECT_EQ(iberr(), 4);
}

TEST_F(StandIn, AReadWaitsForAMeasurementInProgressWithinTheTimeout) {
    setenv("LORVANE_SIM_DELAY_MS", "200", 1);
    const int ud = open();
    write(ud, "EX\r");
    call("ibtmo", ud, 7);  // 10 ms: shorter than the measurement
    EXPECT_EQ(read(ud), "");
    EXPECT_EQ(ibsta(), kErrTimo);
    call("ibtmo", ud, 12);  // 3 s
    EXPECT_EQ(read(ud), kReading);
}

TEST_F(StandIn, FaultsFailTheBusCallsUntilTheInstrumentIsBack) {
    setenv("LORVANE_SIM_FAULT", "slow=200@1,unplug=100@2,drop:3", 1);
    const int ud = open();
    call("ibtmo", ud, 9);  // 100 ms
    write(ud, "EX\r");
    EXPECT_EQ(read(ud), "");
    EXPECT_EQ(ibsta(), kErrTimo);
    EXPECT_EQ(read(ud), kReading);
    write(ud, "EX\r");
    EXPECT_EQ(read(ud), kReading);
    EXPECT_EQ(write(ud, "EX\r"), kErr);
    EXPECT_EQ(iberr(), 2);
    int attempts = 0;  // back after 100 ms; two seconds at most
    while (write(ud, "EX\r") != kCmpl && ++attempts < 200) usleep(10'000);
    EXPECT_EQ(read(ud), kReading);
    // Dropped after the third reply: every call fails until all are closed and one reopens.
    EXPECT_EQ(write(ud, "EX\r"), kErr);
    EXPECT_EQ(iberr(), 2);
    EXPECT_EQ(read(ud), "");
    EXPECT_EQ(ibsta(), kErrTimo);
    EXPECT_EQ(call("ibclr", ud), kErr);
    EXPECT_EQ(call("ibonl", ud, 0), kCmpl);
    EXPECT_EQ(write(open(), "EX\r"), kCmpl);
    std::vector<std::string> faults;
    for (const std::string& line : logLines()) {
        if (line[0] == '!') faults.push_back(line);
    }
    EXPECT_EQ(faults, (std::vector<std::string>{"! 1 slow " + kReading.substr(0, 43) + "\\r\\n",
                                                "! 2 unplug " + kReading.substr(0, 43) + "\\r\\n",
                                                "! 3 drop " + kReading.substr(0, 43) + "\\r\\n"}));
}

}  // namespace
}  // namespace lorvane::sim
