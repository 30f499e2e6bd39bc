// The stand-in NI-488.2 library, loaded the way the program loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

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
int call(const char* name, int ud) { return entry<int (*)(int)>(name)(ud); }
int call(const char* name, int ud, int value) { return entry<int (*)(int, int)>(name)(ud, value); }
int ibsta() { return *entry<int*>("ibsta"); }
int iberr() { return *entry<int*>("iberr"); }
// A call's status with the error it left.
std::pair<int, int> outcome(int status) { return {status, iberr()}; }
int open(int pad = 1) {
    return entry<int (*)(int, int, int, int, int, int)>("ibdev")(0, pad, 96, 12, 1, 0);
}
int write(int ud, const std::string& text) {
    return entry<int (*)(int, const void*, long)>("ibwrt")(ud, text.data(), long(text.size()));
}
std::string read(int ud) {
    std::string buffer(10000, '\0');
    entry<int (*)(int, void*, long)>("ibrd")(ud, buffer.data(), long(buffer.size()));
    return buffer.substr(0, static_cast<std::size_t>(*entry<long*>("ibcntl")));
}

// Each test starts from the defaults, with no measurement delay and a wire log of its own.
class StandIn : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"LORVANE_SIM_DEVICE", "LORVANE_SIM_FAULT"}) unsetenv(name);
        setenv("LORVANE_SIM_DELAY_MS", "0", 1);
        std::remove(logPath.c_str());
        setenv("LORVANE_SIM_WIRE_LOG", logPath.c_str(), 1);
    }
    std::string log() const {
        std::ifstream file(logPath);
        return {std::istreambuf_iterator<char>(file), {}};
    }

    std::string logPath = ::testing::TempDir() + "standin-" +
                          ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
};

TEST_F(StandIn, OpensTalksAndClosesLikeTheProgramAndLogsEachCall) {
    EXPECT_EQ(entry<int (*)(int, int, int)>("ibconfig")(0, 0x17, 1), kCmpl);
    const int ud = open();
    ASSERT_GT(ud, 0);
    for (const int status :
         {call("ibclr", ud), call("ibsic", ud), write(ud, "A1B1EX\r"), call("ibloc", ud)})
        EXPECT_EQ(status, kCmpl);
    EXPECT_EQ(read(ud), kReading);
    EXPECT_EQ(ibsta(), kEnd | kCmpl);
    EXPECT_EQ(entry<long (*)()>("ThreadIbcntl")(), 45);
    // Reading nothing times out at once.
    EXPECT_EQ(call("ibtmo", ud, 7), kCmpl);
    EXPECT_EQ(read(ud), "");
    EXPECT_EQ(outcome(ibsta()), std::pair(kErrTimo, 6));
    EXPECT_EQ(entry<int (*)()>("ThreadIberr")(), 6);
    write(ud, std::string("A\x1b\\B\t\x7f"));
    EXPECT_EQ(call("ibonl", ud, 0), kCmpl);
    EXPECT_EQ(log(),
              "# ibconfig 23 1\n# ibdev 0 1 96 12 1 0\n# ibclr\n# ibsic\n> A1B1EX\\r\n# ibloc\n"
              "< NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n\n# ibtmo 7\n# ibrd timeout\n"
              "> A\\x1B\\\\B\\x09\\x7F\n# ibonl 0\n");
}

TEST_F(StandIn, RefusesBadArgumentsAndSettingsWithAReason) {
    const int ud = open();
    EXPECT_EQ(outcome(call("ibtmo", ud, 18)), std::pair(kErr, 4));  // EARG
    call("ibonl", ud, 0);
    EXPECT_EQ(outcome(write(ud, "EX\r")), std::pair(kErr, 0));  // EDVR
    setenv("LORVANE_SIM_DEVICE", "resistor", 1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(open(), -1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "libgpib (Lorvane simulator): LORVANE_SIM_DEVICE: unknown device 'resistor': "
              "expected default, rlc, rc, varactor or lowpass\n");
}

TEST_F(StandIn, AReadWaitsWithinItsTimeoutAndFaultsFailTheBusCalls) {
    setenv("LORVANE_SIM_FAULT", "slow=200@1,unplug=100@2,drop:3", 1);
    int ud = open();
    call("ibtmo", ud, 9);  // 100 ms
    write(ud, "EX\r");
    EXPECT_EQ(read(ud), "");  // 100 ms into the 200 ms delay
    EXPECT_EQ(ibsta(), kErrTimo);
    EXPECT_EQ(read(ud), kReading);
    write(ud, "EX\r");
    EXPECT_EQ(read(ud), kReading);
    EXPECT_EQ(outcome(write(ud, "EX\r")), std::pair(kErr, 2));
    int attempts = 0;  // back after 100 ms; two seconds at most
    while (write(ud, "EX\r") != kCmpl && ++attempts < 200) usleep(10'000);
    EXPECT_EQ(read(ud), kReading);
    // Dropped after the third reply: every call fails until all are closed and one reopens.
    EXPECT_EQ(outcome(write(ud, "EX\r")), std::pair(kErr, 2));
    EXPECT_EQ(read(ud), "");
    EXPECT_EQ(ibsta(), kErrTimo);
    EXPECT_EQ(call("ibclr", ud), kErr);
    EXPECT_EQ(call("ibonl", ud, 0), kCmpl);
    EXPECT_EQ(write(ud = open(), "EX\r"), kCmpl);
    call("ibonl", ud, 0);
    std::string faults;
    std::istringstream lines(log());
    for (std::string line; std::getline(lines, line);)
        if (line[0] == '!') faults += line + '\n';
    EXPECT_EQ(faults,
              "! 1 slow NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n\n"
              "! 2 unplug NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n\n"
              "! 3 drop NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n\n");
}

}  // namespace
}  // namespace lorvane::sim
