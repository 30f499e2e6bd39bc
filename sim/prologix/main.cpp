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
#include <optional>
#include <string>
#include <string_view>
#include <utility>
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

using TimePoint = Instrument::TimePoint;

// Output waiting for the port beyond this makes the adapter hold back the rest of a long reply.
constexpr std::size_t kPendingLimit = 64 * 1024;
// After the reply that an unplug follows, the host has this long to read it before the port
// goes; meanwhile the port is looked at this often.
constexpr auto kDrainLimit = std::chrono::milliseconds(500);
constexpr auto kDrainCheck = std::chrono::milliseconds(10);

std::optional<TimePoint> earliest(std::optional<TimePoint> a, std::optional<TimePoint> b) {
    if (!a) return b;
    if (!b) return a;
    return std::min(*a, *b);
}

int pollTimeout(std::optional<TimePoint> wake) {
    if (!wake) return -1;
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(*wake - Instrument::Clock::now());
    return static_cast<int>(std::clamp<long long>(wait.count(), 0, 60'000));
}

// The adapter on its port, which a fault may pull out and plug in again.
class Server {
  public:
    Server(int portNumber, std::string runtimeDir, Instrument& instrument,
           lorvane::sim::PrologixAdapter& adapter, lorvane::sim::WireLog& log)
        : portNumber_(portNumber),
          runtimeDir_(std::move(runtimeDir)),
          instrument_(instrument),
          adapter_(adapter),
          log_(log) {
        plugIn();
    }

    // Moves bytes between the port and the adapter until a signal arrives.
    void run() {
        for (;;) {
            const bool wantOutput = pending_.size() < kPendingLimit;
            std::optional<TimePoint> wake = wantOutput ? adapter_.wakeAt() : std::nullopt;
            if (!port_) wake = earliest(wake, instrument_.offlineUntil());
            if (drainUntil_) wake = earliest(wake, Instrument::Clock::now() + kDrainCheck);
            const int fd = port_ ? port_->masterFd() : -1;  // -1 once closed for good
            pollfd fds[2] = {
                {gSignalPipe[0], POLLIN, 0},
                {fd, static_cast<short>(POLLIN | (pending_.empty() ? 0 : POLLOUT)), 0}};
            if (::poll(fds, 2, pollTimeout(wake)) < 0 && errno != EINTR) return;
            if (fds[0].revents != 0) return;
            const auto now = Instrument::Clock::now();
            if (fd >= 0 && (fds[1].revents & POLLIN) != 0) {
                char buffer[4096];
                const ssize_t got = ::read(fd, buffer, sizeof buffer);
                if (got > 0) adapter_.receive({buffer, static_cast<std::size_t>(got)}, now);
            }
            if (wantOutput) {
                adapter_.advance(now);
                pending_ += adapter_.takeOutput();
            }
            if (fd >= 0 && !pending_.empty()) {
                const ssize_t written = ::write(fd, pending_.data(), pending_.size());
                if (written > 0) pending_.erase(0, static_cast<std::size_t>(written));
                lastWrite_ = now;
            }
            if (instrument_.offline()) followConnection(fds[1].revents, now);
        }
    }

  private:
    // After a "drop" the last reply still goes out; then nothing answers, and once the
    // controller has closed the port the pseudo-terminal goes away (closing it earlier would
    // discard the reply). After an "unplug" the port goes as soon as the controller has read
    // the last reply, and comes back, new, when the connection does.
    void followConnection(short portEvents, TimePoint now) {
        if (port_ && port_->masterFd() < 0) return;  // closed for good
        const bool forGood = instrument_.offlineUntil() == TimePoint::max();
        if (!port_) {
            if (now < *instrument_.offlineUntil()) return;
            instrument_.reconnect();
            adapter_.powerOn();
            plugIn();
        } else if (forGood) {
            if (!pending_.empty()) return;
            port_->releaseSlave();
            if ((portEvents & POLLHUP) != 0) {
                port_->close();
            }
        } else {
            if (!drainUntil_) drainUntil_ = now + kDrainLimit;
            // Bytes written reach the controller's side a moment later, so the port counts as
            // read only a while after the last write.
            const bool read = now >= lastWrite_ + kDrainCheck && port_->unreadBytes() == 0;
            if ((!pending_.empty() || !read) && now < *drainUntil_) return;
            port_.reset();
            drainUntil_.reset();
            pending_.clear();
            log_.write('!', "unplugged");
        }
    }

    void plugIn() {
        port_.emplace(portNumber_, runtimeDir_);
        std::printf("COM%d %s\n", portNumber_, port_->slavePath().c_str());
        std::fflush(stdout);
    }

    int portNumber_;
    std::string runtimeDir_;
    Instrument& instrument_;
    lorvane::sim::PrologixAdapter& adapter_;
    lorvane::sim::WireLog& log_;
    std::optional<lorvane::sim::PtyPort> port_;
    std::optional<TimePoint> drainUntil_;
    TimePoint lastWrite_{};
    std::string pending_;
};

// Each injected fault goes to stderr and the wire log with its reply number and the reading
// that the instrument measured; the counts follow at the end.
void reportFaults(Instrument& instrument, lorvane::sim::WireLog& log) {
    instrument.onFault([&log](const lorvane::sim::InjectedFault& fault) {
        const std::string_view kind = lorvane::sim::faultName(fault.rule->kind);
        std::fprintf(stderr, "lorvane-sim: reply %zu: %.*s\n", fault.reply,
                     static_cast<int>(kind.size()), kind.data());
        log.write('!', fault.logText());
    });
}

void printFaultSummary(const Instrument& instrument) {
    std::string summary = std::to_string(instrument.replies());
    summary.append(" replies; faults:");
    for (std::size_t kind = 0; kind < lorvane::sim::kFaultKinds; ++kind) {
        summary.append(kind == 0 ? " " : ", ")
            .append(lorvane::sim::faultName(static_cast<lorvane::sim::FaultKind>(kind)))
            .append(1, ' ')
            .append(std::to_string(instrument.faultCounts()[kind]));
    }
    std::fprintf(stderr, "lorvane-sim: %s\n", summary.c_str());
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
        Instrument instrument(options.config);
        lorvane::sim::PrologixAdapter adapter(instrument, log);
        reportFaults(instrument, log);
        Server server(options.port,
                      lorvane::sim::runtimeDirectory(std::getenv("XDG_RUNTIME_DIR"), ::getuid()),
                      instrument, adapter, log);
        server.run();
        if (!options.config.faults.empty()) printFaultSummary(instrument);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "lorvane-sim: %s\n", failure.what());
        return 1;
    }
    return 0;
}
