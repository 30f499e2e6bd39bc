#pragma once

#include <QString>

#include "clipboard_copy.h"
#include "desktop_spreadsheet.h"
#include "key_dispatch.h"
#include "workbook_export.h"
#include "zplots_export.h"

class QWidget;

namespace lorvane {

// Everything the main window keeps for the exports, for its whole life: the clipboard, the
// desktop's spreadsheet program, the three exports, and the key preview that hands every key
// released in the window to Form_KeyUp.
// `savePlot` answers the key P.
class WindowExports {
  public:
    WindowExports(QWidget& window, const ExportTable& table, ExportView& view, Platform& platform,
                  QString workbookFolder = defaultWorkbookFolder(),
                  std::function<void()> savePlot = {});

  private:
    QtClipboard clipboard_;
    DesktopSpreadsheet spreadsheet_;
    ClipboardCopy copy_;
    WorkbookExport workbook_;
    ZPlotsExport zplots_;
    ExportKeys keys_;
    KeyPreview preview_;
};

}  // namespace lorvane
