#include "command_set.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

#include "number_format.h"
#include "step_helpers.h"

namespace lorvane {

using namespace Qt::Literals::StringLiterals;

namespace {

bool setsBias(MeasureMode mode) {
    return mode == MeasureMode::Impedance || mode == MeasureMode::Inductance ||
           mode == MeasureMode::Resistance || mode == MeasureMode::Capacitance;
}

// A value given in Hz or mV as it goes on the wire, in kHz or V.
QString wireNumber(double value) { return NumCmd(value / 1000, true); }

}  // namespace

const ModeConversion& conversionFor(MeasureMode mode) {
    // Indexed by MeasureMode. The Delay unit keeps its three blanks: the readouts align on it.
    static const ModeConversion table[] = {
        {u"A1B1"_s, 0, u"0.000"_s, u"Ohm"_s, 0, u"0.000"_s, u"°"_s},
        {u"A3B1"_s, 6, u"0.000"_s, u"µH"_s, 0, u"0.000"_s, u"Q"_s},
        {u"A2B1"_s, 0, u"0.000"_s, u"Ohm"_s, 0, u"0.000"_s, u"X"_s},
        {u"A4B2"_s, 9, u"0.0000"_s, u"nF"_s, 0, u"0.000"_s, u"D"_s},
        {u"A5B2N1"_s, 0, u"0.00000"_s, u"dB"_s, 0, u"0.000"_s, u"°"_s},
        {u"A5B1N1"_s, 0, u"0.00000"_s, u"dB   "_s, 6, u"0.00000"_s, u"µs"_s},
    };
    const int index = static_cast<int>(mode);
    return table[index >= 0 && index < 6 ? index : 0];
}

ColumnUnits columnUnitsFor(MeasureMode mode, SweepParam sweep) {
    const ModeConversion& conversion = conversionFor(mode);
    return {sweep == SweepParam::Bias ? u"mV"_s : u"kHz"_s, conversion.dat1Unit,
            conversion.dat2Unit};
}

int sweepPower(SweepParam sweep) { return sweep == SweepParam::Bias ? 3 : 0; }

SweepPlan planSweep(const PanelSnapshot& panel) {
    const std::array<double, 3>& fields = panel.sweepFields();
    // Frequencies go from Hz to kHz; bias values stay in mV.
    const double scale = panel.sweep == SweepParam::Bias ? 1 : 1000;
    SweepPlan plan;
    plan.start = fields[0] / scale;
    plan.stop = fields[1] / scale;
    plan.step = fields[2] / scale;
    if (panel.autoStep && !panel.logStep)
        StepFor(plan.start, panel.sweep, plan.step, plan.boundary);
    return plan;
}

bool stepReachesStop(const PanelSnapshot& panel, const SweepPlan& plan) {
    if (panel.autoStep && panel.logStep) return true;
    if (!(plan.stop > plan.start)) return true;
    // The plan's step in the panel's units: Hz or mV.
    const bool bias = panel.sweep == SweepParam::Bias;
    const double step = bias ? plan.step : plan.step * 1000;
    return step >= (bias ? 10 : 1);
}

std::optional<int64_t> plannedPoints(const PanelSnapshot& panel, const SweepPlan& plan) {
    if (panel.autoStep && panel.logStep) return std::nullopt;
    if (!(plan.stop > plan.start)) return 1;
    if (!(plan.step > 0)) return std::nullopt;
    if (!panel.autoStep) {
        // Start, stop and step are whole Hz or mV: a fraction of a step is at least a millionth.
        return static_cast<int64_t>(std::ceil((plan.stop - plan.start) / plan.step - 1e-7)) + 1;
    }
    // The run's own steps, on the instrument's resolution (1 Hz, 1 mV), so that a sum of
    // tenths meets its decade boundary as the readings do.
    const double resolution = panel.sweep == SweepParam::Bias ? 1 : 1000;
    constexpr int64_t kMostPoints = 1000000;
    double x = plan.start;
    double step = plan.step;
    double boundary = plan.boundary;
    int64_t points = 1;
    while (x < plan.stop && points < kMostPoints) {
        if (passedBoundary(x, boundary)) StepFor(x, panel.sweep, step, boundary);
        x = std::min(std::round((x + step) * resolution) / resolution, plan.stop);
        ++points;
    }
    return points;
}

std::optional<QString> oscillatorCommand(const QString& oscillatorText) {
    const std::optional<double> level = parseLocaleNumber(oscillatorText);
    if (!level) return std::nullopt;
    return u"OL"_s + wireNumber(*level);
}

QString sweepRangeCommand(SweepParam sweep, double step, double start, double stop) {
    if (sweep == SweepParam::Bias) {
        return u"SB"_s + wireNumber(step) + u"TB"_s + wireNumber(start) + u"PB"_s +
               wireNumber(stop);
    }
    return u"SF"_s + NumCmd(step, true) + u"TF"_s + NumCmd(start, true) + u"PF"_s +
           NumCmd(stop, true);
}

QString spotCommand(SweepParam sweep, double value) {
    return sweep == SweepParam::Bias ? u"BI"_s + wireNumber(value) : u"FR"_s + NumCmd(value, true);
}

bool buildSetupCommands(const PanelSnapshot& panel, const SweepPlan& plan,
                        SetupCommands& commands) {
    const std::optional<QString> oscillator = oscillatorCommand(panel.oscillatorText);
    if (!oscillator) return false;

    commands[0] = u"T3F1R8I0"_s + (panel.autoStep && panel.logStep ? u"G1"_s : u"G0"_s) +
                  (panel.highSpeed ? u"H1"_s : u"H0"_s);
    commands[2] = *oscillator;
    static const QStringList circuitCodes = {u"C1"_s, u"C2"_s, u"C3"_s};
    commands[1] = conversionFor(panel.mode).functionText +
                  circuitCodes.value(static_cast<int>(panel.circuit), circuitCodes[0]);

    if (panel.sweep == SweepParam::Bias) {
        commands[3] = u"FR"_s + wireNumber(panel.frequency[0]);
        commands[5] = spotCommand(panel.sweep, panel.bias[0]);
    } else {
        if (setsBias(panel.mode) && panel.bias[0] != 0) {
            commands[3] = u"BI"_s + wireNumber(panel.bias[0]);
        }
        commands[5] = spotCommand(panel.sweep, plan.start);
    }
    commands[4] = sweepRangeCommand(panel.sweep, plan.step, plan.start, plan.stop);
    commands[6] = panel.autoStep ? u"W1W2"_s : u"W0"_s;
    return true;
}

QString stepBoxText(double step) {
    QString text = QString::number(step, 'g', 15);
    text.replace(u'.', QLocale().decimalPoint());
    return text;
}

}  // namespace lorvane
