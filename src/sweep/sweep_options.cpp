#include "sweep_options.h"

#include <QLocale>
#include <QRegularExpression>
#include <map>

#include "sweep_values.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

// The options that take a value, and the switches.
const QStringList kValued{u"card"_s,    u"prologix"_s, u"address"_s, u"measure"_s, u"circuit"_s,
                          u"freq"_s,    u"bias"_s,     u"step"_s,    u"osc"_s,     u"reference"_s,
                          u"retries"_s, u"out"_s,      u"xlsx"_s};
const QStringList kSwitches{u"high-speed"_s, u"quiet"_s, u"help"_s};

constexpr int kMostRetries = 100;

// The index of `text` in `names`, or nullopt with the reason.
std::optional<int> choice(const QString& option, const QString& text, const QStringList& names,
                          QString& error) {
    const qsizetype index = names.indexOf(text);
    if (index >= 0) return static_cast<int>(index);
    error = u"--%1: '%2' is none of %3"_s.arg(option, text, names.join(u'|'));
    return std::nullopt;
}

// The oscillator text as the window's field holds it: in the user's locale, no group marks.
QString oscillatorText(double mv) {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(mv, 'g', 10);
}

// Collects option -> value ("" for a switch); false with the reason for a stray argument.
bool collect(const QStringList& arguments, std::map<QString, QString>& given, QString& error) {
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!argument.startsWith(u"--"_s)) {
            error = u"unexpected argument '%1'"_s.arg(argument);
            return false;
        }
        const qsizetype equals = argument.indexOf(u'=');
        const QString name = argument.mid(2, equals < 0 ? -1 : equals - 2);
        if (kSwitches.contains(name) && equals < 0) {
            given[name] = QString();
        } else if (!kValued.contains(name)) {
            error = u"unknown option '%1'"_s.arg(argument);
            return false;
        } else if (equals >= 0) {
            given[name] = argument.mid(equals + 1);
        } else if (++i < arguments.size()) {
            given[name] = arguments[i];
        } else {
            error = u"--%1 needs a value"_s.arg(name);
            return false;
        }
    }
    return true;
}

bool readLink(const std::map<QString, QString>& given, SweepOptions& options, QString& error) {
    if (given.count(u"card"_s) && given.count(u"prologix"_s)) {
        error = u"--card and --prologix exclude each other"_s;
        return false;
    }
    if (auto it = given.find(u"card"_s); it != given.end()) {
        const std::optional<int> board = parseWhole(it->second, 0, 99, error);
        if (!board) return (error.prepend(u"--card: "_s), false);
        options.board = *board;
    }
    if (auto it = given.find(u"prologix"_s); it != given.end()) {
        options.prologix = true;
        static const QRegularExpression com(u"^COM(\\d+)$"_s);
        if (const QRegularExpressionMatch match = com.match(it->second); match.hasMatch()) {
            const std::optional<int> port = parseWhole(match.captured(1), 1, 255, error);
            if (!port) return (error.prepend(u"--prologix: "_s), false);
            options.board = *port;
        } else if (it->second.isEmpty()) {
            error = u"--prologix needs a device path or COM<N>"_s;
            return false;
        } else {
            options.portPath = it->second;
        }
    }
    if (auto it = given.find(u"address"_s); it != given.end()) {
        const std::optional<int> address = parseWhole(it->second, 0, 30, error);
        if (!address) return (error.prepend(u"--address: "_s), false);
        options.address = *address;
    }
    return true;
}

bool readSetUp(const std::map<QString, QString>& given, PanelSnapshot& panel, QString& error) {
    const auto value = [&](const QString& name) {
        auto it = given.find(name);
        return it == given.end() ? std::optional<QString>() : std::optional(it->second);
    };
    if (auto text = value(u"measure"_s)) {
        auto mode = choice(u"measure"_s, *text,
                           {u"z"_s, u"l"_s, u"r"_s, u"c"_s, u"gain"_s, u"delay"_s}, error);
        if (!mode) return false;
        panel.mode = static_cast<MeasureMode>(*mode);
    }
    if (auto text = value(u"circuit"_s)) {
        auto circuit = choice(u"circuit"_s, *text, {u"auto"_s, u"series"_s, u"parallel"_s}, error);
        if (!circuit) return false;
        panel.circuit = static_cast<CircuitMode>(*circuit);
    }
    const QString bias = value(u"bias"_s).value_or(u"0"_s);
    const bool biasSweep = bias.contains(u':');
    // A bias sweep measures at 10 kHz unless told otherwise.
    const QString freq = value(u"freq"_s).value_or(biasSweep ? u"10"_s : u"10:100:1"_s);
    const bool transfer = panel.mode == MeasureMode::Gain || panel.mode == MeasureMode::Delay;
    if (biasSweep && transfer) {
        error = u"--bias: gain and delay allow only frequency sweeps"_s;
        return false;
    }
    if (biasSweep && freq.contains(u':')) {
        error = u"--freq: a bias sweep takes one spot frequency, not a range"_s;
        return false;
    }
    panel.sweep = biasSweep ? SweepParam::Bias : SweepParam::Frequency;
    const auto fail = [&error](const char* option) {
        error.prepend(QString::fromLatin1(option) + u": "_s);
        return false;
    };
    for (const auto& [quantity, text, fields] :
         {std::tuple(Quantity::Frequency, freq, &panel.frequency),
          std::tuple(Quantity::Bias, bias, &panel.bias)}) {
        if (text.contains(u':')) {
            const auto range = parseRange(quantity, text, error);
            if (!range) return fail(quantity == Quantity::Bias ? "--bias" : "--freq");
            *fields = *range;
        } else {
            const auto spot = parseSpot(quantity, text, error);
            if (!spot) return fail(quantity == Quantity::Bias ? "--bias" : "--freq");
            // A frequency sweep of one point when the frequency is given alone.
            *fields = {*spot, *spot, quantity == Quantity::Bias ? 10.0 : 1000.0};
        }
    }

    if (auto text = value(u"step"_s)) {
        auto kind = choice(u"step"_s, *text, {u"linear"_s, u"auto"_s, u"log"_s}, error);
        if (!kind) return false;
        panel.autoStep = *kind > 0;
        panel.logStep = *kind == 2;
    }
    if (panel.logStep && biasSweep) {
        error = u"--step: the logarithmic step sweeps frequencies only"_s;
        return false;
    }
    const auto sweepIndex = static_cast<size_t>(panel.sweep);
    panel.stepShowsAuto[sweepIndex] = panel.autoStep;
    // A step box that shows "Lin" or "Log" gives no step.
    if (panel.autoStep) (biasSweep ? panel.bias : panel.frequency)[2] = 0;

    double level = transfer ? 5 : 500;
    if (auto text = value(u"osc"_s)) {
        const auto parsed = parseOscillator(*text, error);
        if (!parsed) return fail("--osc");
        level = *parsed;
    }
    panel.oscillatorText = oscillatorText(level);
    panel.highSpeed = given.count(u"high-speed"_s) > 0;
    return true;
}

}  // namespace

std::optional<SweepOptions> parseSweepOptions(const QStringList& arguments, QString& error) {
    std::map<QString, QString> given;
    if (!collect(arguments, given, error)) return std::nullopt;
    SweepOptions options;
    if (given.count(u"help"_s)) {
        options.help = true;
        return options;
    }
    if (!readLink(given, options, error) || !readSetUp(given, options.panel, error)) {
        return std::nullopt;
    }
    if (auto it = given.find(u"retries"_s); it != given.end()) {
        const std::optional<int> retries = parseWhole(it->second, 0, kMostRetries, error);
        if (!retries) return (error.prepend(u"--retries: "_s), std::nullopt);
        options.retries = *retries;
    }
    for (const auto& [name, target] :
         {std::pair(u"reference"_s, &options.reference), std::pair(u"out"_s, &options.out),
          std::pair(u"xlsx"_s, &options.xlsx)}) {
        auto it = given.find(name);
        if (it == given.end()) continue;
        if (it->second.isEmpty()) {
            error = u"--%1 needs a file name"_s.arg(name);
            return std::nullopt;
        }
        *target = it->second;
    }
    options.quiet = given.count(u"quiet"_s) > 0;
    return options;
}

QString sweepHelpText() {
    return uR"(Usage: lorvane-sweep [--card BOARD | --prologix PORT] [--address N]
              [--measure z|l|r|c|gain|delay] [--circuit auto|series|parallel]
              [--freq START:STOP:STEP | --freq VALUE] [--bias START:STOP:STEP | --bias VALUE]
              [--step linear|auto|log] [--osc MV] [--high-speed]
              [--reference FILE.csv] [--retries N] [--out FILE.csv] [--xlsx FILE.xlsx] [--quiet]
Runs one HP 4192A sweep and writes it as CSV, one line per point as it is read.

  --card BOARD        GPIB card on this board, NI-488.2 library (default: board 0)
  --prologix PORT     Prologix USB-GPIB adapter on a device path (/dev/ttyUSB0) or COM<N>
  --address N         the instrument's GPIB address, 0 to 30 (default 1)
  --measure WHAT      z, l, r, c, gain or delay (default z)
  --circuit KIND      auto, series or parallel (default auto)
  --freq S:E:STEP     a frequency sweep, kHz unless 5Hz, 2.5kHz, 1MHz (default 10:100:1)
  --freq VALUE        the spot frequency of a bias sweep (default 10)
  --bias S:E:STEP     a bias sweep, mV unless it ends in V (-5V:5V:100)
  --bias VALUE        the spot bias of a frequency sweep (default 0)
  --step KIND         linear (the step given), auto (linear per decade) or log
  --osc MV            oscillator level in mV, 5 to 1100 (default 500; 5 for gain and delay)
  --high-speed        the instrument's high-speed mode
  --reference FILE    subtract a CSV of an earlier lorvane-sweep with the same titles
  --retries N         read a point again up to N times after a timeout or bad data
  --out FILE          the CSV file (default: standard output, also with -)
  --xlsx FILE         also write the workbook sheet when the sweep ends
  --quiet             show nothing but errors
  --help              show this text

The decimal separator is always the point. Exit status: 0 done, 1 instrument or link fault,
2 usage error, 130 interrupted (Ctrl-C, SIGTERM).

Examples:
  lorvane-sweep --measure c --freq 1:1000:1 --step log --out cap.csv
  lorvane-sweep --prologix /dev/ttyUSB0 --measure c --freq 100 --bias=-5V:5V:100 --out cv.csv
)"_s;
}

}  // namespace lorvane
