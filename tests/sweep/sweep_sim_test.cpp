// lorvane-sweep against lorvane-sim, the emulated Prologix adapter with an HP 4192A behind it.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

QStringList split(const char* text) {
    return QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts);
}

class SweepOnSimulator : public testing::Test {
  protected:
    // The ports' names go in the runtime folder: apart from other tests'.
    SweepOnSimulator() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_RUNTIME_DIR"_s, files.path());
        simulator.setProcessEnvironment(env);
        sweep.setProcessEnvironment(env);
    }
    // The simulator afresh, then lorvane-sweep on its port, its CSV to out.csv.
    void start(const char* simulatorOptions, const QStringList& options) {
        simulator.kill();
        simulator.waitForFinished(5000);
        QFile::remove(path("wire.log"));
        QFile::remove(path("out.csv"));
        simulator.start(QStringLiteral(LORVANE_SIM_PROGRAM), split("--port 9 --delay 0 --wire-log")
                                                                 << path("wire.log")
                                                                 << split(simulatorOptions));
        ASSERT_TRUE(simulator.waitForReadyRead(10000)) << simulator.readAllStandardError().data();
        sweep.start(QStringLiteral(LORVANE_SWEEP_PROGRAM), split("--prologix COM9 --out")
                                                               << path("out.csv") << options);
        ASSERT_TRUE(sweep.waitForStarted(10000));
    }
    // Waits for its end (within 15 s: the test's 7 runs stay well within CTest's bound).
    int finish() {
        EXPECT_TRUE(sweep.waitForFinished(15000));
        errors = QString::fromUtf8(sweep.readAllStandardError());
        return sweep.exitStatus() == QProcess::NormalExit ? sweep.exitCode() : -1;
    }
    QString path(const char* name) const { return files.filePath(QString::fromLatin1(name)); }
    QString read(const char* name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    // What the instrument received ("> " lines of the wire log), and the CSV's lines.
    QString sent() const {
        return read("wire.log").split(u'\n').filter(u"> "_s).join(' ').remove(u"> "_s);
    }
    QStringList csv() const { return read("out.csv").split(u'\n', Qt::SkipEmptyParts); }

    QTemporaryDir files;
    QProcess simulator, sweep;  // each killed with the test
    QString errors;
};

// The window's texts; a fault keeps the rows so far; a retry reads the point again once an
// unplugged adapter is back; a reference (the first CSV) is subtracted; a usage error sends
// nothing.
TEST_F(SweepOnSimulator, SendsTheWindowsTextsAndWritesEveryPoint) {
    const struct {
        const char* fault;
        const char* options;  // "R" for the reference file
        int status;
        const char* wire;  // all of it, or its last text
        const char* rows;
        const char* message;
    } cases[] = {
        {"", "", 0,
         "W0ABEX T3F1R8I0G0H0EX A1B1C1EX OL0.500ENEX EX SF1.000ENTF1.000ENPF3.000ENEX FR1.000ENEX "
         "W0EX EX W2 EX W2 EX W2 ABI0OL0.005ENEX",
         "1,15915,-89.964 2,7956.5,-89.928 3,5303.3,-89.892", "lorvane-sweep: 3 points in 0:0"},
        {"--fault silent@3", "", 1, "ABI0OL0.005ENEX", "1,15915,-89.964 2,7956.5,-89.928",
         "no response at point 3; the 2 points before it are kept"},
        {"--fault unplug=300@2", "--retries 1 --quiet --reference R", 0, "ABI0OL0.005ENEX",
         "1,0,0 2,0,0 3,0,0", ""},
        {"", "--measure c --reference R", 2, "", "", "the titles are not those of this set-up"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fault);
        start(c.fault,
              split("--freq 1:3:1") + split(c.options).replaceInStrings(u"R"_s, path("ref.csv")));
        EXPECT_EQ(finish(), c.status);
        EXPECT_EQ(csv().mid(1), split(c.rows));
        EXPECT_TRUE(*c.message ? errors.contains(QString::fromUtf8(c.message)) : errors.isEmpty())
            << errors.toStdString();
        EXPECT_EQ(strchr(c.wire, ' ') ? sent() : sent().section(' ', -1), c.wire);
        QFile::copy(path("out.csv"), path("ref.csv"));  // the first one stays
    }
    // A kill keeps each point read (but one on its way) in whole lines; an interrupt keeps all.
    for (const int signal : {SIGKILL, SIGINT}) {
        start("--delay 10", split("--freq 1:100:1"));
        const QDeadlineTimer deadline(20000);
        while (read("out.csv").count(u'\n') < 4 && !deadline.hasExpired()) QThread::msleep(2);
        ::kill(static_cast<pid_t>(sweep.processId()), signal);  // after the titles and 3 rows
        ASSERT_TRUE(sweep.waitForFinished(10000));
        EXPECT_TRUE(read("out.csv").endsWith(u'\n'));
        EXPECT_EQ(csv().mid(1, 3), split("1,15915,-89.964 2,7956.5,-89.928 3,5303.3,-89.892"));
        const qsizetype replies = read("wire.log").count(u"\n< "_s);
        EXPECT_GE(csv().size() + (signal == SIGINT ? 0 : 1), replies + 1) << signal;
        if (signal == SIGINT) {
            EXPECT_EQ(u"%1 %2"_s.arg(sweep.exitCode()).arg(sent().section(' ', -1)),
                      "130 ABI0OL0.005ENEX");
        }
    }
}

}  // namespace
}  // namespace lorvane
