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
    // The rows are read before the event pass: whatever happens to the list while the copy
    // runs, the text holds the rows as they were when C was released.
    const int rows = table_.rowCount();
    ExportRows values;
    values.reserve(static_cast<size_t>(rows));
    for (int i = 0; i < rows; ++i) values.push_back(table_.rowValues(i));
    const QString text = clipboardText(setup.quantityLabel, setup.columnUnits, values);

    if (rows > 0) {
        view_.selectAllRows();
        view_.Data_ItemClick(rows - 1);
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
