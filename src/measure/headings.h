#pragma once

#include <QString>
#include <array>
#include <optional>

#include "measure_mode.h"
#include "sweep_param.h"

namespace lorvane {

// What a measurement parameter calls its two readings: the symbols (QuantityLabel 1 and 2)
// and the headings of result columns 3 and 4 (symbol followed by its unit).
struct ReadingHeadings {
    QString quantity1;
    QString quantity2;
    QString column3;
    QString column4;
};

// The headings for a MeasureMode index and a CircuitMode index (0 Auto, 1 Series,
// 2 Parallel; Gain and Delay read the same in every circuit). nullopt for a parameter index
// outside 0..5.
std::optional<ReadingHeadings> readingHeadings(int mode, int circuit);

// What a sweep calls its swept quantity (QuantityLabel 0) and the heading of result column 2.
struct SweepHeading {
    QString quantity0;
    QString column2;
};

// For a SweepParam index; nullopt outside 0..1.
std::optional<SweepHeading> sweepHeading(int sweep);

// QuantityLabel of a set-up: the swept quantity ("Freq.", "Bias"), the first and the second
// reading ("Zs", "Phi").
std::array<QString, 3> quantityLabel(MeasureMode mode, CircuitMode circuit, SweepParam sweep);

// Captions of the option buttons of a measurement parameter ("Z", "L", "R", "C", "G", "D") and
// of a sweep ("Freq", "Bias"), which name a workbook sheet.
QString measureCaption(MeasureMode mode);
QString sweepCaption(SweepParam sweep);

}  // namespace lorvane
