#include "clipboard_text.h"

#include <cmath>
#include <limits>

#include "number_format.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

// A number as a whole 64-bit value: rounded to the nearest, halves to even (the default
// rounding mode), held at the limits of the range beyond them.
int64_t wholeNumber(double value) {
    constexpr double kTwoTo63 = 9223372036854775808.0;
    const double rounded = std::nearbyint(value);
    if (rounded >= kTwoTo63) return std::numeric_limits<int64_t>::max();
    if (rounded <= -kTwoTo63) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(rounded);
}

int64_t trackCell(int64_t tracked, const QString& text) {
    const double leading = parseReplyNumber(text);
    if (!(std::fabs(std::floor(leading)) > static_cast<double>(tracked))) return tracked;
    return wholeNumber(parseLocaleNumber(text).value_or(leading));
}

}  // namespace

QString columnTitle(const QString& label, const QString& unit) {
    return label + u" ("_s + unit + u')';
}

QString clipboardHeader(const std::array<QString, 3>& labels, const std::array<QString, 3>& units) {
    QString header;
    for (size_t k = 0; k < 3; ++k) header += columnTitle(labels[k], units[k]) + u'\t';
    return header + u"\r\n"_s;
}

void ColumnWidthTracker::add(const ExportRow& values) {
    for (size_t k = 0; k < 3; ++k) tracked_[k] = trackCell(tracked_[k], values[k]);
}

ColumnWidths ColumnWidthTracker::widths() const {
    ColumnWidths widths{};
    for (size_t k = 0; k < 3; ++k)
        widths[k] = 4 + static_cast<int>(QString::number(tracked_[k]).size());
    return widths;
}

QString clipboardLine(const ExportRow& values, const ColumnWidths& widths) {
    QString line;
    for (size_t k = 0; k < 3; ++k) line += values[k].rightJustified(widths[k]) + u'\t';
    return line + u"\r\n"_s;
}

QString clipboardText(const std::array<QString, 3>& labels, const std::array<QString, 3>& units,
                      const ExportRows& rows) {
    ColumnWidthTracker tracker;
    for (const ExportRow& row : rows) tracker.add(row);
    const ColumnWidths widths = tracker.widths();
    QString text = clipboardHeader(labels, units);
    for (const ExportRow& row : rows) text += clipboardLine(row, widths);
    return text;
}

}  // namespace lorvane
