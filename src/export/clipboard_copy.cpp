#include "clipboard_copy.h"

#include <QClipboard>
#include <QGuiApplication>

#include "clipboard_text.h"
#include "platform.h"

namespace lorvane {
namespace {

// The pause before and after the clipboard changes hands.
constexpr int kClipboardPauseMs = 200;

}  // namespace

void QtClipboard::clear() { QGuiApplication::clipboard()->clear(); }

void QtClipboard::setText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

ClipboardCopy::ClipboardCopy(const ExportTable& table, ExportView& view, Platform& platform,
                             ClipboardSink& clipboard)
    : table_(table), view_(view), platform_(platform), clipboard_(clipboard) {}

void ClipboardCopy::run() {
    view_.setMultiSelection(true);
    const ExportSetup setup = table_.setup();
    QString text = clipboardHeader(setup.quantityLabel, setup.columnUnits);

    // The rows are read once, before the first event pass: whatever happens to the list while
    // the copy walks it, the text holds the rows as they were when C was released.
    const int rows = table_.rowCount();
    ExportRows values;
    values.reserve(static_cast<size_t>(rows));
    ColumnWidthTracker tracker;
    for (int i = 0; i < rows; ++i) {
        values.push_back(table_.rowValues(i));
        tracker.add(values.back());
    }
    const ColumnWidths widths = tracker.widths();

    for (int i = 0; i < rows; ++i) {
        text += clipboardLine(values[static_cast<size_t>(i)], widths);
        view_.selectRow(i);
        platform_.processEvents();
        view_.Data_ItemClick(i);
        platform_.processEvents();
    }
    view_.UnhighlightPoint();

    platform_.sleep(kClipboardPauseMs);
    clipboard_.clear();
    clipboard_.setText(text);
    platform_.sleep(kClipboardPauseMs);

    view_.setMultiSelection(false);
    if (table_.rowCount() > 0) {
        view_.selectRow(0);
        view_.unselectRow(0);
    }
}

}  // namespace lorvane
