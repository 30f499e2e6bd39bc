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
// text (clipboard_text.h). While it builds the text it walks the list row by row: each row is
// selected, scrolled into view and clicked, so that its point lights up on the plot, with an
// event pass after each step. The list is in multiple selection while it copies and ends in
// single selection with no row selected.
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
