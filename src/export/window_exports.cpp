#include "window_exports.h"

namespace lorvane {

WindowExports::WindowExports(QWidget& window, const ExportTable& table, ExportView& view,
                             Platform& platform, QString workbookFolder,
                             std::function<void()> savePlot)
    : copy_(table, view, platform, clipboard_),
      workbook_(table, view, platform, spreadsheet_, std::move(workbookFolder)),
      zplots_(table, platform, spreadsheet_),
      keys_(copy_, workbook_, zplots_, std::move(savePlot)),
      preview_(window, [this](int keyCode) { keys_.Form_KeyUp(keyCode); }) {}

}  // namespace lorvane
