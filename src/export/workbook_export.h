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

// The E shortcut: writes the results into a workbook with one sheet per pair of sweep kind and
// measurement parameter, then asks the desktop to show it.
//
// The workbook lives in memory as long as this object: a press adds the pair's sheet when it
// has none yet (titles in A1:C1, bold and right-aligned) and writes the values as numbers with
// the format "0.00" from row 2 on; rows below the last one keep what an earlier export wrote.
// Every press writes the whole workbook, every sheet of it, to "Lorvane.xlsx" in the folder
// (created if missing), atomically, and the status bar says which sheet went to which file
// (full path). Then the file is shown; a program that an earlier press started for the
// operator is left alone, with whatever the operator did in it.
//
// Failures:
// - A: nothing can show the file. The file is written; the workbook stays.
// - The file cannot be written: a message names the file and the reason the system gave.
//   Nothing is shown; the workbook stays in memory, so the next press writes every sheet.
class WorkbookExport {
  public:
    WorkbookExport(const ExportTable& table, ExportView& view, Platform& platform,
                   SpreadsheetApp& app, QString folder = defaultWorkbookFolder());

    void run();

    bool sheetMade(SweepParam sweep, MeasureMode mode) const;
    // The workbook's full path.
    QString filePath() const;

  private:
    // The pair's sheet, added with its titles when the workbook has none of its name yet.
    Worksheet& sheetFor(const ExportSetup& setup);
    void fill(Worksheet& sheet) const;
    // Writes the workbook to its file; the reason when it cannot.
    std::optional<QString> write() const;

    const ExportTable& table_;
    ExportView& view_;
    Platform& platform_;
    SpreadsheetApp& app_;
    QString folder_;
    std::optional<WorkbookModel> workbook_;
    // SheetMade: one flag per pair of sweep kind (2) and measurement parameter (6).
    std::array<bool, 12> sheetMade_{};
};

}  // namespace lorvane
