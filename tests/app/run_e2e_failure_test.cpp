// Runs that go wrong, a window closed in mid-run, and a run through lorvane-sim.
#include <QProcess>

#include "run_e2e_support.h"

namespace lorvane::test {
namespace {

class RunFailures : public RunEndToEnd {
  protected:
    void sweepWithFault(const char* fault) {
        ScopedEnv faultEnv("LORVANE_SIM_FAULT", fault);  // read when the link opens
        save("F_Start", 1000);
        save("F_Stop", 5000);
        save("F_Step", 1000);
        start();
        clearLog();
        click(0);
    }
};

TEST_F(RunFailures, AnInstrumentThatStopsAnsweringIsReportedAndTheRunStillEnds) {
    sweepWithFault("silent:2");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              QStringLiteral("No response from command\rVerify GPIB Configuration"));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(platform.messages[0].title, QStringLiteral("Lorvane"));
    EXPECT_EQ(rows().size(), 1u);
    EXPECT_EQ(sent().last(), QStringLiteral("ABI0OL0.005ENEX\\r"));
    EXPECT_FALSE(window.resultsView().PlotReady());
    EXPECT_EQ(window.controls().Run[0]->text(), QStringLiteral("&Run"));
}

TEST_F(RunFailures, AGarbledReadingIsBadData) {
    sweepWithFault("garbled");
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("Bad data\rVerify GPIB Configuration"));
    EXPECT_EQ(sent().last(), QStringLiteral("ABI0OL0.005ENEX\\r"));
    EXPECT_TRUE(rows().empty());
}

TEST_F(RunFailures, AReadingWithTooFewFieldsIsBadData) {
    sweepWithFault("short:2");  // the purge takes the first reading
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("Bad data\rVerify GPIB Configuration"));
    EXPECT_EQ(rows().size(), 1u);
}

TEST_F(RunFailures, AClosedLinkIsACommunicationErrorAtTheFirstText) {
    save("Board", 3);  // no such board: the link stays closed from the start
    start();
    EXPECT_EQ(app.lifecycle().link()->Hdl(), -1);
    click(0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              QStringLiteral("Communication Error\rVerify GPIB Configuration"));
    EXPECT_EQ(window.controls().Run[0]->text(), QStringLiteral("&Run"));
    EXPECT_TRUE(window.controls().vOsc->isEnabled());
}

TEST_F(RunFailures, ClosingTheWindowInMidRunResetsTheInstrumentAndShowsNothingAfterwards) {
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

TEST_F(RunFailures, RunAndRefPressedWhileTheWindowClosesStartNothing) {
    start();
    clearLog();
    // The clicks arrive during the shutdown's first event pass.
    bool clicked = false;
    platform.onEvents = [&] {
        if (clicked) return;
        clicked = true;
        click(0);
        click(1);
    };
    window.close();
    EXPECT_EQ(sent(), QStringList({"ABEX\\r"}));
    EXPECT_TRUE(rows().empty());
    EXPECT_TRUE(platform.messages.empty());
}

// The same program through a Prologix adapter: lorvane-sim on a pseudo-terminal.
class RunThroughAdapter : public RunEndToEnd {
  protected:
    void SetUp() override {
        simulator.setProgram(QStringLiteral(LORVANE_SIM_PROGRAM));
        simulator.setArguments(
            QStringList{"--port", "7", "--address", "1", "--delay", "0", "--wire-log", adapterLog} +
            faultArguments);
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
    QStringList faultArguments;
    QProcess simulator;
};

TEST_F(RunThroughAdapter, AFrequencySweepGoesThroughTheAdapter) {
    save("Card", 1);
    save("Board", 7);
    save("F_Start", 1000);
    save("F_Stop", 3000);
    save("F_Step", 1000);
    start();
    click(0);

    EXPECT_TRUE(platform.messages.empty());
    ASSERT_EQ(rows().size(), 3u);
    EXPECT_EQ(rows()[2][0], QString("3.000").replace('.', QLocale().decimalPoint()));
    QFile log(adapterLog);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(log.readAll()).split('\n');
    EXPECT_TRUE(lines.contains(QStringLiteral("> SF1.000ENTF1.000ENPF3.000ENEX")));
    EXPECT_EQ(lines.count(QStringLiteral("+ ++read 10")), 3);
}

// The adapter pulled after the second reading and plugged in again 300 ms later.
class RunThroughPulledAdapter : public RunThroughAdapter {
  protected:
    RunThroughPulledAdapter() { faultArguments = {"--fault", "unplug=300@2"}; }
};

TEST_F(RunThroughPulledAdapter, TheFaultIsReportedAndRunWorksOnceTheAdapterIsBack) {
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
}

}  // namespace
}  // namespace lorvane::test
