#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace lorvane {

class ClipboardCopy;
class WorkbookExport;
class ZPlotsExport;

// Key codes of the shortcuts: the letters' codes, which Qt's key numbers share.
inline constexpr int kKeyCopy = 67;      // C
inline constexpr int kKeyWorkbook = 69;  // E
inline constexpr int kKeyZPlots = 90;    // Z
inline constexpr int kKeyPlot = 80;      // P

// The main window's key-release handler: C copies the results to the clipboard, E writes the
// workbook, Z hands a gain sweep to ZPlots, P runs `savePlot` (which saves the plot when the
// results list has the focus); other keys do nothing. Modifiers are not looked at, so Ctrl+C,
// Shift+C and a plain C all copy.
class ExportKeys {
  public:
    ExportKeys(ClipboardCopy& copy, WorkbookExport& workbook, ZPlotsExport& zplots,
               std::function<void()> savePlot = {});

    void Form_KeyUp(int keyCode);

  private:
    ClipboardCopy& copy_;
    WorkbookExport& workbook_;
    ZPlotsExport& zplots_;
    std::function<void()> savePlot_;
};

// The key preview of a window: reports every key released in the window, whichever of its
// controls has the focus, text boxes included, before the control sees it. The release is not
// taken away from the control. Automatic repeats are not reported.
//
// It watches the whole application: a key event goes first to the window's focus control (or
// the window itself when none has the focus) and then up through its parents; the release is
// reported once, at its first receiver. Keys released in other windows, dialogs included, are
// not reported.
class KeyPreview : public QObject {
    Q_OBJECT
  public:
    KeyPreview(QWidget& window, std::function<void(int keyCode)> onKeyUp);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
    std::function<void(int)> onKeyUp_;
};

}  // namespace lorvane
