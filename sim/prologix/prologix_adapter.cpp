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

// Sets `setting` from the argument, or answers its value when there is no argument. Values out
// of range are ignored, as the adapter does.
void setOrAnswer(int& setting, std::string_view argument, int low, int high, std::string& output) {
    if (argument.empty()) {
        output += std::to_string(setting) + "\r\n";
    } else if (const auto value = number(argument, low, high)) {
        setting = *value;
    }
}

}  // namespace

PrologixAdapter::PrologixAdapter(Instrument& instrument, WireLog& log)
    : instrument_(instrument), log_(log), address_(instrument.config().address) {}

void PrologixAdapter::receive(std::string_view bytes, TimePoint now) {
    if (instrument_.dropped()) return;
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
    while (!pendingRead_ && !instrument_.dropped()) {
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
    }
}

void PrologixAdapter::command(std::string_view name, std::string_view argument, TimePoint now) {
    if (name == "mode") {
        setOrAnswer(mode_, argument, 0, 1, output_);
    } else if (name == "auto") {
        int automatic = autoRead_ ? 1 : 0;
        setOrAnswer(automatic, argument, 0, 1, output_);
        autoRead_ = automatic == 1;
    } else if (name == "read_tmo_ms") {
        setOrAnswer(readTimeoutMs_, argument, 1, 3000, output_);
    } else if (name == "eos") {
        setOrAnswer(eos_, argument, 0, 3, output_);
    } else if (name == "addr") {
        setOrAnswer(address_, argument, 0, 30, output_);
    } else if (name == "clr") {
        if (instrumentAddressed()) instrument_.deviceClear();
    } else if (name == "ifc") {
        // Interface clear resets the bus; the instrument keeps its settings and its output.
    } else if (name == "read") {
        if (argument.empty() || argument == "eoi") {
            startRead(std::nullopt, now);
        } else if (const auto terminator = number(argument, 0, 255)) {
            startRead(static_cast<char>(*terminator), now);
        }
    } else if (name == "ver") {
        output_ += kVersion;
    } else {
        output_ += kUnrecognized;
    }
}

void PrologixAdapter::sendToInstrument(const std::string& text, TimePoint now) {
    if (!instrumentAddressed()) return;  // nobody listens at this address
    static constexpr std::string_view kTerminators[] = {"\r\n", "\r", "\n", ""};
    const std::string message = text + std::string(kTerminators[eos_]);
    log_.write('>', message);
    instrument_.receive(message, now);
    if (autoRead_) startRead(std::nullopt, now);
}

void PrologixAdapter::startRead(std::optional<char> terminator, TimePoint now) {
    if (!instrumentAddressed()) return;
    pendingRead_ = PendingRead{terminator, now + std::chrono::milliseconds(readTimeoutMs_)};
    continueRead(now);
}

void PrologixAdapter::continueRead(TimePoint now) {
    const auto due = instrument_.readingDueAt();
    if (due && *due <= now) {
        const Instrument::Piece piece = instrument_.read(
            now, std::numeric_limits<std::size_t>::max(), pendingRead_->terminator);
        log_.write('<', piece.text);
        output_ += piece.text;
        pendingRead_.reset();
    } else if (!due || now >= pendingRead_->deadline) {
        pendingRead_.reset();  // nothing to read: nothing comes back
    }
}

bool PrologixAdapter::instrumentAddressed() const {
    return address_ == instrument_.config().address && !instrument_.dropped();
}

}  // namespace lorvane::sim
