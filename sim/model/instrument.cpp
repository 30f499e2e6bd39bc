#include "instrument.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "sweep.h"

namespace lorvane::sim {

namespace {

constexpr std::string_view kGarbledReading = "?#GARBLED#?\r\n";
constexpr std::size_t kNoEnd = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kEndlessPiece = 64 * 1024;

}  // namespace

std::string InjectedFault::logText() const {
    std::string text = std::to_string(reply);
    text.append(1, ' ').append(faultName(rule->kind)).append(1, ' ').append(trueReading);
    return text;
}

Instrument::Instrument(const SimConfig& config)
    : config_(config), noise_(config.noiseSeed), faults_(config.faults, config.faultSeed) {
    if (faults_.droppedFromStart()) offlineUntil_ = TimePoint::max();
}

void Instrument::receive(std::string_view message, TimePoint now) {
    if (offline()) return;
    std::size_t begin = 0;
    while (begin <= message.size()) {
        const std::size_t end = std::min(message.find_first_of("\r\n", begin), message.size());
        const std::vector<ProgramCode> codes = parseProgramLine(message.substr(begin, end - begin));
        for (const ProgramCode& code : codes) apply(code, codes.size() == 1, now);
        begin = end + 1;
    }
}

void Instrument::groupExecuteTrigger(TimePoint now) {
    if (!offline()) trigger(true, now);
}

void Instrument::deviceClear() {
    if (offline()) return;
    state_ = InstrumentState{};
    emptyOutput();
    serviceRequest_ = false;
}

void Instrument::claimReply() {
    if (offline() || output_.empty() || claimed_) return;
    claimed_ = true;
    ++replies_;
    replyFault_ = faults_.forReply(replies_);
    if (replyFault_ == nullptr) return;
    if (faultObserver_) faultObserver_({replies_, replyFault_, output_});
    injectFault(*replyFault_);
}

bool Instrument::replyLate() const {
    return claimed_ && replyFault_ != nullptr && replyFault_->kind == FaultKind::Slow;
}

std::optional<Instrument::TimePoint> Instrument::readingDueAt() const {
    if (offline() || (output_.empty() && endlessLeft_ == 0)) return std::nullopt;
    return dueAt_;
}

Instrument::Piece Instrument::read(TimePoint now, std::size_t maxBytes,
                                   std::optional<char> terminator) {
    claimReply();
    if (!readingDueAt() || now < dueAt_ || maxBytes == 0) return {};
    fillEndless(std::min(maxBytes, kEndlessPiece));
    std::size_t count = std::min(maxBytes, output_.size());
    if (const std::size_t at = terminator ? output_.find(*terminator) : std::string::npos;
        at != std::string::npos) {
        count = std::min(count, at + 1);
    }
    Piece piece{output_.substr(0, count), count == output_.size() && endlessLeft_ == 0};
    output_.erase(0, count);
    if (piece.end) replyWentOut(now);
    return piece;
}

int Instrument::serialPoll(TimePoint now) {
    if (offline()) return 0;
    const int status =
        (readingDueAt() && *readingDueAt() <= now ? 1 : 0) | (serviceRequested(now) ? 64 : 0);
    serviceRequest_ = false;
    return status;
}

bool Instrument::serviceRequested(TimePoint now) const {
    return serviceRequest_ && !offline() && now >= dueAt_;
}

void Instrument::reconnect() {
    if (offlineUntil_ != TimePoint::max()) offlineUntil_.reset();
}

void Instrument::onFault(std::function<void(const InjectedFault&)> observer) {
    faultObserver_ = std::move(observer);
}

void Instrument::injectFault(const FaultRule& rule) {
    switch (rule.kind) {
        case FaultKind::Silent:
            emptyOutput();  // the reply is lost
            break;
        case FaultKind::Garbled:
            output_ = kGarbledReading;
            break;
        case FaultKind::Short:
            output_ = output_.substr(0, output_.find(',')) + "\r\n";
            break;
        case FaultKind::Endless:
            // The reading without its line end, then the same bytes over and over.
            output_.erase(output_.find_last_not_of("\r\n") + 1);
            endlessPattern_ = output_;
            endlessPosition_ = 0;
            endlessLeft_ = rule.value == 0 ? kNoEnd : rule.value;
            break;
        case FaultKind::Slow:
            dueAt_ += std::chrono::milliseconds(rule.value);
            break;
        case FaultKind::Drop:
        case FaultKind::Unplug:
            break;  // after the reply went out
    }
}

void Instrument::fillEndless(std::size_t want) {
    while (endlessLeft_ > 0 && output_.size() < want) {
        const std::size_t take = std::min(
            {endlessLeft_, want - output_.size(), endlessPattern_.size() - endlessPosition_});
        output_.append(endlessPattern_, endlessPosition_, take);
        endlessPosition_ = (endlessPosition_ + take) % endlessPattern_.size();
        if (endlessLeft_ != kNoEnd) endlessLeft_ -= take;
    }
}

void Instrument::replyWentOut(TimePoint now) {
    if (replyFault_ != nullptr && replyFault_->kind == FaultKind::Drop) {
        offlineUntil_ = TimePoint::max();
    } else if (replyFault_ != nullptr && replyFault_->kind == FaultKind::Unplug) {
        offlineUntil_ = now + std::chrono::milliseconds(replyFault_->value);
    }
    claimed_ = false;
    replyFault_ = nullptr;
}

void Instrument::emptyOutput() {
    output_.clear();
    claimed_ = false;
    replyFault_ = nullptr;
    endlessLeft_ = 0;
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
    if (reading.size() < config_.replySize) {
        reading.insert(reading.size() - 2, config_.replySize - reading.size(), ' ');
    }
    emptyOutput();
    output_ = reading;
    dueAt_ = now + std::chrono::milliseconds(config_.delayMs);
    serviceRequest_ = state_.dataReadySrq;
}

}  // namespace lorvane::sim
