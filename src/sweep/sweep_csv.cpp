#include "sweep_csv.h"

#include <QStringList>
#include <cmath>

#include "clipboard_text.h"
#include "command_set.h"
#include "headings.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

QByteArray number(double value) { return QByteArray::number(value, 'g', 10); }

}  // namespace

QString csvTitles(const PanelSnapshot& panel) {
    const std::array<QString, 3> labels = quantityLabel(panel.mode, panel.circuit, panel.sweep);
    const ColumnUnits units = columnUnitsFor(panel.mode, panel.sweep);
    QStringList titles;
    for (size_t i = 0; i < 3; ++i) titles << columnTitle(labels[i], units[i]);
    return titles.join(u',');
}

QByteArray csvLine(double x, double dat1, double dat2) {
    return number(x) + ',' + number(dat1) + ',' + number(dat2) + '\n';
}

std::optional<std::vector<std::array<double, 3>>> readReferenceCsv(const QByteArray& text,
                                                                   const QString& titles,
                                                                   QString& error) {
    // Every line written ends in a line feed: a last line without one was cut short by a
    // crash, and a number cut short still reads as a number.
    QList<QByteArray> lines = text.split('\n');
    lines.removeLast();
    for (QByteArray& line : lines) {
        if (line.endsWith('\r')) line.chop(1);
    }
    if (lines.isEmpty() || QString::fromUtf8(lines[0]) != titles) {
        error = u"the titles are not those of this set-up: expected \"%1\", found \"%2\""_s.arg(
            titles, lines.isEmpty() ? QString() : QString::fromUtf8(lines[0]));
        return std::nullopt;
    }
    std::vector<std::array<double, 3>> points;
    for (qsizetype n = 1; n < lines.size(); ++n) {
        const QList<QByteArray> fields = lines[n].split(',');
        std::array<double, 3> point{};
        bool ok = fields.size() == 3;
        for (size_t k = 0; ok && k < 3; ++k) {
            const QByteArray field = fields[static_cast<qsizetype>(k)];
            // Only what csvLine writes: no blanks, a point as separator.
            ok = !field.isEmpty() && field.trimmed() == field;
            if (ok) point[k] = field.toDouble(&ok);
            ok = ok && std::isfinite(point[k]);
        }
        if (!ok) {
            error = u"line %1 is not three numbers: \"%2\""_s.arg(n + 1).arg(
                QString::fromUtf8(lines[n]));
            return std::nullopt;
        }
        points.push_back(point);
    }
    if (points.empty()) {
        error = u"it holds no points"_s;
        return std::nullopt;
    }
    return points;
}

}  // namespace lorvane
