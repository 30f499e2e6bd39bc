#include "measurement_run.h"

#include <gtest/gtest.h>

#include <functional>

#include "run_fakes.h"

namespace lorvane::test {
namespace {

using Wire = std::vector<QString>;

// Impedance, series circuit, 500 mV, manual frequency sweep; the remembered range is the one
// set, so a run counts it as unchanged.
void frequencySweep(RunRig& rig, double startHz, double stopHz, double stepHz) {
    PanelSnapshot& s = rig.panel.snap;
    s.mode = MeasureMode::Impedance;
    s.circuit = CircuitMode::Series;
    s.sweep = SweepParam::Frequency;
    s.frequency = {startHz, stopHz, stepHz};
    s.oscillatorText = QStringLiteral("500");
    rig.panel.prevFreq = s.frequency;
}

// The instrument steps through the sweep: point i lies at start + i * step kHz, with the
// impedance 100 + 10 i Ohm and the phase 10°.
void steppingInstrument(RunRig& rig, double startKHz, double stepKHz) {
    rig.link.queries = 0;
    rig.link.reply = [=](int i) {
        return impedanceReply(QStringLiteral("+%1E+00").arg(100 + 10 * i),
                              QStringLiteral("+010.00E+00"),
                              kiloHertzField(startKHz + i * stepKHz));
    };
}

TEST(MeasurementRun, FrequencySweepSendsTheDesignedTraffic) {
    RunRig rig;
    frequencySweep(rig, 1000, 3000, 1000);
    steppingInstrument(rig, 1, 1);
    rig.run.Run_Click(0);

    EXPECT_EQ(rig.link.wire,
              (Wire{"W0ABEX", "T3F1R8I0G0H0EX", "A1B1C2EX", "OL0.500ENEX", "EX",
                    "SF1.000ENTF1.000ENPF3.000ENEX", "FR1.000ENEX", "W0EX", "<purge>", "?EX", "W2",
                    "?EX", "W2", "?EX", "W2", "ABI0OL0.005ENEX"}));
    EXPECT_EQ(rig.link.delays, (std::vector<int>{50, 50, 50}));

    ASSERT_EQ(rig.results.rows.size(), 3u);
    EXPECT_EQ(rig.results.rowText(0), dec("000001.000|1.000|100.000|10.000"));
    EXPECT_EQ(rig.results.rowText(1), dec("000002.000|2.000|110.000|10.000"));
    EXPECT_EQ(rig.results.rowText(2), dec("000003.000|3.000|120.000|10.000"));
    EXPECT_EQ(rig.results.followed, (std::vector<int64_t>{0, 1, 2}));
    EXPECT_EQ(rig.results.firstRowShown, 1);
    EXPECT_EQ(rig.results.background, ListBackground::White);

    EXPECT_EQ(
        rig.view.panelLog,
        (Wire{"IN=", "DAT1=", "DAT2=", "IN=Init", "IN=Run", "IN=K:+1.000000", "DAT1=ZF:+100E+00",
              "DAT2=TD:+010.00E+00", "IN=K:+2.000000", "DAT1=ZF:+110E+00", "DAT2=TD:+010.00E+00",
              "IN=K:+3.000000", "DAT1=ZF:+120E+00", "DAT2=TD:+010.00E+00"}));
    EXPECT_EQ(rig.view.units, (ColumnUnits{"kHz", "Ohm", QString::fromUtf8("°")}));
    EXPECT_EQ(rig.view.highlightResets, 1);
    // The x range ends one step below the last point.
    EXPECT_EQ(rig.view.plots, (std::vector<std::array<double, 4>>{{1, 2, 100, 120}}));

    EXPECT_EQ(rig.settings.values, (std::map<QString, double>{{"F_Start", 1000},
                                                              {"F_Stop", 3000},
                                                              {"F_Step", 1000},
                                                              {"V_Start", 0},
                                                              {"V_Stop", 0},
                                                              {"V_Step", 0},
                                                              {"Circuit", 1},
                                                              {"Sweep", 0},
                                                              {"Mode", 0}}));
    EXPECT_EQ(rig.panel.captions, (std::array<QString, 2>{"&Run", "&Ref."}));
    EXPECT_EQ(rig.panel.runEnabled, (std::array<bool, 2>{true, true}));
    EXPECT_TRUE(rig.panel.panelEnabled);
    EXPECT_EQ(rig.panel.autoCleared, 1);
    EXPECT_TRUE(rig.panel.stepTexts.empty());  // a step given by hand stays as it is
    EXPECT_TRUE(rig.platform.messages.empty());
    EXPECT_FALSE(rig.run.running());
}

TEST(MeasurementRun, BiasSweepSendsTheDesignedTraffic) {
    RunRig rig;
    PanelSnapshot& s = rig.panel.snap;
    s.mode = MeasureMode::Capacitance;
    s.circuit = CircuitMode::Parallel;
    s.sweep = SweepParam::Bias;
    s.frequency = {10000, 20000, 1000};
    s.bias = {-100, 100, 100};
    s.oscillatorText = QStringLiteral("500");
    rig.link.replies = {"NCPN+0.8000E-06,NGFN+15.000E+00,V-0.1000\r\n",
                        "NCPN+0.7500E-06,NGFN+13.000E+00,V+0.0000\r\n",
                        "NCPN+0.7910E-06,NGFN+14.940E+00,V+0.1000\r\n"};
    rig.run.Run_Click(0);

    EXPECT_EQ(rig.link.wire,
              (Wire{"W0ABEX", "T3F1R8I0G0H0EX", "A4B2C3EX", "OL0.500ENEX", "FR10.000ENEX",
                    "SB0.100ENTB-0.100ENPB0.100ENEX", "BI-0.100ENEX", "W0EX", "<purge>", "?EX",
                    "W2", "?EX", "W2", "?EX", "W2", "ABI0OL0.005ENEX"}));
    ASSERT_EQ(rig.results.rows.size(), 3u);
    EXPECT_EQ(rig.results.rowText(0), dec(" 999899.999|-100.000|800.0000|15.000"));
    EXPECT_EQ(rig.results.rowText(1), dec("000000.000|0.000|750.0000|13.000"));
    EXPECT_EQ(rig.results.rowText(2), dec("000100.000|100.000|791.0000|14.940"));
    EXPECT_EQ(rig.view.units, (ColumnUnits{"mV", "nF", "D"}));
    EXPECT_EQ(rig.view.panels["DAT1"], "CP:+0.7910E-06");
    EXPECT_EQ(rig.settings.values["Sweep"], 1);
    EXPECT_EQ(rig.settings.values["Mode"], 3);
    EXPECT_EQ(rig.settings.values["Circuit"], 2);
}

TEST(MeasurementRun, ABiasSweepEndsAtAStopThatNoBinaryFractionHolds) {
    // 2.03 V times 1000 is 2029.9999999999998 in binary: the reading must still meet the stop.
    RunRig rig;
    frequencySweep(rig, 1000, 1000, 1000);
    rig.panel.snap.sweep = SweepParam::Bias;
    rig.panel.snap.bias = {2010, 2030, 10};
    for (const char* x : {"V+02.01", "V+02.02", "V+02.03", "V+02.03"})
        rig.link.replies.push_back(impedanceReply("+1", "+1", x));
    rig.run.Run_Click(0);
    EXPECT_TRUE(rig.platform.messages.empty());
    EXPECT_EQ(rig.link.queries, 3);
}

// Runs 1 to 3 kHz once, so that the list holds three rows and a plot.
void firstRun(RunRig& rig) {
    frequencySweep(rig, 1000, 3000, 1000);
    steppingInstrument(rig, 1, 1);
    rig.run.Run_Click(0);
    ASSERT_EQ(rig.results.rows.size(), 3u);
    ASSERT_TRUE(rig.results.plotReady);
}

TEST(MeasurementRun, KeepsOrClearsTheEarlierRowsByRangeSettingAndAnswer) {
    const struct {
        const char* name;
        std::array<double, 3> frequency;
        bool merge;
        bool autoStep;
        bool asks;    // answered No
        size_t rows;  // after the second run
    } cases[] = {
        {"same range clears", {1000, 3000, 1000}, false, false, false, 3},
        {"changed range answered No clears", {1500, 3000, 500}, false, false, true, 4},
        {"merge setting keeps", {4000, 5000, 1000}, true, false, false, 5},
        {"automatic step clears", {4000, 5000, 0}, false, true, false, 2},
        {"automatic step clears despite merge", {4000, 5000, 0}, true, true, false, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunRig rig;
        firstRun(rig);
        rig.panel.merge = c.merge;
        rig.panel.snap.frequency = c.frequency;
        rig.panel.snap.stepShowsAuto[0] = rig.panel.snap.autoStep = rig.panel.snap.logStep =
            c.autoStep;
        steppingInstrument(rig, c.frequency[0] / 1000, c.autoStep ? 1 : c.frequency[2] / 1000);
        rig.platform.answerNext(MsgResult::No);
        rig.run.Run_Click(0);
        EXPECT_EQ(rig.platform.messages.size(), c.asks ? 1u : 0u);
        EXPECT_EQ(rig.results.rows.size(), c.rows);
        EXPECT_EQ(rig.results.removed, 0);
        // An automatic step leaves the remembered range alone.
        if (c.autoStep) {
            EXPECT_EQ(rig.panel.prevFreq, (std::array<double, 3>{1000, 3000, 1000}));
        }
    }
}

TEST(MeasurementRun, AChangedRangeAsksWhetherToKeepAndYesMerges) {
    RunRig rig;
    firstRun(rig);
    RecordingJournal journal(rig.view);
    rig.run.setJournal(&journal);
    rig.panel.snap.frequency = {2000, 4000, 1000};
    steppingInstrument(rig, 2, 1);
    rig.platform.answerNext(MsgResult::Yes);
    rig.run.Run_Click(0);
    ASSERT_EQ(journal.starts.size(), 1u);
    EXPECT_TRUE(journal.starts[0].keepsRows);

    ASSERT_EQ(rig.platform.messages.size(), 1u);
    const MessageRequest& box = rig.platform.messages[0];
    EXPECT_EQ(box.title, "Additionnal measurement");
    EXPECT_EQ(box.text,
              "Do you want to keep previous values\r\nNew measures will be merged with the "
              "existing ones");
    EXPECT_EQ(box.buttons, MsgButtons::YesNo);
    // 1 kHz stays from the first run; 2 and 3 kHz are replaced by the new readings.
    ASSERT_EQ(rig.results.rows.size(), 4u);
    EXPECT_EQ(rig.results.rowText(0), dec("000001.000|1.000|100.000|10.000"));
    EXPECT_EQ(rig.results.rowText(1), dec("000002.000|2.000|100.000|10.000"));
    EXPECT_EQ(rig.results.rowText(3), dec("000004.000|4.000|120.000|10.000"));
    EXPECT_EQ(rig.results.removed, 2);
    // The new range is remembered.
    EXPECT_EQ(rig.panel.prevFreq, (std::array<double, 3>{2000, 4000, 1000}));
}

TEST(MeasurementRun, StopInMidRunEndsAfterTheCurrentPoint) {
    RunRig rig;
    frequencySweep(rig, 1000, 10000, 1000);
    steppingInstrument(rig, 1, 1);
    bool clicked = false;
    rig.platform.onEvents = [&] {
        if (clicked || rig.results.rows.size() != 3) return;
        clicked = true;
        EXPECT_EQ(rig.panel.captions, (std::array<QString, 2>{"&Stop", "&Ref."}));
        EXPECT_EQ(rig.panel.runEnabled, (std::array<bool, 2>{true, false}));
        EXPECT_FALSE(rig.panel.panelEnabled);
        rig.run.Run_Click(0);
        // The Stop side restores the buttons at once; the loop ends by itself.
        EXPECT_EQ(rig.panel.captions[0], "&Run");
        EXPECT_TRUE(rig.panel.runEnabled[1]);
        EXPECT_TRUE(rig.panel.panelEnabled);
        EXPECT_TRUE(rig.run.running());
    };
    rig.run.Run_Click(0);

    ASSERT_TRUE(clicked);
    EXPECT_EQ(rig.link.queries, 3);
    const Wire tail(rig.link.wire.end() - 6, rig.link.wire.end());
    EXPECT_EQ(tail, (Wire{"?EX", "W2", "?EX", "W2", "?EX", "ABI0OL0.005ENEX"}));
    EXPECT_EQ(rig.platform.sleeps, (std::vector<int>{100, 10}));
    EXPECT_FALSE(rig.panel.stop);
    EXPECT_EQ(rig.results.rows.size(), 3u);
    EXPECT_EQ(rig.view.plots, (std::vector<std::array<double, 4>>{{1, 2, 100, 120}}));
    EXPECT_EQ(rig.panel.captions, (std::array<QString, 2>{"&Run", "&Ref."}));
    EXPECT_FALSE(rig.run.running());
    EXPECT_TRUE(rig.run.outcome().stopped);
    EXPECT_EQ(rig.run.outcome().points, 3);
}

TEST(MeasurementRun, AClickThatWouldStartASecondRunIsIgnored) {
    RunRig rig;
    frequencySweep(rig, 1000, 3000, 1000);
    steppingInstrument(rig, 1, 1);
    int clicks = 0;
    rig.platform.onEvents = [&] {
        // The Ref. button is disabled; after a Stop the Run button reads "&Run" again.
        if (clicks++ == 0) {
            rig.run.Run_Click(1);
            rig.run.Run_Click(0);
            rig.run.Run_Click(0);
        }
    };
    rig.run.Run_Click(0);
    EXPECT_EQ(rig.link.queries, 1);
    EXPECT_EQ(std::count(rig.link.wire.begin(), rig.link.wire.end(), "W0ABEX"), 1);
    EXPECT_EQ(rig.results.background, ListBackground::White);
}

TEST(MeasurementRun, ARunThatCouldNotGoDoesNotStart) {
    struct Case {
        const char* name;
        std::function<void(RunRig&)> arrange;
        bool beeps;
        const char* message;
    };
    const char* const tooSmall = "Step too small to reach the stop\rEnter a step of at least ";
    const Case cases[] = {
        {"oscillator not a number",
         [](RunRig& rig) { rig.panel.snap.oscillatorText = QStringLiteral("five"); }, true,
         nullptr},
        {"the window closing", [](RunRig& rig) { rig.panel.closingNow = true; }, false, nullptr},
        {"frequency step below 1 Hz", [](RunRig& rig) { rig.panel.snap.frequency[2] = 0.4; }, false,
         "1 Hz"},
        {"negative frequency step", [](RunRig& rig) { rig.panel.snap.frequency[2] = -1000; }, false,
         "1 Hz"},
        {"bias step 0",
         [](RunRig& rig) {
             rig.panel.snap.sweep = SweepParam::Bias;
             rig.panel.snap.bias = {-100, 100, 0};
         },
         false, "10 mV"},
        {"automatic step below the decade table",
         [](RunRig& rig) {
             rig.panel.snap.frequency = {1, 3000, 0};
             rig.panel.snap.autoStep = rig.panel.snap.stepShowsAuto[0] = true;
         },
         false, "1 Hz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunRig rig;
        frequencySweep(rig, 1000, 3000, 1000);
        c.arrange(rig);
        rig.results.rows.push_back({"k", "x", "1", "2"});
        rig.run.Run_Click(0);
        rig.run.Run_Click(1);  // Ref. does not start either
        EXPECT_EQ(rig.platform.beeps, c.beeps ? 2 : 0);
        if (c.message) {
            ASSERT_EQ(rig.platform.messages.size(), 2u);
            EXPECT_EQ(rig.platform.messages[0].text, tooSmall + QString::fromLatin1(c.message));
            EXPECT_EQ(rig.platform.messages[0].icon, MsgIcon::Exclamation);
        } else {
            EXPECT_TRUE(rig.platform.messages.empty());
        }
        EXPECT_TRUE(rig.link.wire.empty());
        EXPECT_TRUE(rig.settings.values.empty());
        EXPECT_EQ(rig.results.rows.size(), 1u);
        EXPECT_EQ(rig.panel.captions, (std::array<QString, 2>{"&Run", "&Ref."}));
        EXPECT_FALSE(rig.panel.stop);
        EXPECT_FALSE(rig.run.outcome().started);
    }
}

TEST(MeasurementRun, RunsThatNeedNoStepStartWithout) {
    // A spot measurement, and the logarithmic step that the instrument takes itself.
    for (const bool log : {false, true}) {
        RunRig rig;
        frequencySweep(rig, 5000, log ? 8000 : 5000, 0);
        rig.panel.snap.autoStep = rig.panel.snap.logStep = log;
        rig.panel.snap.stepShowsAuto[0] = log;
        steppingInstrument(rig, 5, 1);
        rig.run.Run_Click(0);
        EXPECT_TRUE(rig.platform.messages.empty());
        EXPECT_EQ(rig.link.queries, log ? 4 : 1);
        EXPECT_TRUE(rig.panel.stepTexts.empty());  // the step boxes keep their texts
        EXPECT_EQ(rig.results.firstRowShown, 1);
    }
}

// The automatic linear step reprograms the sweep at each decade; the top decade steps on in
// fifties and its last change stays in range (the plot's x range too); a bias sweep steps
// towards zero (past -100 mV the 10 mV decade).
TEST(MeasurementRun, AutomaticLinearStepReprogramsAtEachDecade) {
    const struct {
        SweepParam sweep;
        std::array<double, 3> fields;  // Hz or mV; the step box shows "Lin"
        const char* replies;           // the sweep value of each reading
        const char* wire;              // from the sweep's set-up on
        const char* steps;             // what the step boxes were given
        std::array<double, 2> x;       // the plot's x range
    } cases[] = {
        {SweepParam::Frequency,
         {1000, 100000, 0},
         "K+1 K+2 K+3 K+4 K+5 K+6 K+7 K+8 K+9 K+10 K+20 K+30 K+40 K+50 K+60 K+70 K+80 K+90 K+100",
         "SF1.000ENTF1.000ENPF100.000ENEX FR1.000ENEX W1W2EX <purge> ?EX ?EX ?EX ?EX ?EX ?EX ?EX "
         "?EX ?EX ?EX ABEX SF10.000ENTF20.000ENPF100.000EN W1W2EX ?EX ?EX ?EX ?EX ?EX ?EX ?EX ?EX "
         "?EX ABEX SF25.000ENTF125.000ENPF100.000EN W1W2EX ABI0OL0.005ENEX",
         "F:1 F:10 F:25 F:Lin B:Lin",
         {1, 100}},
        {SweepParam::Frequency,
         {12900e3, 13000e3, 0},
         "K+12900.000 K+12950.000 K+13000.000",
         "SF50.000ENTF12900.000ENPF13000.000ENEX FR12900.000ENEX W1W2EX <purge> ?EX ?EX ?EX ABEX "
         "SF50.000ENTF13000.000ENPF13000.000EN W1W2EX ABI0OL0.005ENEX",
         "F:50 F:50 F:Lin B:Lin",
         {12900, 13000}},
        {SweepParam::Bias,
         {31900, 32000, 0},
         "V+31.90 V+31.95 V+32.00",
         "SB0.050ENTB31.900ENPB32.000ENEX BI31.900ENEX W1W2EX <purge> ?EX ?EX ?EX ABEX "
         "SB0.050ENTB32.000ENPB32.000EN W1W2EX ABI0OL0.005ENEX",
         "B:50 B:50 F:Lin B:Lin",
         {31900, 32000}},
        {SweepParam::Bias,
         {-150, 20, 0},
         "V-0.150 V-0.130 V-0.110 V-0.090 V+0.020",
         "SB0.020ENTB-0.150ENPB0.020ENEX BI-0.150ENEX W1W2EX <purge> ?EX ?EX ?EX ?EX ABEX "
         "SB0.010ENTB-0.080ENPB0.020EN W1W2EX ?EX ABEX SB0.010ENTB0.030ENPB0.020EN W1W2EX "
         "ABI0OL0.005ENEX",
         "B:20 B:10 B:10 F:Lin B:Lin",
         {-150, 20}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.replies);
        RunRig rig;
        frequencySweep(rig, 1000, 1000, 1000);
        PanelSnapshot& s = rig.panel.snap;
        s.sweep = c.sweep;
        (c.sweep == SweepParam::Bias ? s.bias : s.frequency) = c.fields;
        s.autoStep = true;
        s.stepShowsAuto[static_cast<size_t>(c.sweep)] = true;
        const Wire replies = words(c.replies);
        for (const QString& x : replies) rig.link.replies.push_back(impedanceReply("+1", "+1", x));
        rig.run.Run_Click(0);
        EXPECT_TRUE(rig.platform.messages.empty());
        const Wire wire = words(c.wire);
        ASSERT_GE(rig.link.wire.size(), wire.size());
        EXPECT_EQ(Wire(rig.link.wire.end() - static_cast<long>(wire.size()), rig.link.wire.end()),
                  wire);
        EXPECT_EQ(rig.panel.stepTexts, words(c.steps));
        EXPECT_EQ(rig.results.rows.size(), replies.size());
        EXPECT_EQ(rig.view.plots, (std::vector<std::array<double, 4>>{{c.x[0], c.x[1], 1, 1}}));
        EXPECT_EQ(rig.panel.autoCleared, 0);
    }
}

// Impedance, auto circuit, 500 mV, manual frequency sweep from 1 kHz in 1 kHz steps up to
// `points` kHz; point i reads 1 + i Ohm.
void sweepOf(RunRig& rig, int points) {
    PanelSnapshot& s = rig.panel.snap;
    s.frequency = {1000, 1000.0 * points, 1000};
    s.oscillatorText = QStringLiteral("500");
    rig.panel.prevFreq = s.frequency;
    rig.link.queries = 0;
    rig.link.reply = [](int i) {
        return impedanceReply(QStringLiteral("+%1").arg(i + 1), "+0", kiloHertzField(i + 1));
    };
}

TEST(RunEdges, AStopClickWhileIdleOnlyRaisesTheRequest) {
    // The Ref. button keeps its "&Stop" caption while a reference is stored.
    RunRig rig;
    sweepOf(rig, 2);
    rig.run.Run_Click(1);
    ASSERT_EQ(rig.panel.captions[1], "&Stop");
    rig.run.Run_Click(1);
    EXPECT_TRUE(rig.panel.stop);
    EXPECT_EQ(rig.panel.captions[1], "&Ref.");
    EXPECT_TRUE(rig.panel.runEnabled[0]);
    // The next run starts afresh and measures every point.
    sweepOf(rig, 2);
    rig.run.Run_Click(0);
    EXPECT_EQ(rig.link.queries, 2);
}

TEST(RunEdges, ThePointCounterGoesBeyond32767) {
    RunRig rig;
    const int points = 32770;
    sweepOf(rig, points);
    rig.run.Run_Click(0);
    ASSERT_EQ(rig.results.followed.size(), static_cast<size_t>(points));
    EXPECT_EQ(rig.results.followed[32767], 32767);
    EXPECT_EQ(rig.results.followed[32768], 32768);
    EXPECT_EQ(rig.results.followed.back(), 32769);
    EXPECT_EQ(rig.results.rowText(32769), dec("032770.000|32770.000|32770.000|0.000"));
    EXPECT_EQ(rig.view.plots, (std::vector<std::array<double, 4>>{{1, 32769, 1, 32770}}));
}

TEST(RunEdges, ClosingTheWindowMidRunShowsNoErrorBoxAndStoresNoReference) {
    // The close arrives during the event pass after point 2; the link is closed with it.
    for (const int button : {0, 1}) {
        SCOPED_TRACE(button);
        RunRig rig;
        sweepOf(rig, 10);
        rig.platform.onEvents = [&] {
            if (rig.results.rows.size() != 2 || rig.panel.closingNow) return;
            rig.panel.closingNow = true;
            rig.link.reply = [](int) { return QString(); };
            rig.link.writeOk = [](int, const QString&) { return false; };
        };
        rig.run.Run_Click(button);
        EXPECT_TRUE(rig.platform.messages.empty());
        EXPECT_EQ(rig.link.wire.back(), "ABI0OL0.005ENEX");
        EXPECT_EQ(rig.results.rows.size(), 2u);
        EXPECT_FALSE(rig.run.running());
        EXPECT_FALSE(rig.run.RefStored());
        EXPECT_EQ(rig.panel.captions, (std::array<QString, 2>{"&Run", "&Ref."}));
    }
}

TEST(RunEdges, AnInstrumentThatStandsStillEndsTheRunAsBadData) {
    // The run ends when the instrument reports its stop. One that repeats its sweep value for
    // good must not keep it going for ever; one whose readback repeats a few times (a step
    // below the reply's resolution) must still reach the stop.
    struct Case {
        const char* name;
        bool autoStep;
        bool logStep;
        std::function<double(int)> kHz;  // the sweep value of query i
        int queries;
        size_t messages;
        bool staleStop = false;  // a stop request left from before the run
    };
    const Case cases[] = {
        {"manual step, stuck at the start", false, false, [](int) { return 1.0; }, 101, 1},
        {"automatic log step, stuck at 2 kHz", true, true, [](int i) { return i == 0 ? 1.0 : 2.0; },
         102, 1},
        {"manual step, each value read 99 times", false, false, [](int i) { return 1.0 + i / 99; },
         199, 0},
        {"a leftover stop request", false, false, [](int i) { return 1.0 + i; }, 3, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunRig rig;
        sweepOf(rig, 3);
        rig.panel.snap.autoStep = c.autoStep;
        rig.panel.snap.logStep = c.logStep;
        rig.panel.stop = c.staleStop;
        rig.link.reply = [&c](int i) {
            return impedanceReply(QStringLiteral("+1"), "+0", kiloHertzField(c.kHz(i)));
        };
        rig.run.Run_Click(0);
        EXPECT_EQ(rig.link.queries, c.queries);
        ASSERT_EQ(rig.platform.messages.size(), c.messages);
        if (c.messages) {
            EXPECT_EQ(rig.platform.messages[0].text, "Bad data\rVerify GPIB Configuration");
        }
        EXPECT_FALSE(rig.run.running());
        EXPECT_FALSE(rig.panel.stop);
    }
}

}  // namespace
}  // namespace lorvane::test
