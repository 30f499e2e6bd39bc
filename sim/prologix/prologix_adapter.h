// The Prologix GPIB-USB adapter's line protocol in controller mode, in front of one simulated
// instrument. Pure logic: the caller moves bytes and tells the time.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "instrument.h"
#include "wire_log.h"

namespace lorvane::sim {

class PrologixAdapter {
  public:
    using TimePoint = Instrument::TimePoint;

    // The adapter starts addressed to the instrument, as if that address had been saved.
    PrologixAdapter(Instrument& instrument, WireLog& log);

    // Bytes from the host. Lines end in CR or LF; a line beginning with "++" is an adapter
    // command, any other goes to the instrument. While a read waits for the instrument,
    // later lines wait their turn.
    void receive(std::string_view bytes, TimePoint now);

    // Finishes a waiting read whose reading is complete or whose timeout has passed, then
    // goes on with waiting lines.
    void advance(TimePoint now);

    // When advance() has something to do; nothing while no read waits.
    std::optional<TimePoint> wakeAt() const;

    // Bytes for the host, taken out.
    std::string takeOutput();

  private:
    struct Line {
        std::string text;
        bool command = false;
    };
    struct PendingRead {
        std::optional<char> terminator;  // none: until EOI
        TimePoint deadline;
    };

    std::optional<Line> nextLine();
    void processLines(TimePoint now);
    void command(std::string_view name, std::string_view argument, TimePoint now);
    void sendToInstrument(const std::string& text, TimePoint now);
    void startRead(std::optional<char> terminator, TimePoint now);
    void continueRead(TimePoint now);
    bool instrumentAddressed() const;

    Instrument& instrument_;
    WireLog& log_;
    int address_;
    int mode_ = 1;
    bool autoRead_ = false;
    int readTimeoutMs_ = 500;
    int eos_ = 0;  // 0 CR LF, 1 CR, 2 LF, 3 nothing appended
    std::string input_;
    std::optional<PendingRead> pendingRead_;
    std::string output_;
};

}  // namespace lorvane::sim
