// Press Run on the real main window, with the simulated HP 4192A on the card link, and check
// what goes over the wire and what comes out in the list, the status bar and the plot.
#include "run_e2e_support.h"

namespace lorvane::test {
namespace {

using Rows = std::vector<std::array<QString, 3>>;

class RunSweeps : public RunEndToEnd {
  protected:
    // 1 to 5 kHz in steps of 1 kHz, impedance, auto circuit: five points.
    void frequencySweep() {
        save("F_Start", 1000);
        save("F_Stop", 5000);
        save("F_Step", 1000);
        start();
        clearLog();
    }
    QColor listBackground() { return window.resultsView().list().background(); }
};

TEST_F(RunSweeps, AFrequencySweepSendsTheDesignedTextsAndListsEveryPoint) {
    frequencySweep();
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

TEST_F(RunSweeps, StopInMidRunEndsAfterTheCurrentPointAndStillEndsTheRun) {
    frequencySweep();
    bool clicked = false;  // the operator clicks Stop once
    platform.onEvents = [&] {
        if (!clicked && readings() == 3) {
            clicked = true;
            EXPECT_EQ(window.controls().Run[0]->text(), QStringLiteral("&Stop"));
            click(0);
        }
    };
    click(0);
    EXPECT_EQ(rows().size(), 2u);
    EXPECT_EQ(sent().last(), QStringLiteral("ABI0OL0.005ENEX\\r"));
    EXPECT_TRUE(window.resultsView().PlotReady());
    EXPECT_EQ(window.controls().Run[0]->text(), QStringLiteral("&Run"));
    EXPECT_TRUE(window.controls().Run[1]->isEnabled());
}

TEST_F(RunSweeps, AReferenceRunIsSubtractedFromTheNextRun) {
    frequencySweep();
    QColor during;
    platform.onEvents = [&] { during = listBackground(); };
    click(1);
    EXPECT_EQ(during, QColor(0, 255, 255));
    EXPECT_EQ(window.controls().Run[1]->text(), QStringLiteral("&Stop"));
    EXPECT_FALSE(window.controls().Run[1]->isEnabled());
    EXPECT_FALSE(window.controls().vOsc->isEnabled());  // the set-up is locked

    click(0);
    EXPECT_EQ(during, QColor(255, 255, 0));
    // The reference holds every point of 1 to 5 kHz: every point reads zero.
    EXPECT_EQ(rows(), Rows({{dec("1.000"), dec("0.000"), dec("0.000")},
                            {dec("2.000"), dec("0.000"), dec("0.000")},
                            {dec("3.000"), dec("0.000"), dec("0.000")},
                            {dec("4.000"), dec("0.000"), dec("0.000")},
                            {dec("5.000"), dec("0.000"), dec("0.000")}}));
    // The reference served once: Ref. is usable again.
    EXPECT_EQ(window.controls().Run[1]->text(), QStringLiteral("&Ref."));
    EXPECT_TRUE(window.controls().Run[1]->isEnabled());
    EXPECT_TRUE(window.controls().vOsc->isEnabled());
}

}  // namespace
}  // namespace lorvane::test
