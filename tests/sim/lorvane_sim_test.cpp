// lorvane-sim end to end: started as a process, reached through its pseudo-terminal link.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "pty_port.h"
#include "sim_options.h"

namespace lorvane::sim {
namespace {

constexpr int kPatienceMs = 5000;  // upper bound for any answer; normally a few ms

// Reads from `fd` until `text` ends with `until` or nothing comes for kPatienceMs.
std::string readUntil(int fd, std::string_view until) {
    std::string text;
    while (text.size() < until.size() ||
           text.compare(text.size() - until.size(), until.size(), until) != 0) {
        pollfd watch{fd, POLLIN, 0};
        if (poll(&watch, 1, kPatienceMs) <= 0 || (watch.revents & POLLIN) == 0) break;
        char buffer[256];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

class SimProcess {
  public:
    SimProcess(const std::vector<std::string>& arguments, const std::string& runtimeDir) {
        int out[2];
        int err[2];
        if (pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            dup2(err[1], STDERR_FILENO);
            setenv("XDG_RUNTIME_DIR", runtimeDir.c_str(), 1);
            std::vector<char*> argv{const_cast<char*>(LORVANE_SIM_EXE)};
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(LORVANE_SIM_EXE, argv.data());
            _exit(127);
        }
        close(out[1]);
        close(err[1]);
        out_ = out[0];
        err_ = err[0];
    }
    ~SimProcess() {
        if (pid_ > 0) stop();
        close(out_);
        close(err_);
    }
    std::string outputLine() { return readUntil(out_, "\n"); }
    std::string errors() { return readUntil(err_, "\x04"); }  // everything until the end
    // Sends SIGTERM and returns the exit status.
    int stop() {
        kill(pid_, SIGTERM);
        return wait();
    }
    int wait() {
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    int out_ = -1;
    int err_ = -1;
};

int openPort(const std::string& path) {
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return fd;
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    tcsetattr(fd, TCSANOW, &settings);
    return fd;
}

std::string ask(int fd, std::string_view text) {
    if (write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
        return "write failed";
    return readUntil(fd, "\r\n");
}

class LorvaneSim : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "lorvane-sim-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        runtimeDir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(runtimeDir_); }
    std::string link(int port) const { return runtimeDir_ + "/lorvane/COM" + std::to_string(port); }

    std::string runtimeDir_;
};

TEST_F(LorvaneSim, ServesTheAdapterOnItsLinkAndComesBackBehindItAfterAnUnplug) {
    const std::string reading = "NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n";
    const std::string wireLog = runtimeDir_ + "/wire.log";
    SimProcess sim(
        {"--port", "7", "--delay", "0", "--fault", "unplug=300@3", "--wire-log", wireLog},
        runtimeDir_);
    const std::string line = sim.outputLine();
    ASSERT_EQ(line.rfind("COM7 /dev/pts/", 0), 0u) << line;
    char target[256] = {};
    ASSERT_GT(readlink(link(7).c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ("COM7 " + std::string(target) + "\n", line);

    int fd = openPort(link(7));
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ask(fd, "++ver\r"), "Prologix GPIB-USB Controller version 6.107\r\n");
    EXPECT_EQ(write(fd, "A1B1EX\r", 7), 7);
    EXPECT_EQ(ask(fd, "++read 10\r"), reading);
    close(fd);
    fd = openPort(link(7));  // the same port for the next controller
    ASSERT_GE(fd, 0);
    EXPECT_EQ(ask(fd, "EX\r++read 10\r"), reading);
    EXPECT_EQ(ask(fd, "++auto 1\rEX\r"), reading);
    // The third reply unplugs the port as a pulled USB adapter does: the controller sees it
    // hang up, and a new port comes behind the same link.
    pollfd watch{fd, POLLIN, 0};
    ASSERT_EQ(poll(&watch, 1, kPatienceMs), 1);
    EXPECT_NE(watch.revents & (POLLHUP | POLLERR), 0);
    close(fd);
    const std::string second = sim.outputLine();
    ASSERT_EQ(second.rfind("COM7 /dev/pts/", 0), 0u) << second;
    fd = openPort(link(7));
    ASSERT_GE(fd, 0);
    // The adapter powered up with its saved settings; the instrument kept its own.
    EXPECT_EQ(ask(fd, "EX\r"), reading);
    close(fd);

    EXPECT_EQ(sim.stop(), 0);
    struct stat info {};
    EXPECT_NE(lstat(link(7).c_str(), &info), 0);  // link removed
    EXPECT_EQ(sim.errors(),
              "lorvane-sim: reply 3: unplug\n"
              "lorvane-sim: 4 replies; faults: silent 0, garbled 0, short 0, endless 0, slow 0, "
              "drop 0, unplug 1\n");
    std::ifstream file(wireLog);
    std::vector<std::string> lines;
    for (std::string entry; std::getline(file, entry);) lines.push_back(entry);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "+ ++ver");
    EXPECT_EQ(lines[1], "> A1B1EX\\r\\n");  // the adapter appends CR LF until told ++eos 3
    EXPECT_EQ(lines[2], "+ ++read 10");
    EXPECT_EQ(lines[3], "< NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n");
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "! 3 unplug NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n"),
              lines.end());
    EXPECT_EQ(lines.back(), "< " + reading.substr(0, 43) + "\\r\\n");
}

TEST_F(LorvaneSim, RefusesBadOptionsWithAReason) {
    SimProcess sim({"--port", "x"}, runtimeDir_);
    EXPECT_EQ(sim.wait(), 2);
    const std::string errors = sim.errors();
    EXPECT_EQ(errors.rfind(
                  "lorvane-sim: --port: bad port 'x': expected 1 to 255\n\nUsage: lorvane-sim", 0),
              0u)
        << errors;
    struct stat info {};
    EXPECT_NE(lstat((runtimeDir_ + "/lorvane").c_str(), &info), 0);  // nothing was created
}

TEST(SimOptions, ReadsOptionsWithOrWithoutEquals) {
    SimOptions options;
    EXPECT_EQ(parseSimOptions({"--port", "9", "--address=17", "--fault", "garbled:2",
                               "--fault-seed=5", "--wire-log", "/tmp/w.log", "--help"},
                              options),
              "");
    EXPECT_EQ(options.port, 9);
    EXPECT_EQ(options.config.address, 17);
    EXPECT_EQ(options.config.faults,
              (std::vector<FaultRule>{{FaultKind::Garbled, 0, FaultRule::Schedule::From, 2}}));
    EXPECT_EQ(options.config.faultSeed, 5u);
    EXPECT_EQ(options.wireLog, "/tmp/w.log");
    EXPECT_TRUE(options.help);
}

TEST(SimOptions, NamesTheOptionThatIsWrong) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--colour", "red"}, "unknown option --colour"},
        {{"--delay"}, "option --delay needs a value"},
        {{"--port", "0"}, "--port: bad port '0': expected 1 to 255"},
        {{"--fault", "loud"},
         "--fault: bad fault 'loud': expected none or rules KIND[=VALUE][:N|@N|/K|%P] separated "
         "by commas, KIND being silent, garbled, short, endless, slow, drop or unplug"},
    };
    for (const auto& [arguments, reason] : cases) {
        SimOptions options;
        EXPECT_EQ(parseSimOptions(arguments, options), reason);
        EXPECT_EQ(options.port, 7);
        EXPECT_EQ(options.config, SimConfig{});
    }
}

TEST(SimOptions, RuntimeDirectoryFallsBackToTmpPerUser) {
    EXPECT_EQ(runtimeDirectory("/run/user/1000", 1000), "/run/user/1000");
    EXPECT_EQ(runtimeDirectory("", 1000), "/tmp/lorvane-1000");
    EXPECT_EQ(runtimeDirectory(nullptr, 0), "/tmp/lorvane-0");
}

}  // namespace
}  // namespace lorvane::sim
