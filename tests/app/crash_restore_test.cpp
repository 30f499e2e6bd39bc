// A window killed in the middle of a run, and the next start that finds its crash journal.
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include "crash_journal.h"
#include "run_e2e_support.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

class CrashRestore : public RunEndToEnd {
  protected:
    QString journalPath() const { return settings.configHome() + u"/lorvane/Lorvane.journal"_s; }
    QByteArray journalText() const {
        QFile file(journalPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Runs a window in a child process, and kills it (SIGKILL) once its journal holds at least
    // `points` points; the points it holds then.
    std::vector<JournalPoint> crashMidRun(int points) {
        QProcess child;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env.insert(u"LORVANE_SIM_DELAY_MS"_s, u"20"_s);
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QStringLiteral(LORVANE_CRASH_CHILD), {});
        EXPECT_TRUE(child.waitForStarted(10000));
        for (QDeadlineTimer deadline(30000); !deadline.hasExpired(); QThread::msleep(5)) {
            if (journalText().count("\npoint\t") >= points) break;
        }
        child.kill();
        EXPECT_TRUE(child.waitForFinished(10000));
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
        const std::optional<JournalContents> left = readJournal(journalText());
        EXPECT_TRUE(left) << "no journal at " << journalPath().toStdString();
        return left ? left->points : std::vector<JournalPoint>();
    }
};

TEST_F(CrashRestore, YesPutsTheRowsHeadingsReadoutsAndPlotBack) {
    const std::vector<JournalPoint> points = crashMidRun(5);
    ASSERT_GE(points.size(), 5u);
    platform.answerNext(MsgResult::Yes);
    start();

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, u"Lorvane"_s);
    EXPECT_EQ(platform.messages[0].text,
              u"Lorvane did not close normally. Restore the %1 points measured before?"_s.arg(
                  points.size()));
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
    const auto list = rows();
    ASSERT_EQ(list.size(), points.size());
    // The default run: 10 kHz up in steps of 1 kHz.
    EXPECT_EQ(list[0], (std::array<QString, 3>{dec("10.000"), dec("1585.300"), dec("-89.639")}));
    EXPECT_EQ(list[4][0], dec("14.000"));
    EXPECT_EQ(panel("IN"), points.back().in);
    EXPECT_EQ(panel("DAT1"), points.back().dat1Text);
    EXPECT_TRUE(window.resultsView().PlotReady());
    EXPECT_EQ(window.results().heading(3), u"Z (Ohm)"_s);

    // A normal close removes the journal.
    window.close();
    EXPECT_FALSE(QFile::exists(journalPath()));
}

TEST_F(CrashRestore, NoDiscardsThem) {
    ASSERT_GE(crashMidRun(2).size(), 2u);
    platform.answerNext(MsgResult::No);
    start();
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(journalText().isEmpty());
    // Nothing is offered again.
    window.close();
    MainWindow second{platform};
    Application again{platform, second, files.path()};
    ASSERT_TRUE(again.load(QString()));
    EXPECT_EQ(platform.messages.size(), 1u);
}

}  // namespace
}  // namespace lorvane::test
