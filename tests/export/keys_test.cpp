// The keys that start the exports, and the desktop program that shows their files.
#include <signal.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>

#include "clipboard_copy.h"
#include "desktop_spreadsheet.h"
#include "export_rig.h"
#include "key_dispatch.h"
#include "scoped_env.h"
#include "workbook_export.h"
#include "zplots_export.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

TEST(ExportKeys, CCopiesEWritesTheWorkbookZExportsToZPlotsPSavesThePlotOtherKeysDoNothing) {
    const std::pair<int, const char*> cases[] = {
        {67, "copy"}, {69, "workbook"}, {90, "zplots"}, {80, "plot"},
        {0, ""},      {66, ""},         {68, ""},       {79, ""},
        {81, ""},     {88, ""},         {91, ""},       {Qt::Key_Control, ""},
    };
    for (const auto& [key, expected] : cases) {
        QTemporaryDir dir;
        FakeTable table;  // impedance: the ZPlots export refuses it with a message
        table.rows = {locRow("1.000", "10.000", "1.000")};
        FakeView view;
        FakePlatform platform;
        FakeSpreadsheet app;
        ClipboardCopy copy{table, view, platform, view};
        WorkbookExport workbook{table, view, platform, app, dir.path()};
        ZPlotsExport zplots{table, platform, app, [&] { return dir.path(); }};
        QString done;
        ExportKeys{copy, workbook, zplots, [&] { done += u"plot"_s; }}.Form_KeyUp(key);
        if (!view.text.isEmpty()) done += u"copy"_s;
        if (QFile::exists(dir.filePath(u"Lorvane.xlsx"_s))) done += u"workbook"_s;
        if (!platform.messages.empty()) done += u"zplots"_s;
        EXPECT_EQ(done, QString::fromLatin1(expected)) << key;
    }
}

TEST(KeyPreview, AReleaseInTheWindowIsReportedOnceWhateverTheModifiers) {
    QWidget window;
    std::vector<int> keys;
    const KeyPreview preview{window, [&](int key) { keys.push_back(key); }};
    const auto send = [](QWidget& target, int key, Qt::KeyboardModifiers modifiers = {},
                         bool autoRepeat = false, QEvent::Type type = QEvent::KeyRelease) {
        QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
        QApplication::sendEvent(&target, &event);
    };
    send(window, Qt::Key_E);  // without a focus control the window gets the key
    QPushButton button{&window};
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
    window.show();
    button.setFocus();
    send(button, Qt::Key_C);
    send(button, Qt::Key_E, Qt::ControlModifier);
    send(button, Qt::Key_Z, Qt::ShiftModifier | Qt::AltModifier);
    // Not reported: repeats, presses, a release that reaches the window after the focus
    // control, and keys of other windows. The control gets every key: space clicks the button.
    send(button, Qt::Key_C, {}, true);
    send(window, Qt::Key_C);
    send(button, Qt::Key_Space, {}, false, QEvent::KeyPress);
    send(button, Qt::Key_Space);
    QWidget dialog;
    QPushButton field(&dialog);
    dialog.show();
    field.setFocus();
    send(field, Qt::Key_C);
    EXPECT_EQ(keys, (std::vector<int>{69, 67, 69, 90, 32}));
    EXPECT_EQ(clicks, 1);
}

TEST(DesktopSpreadsheet, ShowsEachFileThroughTheFirstProgramOnThePathAndLeavesItRunning) {
    QTemporaryDir dir;
    const ScopedEnv path{"PATH", dir.path().toLocal8Bit()};
    EXPECT_FALSE(DesktopSpreadsheet().available() || DesktopSpreadsheet().show(u"/tmp/x"_s));
    // Stand-ins: each start adds "<process id> <arguments>" to "<name>.log", then waits.
    for (const QString& name : {u"gnumeric"_s, u"soffice"_s, u"xdg-open"_s}) {
        QFile script(dir.filePath(name));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(
            ("#!/bin/sh\necho $$ \"$@\" >> '" + script.fileName() + ".log'\nexec /bin/sleep 60\n")
                .toUtf8());
        script.close();
        ASSERT_TRUE(script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    }
    {
        DesktopSpreadsheet app;
        EXPECT_EQ(app.program(), dir.filePath(u"xdg-open"_s));
        ASSERT_TRUE(app.show(u"/data/Lorvane.xlsx"_s) && app.show(u"/data/Lorvane.xlsx"_s));
    }
    QFile log(dir.filePath(u"xdg-open.log"_s));
    QList<QByteArray> lines;
    for (QDeadlineTimer deadline(10000); lines.size() < 2 && !deadline.hasExpired();
         QThread::msleep(10)) {
        if (log.open(QIODevice::ReadOnly)) lines = log.readAll().trimmed().split('\n');
        log.close();
    }
    ASSERT_EQ(lines.size(), 2) << "the stand-in did not log both starts within 10 s";
    // Both programs outlive the object: they are the operator's.
    for (const QByteArray& line : lines) {
        EXPECT_TRUE(line.endsWith(" /data/Lorvane.xlsx")) << line.constData();
        const pid_t pid = line.split(' ').front().toInt();
        ASSERT_GT(pid, 0);
        EXPECT_EQ(::kill(pid, 0), 0) << pid;
        ::kill(pid, SIGTERM);  // the test started them, so the test ends them
    }
}

}  // namespace
}  // namespace lorvane::test
