#include "headings.h"

#include <QStringList>

namespace lorvane {
namespace {

const QString kOhm = QStringLiteral(" (Ohm)");
const QString kDegree = QStringLiteral(" (\u00b0)");
const QString kMicroHenry = QStringLiteral(" (\u00b5H)");
const QString kNanoFarad = QStringLiteral(" (nF)");
const QString kDecibel = QStringLiteral(" (dB)");
const QString kMicroSecond = QStringLiteral(" (\u00b5s)");

// Symbol for the Auto, Series and Parallel circuits.
QString bySuffix(const QString& symbol, int circuit) {
    switch (circuit) {
        case static_cast<int>(CircuitMode::Series):
            return symbol + QLatin1Char('s');
        case static_cast<int>(CircuitMode::Parallel):
            return symbol + QLatin1Char('p');
        default:
            return symbol;
    }
}

ReadingHeadings withUnits(const QString& first, const QString& firstUnit, const QString& second,
                          const QString& secondUnit) {
    return {first, second, first + firstUnit, second + secondUnit};
}

}  // namespace

std::optional<ReadingHeadings> readingHeadings(int mode, int circuit) {
    switch (mode) {
        case static_cast<int>(MeasureMode::Impedance):
            return withUnits(bySuffix(QStringLiteral("Z"), circuit), kOhm, QStringLiteral("Phi"),
                             kDegree);
        case static_cast<int>(MeasureMode::Inductance):
            return withUnits(bySuffix(QStringLiteral("L"), circuit), kMicroHenry,
                             QStringLiteral("Q"), QString());
        case static_cast<int>(MeasureMode::Resistance):
            // The resistance and the reactance of the chosen circuit, both in ohms.
            return withUnits(bySuffix(QStringLiteral("R"), circuit), kOhm,
                             bySuffix(QStringLiteral("X"), circuit), kOhm);
        case static_cast<int>(MeasureMode::Capacitance):
            return withUnits(bySuffix(QStringLiteral("C"), circuit), kNanoFarad,
                             QStringLiteral("D"), QString());
        case static_cast<int>(MeasureMode::Gain):
            return withUnits(QStringLiteral("G"), kDecibel, QStringLiteral("Phi"), kDegree);
        case static_cast<int>(MeasureMode::Delay):
            return withUnits(QStringLiteral("G"), kDecibel, QStringLiteral("D"), kMicroSecond);
        default:
            return std::nullopt;
    }
}

std::optional<SweepHeading> sweepHeading(int sweep) {
    switch (sweep) {
        case static_cast<int>(SweepParam::Frequency):
            return SweepHeading{QStringLiteral("Freq."), QStringLiteral("Freq. (kHz)")};
        case static_cast<int>(SweepParam::Bias):
            return SweepHeading{QStringLiteral("Bias"), QStringLiteral("Bias (mV)")};
        default:
            return std::nullopt;
    }
}

std::array<QString, 3> quantityLabel(MeasureMode mode, CircuitMode circuit, SweepParam sweep) {
    const auto reading = readingHeadings(static_cast<int>(mode), static_cast<int>(circuit));
    const auto swept = sweepHeading(static_cast<int>(sweep));
    return {swept ? swept->quantity0 : QString(), reading ? reading->quantity1 : QString(),
            reading ? reading->quantity2 : QString()};
}

QString measureCaption(MeasureMode mode) {
    static const QStringList captions = {QStringLiteral("Z"), QStringLiteral("L"),
                                         QStringLiteral("R"), QStringLiteral("C"),
                                         QStringLiteral("G"), QStringLiteral("D")};
    return captions.value(static_cast<int>(mode));  // empty for a mode without a caption
}

QString sweepCaption(SweepParam sweep) {
    return sweep == SweepParam::Bias ? QStringLiteral("Bias") : QStringLiteral("Freq");
}

}  // namespace lorvane
