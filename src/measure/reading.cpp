#include "reading.h"

#include <QList>

#include "number_format.h"

namespace lorvane {

namespace {

// Characters from 1-based position `from` on, at most `count` of them (-1: to the end).
// Positions beyond the end give an empty text.
QString piece(QStringView field, qsizetype from, qsizetype count = -1) {
    return field.mid(from - 1, count).toString();
}

}  // namespace

Reading parseReading(QStringView reply) {
    QString text;
    text.reserve(reply.size());
    for (QChar c : reply) {
        if (c != u'\r' && c != u'\n') text += c;
    }

    Reading reading;
    if (text.isEmpty()) return reading;
    reading.kind = ReplyKind::BadData;

    // Three fields at least; any after the third are not looked at.
    const QList<QStringView> fields = QStringView(text).split(u',');
    if (fields.size() < 3) return reading;

    Reading split;
    split.code0 = piece(fields[0], 2, 2);
    split.num0 = piece(fields[0], 5);
    split.code1 = piece(fields[1], 2, 2);
    split.num1 = piece(fields[1], 5);
    split.code2 = piece(fields[2], 1, 1);
    split.num2 = piece(fields[2], 2);
    for (const QString* t :
         {&split.code0, &split.num0, &split.code1, &split.num1, &split.code2, &split.num2}) {
        if (t->isEmpty()) return reading;
    }
    split.kind = ReplyKind::Good;
    return split;
}

std::optional<ScaledReading> scaleReading(const Reading& reading, const ModeConversion& conversion,
                                          int sweepPower) {
    const std::optional<double> dat1 = readReplyNumber(reading.num0, conversion.dat1Power);
    const std::optional<double> dat2 = readReplyNumber(reading.num1, conversion.dat2Power);
    const std::optional<double> x = readReplyNumber(reading.num2, sweepPower);
    if (!dat1 || !dat2 || !x) return std::nullopt;
    return ScaledReading{*dat1, *dat2, *x};
}

}  // namespace lorvane
