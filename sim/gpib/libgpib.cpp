// Stand-in for linux-gpib's libgpib.so.0: the NI-488.2 calls the program makes, answered by a
// simulated HP 4192A. Configured through LORVANE_SIM_* environment variables (see README.md).
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "gpib_bus.h"
#include "wire_log.h"

#define LORVANE_GPIB_EXPORT __attribute__((visibility("default")))

extern "C" {
LORVANE_GPIB_EXPORT int ibsta = 0;
LORVANE_GPIB_EXPORT int iberr = 0;
LORVANE_GPIB_EXPORT int ibcnt = 0;
LORVANE_GPIB_EXPORT long ibcntl = 0;
}

namespace {

using lorvane::sim::ConfigKey;
using lorvane::sim::GpibStatus;

std::mutex gMutex;
lorvane::sim::GpibBus gBus;
lorvane::sim::WireLog gLog;

struct ThreadStatus {
    int sta = 0;
    int err = 0;
    long count = 0;
};
thread_local ThreadStatus tStatus;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The wire log follows LORVANE_SIM_WIRE_LOG as it is at each call. A file that cannot be
// opened is reported once.
void logWire(char marker, std::string_view text) {
    static std::string unusable;
    const std::string path = environment("LORVANE_SIM_WIRE_LOG");
    if (path != gLog.path() && path != unusable && !gLog.open(path)) {
        std::fprintf(stderr, "libgpib (Lorvane simulator): cannot open wire log %s: %s\n",
                     path.c_str(), std::strerror(errno));
        unusable = path;
    }
    gLog.write(marker, text);
}

void logCall(const std::string& call) { logWire('#', call); }

// Each injected fault goes to the wire log with its reply number and the true reading.
void logFault(const lorvane::sim::InjectedFault& fault) { logWire('!', fault.logText()); }

int finish(const GpibStatus& status) {
    ibsta = status.sta;
    if (status.err) iberr = *status.err;
    ibcnt = static_cast<int>(status.count);
    ibcntl = status.count;
    tStatus.sta = status.sta;
    if (status.err) tStatus.err = *status.err;
    tStatus.count = status.count;
    return status.sta;
}

// Reads the simulator's settings; a bad value is reported on stderr and refuses the open.
bool configFromEnvironment(lorvane::sim::SimConfig& config) {
    static constexpr struct {
        const char* name;
        ConfigKey key;
    } kVariables[] = {{"LORVANE_SIM_ADDRESS", ConfigKey::Address},
                      {"LORVANE_SIM_DEVICE", ConfigKey::Device},
                      {"LORVANE_SIM_DELAY_MS", ConfigKey::DelayMs},
                      {"LORVANE_SIM_NOISE", ConfigKey::NoiseSeed},
                      {"LORVANE_SIM_FAULT", ConfigKey::Fault},
                      {"LORVANE_SIM_FAULT_SEED", ConfigKey::FaultSeed},
                      {"LORVANE_SIM_REPLY_SIZE", ConfigKey::ReplySize}};
    bool good = true;
    for (const auto& variable : kVariables) {
        const std::string text = environment(variable.name);
        if (text.empty()) continue;
        const std::string error = lorvane::sim::setConfigValue(config, variable.key, text);
        if (error.empty()) continue;
        std::fprintf(stderr, "libgpib (Lorvane simulator): %s: %s\n", variable.name, error.c_str());
        good = false;
    }
    return good;
}

std::string numbers(std::initializer_list<long> values) {
    std::string text;
    for (const long value : values) text.append(1, ' ').append(std::to_string(value));
    return text;
}

}  // namespace

extern "C" {

LORVANE_GPIB_EXPORT int ibdev(int board, int pad, int sad, int tmo, int eot, int eos) {
    const std::lock_guard lock(gMutex);
    logCall("ibdev" + numbers({board, pad, sad, tmo, eot, eos}));
    lorvane::sim::SimConfig config;
    int descriptor = -1;
    gBus.onFault(logFault);
    if (!configFromEnvironment(config)) {
        finish({lorvane::sim::kStatusErr, lorvane::sim::kErrorEarg, 0});
        return -1;
    }
    finish(gBus.openDevice(board, pad, sad, tmo, config, descriptor));
    return descriptor;
}

LORVANE_GPIB_EXPORT int ibwrt(int ud, const void* buf, long cnt) {
    const std::lock_guard lock(gMutex);
    if (cnt < 0 || (buf == nullptr && cnt > 0)) {
        return finish({lorvane::sim::kStatusErr, lorvane::sim::kErrorEarg, 0});
    }
    const std::string_view data(static_cast<const char*>(buf), static_cast<std::size_t>(cnt));
    logWire('>', data);
    return finish(gBus.write(ud, data));
}

LORVANE_GPIB_EXPORT int ibrd(int ud, void* buf, long cnt) {
    const std::lock_guard lock(gMutex);
    if (buf == nullptr && cnt > 0) {
        return finish({lorvane::sim::kStatusErr, lorvane::sim::kErrorEarg, 0});
    }
    std::string received;
    const GpibStatus status = gBus.read(ud, cnt, received);
    if (received.empty()) {
        logCall(status.sta & lorvane::sim::kStatusTimo ? "ibrd timeout" : "ibrd failed");
    } else {
        std::memcpy(buf, received.data(), received.size());
        logWire('<', received);
    }
    return finish(status);
}

LORVANE_GPIB_EXPORT int ibclr(int ud) {
    const std::lock_guard lock(gMutex);
    logCall("ibclr");
    return finish(gBus.clear(ud));
}

LORVANE_GPIB_EXPORT int ibsic(int ud) {
    const std::lock_guard lock(gMutex);
    logCall("ibsic");
    return finish(gBus.interfaceClear(ud));
}

LORVANE_GPIB_EXPORT int ibtmo(int ud, int v) {
    const std::lock_guard lock(gMutex);
    logCall("ibtmo" + numbers({v}));
    return finish(gBus.setTimeout(ud, v));
}

LORVANE_GPIB_EXPORT int ibloc(int ud) {
    const std::lock_guard lock(gMutex);
    logCall("ibloc");
    return finish(gBus.goToLocal(ud));
}

LORVANE_GPIB_EXPORT int ibonl(int ud, int v) {
    const std::lock_guard lock(gMutex);
    logCall("ibonl" + numbers({v}));
    return finish(gBus.online(ud, v));
}

LORVANE_GPIB_EXPORT int ibconfig(int ud, int opt, int v) {
    const std::lock_guard lock(gMutex);
    logCall("ibconfig" + numbers({opt, v}));
    return finish(gBus.configure(ud, opt, v));
}

LORVANE_GPIB_EXPORT int ThreadIbsta(void) { return tStatus.sta; }
LORVANE_GPIB_EXPORT int ThreadIberr(void) { return tStatus.err; }
LORVANE_GPIB_EXPORT int ThreadIbcnt(void) { return static_cast<int>(tStatus.count); }
LORVANE_GPIB_EXPORT long ThreadIbcntl(void) { return tStatus.count; }

}  // extern "C"
