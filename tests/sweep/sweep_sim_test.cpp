// lorvane-sweep against lorvane-sim, the emulated Prologix adapter on a pseudo-terminal with a
// simulated HP 4192A behind it: what goes over the wire, what lands in the CSV, and the exit
// statuses.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

class SweepOnSimulator : public testing::Test {
  protected:
    ~SweepOnSimulator() override {
        if (sweep.state() != QProcess::NotRunning) sweep.kill();
        sweep.waitForFinished(5000);
        simulator.terminate();
        simulator.waitForFinished(5000);
    }

    // Starts the simulator afresh with these extra options, with no wire log and no output
    // yet; its pseudo-terminal's path is `port`.
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
        const QByteArray announced = simulator.readLine().trimmed();
        ASSERT_TRUE(announced.startsWith("COM9 /dev/")) << announced.data();
        port = QString::fromLatin1(announced.mid(5));
    }

    // Starts lorvane-sweep on the simulator's port with these options.
    void startSweep(const QStringList& options) {
        sweep.start(QStringLiteral(LORVANE_SWEEP_PROGRAM),
                    QStringList{"--prologix", port} + options);
        ASSERT_TRUE(sweep.waitForStarted(10000));
    }
    // Runs it to its end; its exit status.
    int runSweep(const QStringList& options) {
        startSweep(options);
        EXPECT_TRUE(sweep.waitForFinished(60000)) << "lorvane-sweep did not end";
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
    QStringList csv(const char* name = "out.csv") const {
        return read(name).split(u'\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir files;
    QProcess simulator;
    QProcess sweep;
    QString port;
    QString errors;
};

// The window sends exactly these texts for the same set-ups (see the window's run tests).
TEST_F(SweepOnSimulator, SendsTheWindowsTextsAndWritesEveryPoint) {
    struct Case {
        QStringList options;
        QStringList wire;
        QStringList rows;
    };
    const Case cases[] = {
        {{"--freq", "1:5:1"},
         {"W0ABEX", "T3F1R8I0G0H0EX", "A1B1C1EX", "OL0.500ENEX", "EX",
          "SF1.000ENTF1.000ENPF5.000ENEX", "FR1.000ENEX", "W0EX", "EX", "W2", "EX", "W2", "EX",
          "W2", "EX", "W2", "EX", "W2", "ABI0OL0.005ENEX"},
         {"Freq. (kHz),Z (Ohm),Phi (°)", "1,15915,-89.964", "2,7956.5,-89.928", "3,5303.3,-89.892",
          "4,3976.4,-89.856", "5,3180,-89.82"}},
        {{"--freq", "1", "--bias=-100:100:100"},
         {"W0ABEX", "T3F1R8I0G0H0EX", "A1B1C1EX", "OL0.500ENEX", "FR1.000ENEX",
          "SB0.100ENTB-0.100ENPB0.100ENEX", "BI-0.100ENEX", "W0EX", "EX", "W2", "EX", "W2", "EX",
          "W2", "ABI0OL0.005ENEX"},
         {"Bias (mV),Z (Ohm),Phi (°)", "-100,17014,-89.966", "0,15915,-89.964",
          "100,17014,-89.966"}},
        {{"--freq", "8:30:1", "--step", "auto", "--measure", "c", "--osc", "10"},
         {"W0ABEX", "T3F1R8I0G0H0EX", "A4B2C1EX", "OL0.010ENEX", "EX",
          "SF1.000ENTF8.000ENPF30.000ENEX", "FR8.000ENEX", "W1W2EX", "EX", "EX", "EX", "ABEX",
          "SF10.000ENTF20.000ENPF30.000EN", "W1W2EX", "EX", "EX", "ABI0OL0.005ENEX"},
         {"Freq. (kHz),C (nF),D (D)", "8,10.025,0.0050393", "9,10.032,0.005673",
          "10,10.039,0.0063081", "20,10.16,0.012768", "30,10.368,0.019544"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(u' ').toStdString());
        startSimulator();
        EXPECT_EQ(runSweep(c.options + QStringList{"--out", path("out.csv")}), 0)
            << errors.toStdString();
        EXPECT_EQ(sent(), c.wire);
        EXPECT_EQ(csv(), c.rows);
        EXPECT_TRUE(errors.contains(u" points in "_s)) << errors.toStdString();  // the summary
    }
}

TEST_F(SweepOnSimulator, AFaultEndsTheSweepAsTheWindowsRunWithTheRowsKept) {
    startSimulator({"--fault", "silent@3"});
    EXPECT_EQ(runSweep({"--freq", "1:5:1", "--out", path("out.csv"), "--xlsx", path("out.xlsx")}),
              1);
    EXPECT_EQ(csv(),
              QStringList({"Freq. (kHz),Z (Ohm),Phi (°)", "1,15915,-89.964", "2,7956.5,-89.928"}));
    EXPECT_EQ(sent().mid(sent().size() - 2), QStringList({"EX", "ABI0OL0.005ENEX"}));
    EXPECT_TRUE(errors.contains(u"No response from command. Verify GPIB Configuration"_s))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains(u"no response at point 3; the 2 points before it are kept"_s))
        << errors.toStdString();
    EXPECT_TRUE(QFile::exists(path("out.xlsx")));  // the rows so far
}

TEST_F(SweepOnSimulator, RetriesReadAPointAgainAndWriteItOnceWithItsTrueValue) {
    startSimulator({"--fault", "garbled@2,silent@3"});
    EXPECT_EQ(runSweep({"--freq", "1:3:1", "--retries", "2", "--out", path("out.csv")}), 0)
        << errors.toStdString();
    EXPECT_EQ(csv(), QStringList({"Freq. (kHz),Z (Ohm),Phi (°)", "1,15915,-89.964",
                                  "2,7956.5,-89.928", "3,5303.3,-89.892"}));
    EXPECT_TRUE(errors.contains(u"point 2: bad data, retry 1"_s)) << errors.toStdString();
    EXPECT_TRUE(errors.contains(u"point 2: no response, retry 2"_s)) << errors.toStdString();

    // Too few retries: the fault ends the sweep.
    startSimulator({"--fault", "garbled@2,silent@3"});
    EXPECT_EQ(runSweep({"--freq", "1:3:1", "--retries", "1", "--quiet", "--out", path("out.csv")}),
              1);
    EXPECT_EQ(csv().size(), 2);
    EXPECT_FALSE(errors.contains(u"retry"_s)) << errors.toStdString();  // --quiet: errors only
    EXPECT_TRUE(errors.contains(u"no response at point 2"_s)) << errors.toStdString();
}

// A reply that never ends is cut at 256 bytes and read as bad data; an adapter pulled after
// reply 2 and back 300 ms later fails the query in flight at once. Without retries the sweep
// ends there with the rows read; with one, the retry reads the point (waiting for the adapter).
TEST_F(SweepOnSimulator, AnEndlessReplyOrAPulledAdapterIsReportedAndARetryRidesOverIt) {
    const struct {
        const char* fault;
        const char* retries;
        int status;
        qsizetype rows;
        QString message;
    } cases[] = {
        {"endless@2", "0", 1, 2, u"bad data at point 2; the 1 points before it are kept"_s},
        {"endless@2", "1", 0, 5, u"point 2: bad data, retry 1"_s},
        {"unplug=300@2", "0", 1, 3, u"no response at point 3; the 2 points before it are kept"_s},
        {"unplug=300@2", "1", 0, 5, u"point 3: no response, retry 1"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.fault) + " --retries " + c.retries);
        startSimulator({"--fault", c.fault});
        // By its COM number: a pulled adapter comes back on another pseudo-terminal.
        port = u"COM9"_s;
        EXPECT_EQ(runSweep({"--freq", "1:4:1", "--retries", c.retries, "--out", path("out.csv")}),
                  c.status)
            << errors.toStdString();
        EXPECT_EQ(csv().size(), c.rows);
        EXPECT_TRUE(errors.contains(c.message)) << errors.toStdString();
    }
}

TEST_F(SweepOnSimulator, AReferenceIsSubtractedPointByPoint) {
    startSimulator();
    ASSERT_EQ(runSweep({"--freq", "1:3:1", "--quiet", "--out", path("ref.csv")}), 0)
        << errors.toStdString();
    QFile edited(path("ref.csv"));
    ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
    edited.write("Freq. (kHz),Z (Ohm),Phi (°)\n1,15000,-90\n2,7000.5,-89\n3,5000,-89.9\n");
    edited.close();
    EXPECT_EQ(runSweep({"--freq", "1:3:1", "--reference", path("ref.csv"), "--out", path("out.csv"),
                        "--quiet"}),
              0)
        << errors.toStdString();
    EXPECT_EQ(csv(), QStringList({"Freq. (kHz),Z (Ohm),Phi (°)", "1,915,0.036", "2,956,-0.928",
                                  "3,303.3,0.008"}));
    EXPECT_TRUE(errors.isEmpty()) << errors.toStdString();

    // The reference of another set-up is a usage error, and nothing is sent.
    QFile::remove(path("wire.log"));
    EXPECT_EQ(runSweep({"--freq", "1:3:1", "--measure", "c", "--reference", path("ref.csv")}), 2);
    EXPECT_TRUE(errors.contains(u"the titles are not those of this set-up"_s))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains(u"--help"_s)) << errors.toStdString();
    EXPECT_TRUE(sent().isEmpty());
}

TEST_F(SweepOnSimulator, ExitStatusesOfUsageLinkAndSuccess) {
    startSimulator();
    EXPECT_EQ(runSweep({"--freq", "1:2:5"}), 2);
    EXPECT_TRUE(errors.contains(u"--freq: 1:2:5: the step is larger than the span"_s))
        << errors.toStdString();
    EXPECT_EQ(runSweep({"--out", path("no/such/folder.csv")}), 2);
    EXPECT_TRUE(sent().isEmpty());

    // The CSV goes to standard output without --out.
    EXPECT_EQ(runSweep({"--freq", "1:2:1", "--out", "-"}), 0) << errors.toStdString();
    EXPECT_EQ(QString::fromUtf8(sweep.readAllStandardOutput()),
              u"Freq. (kHz),Z (Ohm),Phi (°)\n1,15915,-89.964\n2,7956.5,-89.928\n"_s);

    port = path("no-such-port");
    EXPECT_EQ(runSweep({"--freq", "1:2:1"}), 1);
    EXPECT_TRUE(errors.contains(u"Serial port open error"_s)) << errors.toStdString();

    port = u"COM9"_s;  // by the window's name, found in the runtime folder
    EXPECT_EQ(runSweep({"--freq", "1:2:1", "--help"}), 0);
    const QString help = QString::fromUtf8(sweep.readAllStandardOutput());
    EXPECT_TRUE(help.startsWith(u"Usage: lorvane-sweep [--card BOARD | --prologix PORT]"_s));
    EXPECT_EQ(help.count(u"\n  lorvane-sweep "_s), 2);  // two examples
}

// Waits until the file has at least `lines` lines; false after 20 s.
bool waitForLines(const QString& file, qsizetype lines) {
    for (QDeadlineTimer deadline(20000); !deadline.hasExpired(); QThread::msleep(2)) {
        QFile csv(file);
        if (csv.open(QIODevice::ReadOnly) && csv.readAll().count('\n') >= lines) return true;
    }
    return false;
}

TEST_F(SweepOnSimulator, AnInterruptSendsTheRunEndTextAndKeepsTheRows) {
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(signal);
        startSimulator({"--delay", "30"});
        startSweep({"--freq", "1:100:1", "--out", path("out.csv")});
        ASSERT_TRUE(waitForLines(path("out.csv"), 4));
        ::kill(static_cast<pid_t>(sweep.processId()), signal);
        ASSERT_TRUE(sweep.waitForFinished(10000));
        EXPECT_EQ(sweep.exitCode(), 130);
        const QStringList rows = csv();
        EXPECT_GE(rows.size(), 4);
        EXPECT_LT(rows.size(), 20);
        EXPECT_EQ(rows.mid(1, 3),
                  QStringList({"1,15915,-89.964", "2,7956.5,-89.928", "3,5303.3,-89.892"}));
        EXPECT_EQ(sent().last(), u"ABI0OL0.005ENEX"_s);
        // One reading per row: none read and dropped.
        EXPECT_EQ(read("wire.log").count(u"\n< "_s), rows.size() - 1);
    }
}

TEST_F(SweepOnSimulator, AKillAtAnyMomentLeavesEveryPointReadSoFarInWholeLines) {
    startSimulator();
    ASSERT_EQ(runSweep({"--freq", "1:60:1", "--quiet", "--out", path("full.csv")}), 0)
        << errors.toStdString();
    const QStringList full = csv("full.csv");
    for (const int after : {1, 7, 23}) {
        SCOPED_TRACE(after);
        startSimulator();
        startSweep({"--freq", "1:60:1", "--out", path("out.csv")});
        ASSERT_TRUE(waitForLines(path("out.csv"), after + 1));
        sweep.kill();  // SIGKILL
        ASSERT_TRUE(sweep.waitForFinished(10000));
        const QString text = read("out.csv");
        EXPECT_TRUE(text.endsWith(u'\n'));  // whole lines only
        const QStringList rows = csv();
        EXPECT_GE(rows.size(), after + 1);
        EXPECT_EQ(rows, full.mid(0, rows.size()));
        // Every reading the instrument gave up to the kill is in the file, but perhaps the one
        // on its way.
        const qsizetype replies = read("wire.log").count(u"\n< "_s);
        EXPECT_GE(rows.size() - 1, replies - 1);
    }
}

TEST_F(SweepOnSimulator, ShowsItsProgressInPlaceOnATerminal) {
    startSimulator();
    // Standard error on a pseudo-terminal of the test's own.
    const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0) << "no pseudo-terminal: " << std::strerror(errno);
    ASSERT_EQ(::grantpt(terminal), 0);
    ASSERT_EQ(::unlockpt(terminal), 0);
    sweep.setStandardErrorFile(QString::fromLocal8Bit(::ptsname(terminal)));
    EXPECT_EQ(runSweep({"--freq", "1:3:1", "--out", path("out.csv")}), 0);
    QByteArray shown;
    char buffer[4096];
    for (ssize_t n; (n = ::read(terminal, buffer, sizeof buffer)) > 0 && shown.size() < 100000;) {
        shown.append(buffer, n);
        if (shown.contains("per point")) break;
    }
    ::close(terminal);
    EXPECT_TRUE(shown.contains("\r0/3 0%\x1b[K")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("\r1/3 33% K:+01.000000 ZF:+15.915E+03 TD:-89.964E+00 ETA 0:0"))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains("\r3/3 100% K:+03.000000 ZF:+5.3033E+03 TD:-89.892E+00 ETA 0:00"))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains("lorvane-sweep: 3 points in 0:0")) << shown.toStdString();
    EXPECT_EQ(csv().size(), 4);
}

}  // namespace
}  // namespace lorvane
