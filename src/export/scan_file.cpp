#include "scan_file.h"

#include <QSaveFile>
#include <cmath>

#include "number_format.h"

namespace lorvane {
namespace {

constexpr int kSignificantDigits = 15;

}  // namespace

QString scanNumber(double value) {
    if (value == 0 || !std::isfinite(value)) return QStringLiteral("0");
    const int exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    const int decimals = std::max(0, kSignificantDigits - 1 - exponent);
    QString text = QString::number(value, 'f', decimals);
    if (text.contains(u'.')) {
        qsizetype end = text.size();
        while (text[end - 1] == u'0') --end;
        if (text[end - 1] == u'.') --end;
        text.truncate(end);
    }
    // A value that rounds to zero at 15 digits keeps no sign.
    if (text == u"-0") return QStringLiteral("0");
    return text;
}

std::optional<QString> scanLine(const ExportRow& values) {
    const std::optional<double> sweep = parseLocaleNumber(values[0]);
    const std::optional<double> first = parseLocaleNumber(values[1]);
    const std::optional<double> second = parseLocaleNumber(values[2]);
    if (!sweep || !first || !second) return std::nullopt;
    return scanNumber(*sweep * 1000) + u',' + scanNumber(*first) + u',' + scanNumber(*second) +
           QStringLiteral("\r\n");
}

QByteArray scanFileText(const ExportRows& rows) {
    QString text = QStringLiteral("\"Frequency(Hz)\",\"Transmission Loss(dB)\",\"Phase(deg)\"\r\n");
    for (const ExportRow& row : rows)
        if (const std::optional<QString> line = scanLine(row)) text += *line;
    return text.toLatin1();
}

bool writeScanFile(const QString& path, const QByteArray& text, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace lorvane
