#include "desktop_spreadsheet.h"

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

// A folder that is the whole PATH, with recording stand-ins for the programs that show files:
// each start adds a line "<process id> <arguments>" to "<name>.log", then waits until it is
// ended.
struct DesktopSpreadsheetTest : ::testing::Test {
    void install(const QString& name) {
        QFile script(dir.filePath(name));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(
            u"#!/bin/sh\necho $$ \"$@\" >> '%1.log'\nexec /bin/sleep 60\n"_s.arg(dir.filePath(name))
                .toUtf8());
        script.close();
        ASSERT_TRUE(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    // The lines the program logged, once it has logged `count` of them (or after 10 s).
    QList<QByteArray> logged(const QString& name, qsizetype count) const {
        QFile file(dir.filePath(name) + u".log"_s);
        QList<QByteArray> lines;
        for (QDeadlineTimer deadline(10000); !deadline.hasExpired(); QThread::msleep(10)) {
            if (file.open(QIODevice::ReadOnly)) {
                lines = file.readAll().trimmed().split('\n');
                file.close();
                if (lines.size() >= count) break;
            }
        }
        return lines;
    }

    QTemporaryDir dir;
    ScopedEnv path{"PATH", dir.path().toLocal8Bit()};
};

TEST_F(DesktopSpreadsheetTest, ShowsEachFileThroughTheDesktopAndLeavesEveryProgramRunning) {
    DesktopSpreadsheet none;  // nothing on the PATH
    EXPECT_FALSE(none.available());
    EXPECT_FALSE(none.show(u"/tmp/Lorvane.xlsx"_s));
    install(u"gnumeric"_s);
    install(u"soffice"_s);
    install(u"xdg-open"_s);
    std::vector<pid_t> started;
    {
        DesktopSpreadsheet app;
        ASSERT_TRUE(app.available());
        EXPECT_EQ(app.program(), dir.filePath(u"xdg-open"_s));
        ASSERT_TRUE(app.show(u"/data/Lorvane.xlsx"_s));
        ASSERT_EQ(logged(u"xdg-open"_s, 1).size(), 1);
        ASSERT_TRUE(app.show(u"/data/Lorvane.xlsx"_s));
        const QList<QByteArray> lines = logged(u"xdg-open"_s, 2);
        ASSERT_EQ(lines.size(), 2);
        for (const QByteArray& line : lines) {
            EXPECT_TRUE(line.endsWith(" /data/Lorvane.xlsx")) << line.constData();
            started.push_back(line.split(' ').front().toInt());
        }
    }
    EXPECT_FALSE(QFile::exists(dir.filePath(u"soffice.log"_s)));
    // The second show and the end of the object leave both programs to the operator.
    for (const pid_t pid : started) {
        ASSERT_GT(pid, 0);
        EXPECT_EQ(::kill(pid, 0), 0) << pid;
        ::kill(pid, SIGTERM);  // the test started them, so the test ends them
    }
}

}  // namespace
}  // namespace lorvane::test
