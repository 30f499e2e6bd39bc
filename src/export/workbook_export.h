#pragma once

#include <QString>
#include <array>
#include <optional>

#include "export_interfaces.h"
#include "workbook_model.h"

namespace lorvane {

class Platform;

// The workbook's file name; the extension follows the format.
inline constexpr const char* kWorkbookFileName = "Lorvane.xlsx";

// The user's documents folder, where the workbook goes.
QString defaultWorkbookFolder();

// A sheet's name: caption of the sweep option + "_" + caption of the measurement option
// ("Freq_Z", "Bias_C").
QString sheetName(const ExportSetup& setup);

// The E shortcut: writes the results into a workbook with one sheet per pair of sweep kind and
// measurement parameter, then shows the workbook in the spreadsheet program.
//
// The workbook lives in memory as long as this object: a press adds the pair's sheet when it
// has none yet (titles in A1:C1, bold and right-aligned) and writes the values as numbers with
// the format "0.00" from row 2 on; rows below the last one keep what an earlier export wrote.
// Every press first ends the program that showed the workbook before (it may hold the file),
// then rewrites the whole file "Lorvane.xlsx" in the folder, which is created if missing, and
// shows it in a new one. The file is written whether a program can show it or not.
//
// Failures:
// - A: no spreadsheet program could be started. The file is written; the workbook stays.
// - B: the press that starts a new workbook cannot write the file.
// - C: a later press cannot rewrite the file, or the pair's sheet is missing.
// After B or C the next press starts a new workbook, with no sheets made yet.
class WorkbookExport {
  public:
    WorkbookExport(const ExportTable& table, Platform& platform, SpreadsheetApp& app,
                   QString folder = defaultWorkbookFolder());

    void run();

    // The open flag: a workbook has been started and not given up after a failure.
    bool isOpen() const { return workbook_.has_value(); }
    bool sheetMade(SweepParam sweep, MeasureMode mode) const;
    QString filePath() const;

  private:
    // Adds the pair's sheet with its titles, unless it has one; the sheet to fill, or nullptr.
    Worksheet* sheetFor(const ExportSetup& setup);
    void fill(Worksheet& sheet) const;
    void fail(const QString& message);

    const ExportTable& table_;
    Platform& platform_;
    SpreadsheetApp& app_;
    QString folder_;
    std::optional<WorkbookModel> workbook_;
    // SheetMade: one flag per pair of sweep kind (2) and measurement parameter (6).
    std::array<bool, 12> sheetMade_{};
};

}  // namespace lorvane
