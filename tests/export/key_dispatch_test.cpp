#include "key_dispatch.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>

#include "clipboard_copy.h"
#include "export_fakes.h"
#include "fake_platform.h"
#include "scoped_env.h"
#include "window_exports.h"
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

struct KeysFixture : ::testing::Test {
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

using ExportKeysTest = KeysFixture;

TEST_F(ExportKeysTest, CCopiesEWritesTheWorkbookZExportsToZPlotsPSavesThePlot) {
    table.rows = {locRow("1.000", "10.000", "1.000")};
    keys.Form_KeyUp(67);
    EXPECT_TRUE(clipboard.text.startsWith(u"Freq. (kHz)\t"));
    EXPECT_FALSE(QFile::exists(dir.filePath(u"Lorvane.xlsx"_s)));

    keys.Form_KeyUp(69);
    EXPECT_TRUE(QFile::exists(dir.filePath(u"Lorvane.xlsx"_s)));
    EXPECT_TRUE(platform.messages.empty());

    keys.Form_KeyUp(90);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, u"Gain mode only\r\nPlease change configuration");

    EXPECT_EQ(plotSaves, 0);
    keys.Form_KeyUp(80);
    EXPECT_EQ(plotSaves, 1);
}

TEST_F(ExportKeysTest, OtherKeysDoNothing) {
    table.rows = {locRow("1.000", "10.000", "1.000")};
    for (const int key : {0, 66, 68, 79, 81, 88, 91, int(Qt::Key_Control), int(Qt::Key_Shift)})
        keys.Form_KeyUp(key);
    EXPECT_EQ(plotSaves, 0);
    EXPECT_TRUE(clipboard.journal.empty());
    EXPECT_TRUE(view.journal.empty());
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(app.journal.empty());
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

TEST(WindowExportsTest, ReleasingKeysInTheWindowRunsTheExports) {
    QTemporaryDir dir;
    ScopedEnv path("PATH", dir.path().toLocal8Bit());
    QWidget window;
    QLineEdit edit(&window);
    window.show();
    edit.setFocus();
    FakeTable table;
    table.rows = {locRow("1.000", "10.000", "1.000")};
    FakeView view;
    FakePlatform platform;
    WindowExports exports(window, table, view, platform, dir.path());

    release(edit, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              u"Freq. (kHz)\tZ (Ohm)\tPhi (°)\t\r\n"_s + loc("1.000\t10.000\t1.000\t\r\n"));

    // No spreadsheet program on the PATH: the workbook is written and failure A is shown.
    release(edit, Qt::Key_E);
    EXPECT_TRUE(QFile::exists(dir.filePath(u"Lorvane.xlsx"_s)));
    EXPECT_EQ(view.journal.back(),
              u"message:Sheet Freq_Z written to "_s + dir.filePath(u"Lorvane.xlsx"_s));
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              u"Microsoft EXCEL: Not found on this machine\r\nCannot display results");
}

}  // namespace
}  // namespace lorvane::test
