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

    // Goes on with a waiting read (its reading complete, its timeout passed, or room for the
    // next piece of a long reply), then with waiting lines.
    void advance(TimePoint now);

    // When advance() has something to do; nothing while no read waits.
    std::optional<TimePoint> wakeAt() const;

    // Bytes for the host, taken out. A long reply comes in pieces: the next piece is made
    // once the host has taken most of the last one.
    std::string takeOutput();

    // Power comes back after the adapter was unplugged: the saved settings, nothing pending.
    void powerOn();

  private:
    // What ++savecfg keeps over a reset or a power cycle.
    struct Settings {
        int mode = 1;  // 1 controller (the only mode simulated), 0 device
        int address = 0;
        int autoRead = 0;
        int eoi = 1;
        int eos = 0;  // 0 CR LF, 1 CR, 2 LF, 3 nothing appended
        int eotEnable = 0;
        int eotChar = 0;
        int readTimeoutMs = 500;
        int listenOnly = 0;  // device mode only: kept and answered
        int statusByte = 0;  // device mode only: kept and answered
        int saveConfig = 1;  // changes are saved at once
    };
    struct Line {
        std::string text;
        bool command = false;
    };
    struct PendingRead {
        std::optional<char> terminator;  // none: until EOI
        TimePoint deadline;
        bool started = false;  // part of the reply went out
    };

    std::optional<Line> nextLine();
    void processLines(TimePoint now);
    void command(std::string_view name, std::string_view argument, TimePoint now);
    bool setting(std::string_view name, std::string_view argument);
    void sendToInstrument(const std::string& text, TimePoint now);
    void startRead(std::optional<char> terminator, TimePoint now);
    void continueRead(TimePoint now);
    bool instrumentAt(int address) const;
    bool instrumentAddressed() const { return instrumentAt(settings_.address); }
    // The instrument is addressed by the command's first number, or by the current address.
    bool instrumentNamed(std::string_view argument) const;

    Instrument& instrument_;
    WireLog& log_;
    Settings settings_;
    Settings saved_;
    std::string input_;
    std::optional<PendingRead> pendingRead_;
    std::string output_;
};

}  // namespace lorvane::sim
