#include "key_dispatch.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include "clipboard_copy.h"
#include "export_fakes.h"
#include "fake_platform.h"
#include "workbook_export.h"
#include "zplots_export.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

void release(QWidget& target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
             bool autoRepeat = false) {
    QKeyEvent event(QEvent::KeyRelease, key, modifiers, QString(), autoRepeat);
    QApplication::sendEvent(&target, &event);
}

// The exports behind the keys, each noting what it did.
struct KeysRig {
    KeysRig() { table.rows = {locRow("1.000", "10.000", "1.000")}; }
    // "copy", "workbook", "zplots" (its refusal of a set-up that is not gain) and "plot".
    QStringList done() const {
        QStringList what;
        if (!clipboard.text.isEmpty()) what << u"copy"_s;
        if (QFile::exists(dir.filePath(u"Lorvane.xlsx"_s))) what << u"workbook"_s;
        for (const auto& message : platform.messages)
            if (message.text == u"Gain mode only\r\nPlease change configuration")
                what << u"zplots"_s;
        if (plotSaves > 0) what << u"plot"_s;
        return what;
    }

    QTemporaryDir dir;
    FakeTable table;
    FakeView view;
    FakePlatform platform;
    FakeClipboard clipboard;
    FakeSpreadsheet app;
    ClipboardCopy copy{table, view, platform, clipboard};
    WorkbookExport workbook{table, view, platform, app, dir.path()};
    ZPlotsExport zplots{table, platform, app, [this] { return dir.path(); }};
    int plotSaves = 0;
    ExportKeys keys{copy, workbook, zplots, [this] { ++plotSaves; }};
};

TEST(ExportKeys, CCopiesEWritesTheWorkbookZExportsToZPlotsPSavesThePlotOtherKeysDoNothing) {
    const std::pair<int, const char*> cases[] = {
        {67, "copy"}, {69, "workbook"}, {90, "zplots"}, {80, "plot"},
        {0, ""},      {66, ""},         {68, ""},       {79, ""},
        {81, ""},     {88, ""},         {91, ""},       {int(Qt::Key_Control), ""},
    };
    for (const auto& [key, done] : cases) {
        KeysRig rig;
        rig.keys.Form_KeyUp(key);
        EXPECT_EQ(rig.done().join(u' '), QString::fromLatin1(done)) << key;
        EXPECT_EQ(rig.platform.messages.size(), key == 90 ? 1u : 0u) << key;
    }
}

// A text box that counts the key events it gets: the preview passes every one on.
struct CountingEdit : QLineEdit {
    using QLineEdit::QLineEdit;
    void keyPressEvent(QKeyEvent* event) override {
        ++presses;
        QLineEdit::keyPressEvent(event);
    }
    void keyReleaseEvent(QKeyEvent* event) override {
        ++releases;
        QLineEdit::keyReleaseEvent(event);
    }
    int presses = 0;
    int releases = 0;
};

TEST(KeyPreview, AReleaseInTheWindowIsReportedOnceWhateverTheModifiers) {
    QWidget window;
    std::vector<int> keys;
    KeyPreview preview{window, [&](int key) { keys.push_back(key); }};
    // Without a focus control the window itself gets the key.
    release(window, Qt::Key_E);
    CountingEdit edit{&window};
    QLineEdit other{&window};
    window.show();
    edit.setFocus();
    ASSERT_EQ(window.focusWidget(), &edit);
    release(edit, Qt::Key_C);
    release(edit, Qt::Key_E, Qt::ControlModifier);
    release(edit, Qt::Key_Z, Qt::ShiftModifier | Qt::AltModifier);
    // Not reported: repeats, presses, a release that reaches the window (or another control)
    // after the focus control, and keys of other windows.
    release(edit, Qt::Key_C, Qt::NoModifier, true);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_C, Qt::NoModifier);
    QApplication::sendEvent(&edit, &press);
    release(window, Qt::Key_C);
    release(other, Qt::Key_C);
    QWidget dialog;
    QLineEdit field(&dialog);
    dialog.show();
    field.setFocus();
    release(field, Qt::Key_C);
    EXPECT_EQ(keys, (std::vector<int>{69, 67, 69, 90}));
    EXPECT_EQ(edit.presses, 1);
    EXPECT_EQ(edit.releases, 4);
}

}  // namespace
}  // namespace lorvane::test
