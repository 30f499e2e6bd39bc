// Press Run on the real main window, with the simulated HP 4192A on the card link, and check
// what goes over the wire and what comes out in the list, the status bar and the plot.
#include <QCheckBox>
#include <QRadioButton>
#include <QTest>

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
    EXPECT_EQ(window.controls().Run[0]->text(), QStringLiteral("&Run"));
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
    const Rows list = rows();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0][0], dec("-100.000"));
    EXPECT_EQ(list[1][0], dec("0.000"));
    EXPECT_EQ(list[2][0], dec("100.000"));
    EXPECT_EQ(panel("IN"), QStringLiteral("V:+00.10"));
    EXPECT_TRUE(window.resultsView().PlotReady());
}

TEST_F(RunSweeps, RunningAgainClearsWithoutAskingAndAChangedRangeAsks) {
    frequencySweep();
    click(0);
    click(0);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(rows().size(), 5u);

    // A wider range: the operator is asked, and No clears the list.
    window.SetFrequency(1, 6000, false);
    platform.answerNext(MsgResult::No);
    click(0);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].title, QStringLiteral("Additionnal measurement"));
    EXPECT_EQ(platform.messages[0].text,
              QStringLiteral("Do you want to keep previous values\r\n"
                             "New measures will be merged with the existing ones"));
    EXPECT_EQ(rows().size(), 6u);

    // Yes keeps the rows: the new points replace the old ones with the same sweep value.
    window.SetFrequency(0, 5000, false);
    window.SetFrequency(1, 7000, false);
    platform.answerNext(MsgResult::Yes);
    click(0);
    EXPECT_EQ(rows().size(), 7u);
}

TEST_F(RunSweeps, TheMergeSettingKeepsEarlierRowsWithoutAsking) {
    save("Merge", 1);
    frequencySweep();
    click(0);
    window.SetFrequency(0, 6000, false);
    window.SetFrequency(1, 8000, false);
    click(0);
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(rows().size(), 8u);
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

TEST_F(RunSweeps, TheAutomaticLinearStepReprogramsAtEachDecade) {
    save("F_Start", 1000);
    save("F_Stop", 30000);
    start();
    window.controls().vAuto->setChecked(true);
    clearLog();
    click(0);

    const QStringList wire = sent();
    ASSERT_GE(wire.size(), 8);
    EXPECT_EQ(
        wire.mid(0, 8),
        QStringList({"W0ABEX\\r", "T3F1R8I0G0H0EX\\r", "A1B1C1EX\\r", "OL0.500ENEX\\r", "EX\\r",
                     "SF1.000ENTF1.000ENPF30.000ENEX\\r", "FR1.000ENEX\\r", "W1W2EX\\r"}));
    const qsizetype change = wire.indexOf(QStringLiteral("ABEX\\r"));
    ASSERT_GT(change, 0);
    EXPECT_EQ(wire.mid(change, 3),
              QStringList({"ABEX\\r", "SF10.000ENTF20.000ENPF30.000EN\\r", "W1W2EX\\r"}));
    EXPECT_FALSE(wire.contains(QStringLiteral("W2\\r")));
    QStringList points;
    for (const auto& row : rows()) points << row[0];
    EXPECT_EQ(points, QStringList({dec("1.000"), dec("2.000"), dec("3.000"), dec("4.000"),
                                   dec("5.000"), dec("6.000"), dec("7.000"), dec("8.000"),
                                   dec("9.000"), dec("10.000"), dec("20.000"), dec("30.000")}));
    // The step box shows "Lin" again once the run is over, and still takes no typing.
    EXPECT_EQ(window.controls().vFrq[2]->text(), QStringLiteral("Lin"));
    EXPECT_FALSE(window.controls().vFrq[2]->isEnabled());
}

TEST_F(RunSweeps, TheSetUpIgnoresClicksWhileARunGoesAndTheNextRunIsTheSame) {
    save("F_Start", 1000);
    save("F_Stop", 30000);
    start();
    const PanelControls& ui = window.controls();
    ui.vAuto->setChecked(true);
    int passes = 0;
    platform.onEvents = [&] {
        // A run that would not end is stopped, and fails the test.
        if (++passes > 100) {
            ADD_FAILURE() << "the run does not end";
            window.StopRequest = true;
        }
        if (readings() != 3) return;
        for (QWidget* control : std::initializer_list<QWidget*>{
                 ui.lCrm[1], ui.lMod[2], ui.lSwp[1], ui.vAuto, ui.Opts, ui.lFrq[0], ui.lVlt[0]})
            QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(4, 4));
    };
    click(0);
    const Rows first = rows();
    ASSERT_EQ(first.size(), 12u);
    EXPECT_EQ(window.state().SelectedCircuit, 0);
    EXPECT_EQ(window.state().SelectedMode, 0);
    EXPECT_EQ(window.state().SelectedSweep, 0);
    EXPECT_TRUE(window.state().AutoStep);
    EXPECT_FALSE(ui.Opts->isChecked());
    EXPECT_EQ(ui.lFrq[0]->text(), QStringLiteral("kHz"));

    passes = 0;
    platform.onEvents = [&] {
        if (++passes > 100) window.StopRequest = true;
    };
    click(0);
    EXPECT_LE(passes, 100);
    EXPECT_EQ(rows(), first);
}

}  // namespace
}  // namespace lorvane::test
