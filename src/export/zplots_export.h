#pragma once

#include <QString>
#include <functional>

#include "export_interfaces.h"

namespace lorvane {

class Platform;

// The ZPlots workbook, outside this program, looked for beside the scan file.
inline constexpr const char* kZPlotsFileName = "ZPlots.xls";

// The Z shortcut, Gain mode only: writes the results into the scan file "$Zplots$Scan.csv" in
// the current folder (scan_file.h), atomically, and asks the desktop to show the ZPlots
// workbook from the same folder. A program that an earlier export started for the operator is
// left alone. A scan file that cannot be written is reported, with its full path and the
// reason the system gave, and nothing is shown, rather than an old file.
//
// Failures:
// - N: nothing can show the file.
// - M: ZPlots.xls is missing or could not be shown; the scan file itself is shown instead,
//   so the operator sees the data (when that fails too, message M has already said to open it
//   by hand).
class ZPlotsExport {
  public:
    // `folder` gives the folder of the scan file at each export; by default the current one.
    ZPlotsExport(const ExportTable& table, Platform& platform, SpreadsheetApp& app,
                 std::function<QString()> folder = {});

    void run();

    QString scanFilePath() const;
    QString zplotsPath() const;

  private:
    const ExportTable& table_;
    Platform& platform_;
    SpreadsheetApp& app_;
    std::function<QString()> folder_;
};

}  // namespace lorvane
