#pragma once

#include <QString>

#include "clipboard_copy.h"
#include "key_dispatch.h"
#include "spreadsheet_process.h"
#include "workbook_export.h"
#include "zplots_export.h"

class QWidget;

namespace lorvane {

// Everything the main window keeps for the exports, for its whole life: the clipboard, the
// two spreadsheet programs (the workbook's and ZPlots'), the three exports, and the key preview
// that hands every key released in the window to Form_KeyUp. `savePlot` answers the key P.
class WindowExports {
  public:
    WindowExports(QWidget& window, const ExportTable& table, ExportView& view, Platform& platform,
                  QString workbookFolder = defaultWorkbookFolder(),
                  std::function<void()> savePlot = {});

    const WorkbookExport& workbook() const { return workbook_; }

  private:
    QtClipboard clipboard_;
    SpreadsheetProcess workbookApp_;
    SpreadsheetProcess zplotsApp_;
    ClipboardCopy copy_;
    WorkbookExport workbook_;
    ZPlotsExport zplots_;
    ExportKeys keys_;
    KeyPreview preview_;
};

}  // namespace lorvane
