#include "gpib_bus.h"

#include <array>
#include <chrono>
#include <thread>
#include <utility>

namespace lorvane::sim {

namespace {

constexpr int kMaxDescriptors = 32;
constexpr int kTimeoutCodes = 18;

GpibStatus failure(int error, int extraStatus = 0) { return {kStatusErr | extraStatus, error, 0}; }

GpibStatus timedOut() { return failure(kErrorEabo, kStatusTimo); }

// Timeout codes T10us (1) .. T1000s (17); code 0 (TNONE) waits without limit.
std::optional<std::chrono::microseconds> timeoutDuration(int code) {
    static constexpr std::array<long long, kTimeoutCodes> kMicroseconds{
        0,         10,         30,         100,         300,         1'000,
        3'000,     10'000,     30'000,     100'000,     300'000,     1'000'000,
        3'000'000, 10'000'000, 30'000'000, 100'000'000, 300'000'000, 1'000'000'000};
    if (code <= 0 || code >= kTimeoutCodes) return std::nullopt;
    return std::chrono::microseconds(kMicroseconds[code]);
}

bool validTimeoutCode(int code) { return code >= 0 && code < kTimeoutCodes; }

bool validSecondaryAddress(int sad) { return sad == 0 || (sad >= 0x60 && sad <= 0x7e); }

}  // namespace

GpibStatus GpibBus::openDevice(int board, int pad, int sad, int timeoutCode,
                               const SimConfig& config, int& descriptor) {
    descriptor = -1;
    if (board != 0) return failure(kErrorEneb);
    if (pad < 0 || pad > 30 || !validSecondaryAddress(sad) || !validTimeoutCode(timeoutCode)) {
        return failure(kErrorEarg);
    }
    if (descriptors_.empty() || !instrument_ || !(instrument_->config() == config)) {
        instrument_.emplace(config);
        instrument_->onFault(faultObserver_);
    }
    if (pad != config.address || !instrumentListens()) return failure(kErrorEnol);
    for (int candidate = 1; candidate <= kMaxDescriptors; ++candidate) {
        if (isDevice(candidate)) continue;
        descriptors_[candidate] = timeoutCode;
        descriptor = candidate;
        return {};
    }
    return failure(kErrorEdvr);
}

GpibStatus GpibBus::write(int descriptor, std::string_view data) {
    if (!isDevice(descriptor)) return failure(kErrorEdvr);
    if (!instrumentListens()) return failure(kErrorEnol);
    instrument_->receive(data, Instrument::Clock::now());
    return {kStatusCmpl, std::nullopt, static_cast<long>(data.size())};
}

GpibStatus GpibBus::read(int descriptor, long capacity, std::string& received) {
    received.clear();
    if (!isDevice(descriptor)) return failure(kErrorEdvr);
    if (capacity <= 0) return failure(kErrorEarg);
    if (!instrumentListens()) return timedOut();
    instrument_->claimReply();
    const std::optional<Instrument::TimePoint> due = instrument_->readingDueAt();
    if (!due) return timedOut();
    const auto now = Instrument::Clock::now();
    if (*due > now) {
        const auto limit = timeoutDuration(descriptors_[descriptor]);
        if (limit && *due > now + *limit) {
            std::this_thread::sleep_for(*limit);
            return timedOut();
        }
        std::this_thread::sleep_until(*due);
    }
    const Instrument::Piece piece =
        instrument_->read(Instrument::Clock::now(), static_cast<std::size_t>(capacity));
    if (piece.text.empty()) return timedOut();
    received = piece.text;
    return {kStatusCmpl | (piece.end ? kStatusEnd : 0), std::nullopt,
            static_cast<long>(piece.text.size())};
}

GpibStatus GpibBus::clear(int descriptor) {
    if (!isDevice(descriptor)) return failure(kErrorEdvr);
    if (!instrumentListens()) return failure(kErrorEnol);
    instrument_->deviceClear();
    return {};
}

GpibStatus GpibBus::interfaceClear(int descriptor) {
    // IFC resets the bus interfaces only; the instrument keeps its settings and output.
    return isBoardOrDevice(descriptor) ? GpibStatus{} : failure(kErrorEdvr);
}

GpibStatus GpibBus::setTimeout(int descriptor, int timeoutCode) {
    if (!isBoardOrDevice(descriptor)) return failure(kErrorEdvr);
    if (!validTimeoutCode(timeoutCode)) return failure(kErrorEarg);
    if (isDevice(descriptor)) descriptors_[descriptor] = timeoutCode;
    return {};
}

GpibStatus GpibBus::goToLocal(int descriptor) {
    if (!isDevice(descriptor)) return failure(kErrorEdvr);
    return instrumentListens() ? GpibStatus{} : failure(kErrorEnol);
}

GpibStatus GpibBus::online(int descriptor, int value) {
    if (!isBoardOrDevice(descriptor)) return failure(kErrorEdvr);
    if (value == 0) descriptors_.erase(descriptor);
    return {};
}

GpibStatus GpibBus::configure(int descriptor, int /*option*/, int /*value*/) {
    // Every option is accepted and has no effect; in particular IbcSendLLO (0x17) with 1,
    // which linux-gpib itself would refuse with ECAP.
    return isBoardOrDevice(descriptor) ? GpibStatus{} : failure(kErrorEdvr);
}

void GpibBus::onFault(std::function<void(const InjectedFault&)> observer) {
    faultObserver_ = std::move(observer);
    if (instrument_) instrument_->onFault(faultObserver_);
}

bool GpibBus::instrumentListens() {
    if (!instrument_) return false;
    if (const auto until = instrument_->offlineUntil();
        until && *until <= Instrument::Clock::now()) {
        instrument_->reconnect();
    }
    return !instrument_->offline();
}

}  // namespace lorvane::sim
