// Press Run on the real main window, with the simulated HP 4192A on the card link, and check
// what goes over the wire and what comes out in the list, the status bar and the plot; runs
// that go wrong, a window closed in mid-run, and a run through lorvane-sim's adapter.
#include <QProcess>

#include "run_e2e_support.h"

namespace lorvane::test {
namespace {

using Rows = std::vector<std::array<QString, 3>>;

using RunSweeps = RunEndToEnd;

// 1 to 5 kHz in steps of 1 kHz, impedance, auto circuit: five points.
TEST_F(RunSweeps, AFrequencySweepSendsTheDesignedTextsAndListsEveryPoint) {
    save("F_Start", 1000);
    save("F_Stop", 5000);
    save("F_Step", 1000);
    start();
    clearLog();
    click(0);

    EXPECT_EQ(sent(),
              QStringList({"W0ABEX\\r", "T3F1R8I0G0H0EX\\r", "A1B1C1EX\\r", "OL0.500ENEX\\r",
                           "EX\\r", "SF1.000ENTF1.000ENPF5.000ENEX\\r", "FR1.000ENEX\\r", "W0EX\\r",
                           "EX\\r", "W2\\r", "EX\\r", "W2\\r", "EX\\r", "W2\\r", "EX\\r", "W2\\r",
                           "EX\\r", "W2\\r", "ABI0OL0.005ENEX\\r"}));
    EXPECT_EQ(rows(), Rows({{dec("1.000"), dec("15915.000"), dec("-89.964")},
                            {dec("2.000"), dec("7956.500"), dec("-89.928")},
                            {dec("3.000"), dec("5303.300"), dec("-89.892")},
                            {dec("4.000"), dec("3976.400"), dec("-89.856")},
                            {dec("5.000"), dec("3180.000"), dec("-89.820")}}));
    // The raw texts of the last reading stay in the status bar.
    EXPECT_EQ(panel("IN"), QStringLiteral("K:+05.000000"));
    EXPECT_EQ(panel("DAT1"), QStringLiteral("ZF:+3.1800E+03"));
    EXPECT_EQ(panel("DAT2"), QStringLiteral("TD:-89.820E+00"));
    EXPECT_TRUE(window.resultsView().PlotReady());
    EXPECT_TRUE(window.controls().vOsc->isEnabled());
    EXPECT_TRUE(platform.messages.empty());
    // The run saved its set-up.
    EXPECT_EQ(RegRead(QStringLiteral("Lorvane"), QStringLiteral("F_Stop"), 0), 5000);
}

TEST_F(RunSweeps, ABiasSweepStepsTheBiasAndSortsNegativeValuesFirst) {
    save("Sweep", 1);
    save("F_Start", 1000);
    save("V_Start", -100);
    save("V_Stop", 100);
    save("V_Step", 100);
    start();
    clearLog();
    click(0);

    EXPECT_EQ(sent(),
              QStringList({"W0ABEX\\r", "T3F1R8I0G0H0EX\\r", "A1B1C1EX\\r", "OL0.500ENEX\\r",
                           "FR1.000ENEX\\r", "SB0.100ENTB-0.100ENPB0.100ENEX\\r", "BI-0.100ENEX\\r",
                           "W0EX\\r", "EX\\r", "W2\\r", "EX\\r", "W2\\r", "EX\\r", "W2\\r",
                           "ABI0OL0.005ENEX\\r"}));
    QStringList points;
    for (const auto& row : rows()) points << row[0];
    EXPECT_EQ(points, QStringList({dec("-100.000"), dec("0.000"), dec("100.000")}));
    EXPECT_EQ(panel("IN"), QStringLiteral("V:+00.10"));
    EXPECT_TRUE(window.resultsView().PlotReady());
}

// An instrument that goes wrong, or a link that never opens: the operator is told, the run
// ends (the instrument is reset when the link is open) and what was measured stays.
struct Failure {
    const char* fault;  // the simulator's, read when the link opens
    int board;          // 3: no such board, the link stays closed
    const char* message;
    size_t rows;
};

class RunFailures : public RunEndToEnd, public testing::WithParamInterface<Failure> {};

TEST_P(RunFailures, AreReportedAndTheRunStillEnds) {
    const Failure& f = GetParam();
    ScopedEnv faultEnv("LORVANE_SIM_FAULT", f.fault);
    save("Board", f.board);
    save("F_Start", 1000);
    save("F_Stop", 5000);
    save("F_Step", 1000);
    start();
    clearLog();
    click(0);

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              QString::fromLatin1(f.message) + QStringLiteral("\rVerify GPIB Configuration"));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(platform.messages[0].title, QStringLiteral("Lorvane"));
    EXPECT_EQ(rows().size(), f.rows);
    if (f.board == 0) {
        EXPECT_EQ(sent().last(), QStringLiteral("ABI0OL0.005ENEX\\r"));
    }
    EXPECT_FALSE(window.resultsView().PlotReady());
    EXPECT_EQ(window.controls().Run[0]->text(), QStringLiteral("&Run"));
    EXPECT_TRUE(window.controls().vOsc->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Faults, RunFailures,
                         testing::Values(Failure{"silent:2", 0, "No response from command", 1},
                                         Failure{"garbled", 0, "Bad data", 0},
                                         Failure{"short:2", 0, "Bad data",
                                                 1},  // the purge takes the first reading
                                         Failure{"", 3, "Communication Error", 0}));

using RunClosing = RunEndToEnd;

TEST_F(RunClosing, ClosingTheWindowInMidRunResetsTheInstrumentAndShowsNothingAfterwards) {
    save("F_Start", 1000);
    save("F_Stop", 5000);
    save("F_Step", 1000);
    start();
    clearLog();
    bool closed = false;
    platform.onEvents = [&] {
        if (!closed && readings() == 3) {
            closed = true;
            window.close();
        }
    };
    click(0);

    EXPECT_TRUE(platform.messages.empty());
    const QStringList wire = sent();
    ASSERT_FALSE(wire.isEmpty());
    EXPECT_EQ(wire.last(), QStringLiteral("ABEX\\r"));  // the run-end text found the link closed
    EXPECT_EQ(logLines(QStringLiteral("# ")).mid(logLines(QStringLiteral("# ")).size() - 2),
              QStringList({"ibloc", "ibonl 0"}));
    EXPECT_EQ(app.lifecycle().link()->Hdl(), -1);
    EXPECT_EQ(RegRead(QStringLiteral("Lorvane"), QStringLiteral("PAd"), -1), 1);
}

// The same program through a Prologix adapter, lorvane-sim on a pseudo-terminal, pulled after
// the second reading and plugged in again 300 ms later.
class RunThroughAdapter : public RunEndToEnd {
  protected:
    void SetUp() override {
        simulator.setProgram(QStringLiteral(LORVANE_SIM_PROGRAM));
        simulator.setArguments(QStringList{"--port", "7", "--address", "1", "--delay", "0",
                                           "--wire-log", adapterLog, "--fault", "unplug=300@2"});
        simulator.start();
        ASSERT_TRUE(simulator.waitForReadyRead(10000));
        ASSERT_TRUE(simulator.readLine().startsWith("COM7 "));
        platform.realSleep = true;  // the link waits on another process
    }
    void TearDown() override {
        platform.onEvents = nullptr;
        if (window.isVisible()) window.close();
        simulator.terminate();
        simulator.waitForFinished(5000);
    }

    ScopedEnv runtime{"XDG_RUNTIME_DIR", files.path().toLocal8Bit()};
    QString adapterLog = files.filePath(QStringLiteral("adapter.log"));
    QProcess simulator;
};

TEST_F(RunThroughAdapter, TheFaultIsReportedAndRunWorksOnceTheAdapterIsBack) {
    save("Card", 1);
    save("Board", 7);
    save("F_Start", 1000);
    save("F_Stop", 20000);
    save("F_Step", 1000);
    start();
    click(0);

    // The port goes within 500 ms of the second reading, while the run goes on (about 50 ms a
    // point): the run stops with a failure at once and keeps what it measured.
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.endsWith(u"\rVerify GPIB Configuration"))
        << platform.messages[0].text.toStdString();
    const auto measured = rows().size();
    EXPECT_GE(measured, 2u);
    EXPECT_LT(measured, 20u);

    // The adapter is back: the simulator names its new port. Run works without a restart.
    ASSERT_TRUE(simulator.waitForReadyRead(5000));
    ASSERT_TRUE(simulator.readLine().startsWith("COM7 "));
    click(0);
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(rows().size(), 20u);
    QFile log(adapterLog);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("\n> SF1.000ENTF1.000ENPF20.000ENEX\n"));
}

}  // namespace
}  // namespace lorvane::test
