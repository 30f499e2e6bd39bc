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

struct GpibLibrary {
    int (*ibdev)(int, int, int, int, int, int);
    int (*ibwrt)(int, const void*, long);
    int (*ibrd)(int, void*, long);
    int (*ibclr)(int);
    int (*ibsic)(int);
    int (*ibtmo)(int, int);
    int (*ibloc)(int);
    int (*ibonl)(int, int);
    int (*ibconfig)(int, int, int);
    int (*threadIbsta)();
    int (*threadIberr)();
    int (*threadIbcnt)();
    long (*threadIbcntl)();
    int* ibsta;
    int* iberr;
    int* ibcnt;
    long* ibcntl;
};

template <typename T>
void bind(void* library, const char* name, T& target) {
    target = reinterpret_cast<T>(dlsym(library, name));
    if (target == nullptr) throw std::runtime_error(std::string("missing symbol ") + name);
}

const GpibLibrary& gpib() {
    static const GpibLibrary library = [] {
        void* handle = dlopen(LORVANE_GPIB_STANDIN, RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) throw std::runtime_error(dlerror());
        GpibLibrary lib{};
        bind(handle, "ibdev", lib.ibdev);
        bind(handle, "ibwrt", lib.ibwrt);
        bind(handle, "ibrd", lib.ibrd);
        bind(handle, "ibclr", lib.ibclr);
        bind(handle, "ibsic", lib.ibsic);
        bind(handle, "ibtmo", lib.ibtmo);
        bind(handle, "ibloc", lib.ibloc);
        bind(handle, "ibonl", lib.ibonl);
        bind(handle, "ibconfig", lib.ibconfig);
        bind(handle, "ThreadIbsta", lib.threadIbsta);
        bind(handle, "ThreadIberr", lib.threadIberr);
        bind(handle, "ThreadIbcnt", lib.threadIbcnt);
        bind(handle, "ThreadIbcntl", lib.threadIbcntl);
        bind(handle, "ibsta", lib.ibsta);
        bind(handle, "iberr", lib.iberr);
        bind(handle, "ibcnt", lib.ibcnt);
        bind(handle, "ibcntl", lib.ibcntl);
        return lib;
    }();
    return library;
}

class StandIn : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name :
             {"LORVANE_SIM_ADDRESS", "LORVANE_SIM_DEVICE", "LORVANE_SIM_NOISE", "LORVANE_SIM_FAULT",
              "LORVANE_SIM_FAULT_SEED", "LORVANE_SIM_REPLY_SIZE"}) {
            unsetenv(name);
        }
        setenv("LORVANE_SIM_DELAY_MS", "0", 1);
        logPath_ = ::testing::TempDir() + "standin-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
        std::remove(logPath_.c_str());
        setenv("LORVANE_SIM_WIRE_LOG", logPath_.c_str(), 1);
    }
    void TearDown() override {
        for (const int ud : opened_) gpib().ibonl(ud, 0);
        unsetenv("LORVANE_SIM_WIRE_LOG");
        std::remove(logPath_.c_str());
    }

    int open(int pad = 1) {
        const int ud = gpib().ibdev(0, pad, 96, 12, 1, 0);
        if (ud > 0) opened_.push_back(ud);
        return ud;
    }
    int write(int ud, const std::string& text) {
        return gpib().ibwrt(ud, text.data(), static_cast<long>(text.size()));
    }
    std::string read(int ud, long size = 10000) {
        std::string buffer(static_cast<std::size_t>(size), '\0');
        gpib().ibrd(ud, buffer.data(), size);
        return buffer.substr(0, static_cast<std::size_t>(*gpib().ibcntl));
    }
    std::vector<std::string> logLines() const {
        std::ifstream file(logPath_);
        std::vector<std::string> lines;
        for (std::string line; std::getline(file, line);) lines.push_back(line);
        return lines;
    }

    std::string logPath_;
    std::vector<int> opened_;
};

using Lines = std::vector<std::string>;

TEST_F(StandIn, OpensTalksAndClosesLikeTheProgram) {
    const GpibLibrary& lib = gpib();
    EXPECT_EQ(lib.ibconfig(0, 0x17, 1), kCmpl);
    const int ud = open();
    ASSERT_GT(ud, 0);
    EXPECT_EQ(*lib.ibsta, kCmpl);
    EXPECT_EQ(lib.ibclr(ud), kCmpl);
    EXPECT_EQ(lib.ibsic(ud), kCmpl);
    EXPECT_EQ(write(ud, "A1B1EX\r"), kCmpl);
    EXPECT_EQ(*lib.ibcntl, 7);
    EXPECT_EQ(read(ud), "NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n");
    EXPECT_EQ(*lib.ibsta, kEnd | kCmpl);
    EXPECT_EQ(*lib.ibcnt, 45);
    EXPECT_EQ(lib.threadIbsta(), kEnd | kCmpl);
    EXPECT_EQ(lib.threadIbcnt(), 45);
    EXPECT_EQ(lib.threadIbcntl(), 45);
    EXPECT_EQ(lib.ibloc(ud), kCmpl);
    EXPECT_EQ(lib.ibonl(ud, 0), kCmpl);
    EXPECT_EQ(
        logLines(),
        (Lines{"# ibconfig 23 1", "# ibdev 0 1 96 12 1 0", "# ibclr", "# ibsic", "> A1B1EX\\r",
               "< NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n", "# ibloc", "# ibonl 0"}));
}

TEST_F(StandIn, ReadingNothingTimesOutAtOnce) {
    const int ud = open();
    EXPECT_EQ(gpib().ibtmo(ud, 7), kCmpl);
    EXPECT_EQ(read(ud), "");
    EXPECT_EQ(*gpib().ibsta, kErrTimo);
    EXPECT_EQ(*gpib().iberr, 6);
    EXPECT_EQ(gpib().threadIberr(), 6);
    EXPECT_EQ(*gpib().ibcntl, 0);
    EXPECT_EQ(logLines(), (Lines{"# ibdev 0 1 96 12 1 0", "# ibtmo 7", "# ibrd timeout"}));
}

TEST_F(StandIn, LongRepliesComeInPiecesWithEndOnTheLast) {
    setenv("LORVANE_SIM_REPLY_SIZE", "12000", 1);
    const int ud = open();
    write(ud, "EX\r");
    const std::string first = read(ud);
    EXPECT_EQ(first.size(), 10000u);
    EXPECT_EQ(first.substr(0, 16), "NZFN+96.841E+00,");
    EXPECT_EQ(*gpib().ibsta, kCmpl);
    const std::string rest = read(ud);
    EXPECT_EQ(rest.size(), 2000u);
    EXPECT_EQ(rest.substr(rest.size() - 4), "  \r\n");
    EXPECT_EQ(*gpib().ibsta, kEnd | kCmpl);
}

TEST_F(StandIn, WaitsForAMeasurementInProgressWithinTheTimeout) {
    setenv("LORVANE_SIM_DELAY_MS", "200", 1);
    const int ud = open();
    write(ud, "EX\r");
    gpib().ibtmo(ud, 7);  // 10 ms: shorter than the measurement
    EXPECT_EQ(read(ud), "");
    EXPECT_EQ(*gpib().ibsta, kErrTimo);
    gpib().ibtmo(ud, 12);  // 3 s
    EXPECT_EQ(read(ud), "NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n");
}

TEST_F(StandIn, RefusesUnknownBoardsAddressesAndDescriptors) {
    const GpibLibrary& lib = gpib();
    EXPECT_EQ(lib.ibdev(1, 1, 96, 12, 1, 0), -1);
    EXPECT_EQ(*lib.ibsta, kErr);
    EXPECT_EQ(*lib.iberr, 7);  // ENEB
    EXPECT_EQ(open(5), -1);
    EXPECT_EQ(*lib.iberr, 2);  // ENOL
    EXPECT_EQ(lib.ibonl(-1, 0), kErr);
    EXPECT_EQ(*lib.iberr, 0);  // EDVR
    EXPECT_EQ(write(42, "EX\r"), kErr);
    EXPECT_EQ(lib.ibconfig(42, 0x17, 1), kErr);

    const int ud = open();
    EXPECT_EQ(lib.ibtmo(ud, 18), kErr);
    EXPECT_EQ(*lib.iberr, 4);  // EARG
    lib.ibonl(ud, 0);
    EXPECT_EQ(write(ud, "EX\r"), kErr);
    EXPECT_EQ(lib.ibclr(ud), kErr);
    EXPECT_EQ(*lib.iberr, 0);
}

TEST_F(StandIn, TakesItsSettingsFromTheEnvironment) {
    setenv("LORVANE_SIM_ADDRESS", "17", 1);
    setenv("LORVANE_SIM_DEVICE", "rc", 1);
    EXPECT_EQ(open(1), -1);
    const int ud = open(17);
    ASSERT_GT(ud, 0);
    write(ud, "A1B1FR1.000ENEX\r");
    EXPECT_EQ(read(ud), "NZFN+9.9853E+03,NTDN-3.5935E+00,K+01.000000\r\n");
}

TEST_F(StandIn, ABadSettingRefusesTheOpenAndSaysWhy) {
    setenv("LORVANE_SIM_DEVICE", "resistor", 1);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(open(), -1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "libgpib (Lorvane simulator): LORVANE_SIM_DEVICE: unknown device 'resistor': "
              "expected default, rlc, rc, varactor or lowpass\n");
    EXPECT_EQ(*gpib().ibsta, kErr);
    EXPECT_EQ(*gpib().iberr, 4);
    setenv("LORVANE_SIM_DEVICE", "rlc", 1);
    EXPECT_GT(open(), 0);
}

TEST_F(StandIn, ADroppedConnectionFailsEveryBusCallUntilReopened) {
    setenv("LORVANE_SIM_FAULT", "drop:1", 1);
    const int ud = open();
    write(ud, "EX\r");
    EXPECT_EQ(read(ud), "NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n");
    EXPECT_EQ(write(ud, "EX\r"), kErr);
    EXPECT_EQ(*gpib().iberr, 2);
    EXPECT_EQ(read(ud), "");
    EXPECT_EQ(*gpib().ibsta, kErrTimo);
    EXPECT_EQ(gpib().ibclr(ud), kErr);
    EXPECT_EQ(gpib().ibonl(ud, 0), kCmpl);
    const int again = open();  // with every descriptor closed the instrument starts afresh
    EXPECT_EQ(write(again, "EX\r"), kCmpl);
}

TEST_F(StandIn, ASlowReplyComesLateAndAnUnpluggedInstrumentComesBack) {
    const std::string reading = "NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n";
    setenv("LORVANE_SIM_FAULT", "slow=200@1,unplug=100@2", 1);
    const int ud = open();
    gpib().ibtmo(ud, 9);  // 100 ms
    write(ud, "EX\r");
    EXPECT_EQ(read(ud), "");
    EXPECT_EQ(*gpib().ibsta, kErrTimo);
    EXPECT_EQ(read(ud), reading);
    write(ud, "EX\r");
    EXPECT_EQ(read(ud), reading);
    EXPECT_EQ(write(ud, "EX\r"), kErr);
    EXPECT_EQ(*gpib().iberr, 2);
    int attempts = 0;  // back after 100 ms; two seconds at most
    while (write(ud, "EX\r") != kCmpl && ++attempts < 200) usleep(10'000);
    EXPECT_EQ(read(ud), reading);
    std::vector<std::string> faults;
    for (const std::string& line : logLines()) {
        if (line[0] == '!') faults.push_back(line);
    }
    EXPECT_EQ(faults, (std::vector<std::string>{
                          "! 1 slow NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n",
                          "! 2 unplug NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n"}));
}

TEST_F(StandIn, TheWireLogWritesControlCharactersReadably) {
    const int ud = open();
    write(ud, std::string("A\x1b\\B\t\x7f"));
    EXPECT_EQ(logLines().back(), "> A\\x1B\\\\B\\x09\\x7F");
}

}  // namespace
}  // namespace lorvane::sim
