#include "export_fakes.h"

namespace lorvane::test {

QString loc(const QString& pointText) {
    QString text = pointText;
    return text.replace(u'.', QLocale().decimalPoint());
}

ExportRow locRow(const QString& x, const QString& dat1, const QString& dat2) {
    return {loc(x), loc(dat1), loc(dat2)};
}

ExportSetup impedanceSetup() {
    ExportSetup setup;
    setup.quantityLabel = {QStringLiteral("Freq."), QStringLiteral("Z"), QStringLiteral("Phi")};
    setup.columnUnits = {QStringLiteral("kHz"), QStringLiteral("Ohm"), QStringLiteral("°")};
    setup.sweep = SweepParam::Frequency;
    setup.mode = MeasureMode::Impedance;
    setup.sweepCaption = QStringLiteral("Freq");
    setup.measureCaption = QStringLiteral("Z");
    return setup;
}

ExportSetup gainSetup() {
    ExportSetup setup = impedanceSetup();
    setup.quantityLabel = {QStringLiteral("Freq."), QStringLiteral("A"), QStringLiteral("B")};
    setup.columnUnits = {QStringLiteral("kHz"), QStringLiteral("dB"), QStringLiteral("°")};
    setup.mode = MeasureMode::Gain;
    setup.measureCaption = QStringLiteral("G");
    return setup;
}

}  // namespace lorvane::test
