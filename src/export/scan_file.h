#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "export_interfaces.h"

namespace lorvane {

// The ZPlots scan file: comma-separated text that the ZPlots workbook reads, lines ended by
// CR LF. A header line, then per row the sweep value times 1000 (kHz to Hz), the first reading
// (gain in dB) and the second (phase in degrees).

inline constexpr const char* kScanFileName = "$Zplots$Scan.csv";

// A number in plain decimal notation with a point, whatever the locale: up to 15 significant
// digits, no exponent, no trailing zeros, a zero before the point below 1 (100000, -3.25,
// 0.5, -0.05; 0 for zero of either sign).
QString scanNumber(double value);

// One line of the scan file for a row, "100000,-3.25,45.5" + CR LF; nullopt when a value
// does not read as a number in the user's locale.
std::optional<QString> scanLine(const ExportRow& values);

// The whole file. A row whose values do not read as numbers is left out.
QByteArray scanFileText(const ExportRows& rows);

// Writes the text to `path` atomically: the file holds either the old or the whole new text.
// False, with the reason in `error`, when it could not be written.
bool writeScanFile(const QString& path, const QByteArray& text, QString* error);

}  // namespace lorvane
