// lorvane-sim: a Prologix GPIB-USB adapter with a simulated HP 4192A behind it, on a
// pseudo-terminal that the program opens as COM<N>. Runs until SIGINT or SIGTERM.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "instrument.h"
#include "prologix_adapter.h"
#include "pty_port.h"
#include "sim_options.h"
#include "wire_log.h"

namespace {

using lorvane::sim::Instrument;

int gSignalPipe[2] = {-1, -1};

void onSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t ignored = ::write(gSignalPipe[1], &byte, 1);
}

bool watchSignals() {
    if (::pipe2(gSignalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    return ::sigaction(SIGINT, &action, nullptr) == 0 &&
           ::sigaction(SIGTERM, &action, nullptr) == 0;
}

int pollTimeout(const lorvane::sim::PrologixAdapter& adapter) {
    const auto wake = adapter.wakeAt();
    if (!wake) return -1;
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(*wake - Instrument::Clock::now());
    return static_cast<int>(std::clamp<long long>(wait.count(), 0, 60'000));
}

// Moves bytes between the port and the adapter until a signal arrives. After a "drop" fault
// the last reading still goes out, then nothing answers any more, and once the controller has
// closed the port the pseudo-terminal goes away (closing it earlier would discard the reading).
void serve(lorvane::sim::PtyPort& port, lorvane::sim::PrologixAdapter& adapter,
           const Instrument& instrument) {
    std::string pending;
    bool open = true;
    for (;;) {
        pollfd fds[2] = {{gSignalPipe[0], POLLIN, 0},
                         {open ? port.masterFd() : -1,
                          static_cast<short>(POLLIN | (pending.empty() ? 0 : POLLOUT)), 0}};
        if (::poll(fds, 2, pollTimeout(adapter)) < 0 && errno != EINTR) return;
        if (fds[0].revents != 0) return;
        const auto now = Instrument::Clock::now();
        if (open && (fds[1].revents & POLLIN) != 0) {
            char buffer[4096];
            const ssize_t got = ::read(port.masterFd(), buffer, sizeof buffer);
            if (got > 0) adapter.receive({buffer, static_cast<std::size_t>(got)}, now);
        }
        adapter.advance(now);
        pending += adapter.takeOutput();
        if (open && !pending.empty()) {
            const ssize_t written = ::write(port.masterFd(), pending.data(), pending.size());
            if (written > 0) pending.erase(0, static_cast<std::size_t>(written));
        }
        if (open && instrument.dropped() && pending.empty()) {
            port.releaseSlave();
            if ((fds[1].revents & POLLHUP) != 0) {
                port.close();
                open = false;
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    lorvane::sim::SimOptions options;
    const std::string error =
        lorvane::sim::parseSimOptions(std::vector<std::string>(argv + 1, argv + argc), options);
    if (!error.empty()) {
        std::fprintf(stderr, "lorvane-sim: %s\n\n%s", error.c_str(), lorvane::sim::kSimUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(lorvane::sim::kSimUsage, stdout);
        return 0;
    }
    lorvane::sim::WireLog log;
    if (!log.open(options.wireLog)) {
        std::fprintf(stderr, "lorvane-sim: cannot open wire log %s: %s\n", options.wireLog.c_str(),
                     std::strerror(errno));
        return 1;
    }
    if (!watchSignals()) {
        std::fprintf(stderr, "lorvane-sim: cannot watch signals: %s\n", std::strerror(errno));
        return 1;
    }
    try {
        lorvane::sim::PtyPort port(options.port, lorvane::sim::runtimeDirectory(
                                                     std::getenv("XDG_RUNTIME_DIR"), ::getuid()));
        std::printf("COM%d %s\n", options.port, port.slavePath().c_str());
        std::fflush(stdout);
        Instrument instrument(options.config);
        lorvane::sim::PrologixAdapter adapter(instrument, log);
        serve(port, adapter, instrument);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "lorvane-sim: %s\n", failure.what());
        return 1;
    }
    return 0;
}
