#include "instrument.h"

#include <algorithm>

#include "sweep.h"

namespace lorvane::sim {

namespace {

constexpr std::string_view kGarbledReading = "?#GARBLED#?\r\n";

}  // namespace

Instrument::Instrument(const SimConfig& config)
    : config_(config),
      noise_(config.noiseSeed),
      dropped_(config.fault.kind == Fault::Kind::Drop && config.fault.after == 0) {}

void Instrument::receive(std::string_view message, TimePoint now) {
    if (dropped_) return;
    std::size_t begin = 0;
    while (begin <= message.size()) {
        const std::size_t end = std::min(message.find_first_of("\r\n", begin), message.size());
        const std::vector<ProgramCode> codes = parseProgramLine(message.substr(begin, end - begin));
        for (const ProgramCode& code : codes) apply(code, codes.size() == 1, now);
        begin = end + 1;
    }
}

void Instrument::deviceClear() {
    if (dropped_) return;
    state_ = InstrumentState{};
    output_.clear();
}

std::optional<Instrument::TimePoint> Instrument::readingDueAt() const {
    if (dropped_ || output_.empty()) return std::nullopt;
    return dueAt_;
}

Instrument::Piece Instrument::read(TimePoint now, std::size_t maxBytes,
                                   std::optional<char> terminator) {
    if (dropped_ || output_.empty() || now < dueAt_ || maxBytes == 0) return {};
    std::size_t count = std::min(maxBytes, output_.size());
    if (const std::size_t at = terminator ? output_.find(*terminator) : std::string::npos;
        at != std::string::npos) {
        count = std::min(count, at + 1);
    }
    Piece piece{output_.substr(0, count), count == output_.size()};
    output_.erase(0, count);
    if (piece.end) {
        ++readingsSent_;
        dropped_ = config_.fault.kind == Fault::Kind::Drop && readingsSent_ >= config_.fault.after;
    }
    return piece;
}

void Instrument::apply(const ProgramCode& code, bool onlyCodeOnLine, TimePoint now) {
    if (!code.valid) {
        syntaxErrors_.push_back(code.name);
    } else if (code.number) {
        applyNumber(code.name, *code.number);
    } else if (code.name == "EX") {
        trigger(onlyCodeOnLine, now);
    } else if (code.name == "AB") {
        state_.autoSweep = AutoSweep::Idle;
    } else {
        applySetting(code.name[0], code.name[1] - '0');
    }
}

void Instrument::applySetting(char letter, int digit) {
    switch (letter) {
        case 'A':
            state_.displayA = digit;
            break;
        case 'B':
            state_.displayB = digit;
            break;
        case 'C':
            state_.circuit = digit;
            break;
        case 'D':
            state_.dataReadySrq = digit == 1;
            break;
        case 'F':
            state_.outputFormat = digit;
            break;
        case 'G':
            state_.logSweep = digit == 1;
            break;
        case 'H':
            state_.highSpeed = digit == 1;
            break;
        case 'I':
            state_.biasOn = digit == 1;
            break;
        case 'N':
            state_.gainUnit = digit;
            break;
        case 'R':
            state_.range = digit;
            break;
        case 'T':
            state_.trigger = digit;
            break;
        case 'V':
            state_.averaging = digit == 1;
            break;
        case 'W':
            applySweepCommand(digit);
            break;
        default:
            break;
    }
}

void Instrument::applyNumber(const std::string& name, double value) {
    SweepRange& frequency = state_.frequencySweep;
    SweepRange& bias = state_.biasSweep;
    if (name == "FR") state_.frequencyKhz = settleFrequencyKhz(value);
    if (name == "BI") state_.biasVolts = settleBiasVolts(value);
    if (name == "OL") state_.oscillatorVolts = settleOscillatorVolts(value);
    if (name == "TF") frequency.start = settleFrequencyKhz(value);
    if (name == "PF") frequency.stop = settleFrequencyKhz(value);
    if (name == "SF") frequency.step = settleFrequencyStepKhz(value);
    if (name == "TB") bias.start = settleBiasVolts(value);
    if (name == "PB") bias.stop = settleBiasVolts(value);
    if (name == "SB") bias.step = settleBiasStepVolts(value);
    if (name == "TF" || name == "PF" || name == "SF") state_.swept = SweepQuantity::Frequency;
    if (name == "TB" || name == "PB" || name == "SB") state_.swept = SweepQuantity::Bias;
}

void Instrument::applySweepCommand(int digit) {
    if (digit == 0 || digit == 1) {
        state_.sweepMode = digit == 0 ? SweepMode::Manual : SweepMode::Automatic;
        state_.autoSweep = AutoSweep::Idle;
        return;
    }
    if (digit == 3) {
        if (state_.autoSweep == AutoSweep::Running) state_.autoSweep = AutoSweep::Paused;
        return;
    }
    const int direction = digit == 2 ? 1 : -1;
    if (state_.sweepMode == SweepMode::Manual) {
        stepSweep(state_, direction);
        return;
    }
    // Automatic sweep: W2 starts upwards from the start, W4 downwards from the stop; either
    // resumes a paused sweep from where it stands.
    if (state_.autoSweep != AutoSweep::Paused) {
        moveToSweepBeginning(state_, direction);
        state_.sweepJustStarted = true;
    }
    state_.autoSweep = AutoSweep::Running;
    state_.sweepDirection = direction;
}

void Instrument::trigger(bool onlyCodeOnLine, TimePoint now) {
    if (state_.autoSweep == AutoSweep::Running && onlyCodeOnLine) {
        if (state_.sweepJustStarted) {
            state_.sweepJustStarted = false;
        } else {
            stepSweep(state_, state_.sweepDirection);
        }
    }
    const Displays displays = measure(state_, config_.device, noise_);
    std::string reading = formatReading(state_, displays);
    if (faultActive()) {
        switch (config_.fault.kind) {
            case Fault::Kind::Silent:
                reading.clear();
                break;
            case Fault::Kind::Garbled:
                reading = kGarbledReading;
                break;
            case Fault::Kind::Short:
                reading = reading.substr(0, reading.find(',')) + "\r\n";
                break;
            default:
                break;
        }
    }
    if (!reading.empty() && reading.size() < config_.replySize) {
        reading.insert(reading.size() - 2, config_.replySize - reading.size(), ' ');
    }
    output_ = reading;
    dueAt_ = now + std::chrono::milliseconds(config_.delayMs);
}

bool Instrument::faultActive() const {
    return config_.fault.kind != Fault::Kind::None && readingsSent_ >= config_.fault.after;
}

}  // namespace lorvane::sim
