// lorvane-sweep against lorvane-sim, the emulated Prologix adapter on a pseudo-terminal with a
// simulated HP 4192A behind it: what goes over the wire, what lands in the CSV, and the exit
// statuses.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

class SweepOnSimulator : public testing::Test {
  protected:
    ~SweepOnSimulator() override {
        sweep.kill();
        sweep.waitForFinished(5000);
        simulator.terminate();
        simulator.waitForFinished(5000);
    }

    // Starts the simulator afresh with these extra options, with no wire log and no output yet.
    void startSimulator(const QStringList& extra = {}) {
        simulator.terminate();
        simulator.waitForFinished(5000);
        QFile::remove(path("wire.log"));
        QFile::remove(path("out.csv"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"XDG_RUNTIME_DIR"_s, files.path());
        simulator.setProcessEnvironment(env);
        sweep.setProcessEnvironment(env);
        simulator.start(
            QStringLiteral(LORVANE_SIM_PROGRAM),
            QStringList{"--port", "9", "--delay", "0", "--wire-log", path("wire.log")} + extra);
        ASSERT_TRUE(simulator.waitForReadyRead(10000)) << simulator.readAllStandardError().data();
        ASSERT_TRUE(simulator.readLine().startsWith("COM9 /dev/"));
    }
    // Starts lorvane-sweep on the simulator's port (by the window's COM name) with these options.
    void startSweep(const QStringList& options) {
        sweep.start(QStringLiteral(LORVANE_SWEEP_PROGRAM),
                    QStringList{"--prologix", port} + options);
        ASSERT_TRUE(sweep.waitForStarted(10000));
    }
    // Runs it to its end; its exit status.
    int runSweep(const QStringList& options) {
        startSweep(options);
        // Each run has a bound, and so have a test's runs together: well under CTest's 300 s.
        EXPECT_TRUE(sweep.waitForFinished(std::clamp<qint64>(budget.remainingTime(), 0, 15000)))
            << "lorvane-sweep did not end";
        errors = QString::fromUtf8(sweep.readAllStandardError());
        return sweep.exitStatus() == QProcess::NormalExit ? sweep.exitCode() : -1;
    }

    QString path(const char* name) const { return files.filePath(QString::fromLatin1(name)); }
    QString read(const char* name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    // What the instrument received, line by line ("> " lines of the wire log).
    QStringList sent() const {
        QStringList lines;
        for (const QString& line : read("wire.log").split(u'\n'))
            if (line.startsWith(u"> "_s)) lines << line.mid(2);
        return lines;
    }
    QStringList csv() const { return read("out.csv").split(u'\n', Qt::SkipEmptyParts); }

    QDeadlineTimer budget{120000};
    QTemporaryDir files;
    QProcess simulator;
    QProcess sweep;
    QString port = u"COM9"_s;
    QString errors;
};

QStringList split(const char* text) {
    return QString::fromUtf8(text).split(u' ', Qt::SkipEmptyParts);
}

// The window sends exactly these texts for the same set-ups (see the window's run tests).
TEST_F(SweepOnSimulator, SendsTheWindowsTextsAndWritesEveryPoint) {
    const struct {
        const char* options;
        const char* wire;
        const char* rows;  // after the titles
    } cases[] = {
        {"--freq 1:3:1",
         "W0ABEX T3F1R8I0G0H0EX A1B1C1EX OL0.500ENEX EX SF1.000ENTF1.000ENPF3.000ENEX FR1.000ENEX "
         "W0EX EX W2 EX W2 EX W2 ABI0OL0.005ENEX",
         "1,15915,-89.964 2,7956.5,-89.928 3,5303.3,-89.892"},
        {"--freq 1 --bias=-100:100:100",
         "W0ABEX T3F1R8I0G0H0EX A1B1C1EX OL0.500ENEX FR1.000ENEX SB0.100ENTB-0.100ENPB0.100ENEX "
         "BI-0.100ENEX W0EX EX W2 EX W2 EX W2 ABI0OL0.005ENEX",
         "-100,17014,-89.966 0,15915,-89.964 100,17014,-89.966"},
        {"--freq 8:30:1 --step auto --measure c --osc 10",
         "W0ABEX T3F1R8I0G0H0EX A4B2C1EX OL0.010ENEX EX SF1.000ENTF8.000ENPF30.000ENEX FR8.000ENEX "
         "W1W2EX EX EX EX ABEX SF10.000ENTF20.000ENPF30.000EN W1W2EX EX EX ABI0OL0.005ENEX",
         "8,10.025,0.0050393 9,10.032,0.005673 10,10.039,0.0063081 20,10.16,0.012768 "
         "30,10.368,0.019544"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        startSimulator();
        EXPECT_EQ(runSweep(split(c.options) + QStringList{"--out", path("out.csv")}), 0)
            << errors.toStdString();
        EXPECT_EQ(sent(), split(c.wire));
        EXPECT_EQ(csv().mid(1), split(c.rows));
    }
    EXPECT_EQ(csv().value(0), u"Freq. (kHz),C (nF),D (D)"_s);
}

// A fault ends the sweep as it ends the window's run, with the rows so far kept; a retry reads
// the point again (after an unplugged adapter, once it is back), and a reference is subtracted.
TEST_F(SweepOnSimulator, ExitStatusesOfFaultsRetriesAndUsage) {
    QFile reference(path("ref.csv"));
    ASSERT_TRUE(reference.open(QIODevice::WriteOnly));
    reference.write("Freq. (kHz),Z (Ohm),Phi (°)\n1,15000,-90\n2,7000.5,-89\n3,5000,-89.9\n");
    reference.close();
    const struct {
        const char* fault;
        const char* options;  // "R" stands for the reference file
        int status;
        const char* rows;
        const char* message;
    } cases[] = {
        {"silent@3", "", 1, "1,15915,-89.964 2,7956.5,-89.928",
         "no response at point 3; the 2 points before it are kept"},
        {"endless@2", "", 1, "1,15915,-89.964", "bad data at point 2; the 1 points before"},
        {"garbled@2,silent@3", "--retries 2", 0,
         "1,15915,-89.964 2,7956.5,-89.928 3,5303.3,-89.892", "point 2: bad data, retry 1"},
        {"unplug=300@2", "--retries 1 --quiet --reference R", 0,
         "1,915,0.036 2,956,-0.928 3,303.3,0.008", ""},
        {"", "--measure c --reference R", 2, "", "the titles are not those of this set-up"},
        {"", "--freq 1:3:5", 2, "", "--freq: 1:3:5: the step is larger than the span"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fault) + " " + c.options);
        startSimulator(*c.fault ? QStringList{"--fault", c.fault} : QStringList());
        const QStringList options =
            split("--freq 1:3:1") + split(c.options).replaceInStrings(u"R"_s, path("ref.csv"));
        EXPECT_EQ(runSweep(options + QStringList{"--out", path("out.csv")}), c.status);
        EXPECT_EQ(csv().mid(1), split(c.rows));
        EXPECT_TRUE(*c.message ? errors.contains(QString::fromUtf8(c.message)) : errors.isEmpty())
            << errors.toStdString();
        // Every sweep that started ends the instrument's run; a usage error sends nothing.
        EXPECT_EQ(sent().value(sent().size() - 1),
                  c.status == 2 ? QString() : u"ABI0OL0.005ENEX"_s);
    }
    // Without a file the CSV goes to standard output.
    EXPECT_EQ(runSweep({"--freq", "1:2:1", "--out", "-"}), 0) << errors.toStdString();
    EXPECT_EQ(sweep.readAllStandardOutput(),
              "Freq. (kHz),Z (Ohm),Phi (\u00b0)\n1,15915,-89.964\n2,7956.5,-89.928\n");
    port = path("no-such-port");
    EXPECT_EQ(runSweep({"--freq", "1:2:1"}), 1);
    EXPECT_TRUE(errors.contains(u"Serial port open error"_s)) << errors.toStdString();
}

// An interrupt ends the instrument's run and exits 130; a SIGKILL at any moment leaves every
// point read so far in whole lines.
TEST_F(SweepOnSimulator, AKillOrInterruptMidSweepKeepsEveryPointReadInWholeLines) {
    const QStringList first = {"1,15915,-89.964", "2,7956.5,-89.928", "3,5303.3,-89.892"};
    for (const int signal : {SIGKILL, SIGINT}) {
        SCOPED_TRACE(signal);
        startSimulator({"--delay", "10"});
        startSweep({"--freq", "1:100:1", "--out", path("out.csv")});
        // Until the file holds the titles and three rows (at most 20 s).
        QDeadlineTimer deadline(20000);
        while (read("out.csv").count(u'\n') < 4 && !deadline.hasExpired()) QThread::msleep(2);
        ::kill(static_cast<pid_t>(sweep.processId()), signal);
        ASSERT_TRUE(sweep.waitForFinished(10000));
        if (signal == SIGINT) {
            EXPECT_EQ(sweep.exitCode(), 130);
            EXPECT_EQ(sent().last(), u"ABI0OL0.005ENEX"_s);
        }
        EXPECT_TRUE(read("out.csv").endsWith(u'\n'));
        const QStringList rows = csv();
        EXPECT_EQ(rows.mid(1, 3), first);
        // Every reading the instrument gave is in the file (after a kill, but perhaps the one
        // on its way), and after an interrupt none was read and dropped.
        const qsizetype replies = read("wire.log").count(u"\n< "_s);
        if (signal == SIGKILL) {
            EXPECT_GE(rows.size(), replies);
        } else {
            EXPECT_EQ(rows.size(), replies + 1);
        }
    }
}

TEST_F(SweepOnSimulator, ShowsItsProgressInPlaceOnATerminal) {
    startSimulator();
    // Standard error on a pseudo-terminal of the test's own.
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_TRUE(terminal >= 0 && ::grantpt(terminal) == 0 && ::unlockpt(terminal) == 0)
        << "no pseudo-terminal: " << std::strerror(errno);
    sweep.setStandardErrorFile(QString::fromLocal8Bit(::ptsname(terminal)));
    EXPECT_EQ(runSweep({"--freq", "1:3:1", "--out", path("out.csv")}), 0);
    QByteArray shown;
    char buffer[4096];
    for (ssize_t n; !shown.contains("per point") && shown.size() < 100000 &&
                    (n = ::read(terminal, buffer, sizeof buffer)) > 0;)
        shown.append(buffer, n);
    ::close(terminal);
    for (const char* part :
         {"\r0/3 0%\x1b[K", "\r1/3 33% K:+01.000000 ZF:+15.915E+03 TD:-89.964E+00 ETA 0:0",
          "\r3/3 100% K:+03.000000 ZF:+5.3033E+03 TD:-89.892E+00 ETA 0:00",
          "lorvane-sweep: 3 points in 0:0"})
        EXPECT_TRUE(shown.contains(part)) << part << " in " << shown.toStdString();
}

}  // namespace
}  // namespace lorvane
