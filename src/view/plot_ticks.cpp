#include "plot_ticks.h"

#include <QLocale>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;
using Prefixes = AxisUnit::Prefixes;

// Prefixes from 10^-15 to 10^12, in steps of 10^3.
constexpr int kLowestPower = -15;
constexpr int kHighestPower = 12;
const std::array<QString, 10> kPrefixes{u"f"_s,    u"p"_s, u"n"_s, u"\u00b5"_s, u"m"_s,
                                        QString(), u"k"_s, u"M"_s, u"G"_s,      u"T"_s};

QString prefixOf(int power) { return kPrefixes[static_cast<size_t>((power - kLowestPower) / 3)]; }

// 10^power, exact for the powers the labels use.
double powerOfTen(int power) {
    return power < 0 ? 1 / std::pow(10.0, -power) : std::pow(10.0, power);
}

int highestPower(Prefixes prefixes) { return prefixes == Prefixes::None ? 0 : kHighestPower; }

// The power of 10^3 whose prefix writes `value` with a number below 1000.
int powerFor(double value, Prefixes prefixes) {
    if (value == 0 || prefixes == Prefixes::None) return 0;
    // A hair above the logarithm, so that 1000 (whose logarithm may come out a hair below 3)
    // gets "k".
    const int power = static_cast<int>(std::floor(std::log10(std::fabs(value)) / 3 + 1e-9)) * 3;
    return std::clamp(power, prefixes == Prefixes::All ? kLowestPower : 0, kHighestPower);
}

// The number of a label: `decimals` decimals in the user's locale, without trailing zeros.
QString numberText(double value, int decimals) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = locale.toString(value, 'f', decimals);
    const QString point = locale.decimalPoint();
    if (text.contains(point)) {
        while (text.endsWith(u'0')) text.chop(1);
        if (text.endsWith(point)) text.chop(point.size());
    }
    return text;
}

// A candidate set of tick values, ascending, with the step that sets each label's decimals.
struct Candidate {
    std::vector<double> values;
    std::vector<double> steps;
    bool tooMany = false;
};

// The whole multiples of `step` from low to high; too many when there are more than
// `maxCount` + 1 of them (or more than can be counted).
Candidate multiples(double low, double high, double step, double maxCount) {
    const double first = std::ceil(low / step);
    const double last = std::floor(high / step);
    Candidate candidate;
    if (!std::isfinite(first) || !std::isfinite(last) || last - first > maxCount) {
        candidate.tooMany = true;
        return candidate;
    }
    for (double k = first; k <= last; ++k) {
        candidate.values.push_back(k * step);
        candidate.steps.push_back(step);
    }
    return candidate;
}

// m times each power of ten from 10^first to 10^last whose exponent is a multiple of `every`,
// for each m of `mantissas`, as far as they lie between low and high.
Candidate decadeTicks(double low, double high, const std::vector<int>& mantissas, int every) {
    Candidate candidate;
    const int first = static_cast<int>(std::floor(std::log10(low)));
    const int last = static_cast<int>(std::ceil(std::log10(high)));
    for (int power = first; power <= last; ++power) {
        if (power % every != 0) continue;
        const double decade = powerOfTen(power);
        for (const int m : mantissas) {
            const double value = m * decade;
            if (value < low || value > high) continue;
            candidate.values.push_back(value);
            candidate.steps.push_back(decade);
        }
    }
    return candidate;
}

// Every candidate for an axis, densest first, as a generator: `next` gives the next one, or
// nullopt when there is none left.
class Candidates {
  public:
    Candidates(const AxisRange& range, double maxCount) : range_(range), maxCount_(maxCount) {
        const double decades = std::log10(range.high) - std::log10(range.low);
        logTicks_ = range.log && decades >= 1;
        if (logTicks_) return;
        // The smallest step of 1, 2 or 5 times a power of ten that stays within maxCount.
        const double least = (range.high - range.low) / maxCount;
        exponent_ = static_cast<int>(std::floor(std::log10(least)));
        while (step() < least) advance();
    }

    std::optional<Candidate> next() {
        // A bound far beyond any axis: the count drops below 2 long before.
        for (int tries = 0; tries < 200; ++tries) {
            std::optional<Candidate> candidate = logTicks_ ? nextLog() : nextLinear();
            if (!candidate) return std::nullopt;
            if (!candidate->tooMany && candidate->values.size() <= maxCount_ + 1) return candidate;
        }
        return std::nullopt;
    }

  private:
    double step() const { return kSteps[mantissa_] * powerOfTen(exponent_); }
    void advance() {
        if (++mantissa_ == kSteps.size()) {
            mantissa_ = 0;
            ++exponent_;
        }
    }

    std::optional<Candidate> nextLinear() {
        if (!std::isfinite(step()) || exponent_ > 308) return std::nullopt;
        Candidate candidate = multiples(range_.low, range_.high, step(), maxCount_);
        advance();
        return candidate;
    }

    std::optional<Candidate> nextLog() {
        static const std::vector<std::vector<int>> kSets{{1, 2, 3, 4, 5, 6, 7, 8, 9}, {1, 2, 5}};
        if (set_ < kSets.size()) return decadeTicks(range_.low, range_.high, kSets[set_++], 1);
        // Then 1 at every power of ten, every 2nd, 3rd, 5th, 10th, 20th, 30th, ...
        static constexpr std::array kEvery{1, 2, 3, 5};
        const int every = kEvery[everyIndex_ % kEvery.size()] *
                          static_cast<int>(std::pow(10, everyIndex_ / kEvery.size()));
        if (every > 1000) return std::nullopt;
        ++everyIndex_;
        return decadeTicks(range_.low, range_.high, {1}, every);
    }

    static constexpr std::array kSteps{1.0, 2.0, 5.0};
    AxisRange range_;
    double maxCount_;
    bool logTicks_ = false;
    size_t mantissa_ = 0;
    int exponent_ = 0;
    size_t set_ = 0;
    size_t everyIndex_ = 0;
};

}  // namespace

AxisUnit axisUnit(const QString& columnUnit) {
    const QString unit = columnUnit.trimmed();
    const QString micro = unit.size() == 2 && (unit[0] == u'\u00b5' || unit[0] == u'\u03bc')
                              ? unit.mid(1)
                              : QString();
    if (unit == u"kHz") return {u"Hz"_s, 1e3};
    if (unit == u"mV") return {u"V"_s, 1e-3};
    if (unit == u"nF") return {u"F"_s, 1e-9};
    if (micro == u"H") return {u"H"_s, 1e-6};
    if (micro == u"s") return {u"s"_s, 1e-6};
    if (unit == u"Ohm" || unit == u"X") return {u"\u03a9"_s, 1};
    if (unit == u"\u00b0") return {unit, 1, Prefixes::None, false};
    if (unit.isEmpty() || unit == u"Q" || unit == u"D") return {QString(), 1, Prefixes::Multiples};
    return {unit, 1, Prefixes::None};
}

QString axisTitle(const QString& heading) {
    const qsizetype open = heading.lastIndexOf(u" ("_s);
    return open > 0 && heading.endsWith(u')') ? heading.left(open) : heading;
}

QString tickLabel(double value, double step, const AxisUnit& unit) {
    double number = value * unit.toSymbol;
    const double distance = std::fabs(step * unit.toSymbol);
    if (!std::isfinite(number)) return QString();
    // On the step's grid: a tick that sums up to a hair beside 0 is 0.
    if (distance > 0 && std::fabs(number / distance) < 1e15)
        number = std::round(number / distance) * distance;
    int power = powerFor(number, unit.prefixes);
    QString text;
    // Twice at most: a number that rounds up to 1000 moves on to the next prefix.
    for (int pass = 0; pass < 2; ++pass) {
        const double scale = powerOfTen(power);
        const double scaledStep = distance / scale;
        const int decimals =
            scaledStep > 0 && std::isfinite(scaledStep)
                ? std::clamp(static_cast<int>(std::ceil(-std::log10(scaledStep) - 1e-9)), 0, 15)
                : 0;
        const double rounded =
            std::round(number / scale * std::pow(10.0, decimals)) / std::pow(10.0, decimals);
        text = numberText(rounded == 0 ? 0.0 : rounded, decimals);
        if (std::fabs(rounded) < 1000 || power == highestPower(unit.prefixes)) break;
        power += 3;
    }
    const QString suffix = prefixOf(power) + unit.symbol;
    if (suffix.isEmpty()) return text;
    return unit.spaced ? text + u' ' + suffix : text + suffix;
}

std::vector<Tick> chooseTicks(const AxisRange& range, const AxisUnit& unit, double pixels,
                              const std::function<double(const QString&)>& extent, double gap) {
    const double low = axisCoordinate(range.low, range.log);
    const double high = axisCoordinate(range.high, range.log);
    if (!(pixels > 0) || !(gap > 0) || !std::isfinite(high - low) || !(high > low)) return {};
    const double maxCount = std::max(1.0, std::floor(pixels / gap));

    Candidates candidates(range, maxCount);
    while (const std::optional<Candidate> candidate = candidates.next()) {
        std::vector<Tick> ticks;
        for (size_t i = 0; i < candidate->values.size(); ++i) {
            const double value = candidate->values[i];
            const double position =
                pixels * (axisCoordinate(value, range.log) - low) / (high - low);
            ticks.push_back({value, tickLabel(value, candidate->steps[i], unit), position});
        }
        bool fits = true;
        for (size_t i = 1; i < ticks.size() && fits; ++i) {
            const double room = (extent(ticks[i - 1].label) + extent(ticks[i].label)) / 2 + gap;
            fits = ticks[i].position - ticks[i - 1].position >= room;
        }
        if (fits || ticks.size() <= 1) return ticks;
    }
    return {};
}

}  // namespace lorvane
