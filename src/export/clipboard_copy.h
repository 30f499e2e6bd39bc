#pragma once

#include "export_interfaces.h"

namespace lorvane {

class Platform;

// The system clipboard through Qt (QGuiApplication::clipboard()).
class QtClipboard final : public ClipboardSink {
  public:
    void clear() override;
    void setText(const QString& text) override;
};

// The C shortcut: copies every row of the results to the clipboard as aligned, tab-separated
// text (clipboard_text.h), built straight from the rows. While it copies, the list is in
// multiple selection with every row selected (one range, however long the list) and the last
// row's point is the one the readouts show; one event pass lets the window show that. It then
// hands the text to the clipboard between two short pauses and leaves the list in single
// selection with no row selected and the plot without a red point. Its cost grows with the
// number of rows and nothing else.
class ClipboardCopy {
  public:
    ClipboardCopy(const ExportTable& table, ExportView& view, Platform& platform,
                  ClipboardSink& clipboard);

    void run();

  private:
    const ExportTable& table_;
    ExportView& view_;
    Platform& platform_;
    ClipboardSink& clipboard_;
};

}  // namespace lorvane
