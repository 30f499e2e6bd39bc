// The GPIB board behind the stand-in NI-488.2 library: device descriptors, status words and
// one simulated HP 4192A on the bus.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "instrument.h"
#include "sim_config.h"

namespace lorvane::sim {

// Status bits of ibsta and error codes of iberr (NI-488.2 numbering).
inline constexpr int kStatusErr = 0x8000;
inline constexpr int kStatusTimo = 0x4000;
inline constexpr int kStatusEnd = 0x2000;
inline constexpr int kStatusCmpl = 0x100;
inline constexpr int kErrorEdvr = 0;  // bad or freed descriptor
inline constexpr int kErrorEnol = 2;  // no listener: no instrument at that address
inline constexpr int kErrorEarg = 4;  // bad argument
inline constexpr int kErrorEabo = 6;  // timeout
inline constexpr int kErrorEneb = 7;  // no such board

struct GpibStatus {
    int sta = kStatusCmpl;
    std::optional<int> err;  // set only with kStatusErr
    long count = 0;
};

class GpibBus {
  public:
    // Opens a descriptor for the instrument at `pad` on board `board`. The instrument powers
    // up afresh when no descriptor is open or when its configuration changed.
    GpibStatus openDevice(int board, int pad, int sad, int timeoutCode, const SimConfig& config,
                          int& descriptor);
    GpibStatus write(int descriptor, std::string_view data);
    // Reads at most `capacity` bytes into `received`, waiting for a measurement in progress
    // no longer than the descriptor's timeout.
    GpibStatus read(int descriptor, long capacity, std::string& received);
    GpibStatus clear(int descriptor);
    GpibStatus interfaceClear(int descriptor);
    GpibStatus setTimeout(int descriptor, int timeoutCode);
    GpibStatus goToLocal(int descriptor);
    GpibStatus online(int descriptor, int value);
    GpibStatus configure(int descriptor, int option, int value);

    // Told of each fault injected into a reply, by every instrument the bus powers up.
    void onFault(std::function<void(const InjectedFault&)> observer);

  private:
    bool isDevice(int descriptor) const { return descriptors_.count(descriptor) != 0; }
    bool isBoardOrDevice(int descriptor) const { return descriptor == 0 || isDevice(descriptor); }
    // False while the connection is gone; an unplugged one comes back in its time.
    bool instrumentListens();

    std::map<int, int> descriptors_;  // descriptor -> timeout code
    std::optional<Instrument> instrument_;
    std::function<void(const InjectedFault&)> faultObserver_;
};

}  // namespace lorvane::sim
