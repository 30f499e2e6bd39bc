// The simulated HP 4192A LF impedance analyzer: takes program text, measures on each trigger
// and keeps the latest reading in its output buffer until a controller reads it.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "faults.h"
#include "instrument_state.h"
#include "program_codes.h"
#include "reading.h"
#include "sim_config.h"

namespace lorvane::sim {

// A fault injected into one reply, with the reading that the instrument measured.
struct InjectedFault {
    std::size_t reply = 0;
    const FaultRule* rule = nullptr;
    std::string trueReading;

    // "<reply> <kind> <true reading>", as the wire logs write it after "!".
    std::string logText() const;
};

class Instrument {
  public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    explicit Instrument(const SimConfig& config);

    // One bus message. CR and LF inside it end lines; each line is a unit for the rule that
    // a trigger on a line of its own advances an automatic sweep.
    void receive(std::string_view message, TimePoint now);

    // A group execute trigger: one measurement, as "EX" on a line of its own.
    void groupExecuteTrigger(TimePoint now);

    // Device clear: back to the power-on settings with an empty output buffer.
    void deviceClear();

    // A controller begins to read: the reading in the output buffer becomes the next reply
    // (counted from 1) and gets its fault, if a rule hits it. Later reads of the same reading
    // continue that reply; readings replaced before anyone read them are no replies.
    void claimReply();
    // The claimed reply is slow: it is complete later than the measurement time.
    bool replyLate() const;

    // When a reading waits in the output buffer: the time it is (or was) measured completely.
    std::optional<TimePoint> readingDueAt() const;

    struct Piece {
        std::string text;  // empty when nothing could be read
        bool end = false;  // the last byte of the reading (EOI)
    };
    // Takes up to `maxBytes` of a reading that is complete at `now`, stopping after the first
    // `terminator` when one is given. The rest stays for the next read. A reading without end
    // comes in pieces of at most 64 KiB.
    Piece read(TimePoint now, std::size_t maxBytes, std::optional<char> terminator = {});

    // The status byte of a serial poll: 1 while a complete reading waits, 64 (RQS) while the
    // instrument requests service. The poll ends the request.
    int serialPoll(TimePoint now);
    // The SRQ line: with D1, from the moment a reading is complete until a serial poll.
    bool serviceRequested(TimePoint now) const;

    // The connection is gone (faults "drop" and "unplug"): the instrument neither listens nor
    // talks until reconnect(); after "drop" never again (offlineUntil() is TimePoint::max()).
    bool offline() const { return offlineUntil_.has_value(); }
    std::optional<TimePoint> offlineUntil() const { return offlineUntil_; }
    void reconnect();

    // Called at each injected fault, when its reply is claimed.
    void onFault(std::function<void(const InjectedFault&)> observer);
    // Replies so far, and the injected faults of each kind (indexed by FaultKind).
    std::size_t replies() const { return replies_; }
    const std::array<std::size_t, kFaultKinds>& faultCounts() const { return faults_.counts(); }

    const InstrumentState& state() const { return state_; }
    const SimConfig& config() const { return config_; }
    // Codes that could not be understood, in the order received. A real unit would flag a
    // syntax error; the simulator records them and goes on.
    const std::vector<std::string>& syntaxErrors() const { return syntaxErrors_; }

  private:
    void apply(const ProgramCode& code, bool onlyCodeOnLine, TimePoint now);
    void applySetting(char letter, int digit);
    void applyNumber(const std::string& name, double value);
    void applySweepCommand(int digit);
    void trigger(bool onlyCodeOnLine, TimePoint now);
    void injectFault(const FaultRule& rule);
    void fillEndless(std::size_t want);
    void replyWentOut(TimePoint now);
    void emptyOutput();

    SimConfig config_;
    InstrumentState state_;
    NoiseSource noise_;
    FaultPlan faults_;
    std::function<void(const InjectedFault&)> faultObserver_;
    std::string output_;
    TimePoint dueAt_{};
    bool serviceRequest_ = false;
    // The reply being read: its number, whether it is claimed, and its fault.
    std::size_t replies_ = 0;
    bool claimed_ = false;
    const FaultRule* replyFault_ = nullptr;
    // An endless reply repeats its reading without line end for this many bytes more.
    std::string endlessPattern_;
    std::size_t endlessPosition_ = 0;
    std::size_t endlessLeft_ = 0;
    std::optional<TimePoint> offlineUntil_;
    std::vector<std::string> syntaxErrors_;
};

}  // namespace lorvane::sim
