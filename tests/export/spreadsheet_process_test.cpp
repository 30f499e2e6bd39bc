#include "spreadsheet_process.h"

#include <gtest/gtest.h>
#include <signal.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "scoped_env.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

// A folder that is the whole PATH, with recording stand-ins for spreadsheet programs: each
// writes its process id to "<name>.pid" and its arguments to "<name>.args", then waits until
// it is ended (or ends at once, when made so).
struct FakePrograms : ::testing::Test {
    void install(const QString& name, bool stays = true) {
        QFile script(dir.filePath(name));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        const QString stem = dir.filePath(name);
        script.write(
            u"#!/bin/sh\necho $$ > '%1.pid'\nprintf '%s\\n' \"$@\" > '%1.args.tmp'\n"
            "/bin/mv '%1.args.tmp' '%1.args'\n%2"_s
                .arg(stem, stays ? u"exec /bin/sleep 60\n"_s : QString())
                .toUtf8());
        script.close();
        ASSERT_TRUE(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    // What the program recorded, once it has; empty when it has not started in 10 s.
    QByteArray recorded(const QString& name, const char* suffix) const {
        QFile file(dir.filePath(name) + QString::fromLatin1(suffix));
        const QDeadlineTimer deadline(10000);
        while (!file.exists() && !deadline.hasExpired()) QThread::msleep(10);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    ScopedEnv path{"PATH", dir.path().toLocal8Bit()};
};

using SpreadsheetProcessTest = FakePrograms;

TEST_F(SpreadsheetProcessTest, WithoutAProgramOnThePathNothingCanBeShown) {
    SpreadsheetProcess app;
    EXPECT_FALSE(app.available());
    EXPECT_EQ(app.program(), u"");
    EXPECT_FALSE(app.show(u"/tmp/Lorvane.xlsx"_s));
    EXPECT_FALSE(app.running());
    app.quit();
}

TEST_F(SpreadsheetProcessTest, ShowsTheFileWithTheFirstProgramFoundAndQuitEndsIt) {
    install(u"gnumeric"_s);
    install(u"libreoffice"_s);
    SpreadsheetProcess app;
    ASSERT_TRUE(app.available());
    EXPECT_EQ(app.program(), dir.filePath(u"libreoffice"_s));

    ASSERT_TRUE(app.show(u"/data/Lorvane.xlsx"_s));
    EXPECT_EQ(recorded(u"libreoffice"_s, ".args"), "/data/Lorvane.xlsx\n");
    EXPECT_FALSE(QFile::exists(dir.filePath(u"gnumeric.pid"_s)));
    EXPECT_TRUE(app.running());
    app.quit();
    EXPECT_FALSE(app.running());
}

TEST_F(SpreadsheetProcessTest, QuittingAProgramThatHasGoneIsNoFailure) {
    install(u"soffice"_s, false);
    SpreadsheetProcess app;
    ASSERT_TRUE(app.show(u"/data/$Zplots$Scan.csv"_s));
    EXPECT_EQ(recorded(u"soffice"_s, ".args"), "/data/$Zplots$Scan.csv\n");
    app.quit();
    app.quit();
    EXPECT_FALSE(app.running());
    // And it can show a file again.
    ASSERT_TRUE(app.show(u"/data/ZPlots.xls"_s));
    app.quit();
}

TEST_F(SpreadsheetProcessTest, AProgramStillRunningWhenTheWindowGoesIsLeftRunning) {
    install(u"soffice"_s);
    {
        SpreadsheetProcess app;
        ASSERT_TRUE(app.show(u"/data/Lorvane.xlsx"_s));
        ASSERT_FALSE(recorded(u"soffice"_s, ".args").isEmpty());
    }
    const pid_t pid = recorded(u"soffice"_s, ".pid").trimmed().toInt();
    ASSERT_GT(pid, 0);
    EXPECT_EQ(::kill(pid, 0), 0);
    // The test started it, so the test ends it.
    ::kill(pid, SIGTERM);
}

}  // namespace
}  // namespace lorvane::test
