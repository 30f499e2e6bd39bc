#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "panel_snapshot.h"

namespace lorvane {

// The CSV lorvane-sweep writes and reads back as a reference. UTF-8, lines ending in LF.

// The title line (without its LF): the three column titles as the clipboard copy has them,
// "Freq. (kHz),Z (Ohm),Phi (°)".
QString csvTitles(const PanelSnapshot& panel);

// One point's line (with its LF): the sweep value and the two readings with a decimal point
// and up to 10 significant digits.
QByteArray csvLine(double x, double dat1, double dat2);

// The points of a CSV written by lorvane-sweep (sweep value, first and second reading, in the
// file's order), when its title line is `titles`. A last line without its line feed, cut short
// by a crash, is left out; any other line that is not three numbers is an error naming it.
std::optional<std::vector<std::array<double, 3>>> readReferenceCsv(const QByteArray& text,
                                                                   const QString& titles,
                                                                   QString& error);

}  // namespace lorvane
