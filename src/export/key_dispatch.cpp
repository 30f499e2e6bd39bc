#include "key_dispatch.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include "clipboard_copy.h"
#include "workbook_export.h"
#include "zplots_export.h"

namespace lorvane {

ExportKeys::ExportKeys(ClipboardCopy& copy, WorkbookExport& workbook, ZPlotsExport& zplots,
                       std::function<void()> savePlot)
    : copy_(copy), workbook_(workbook), zplots_(zplots), savePlot_(std::move(savePlot)) {}

void ExportKeys::Form_KeyUp(int keyCode) {
    switch (keyCode) {
        case kKeyCopy:
            copy_.run();
            break;
        case kKeyWorkbook:
            workbook_.run();
            break;
        case kKeyZPlots:
            zplots_.run();
            break;
        case kKeyPlot:
            if (savePlot_) savePlot_();
            break;
        default:
            break;
    }
}

KeyPreview::KeyPreview(QWidget& window, std::function<void(int)> onKeyUp)
    : window_(window), onKeyUp_(std::move(onKeyUp)) {
    qApp->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyRelease) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    QWidget* firstReceiver = window_.focusWidget() ? window_.focusWidget() : &window_;
    if (watched == firstReceiver && !key->isAutoRepeat()) onKeyUp_(key->key());
    return false;
}

}  // namespace lorvane
