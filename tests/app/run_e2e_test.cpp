// The whole program on the real main window, its link answered by the simulated HP 4192A: runs,
// their failures, the export keys, the plot, and the restore after a crash.
#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <set>

#include "application.h"
#include "crash_journal.h"
#include "fake_platform.h"
#include "main_window.h"
#include "panel_controls.h"
#include "panel_widgets.h"
#include "plot_box.h"
#include "results_view.h"
#include "scoped_env.h"
#include "settings_store.h"
#include "status_panels.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

QString dec(const char* text) {
    return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

// The program on the offscreen platform; the stand-in NI-488.2 library logs the wire.
class RunEndToEnd : public ::testing::Test {
  protected:
    RunEndToEnd() { platform.realEvents = true; }
    ~RunEndToEnd() override {
        platform.onEvents = nullptr;  // it may capture the test's locals, gone by now
        if (window.isVisible()) window.close();
    }

    // Saves the set-up ("name=value ...") the last run left, then starts the program.
    void start(const char* saved = "") {
        for (const QString& item : QString::fromLatin1(saved).split(u' ', Qt::SkipEmptyParts))
            RegWrite(u"Lorvane"_s, item.section(u'=', 0, 0), item.section(u'=', 1).toDouble());
        ASSERT_TRUE(app.load(QString()));
        window.show();
    }
    void run() { window.controls().Run[0]->click(); }

    // The log lines with the prefix ("> " sent, "< " read, "# " library calls) since the last
    // clearLog().
    QStringList log(const char* prefix) const {
        QStringList lines;
        for (const QString& line :
             QString::fromLatin1(readFile(logPath_).mid(logStart_)).split('\n'))
            if (line.startsWith(QLatin1String(prefix))) lines << line.mid(2);
        return lines;
    }
    void clearLog() { logStart_ = readFile(logPath_).size(); }

    // Column 2 to 4 texts of every row, a line each.
    QString rows() {
        QString all;
        for (int64_t i = 0; i < window.resultsView().rowCount(); ++i) {
            const auto [x, dat1, dat2] = window.resultsView().rowValues(i);
            all += x + u' ' + dat1 + u' ' + dat2 + u'\n';
        }
        return all;
    }
    QString panel(const char* key) const {
        return window.controls().StatusBar->panelText(QString::fromLatin1(key));
    }
    static QByteArray readFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static bool writeFile(const QString& path, const QByteArray& text) {
        QFile file(path);
        return QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly) &&
               file.write(text) == text.size();
    }

    TempSettings settings;
    QTemporaryDir files;
    QString logPath_ = files.filePath(QStringLiteral("wire.log"));
    qint64 logStart_ = 0;
    ScopedEnv wireLog{"LORVANE_SIM_WIRE_LOG", logPath_.toLocal8Bit()};
    ScopedEnv delay{"LORVANE_SIM_DELAY_MS", "0"};
    ScopedEnv address{"LORVANE_SIM_ADDRESS", "1"};
    FakePlatform platform;
    MainWindow window{platform};
    Application app{platform, window, files.path()};
    const QString journal = settings.configHome() + u"/lorvane/Lorvane.journal"_s;
};

using RunSweeps = RunEndToEnd;

// 1 to 5 kHz, impedance, from the start to the close. Saved values out of range (a zero step, a
// selection without a button or beyond 16 bits, a place off the screen) give the defaults.
TEST_F(RunSweeps, AFrequencySweepFromStartToClose) {
    start("F_Start=1000 F_Stop=5000 F_Step=0 V_Stop=-32000 Mode=7 Circuit=65538 X=-5 Y=15261");
    run();
    window.close();

    EXPECT_EQ(log("> ").join(u' '),
              "W0ABEX\\r T3F1R8I0G0H0EX\\r A1B1C1EX\\r OL0.500ENEX\\r EX\\r "
              "SF1.000ENTF1.000ENPF5.000ENEX\\r FR1.000ENEX\\r W0EX\\r EX\\r W2\\r EX\\r W2\\r "
              "EX\\r W2\\r EX\\r W2\\r EX\\r W2\\r ABI0OL0.005ENEX\\r ABEX\\r");
    EXPECT_EQ(log("# ").join(u' '),
              "ibconfig 23 1 ibdev 0 1 96 12 1 0 ibclr ibsic ibtmo 7 ibtmo 12 ibloc ibonl 0");
    EXPECT_EQ(rows(), dec("1.000 15915.000 -89.964\n"
                          "2.000 7956.500 -89.928\n"
                          "3.000 5303.300 -89.892\n"
                          "4.000 3976.400 -89.856\n"
                          "5.000 3180.000 -89.820\n"));
    EXPECT_EQ(QStringList({panel("IN"), panel("DAT1"), panel("DAT2")}),
              QStringList({"K:+05.000000", "ZF:+3.1800E+03", "TD:-89.820E+00"}));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(window.mergeOption);
    // The run saved its set-up, the close the link and the window's place.
    EXPECT_EQ(
        readFile(settings.iniPath()),
        "[Lorvane]\nF_Start=dword:000003e8\nF_Stop=dword:00001388\nF_Step=dword:000003e8\n"
        "V_Stop=dword:ffff8300\nMode=dword:00000000\nCircuit=dword:00000000\nX=dword:0000005a\n"
        "Y=dword:000005dc\nV_Start=dword:00000000\nV_Step=dword:0000000a\n"
        "Sweep=dword:00000000\nCard=dword:00000000\nBoard=dword:00000000\nPAd=dword:00000001\n");
}

// The simulator's capacitance follows the bias. C released in a text box copies the table; E
// writes the workbook and shows it with the desktop's opener (ours, first on the PATH).
TEST_F(RunSweeps, ABiasSweepIsListedInOrderCopiedAndWritten) {
    const QString opener = files.filePath(QStringLiteral("xdg-open"));
    ASSERT_TRUE(writeFile(opener, "#!/bin/sh\necho \"$@\" > \"$0.shown\"\n"));
    QFile::setPermissions(opener, QFile::ReadOwner | QFile::ExeOwner);
    ScopedEnv path{"PATH", (files.path() + ":/usr/bin:/bin").toLocal8Bit()};
    start("Sweep=1 F_Start=1000 V_Start=-100 V_Stop=100 V_Step=100 X=0 Y=0");
    EXPECT_EQ(window.pos(), QPoint(0, 0));
    run();

    EXPECT_EQ(log("> ").join(u' '),
              "W0ABEX\\r T3F1R8I0G0H0EX\\r A1B1C1EX\\r OL0.500ENEX\\r FR1.000ENEX\\r "
              "SB0.100ENTB-0.100ENPB0.100ENEX\\r BI-0.100ENEX\\r W0EX\\r EX\\r W2\\r EX\\r W2\\r "
              "EX\\r W2\\r ABI0OL0.005ENEX\\r");
    EXPECT_EQ(panel("IN"), QStringLiteral("V:+00.10"));
    QWidget* box = window.controls().vFrq[0];
    box->setFocus();
    QTest::keyRelease(box, Qt::Key_C, Qt::ControlModifier);
    // Widths from the largest sweep value (100), the largest |Z| and the negative phase.
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              QStringLiteral("Bias (mV)\tZ (Ohm)\tPhi (\u00b0)\t\r\n") +
                  dec("-100.000\t17014.000\t-89.966\t\r\n"
                      "  0.000\t15915.000\t-89.964\t\r\n"
                      "100.000\t17014.000\t-89.966\t\r\n"));

    QTest::keyRelease(box, Qt::Key_E);
    const QString workbook = files.filePath(QStringLiteral("Lorvane.xlsx"));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_TRUE(QFile::exists(workbook));
    EXPECT_EQ(window.controls().StatusBar->message(),
              QStringLiteral("Sheet Bias_Z written to ") + workbook);
    // The shell makes the file before echo writes to it: wait (bounded) for the line.
    for (QDeadlineTimer deadline(5000);
         !readFile(opener + u".shown"_s).endsWith('\n') && !deadline.hasExpired();)
        QThread::msleep(10);
    EXPECT_EQ(readFile(opener + u".shown"_s), workbook.toLocal8Bit() + '\n');
}

// A fault of the simulator's (read when the link opens) or a link that never opens (board 3):
// the operator is told, the run ends (resetting an open link) and what was measured stays.
TEST_F(RunEndToEnd, FailuresAreReportedAndTheRunStillEnds) {
    const std::tuple<const char*, int, const char*, int> cases[] = {
        {"silent:2", 0, "No response from command", 1},
        {"garbled", 0, "Bad data", 0},
        {"short:2", 0, "Bad data", 1},  // the purge takes the first reading
        {"", 3, "Communication Error", 0}};
    for (const auto& [fault, board, message, rowCount] : cases) {
        SCOPED_TRACE(fault);
        ScopedEnv faultEnv("LORVANE_SIM_FAULT", fault);
        FakePlatform failing;
        MainWindow shown{failing};
        Application program{failing, shown, files.path()};
        RegWrite(QStringLiteral("Lorvane"), QStringLiteral("Board"), board);
        ASSERT_TRUE(program.load(QString()));
        clearLog();
        shown.controls().Run[0]->click();

        ASSERT_EQ(failing.messages.size(), 1u);
        EXPECT_EQ(failing.messages[0].text,
                  QString::fromLatin1(message) + QStringLiteral("\rVerify GPIB Configuration"));
        EXPECT_EQ(failing.messages[0].icon, MsgIcon::Critical);
        EXPECT_EQ(shown.resultsView().rowCount(), rowCount);
        EXPECT_EQ(log("> ").value(log("> ").size() - 1), board ? "" : "ABI0OL0.005ENEX\\r");
        EXPECT_EQ(shown.controls().Run[0]->text(), QStringLiteral("&Run"));
    }
}

// The same program through a Prologix adapter, lorvane-sim on a pseudo-terminal, pulled after
// the second reading and plugged in again 300 ms later.
TEST_F(RunEndToEnd, AdapterPulledInMidRunAndPluggedInAgain) {
    QProcess simulator;
    const QString adapterLog = files.filePath(QStringLiteral("adapter.log"));
    ScopedEnv runtime{"XDG_RUNTIME_DIR", files.path().toLocal8Bit()};
    simulator.start(QStringLiteral(LORVANE_SIM_PROGRAM),
                    {"--port", "7", "--address", "1", "--delay", "0", "--wire-log", adapterLog,
                     "--fault", "unplug=300@2"});
    const auto cleanUp = qScopeGuard([&] {
        window.close();  // while the port is there: a link to a gone port waits for its timeout
        simulator.terminate();
        simulator.waitForFinished(5000);
    });
    ASSERT_TRUE(simulator.waitForReadyRead(10000)) << "lorvane-sim did not start";
    ASSERT_TRUE(simulator.readLine().startsWith("COM7 "));
    platform.realSleep = true;  // the link waits on another process
    start("Card=1 Board=7 F_Start=1000 F_Stop=20000 F_Step=1000");
    run();

    // Pulled within 500 ms of the second reading, mid-run: the run fails at once, keeping its
    // rows; or, when the link saw the port go before its next write, it waits for the adapter
    // (back 300 ms later) and goes on.
    const size_t failures = platform.messages.size();
    ASSERT_LE(failures, 1u);
    if (failures == 1) {
        EXPECT_TRUE(platform.messages[0].text.endsWith(u"\rVerify GPIB Configuration"));
        EXPECT_GE(window.resultsView().rowCount(), 2);
        EXPECT_LT(window.resultsView().rowCount(), 20);
    } else {
        EXPECT_EQ(window.resultsView().rowCount(), 20);
    }

    // The adapter is back: the simulator names its new port. Run works without a restart.
    ASSERT_TRUE(simulator.canReadLine() || simulator.waitForReadyRead(5000));
    ASSERT_TRUE(simulator.readLine().startsWith("COM7 "));
    run();
    EXPECT_EQ(platform.messages.size(), failures);
    EXPECT_EQ(window.resultsView().rowCount(), 20);
    EXPECT_TRUE(readFile(adapterLog).contains("\n> SF1.000ENTF1.000ENPF20.000ENEX\n"));
}

// The teal pixels of the first reading's points inside the plot's area.
std::vector<QPoint> tracePixels(const PlotBox& plot) {
    std::vector<QPoint> pixels;
    const QRect area = plot.scale() ? plot.scale()->area() : QRect();
    for (int row = area.top(); row <= area.bottom(); ++row)
        for (int column = area.left(); column <= area.right(); ++column)
            if (plot.picture().pixel(column, row) == qRgb(0, 127, 127))
                pixels.emplace_back(column, row);
    return pixels;
}

// |Z| of the simulator's series circuit above its resonance (159 kHz) rises over the nine
// points from 200 kHz to 1 MHz; on the log axis the saved choice asks for.
TEST_F(RunEndToEnd, PlotDrawsARisingImpedanceRisingAndEachPointWhileTheRunGoes) {
    start("Plot_LogY=1 F_Start=200000 F_Stop=1000000 F_Step=100000 X=19100 Y=15260");
    EXPECT_EQ(window.pos(), QPoint(1273, 1017));  // the last place on the screen
    const PlotBox& plot = *window.controls().fDraw;
    qint64 now = 0;  // a tenth of a second between points: each is drawn as it comes
    window.resultsView().plot().setClock([&] { return now; });
    std::set<size_t> drawn;  // dots (nine pixels each) while the run goes
    platform.onEvents = [&] {
        now += kLivePlotIntervalMs;
        if (!window.resultsView().PlotReady()) drawn.insert(tracePixels(plot).size() / 9);
    };
    run();

    EXPECT_EQ(drawn, (std::set<size_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    ASSERT_TRUE(window.resultsView().PlotReady());
    const std::vector<QPoint> pixels = tracePixels(plot);
    const auto [left, right] = std::minmax_element(
        pixels.begin(), pixels.end(), [](QPoint a, QPoint b) { return a.x() < b.x(); });
    ASSERT_NE(left, pixels.end());
    EXPECT_LT(right->y(), left->y() - 50) << "the rightmost point is drawn higher up";
    EXPECT_TRUE(plot.scale()->y.range().log);
}

using CrashRestore = RunEndToEnd;

// A window in a child process, killed (SIGKILL) once its journal holds five points; the next
// start offers them, and Yes puts them back. A window closed in mid-run resets the instrument
// and removes its journal.
TEST_F(CrashRestore, YesPutsTheRowsReadoutsAndPlotBackAndAClosedWindowEndsItsRun) {
    ScopedEnv offscreen{"QT_QPA_PLATFORM", "offscreen"};
    ScopedEnv slow{"LORVANE_SIM_DELAY_MS", "20"};
    QProcess child;
    child.start(QStringLiteral(LORVANE_CRASH_CHILD), {});
    ASSERT_TRUE(child.waitForStarted(10000)) << "the crash child did not start";
    for (QDeadlineTimer deadline(30000); !deadline.hasExpired(); QThread::msleep(5))
        if (readFile(journal).count("\npoint\t") >= 5) break;
    child.kill();
    ASSERT_TRUE(child.waitForFinished(10000));
    EXPECT_EQ(child.exitStatus(), QProcess::CrashExit);
    const std::optional<JournalContents> left = readJournal(readFile(journal));
    ASSERT_TRUE(left) << "no journal at " << journal.toStdString();
    const std::vector<JournalPoint>& points = left->points;
    ASSERT_GE(points.size(), 5u);

    platform.answerNext(MsgResult::Yes);
    start("F_Start=30000");  // the restored set-up replaces it
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              u"Lorvane did not close normally. Restore the %1 points measured before?"_s.arg(
                  points.size()));
    EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(window.resultsView().rowCount(), static_cast<int64_t>(points.size()));
    EXPECT_EQ(window.controls().vFrq[0]->text(), dec("10.000"));
    // The default run: 10 kHz up in steps of 1 kHz.
    EXPECT_EQ(rows().left(48), dec("10.000 1585.300 -89.639\n11.000 1440.000 -89.602\n"));
    EXPECT_EQ(QStringList({panel("IN"), panel("DAT1")}),
              QStringList({points.back().in, points.back().dat1Text}));
    EXPECT_TRUE(window.resultsView().PlotReady());

    clearLog();
    platform.onEvents = [&] {
        if (window.isVisible() && log("< ").size() == 3) window.close();
    };
    run();
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(log("> ").last(2), QStringList({"EX\\r", "ABEX\\r"}));  // no run end: it stopped
    EXPECT_EQ(log("# ").last(2), QStringList({"ibloc", "ibonl 0"}));
    EXPECT_FALSE(QFile::exists(journal));
}

// A journal whose last line a crash cut short: its whole points are offered; No discards them. A
// second window takes a journal of its own.
TEST_F(CrashRestore, NoDiscardsThem) {
    const QByteArray line = journalPointLine(MeasuredPoint());
    ASSERT_TRUE(writeFile(journal, journalSetupLine(RunStart()) + line + line + line.chopped(1)));
    platform.answerNext(MsgResult::No);
    start();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              u"Lorvane did not close normally. Restore the 2 points measured before?"_s);
    EXPECT_EQ(rows(), QString());
    EXPECT_EQ(readFile(journal), QByteArray());
    const CrashJournal second(QFileInfo(journal).path(), u"Lorvane"_s);
    EXPECT_TRUE(second.path().endsWith(u"/Lorvane-2.journal")) << second.path().toStdString();
}

}  // namespace
}  // namespace lorvane::test
