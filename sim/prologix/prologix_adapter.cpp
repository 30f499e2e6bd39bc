#include "prologix_adapter.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <limits>
#include <utility>

namespace lorvane::sim {

namespace {

constexpr char kEscape = '\x1b';
constexpr std::string_view kVersion = "Prologix GPIB-USB Controller version 6.107\r\n";
constexpr std::string_view kUnrecognized = "Unrecognized command\r\n";
constexpr std::string_view kHelp =
    "++addr [PAD [SAD]] -- the GPIB address\r\n"
    "++auto [0|1] -- read after each line to the instrument\r\n"
    "++clr -- device clear\r\n"
    "++eoi [0|1] -- EOI with the last byte sent\r\n"
    "++eos [0|1|2|3] -- CR LF, CR, LF or nothing after each line to the instrument\r\n"
    "++eot_enable [0|1] -- append the EOT character to a reply that ends with EOI\r\n"
    "++eot_char [char] -- the EOT character, 0 to 255\r\n"
    "++help -- this list\r\n"
    "++ifc -- interface clear\r\n"
    "++llo [all] -- local lockout\r\n"
    "++loc [all] -- go to local\r\n"
    "++lon [0|1] -- listen only (device mode)\r\n"
    "++mode [0|1] -- device or controller mode\r\n"
    "++read [eoi|char] -- read until EOI, the character or the timeout\r\n"
    "++read_tmo_ms [time] -- read timeout, 1 to 3000 ms\r\n"
    "++rst -- reset the controller\r\n"
    "++savecfg [0|1] -- save the settings as they change\r\n"
    "++spoll [PAD [SAD]] -- serial poll\r\n"
    "++srq -- the SRQ line\r\n"
    "++status [byte] -- status byte in device mode\r\n"
    "++trg [PAD1 ... PAD15] -- group execute trigger\r\n"
    "++ver -- version\r\n";
// Largest piece of a reply made at a time; a long reply waits for the host to take it.
constexpr std::size_t kPiece = 4096;

std::string_view trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// A whole number from `low` to `high` at the start of `text` (the adapter ignores the rest of
// a command line, such as a secondary address).
std::optional<int> number(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

PrologixAdapter::PrologixAdapter(Instrument& instrument, WireLog& log)
    : instrument_(instrument), log_(log) {
    saved_.address = instrument.config().address;
    settings_ = saved_;
}

void PrologixAdapter::receive(std::string_view bytes, TimePoint now) {
    if (instrument_.offline()) return;
    input_ += bytes;
    advance(now);
}

void PrologixAdapter::advance(TimePoint now) {
    if (pendingRead_) continueRead(now);
    processLines(now);
}

std::optional<PrologixAdapter::TimePoint> PrologixAdapter::wakeAt() const {
    if (!pendingRead_) return std::nullopt;
    const auto due = instrument_.readingDueAt();
    return due ? std::min(*due, pendingRead_->deadline) : pendingRead_->deadline;
}

std::string PrologixAdapter::takeOutput() { return std::exchange(output_, {}); }

void PrologixAdapter::powerOn() {
    settings_ = saved_;
    input_.clear();
    pendingRead_.reset();
    output_.clear();
}

std::optional<PrologixAdapter::Line> PrologixAdapter::nextLine() {
    std::string text;
    for (std::size_t i = 0; i < input_.size(); ++i) {
        const char c = input_[i];
        if (c == kEscape) {
            if (i + 1 == input_.size()) return std::nullopt;  // the escaped byte is still coming
            text += input_[++i];
        } else if (c == '\r' || c == '\n') {
            const bool command = input_.compare(0, 2, "++") == 0;
            input_.erase(0, i + 1);
            return Line{text, command};
        } else {
            text += c;
        }
    }
    return std::nullopt;
}

void PrologixAdapter::processLines(TimePoint now) {
    while (!pendingRead_ && !instrument_.offline()) {
        const std::optional<Line> line = nextLine();
        if (!line) return;
        if (line->text.empty()) continue;
        if (!line->command) {
            sendToInstrument(line->text, now);
            continue;
        }
        log_.write('+', line->text);
        const std::string_view body = std::string_view(line->text).substr(2);
        const std::size_t blank = body.find(' ');
        const std::string_view name = body.substr(0, blank);
        const std::string_view argument =
            blank == std::string_view::npos ? std::string_view() : trim(body.substr(blank));
        command(name, argument, now);
        if (settings_.saveConfig == 1) saved_ = settings_;
    }
}

void PrologixAdapter::command(std::string_view name, std::string_view argument, TimePoint now) {
    if (setting(name, argument)) return;
    if (name == "clr") {
        if (instrumentAddressed()) instrument_.deviceClear();
    } else if (name == "trg") {
        // The instrument is triggered when it is among the addresses (or at the current one).
        bool listed = argument.empty() && instrumentAddressed();
        for (std::string_view rest = argument; !rest.empty();) {
            const std::size_t blank = std::min(rest.find(' '), rest.size());
            const auto address = number(rest.substr(0, blank), 0, 30);
            listed = listed || (address && instrumentAt(*address));
            rest = trim(rest.substr(blank));
        }
        if (listed) instrument_.groupExecuteTrigger(now);
    } else if (name == "spoll") {
        if (instrumentNamed(argument)) {
            output_ += std::to_string(instrument_.serialPoll(now)) + "\r\n";
        }
    } else if (name == "srq") {
        output_ += instrument_.serviceRequested(now) ? "1\r\n" : "0\r\n";
    } else if (name == "read") {
        if (argument.empty() || argument == "eoi") {
            startRead(std::nullopt, now);
        } else if (const auto terminator = number(argument, 0, 255)) {
            startRead(static_cast<char>(*terminator), now);
        }
    } else if (name == "rst") {
        settings_ = saved_;  // a real adapter takes about 5 s for this
    } else if (name == "ver") {
        output_ += kVersion;
    } else if (name == "help") {
        output_ += kHelp;
    } else if (name != "ifc" && name != "llo" && name != "loc") {
        // ++ifc resets the bus only (the instrument keeps its settings and output); local
        // lockout and go-to-local change nothing that the simulation shows.
        output_ += kUnrecognized;
    }
}

// A setting is set from the argument, or answered when there is none. Values out of range are
// ignored, as the adapter does.
bool PrologixAdapter::setting(std::string_view name, std::string_view argument) {
    static constexpr struct {
        std::string_view name;
        int Settings::*field;
        int low;
        int high;
    } kSettings[] = {{"addr", &Settings::address, 0, 30},
                     {"auto", &Settings::autoRead, 0, 1},
                     {"eoi", &Settings::eoi, 0, 1},
                     {"eos", &Settings::eos, 0, 3},
                     {"eot_char", &Settings::eotChar, 0, 255},
                     {"eot_enable", &Settings::eotEnable, 0, 1},
                     {"lon", &Settings::listenOnly, 0, 1},
                     {"mode", &Settings::mode, 0, 1},
                     {"read_tmo_ms", &Settings::readTimeoutMs, 1, 3000},
                     {"savecfg", &Settings::saveConfig, 0, 1},
                     {"status", &Settings::statusByte, 0, 255}};
    for (const auto& known : kSettings) {
        if (known.name != name) continue;
        int& value = settings_.*known.field;
        if (argument.empty()) {
            output_ += std::to_string(value) + "\r\n";
        } else if (const auto given = number(argument, known.low, known.high)) {
            value = *given;
        }
        return true;
    }
    return false;
}

void PrologixAdapter::sendToInstrument(const std::string& text, TimePoint now) {
    if (!instrumentAddressed()) return;  // nobody listens at this address
    static constexpr std::string_view kTerminators[] = {"\r\n", "\r", "\n", ""};
    const std::string message = text + std::string(kTerminators[settings_.eos]);
    log_.write('>', message);
    instrument_.receive(message, now);
    if (settings_.autoRead == 1) startRead(std::nullopt, now);
}

void PrologixAdapter::startRead(std::optional<char> terminator, TimePoint now) {
    if (!instrumentAddressed()) return;
    instrument_.claimReply();
    PendingRead read{terminator, now + std::chrono::milliseconds(settings_.readTimeoutMs)};
    // A slow reply has begun to come: the read waits for it past its timeout.
    if (const auto due = instrument_.readingDueAt(); due && instrument_.replyLate()) {
        read.deadline = std::max(read.deadline, *due);
    }
    pendingRead_ = read;
    continueRead(now);
}

void PrologixAdapter::continueRead(TimePoint now) {
    if (output_.size() >= kPiece) return;  // the host has not taken the last piece yet
    const auto due = instrument_.readingDueAt();
    if (due && *due <= now) {
        const Instrument::Piece piece = instrument_.read(now, kPiece, pendingRead_->terminator);
        // Of a long reply only the first piece is logged.
        if (!pendingRead_->started) log_.write('<', piece.text);
        output_ += piece.text;
        if (piece.end && settings_.eotEnable == 1) output_ += static_cast<char>(settings_.eotChar);
        const bool atTerminator = pendingRead_->terminator && !piece.text.empty() &&
                                  piece.text.back() == *pendingRead_->terminator;
        if (piece.end || atTerminator || piece.text.empty()) {
            pendingRead_.reset();
        } else {
            pendingRead_->started = true;
            pendingRead_->deadline = now + std::chrono::milliseconds(settings_.readTimeoutMs);
        }
    } else if (!due || now >= pendingRead_->deadline) {
        pendingRead_.reset();  // nothing to read: nothing comes back
    }
}

bool PrologixAdapter::instrumentAt(int address) const {
    return address == instrument_.config().address && !instrument_.offline();
}

bool PrologixAdapter::instrumentNamed(std::string_view argument) const {
    if (argument.empty()) return instrumentAddressed();
    const auto address = number(argument, 0, 30);
    return address && instrumentAt(*address);
}

}  // namespace lorvane::sim
