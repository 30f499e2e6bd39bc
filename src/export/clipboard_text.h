#pragma once

#include <QString>
#include <array>
#include <cstdint>

#include "export_interfaces.h"

namespace lorvane {

// The clipboard text of the results: a header line of column titles, then one line per row
// with the three values right-aligned in their columns. Every line ends in a tab before its
// CR LF.

// A column title: label + " (" + unit + ")", as in "Freq. (kHz)".
QString columnTitle(const QString& label, const QString& unit);

// Header line: the three titles, each followed by a tab, then CR LF.
QString clipboardHeader(const std::array<QString, 3>& labels, const std::array<QString, 3>& units);

using ColumnWidths = std::array<int, 3>;

// Finds the widths of the three value columns. Each column keeps a tracked whole number,
// starting at 0, 1 and 2. For every cell: when |Int(v)| exceeds the tracked value (with its
// sign, so a negative one is exceeded by every cell), where v is the number at the start of the
// text read with a point as separator and Int rounds down, the tracked value becomes the cell's
// number rounded to a whole one (halves to even). The cell's number is read in the user's
// locale; a text that is not a number there gives v. The width is 4 + the length of the tracked
// value as a plain integer, minus sign included. The tracked value is 64 bits wide, so large
// values (impedance in Ohm, bias in mV) need no care; beyond that range it stays at its limit.
class ColumnWidthTracker {
  public:
    void add(const ExportRow& values);
    ColumnWidths widths() const;
    const std::array<int64_t, 3>& tracked() const { return tracked_; }

  private:
    std::array<int64_t, 3> tracked_{0, 1, 2};
};

// One data line: each value with blanks in front up to its column's width (a longer text is
// not shortened) and a tab after it, then CR LF.
QString clipboardLine(const ExportRow& values, const ColumnWidths& widths);

// The whole text: header line and one line per row.
QString clipboardText(const std::array<QString, 3>& labels, const std::array<QString, 3>& units,
                      const ExportRows& rows);

}  // namespace lorvane
