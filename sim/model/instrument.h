// The simulated HP 4192A LF impedance analyzer: takes program text, measures on each trigger
// and keeps the latest reading in its output buffer until a controller reads it.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "instrument_state.h"
#include "program_codes.h"
#include "reading.h"
#include "sim_config.h"

namespace lorvane::sim {

class Instrument {
  public:
    using Clock = std::chrono::steady_clock;
    using TimePoint = Clock::time_point;

    explicit Instrument(const SimConfig& config);

    // One bus message. CR and LF inside it end lines; each line is a unit for the rule that
    // a trigger on a line of its own advances an automatic sweep.
    void receive(std::string_view message, TimePoint now);

    // Device clear: back to the power-on settings with an empty output buffer.
    void deviceClear();

    // When a reading waits in the output buffer: the time it is (or was) measured completely.
    std::optional<TimePoint> readingDueAt() const;

    struct Piece {
        std::string text;  // empty when nothing could be read
        bool end = false;  // the last byte of the reading (EOI)
    };
    // Takes up to `maxBytes` of a reading that is complete at `now`, stopping after the first
    // `terminator` when one is given. The rest stays for the next read.
    Piece read(TimePoint now, std::size_t maxBytes, std::optional<char> terminator = {});

    // The connection has dropped (fault "drop"): the instrument neither listens nor talks.
    bool dropped() const { return dropped_; }

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
    bool faultActive() const;

    SimConfig config_;
    InstrumentState state_;
    NoiseSource noise_;
    std::string output_;
    TimePoint dueAt_{};
    std::size_t readingsSent_ = 0;
    bool dropped_ = false;
    std::vector<std::string> syntaxErrors_;
};

}  // namespace lorvane::sim
