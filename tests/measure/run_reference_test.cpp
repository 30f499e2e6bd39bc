// Reference runs, failures, the button states and the run's guards.
#include <gtest/gtest.h>

#include "measurement_run.h"
#include "reference_table.h"
#include "run_fakes.h"

namespace lorvane::test {
namespace {

using Wire = std::vector<QString>;
using Captions = std::array<QString, 2>;
using Enabled = std::array<bool, 2>;

// Impedance, auto circuit, 500 mV, manual frequency sweep on a remembered range. Point i of
// each run lies at start + i * step (1 kHz steps when the step is 0) and reads
// |Z| = z0 + i * dz and the phase `phase`.
struct Sweep {
    double startHz, stopHz, stepHz;
    double z0 = 100, dz = 10, phase = 2;
};

void setUp(RunRig& rig, const Sweep& sweep) {
    PanelSnapshot& s = rig.panel.snap;
    s.frequency = {sweep.startHz, sweep.stopHz, sweep.stepHz};
    s.oscillatorText = QStringLiteral("500");
    rig.panel.prevFreq = s.frequency;
    rig.link.queries = 0;
    const double pointStep = sweep.stepHz != 0 ? sweep.stepHz : 1000;
    rig.link.reply = [sweep, pointStep](int i) {
        return impedanceReply(QStringLiteral("%1").arg(sweep.z0 + i * sweep.dz, 0, 'f', 4),
                              QStringLiteral("%1").arg(sweep.phase, 0, 'f', 4),
                              kiloHertzField((sweep.startHz + i * pointStep) / 1000));
    };
}

// The state table, read off the fake panel.
void expectIdle(const RunRig& rig) {
    EXPECT_EQ(rig.panel.captions, (Captions{"&Run", "&Ref."}));
    EXPECT_EQ(rig.panel.runEnabled, (Enabled{true, true}));
    EXPECT_EQ(rig.panel.refColour, RefButtonColour::ButtonFace);
    EXPECT_TRUE(rig.panel.panelEnabled);
    EXPECT_FALSE(rig.run.RefStored());
}

void expectReferenceStored(const RunRig& rig) {
    EXPECT_EQ(rig.panel.captions, (Captions{"&Run", "&Stop"}));
    EXPECT_EQ(rig.panel.runEnabled, (Enabled{true, false}));
    EXPECT_EQ(rig.panel.refColour, RefButtonColour::AppWorkspace);
    EXPECT_FALSE(rig.panel.panelEnabled);
    EXPECT_TRUE(rig.run.RefStored());
}

// Ref. over `sweep`, which stores the reference.
void storeReference(RunRig& rig, const Sweep& sweep) {
    setUp(rig, sweep);
    rig.run.Run_Click(1);
    expectReferenceStored(rig);
}

TEST(ReferenceRun, RefThenRunSubtractsTheStoredPoints) {
    RunRig rig;
    setUp(rig, {1000, 10000, 1000, 10, 1, 1.5});
    std::vector<ListBackground> backgrounds;
    rig.platform.onEvents = [&] { backgrounds.push_back(rig.results.background); };
    rig.run.Run_Click(1);
    EXPECT_EQ(backgrounds.front(), ListBackground::Cyan);
    EXPECT_EQ(rig.results.rows.size(), 10u);
    expectReferenceStored(rig);

    backgrounds.clear();
    setUp(rig, {1000, 10000, 1000, 100, 10, 2});
    rig.run.Run_Click(0);
    EXPECT_EQ(backgrounds.front(), ListBackground::Yellow);
    // Every point of the reference is kept: 1 to 10 kHz are all corrected.
    ASSERT_EQ(rig.results.rows.size(), 10u);
    EXPECT_EQ(rig.results.rowText(0), dec("000001.000|1.000|90.000|0.500"));
    EXPECT_EQ(rig.results.rowText(8), dec("000009.000|9.000|162.000|0.500"));
    EXPECT_EQ(rig.results.rowText(9), dec("000010.000|10.000|171.000|0.500"));
    // The plot's y range is that of the corrected values it shows.
    EXPECT_EQ(rig.view.plots.back(), (std::array<double, 4>{1, 9, 90, 171}));
    // A reference serves one run; afterwards Ref. is usable again.
    expectIdle(rig);
    EXPECT_EQ(rig.results.background, ListBackground::Yellow);
}

TEST(ReferenceRun, StoppedEarlyFailsAndReturnsToIdle) {
    RunRig rig;
    setUp(rig, {1000, 10000, 1000});
    bool clicked = false;
    rig.platform.onEvents = [&] {
        if (clicked || rig.results.rows.size() != 3) return;
        clicked = true;
        EXPECT_EQ(rig.panel.captions, (Captions{"&Run", "&Stop"}));
        EXPECT_EQ(rig.panel.runEnabled, (Enabled{false, true}));
        rig.run.Run_Click(1);
    };
    rig.run.Run_Click(1);
    EXPECT_EQ(rig.link.queries, 3);
    EXPECT_EQ(rig.results.background, ListBackground::White);
    expectIdle(rig);
}

TEST(ReferenceRun, KeepsWhatItMeasuredWhateverTheStep) {
    // Automatic log step: the step is 0. A stop below the start: one point.
    for (const Sweep& sweep : {Sweep{1000, 3000, 0}, Sweep{3000, 1000, 1000}}) {
        RunRig rig;
        setUp(rig, sweep);
        if (sweep.stepHz == 0) {
            rig.panel.snap.autoStep = rig.panel.snap.logStep = true;
            rig.panel.snap.stepShowsAuto[0] = true;
        }
        rig.run.Run_Click(1);
        expectReferenceStored(rig);
        const size_t points = rig.results.rows.size();
        EXPECT_GE(points, 1u);

        setUp(rig, {sweep.startHz, sweep.stopHz, sweep.stepHz, 130});
        rig.run.Run_Click(0);
        // The first point lies at the start in both runs and reads 30 Ohm above the reference.
        ASSERT_EQ(rig.results.rows.size(), points);
        EXPECT_EQ(rig.results.rows[0].dat1, dec("30.000"));
        expectIdle(rig);
    }
}

TEST(ReferenceRun, IsNotAppliedToAnotherSetUpAndStaysForItsOwn) {
    RunRig rig;
    storeReference(rig, {1000, 3000, 1000, 10, 1, 1});

    setUp(rig, {1000, 3000, 1000, 100, 10, 2});
    rig.panel.snap.circuit = CircuitMode::Parallel;
    std::vector<ListBackground> backgrounds;
    rig.platform.onEvents = [&] { backgrounds.push_back(rig.results.background); };
    rig.run.Run_Click(0);
    ASSERT_EQ(rig.results.rows.size(), 3u);
    // Not corrected, and the status bar says why.
    EXPECT_EQ(rig.results.rowText(2), dec("000003.000|3.000|120.000|2.000"));
    EXPECT_EQ(rig.view.note, "Ref. not applied: other set-up");
    EXPECT_EQ(backgrounds.front(), ListBackground::White);
    // The reference stays; Ref. can replace it and the panel is free to set its set-up again.
    EXPECT_TRUE(rig.run.RefStored());
    EXPECT_EQ(rig.panel.captions, (Captions{"&Run", "&Ref."}));
    EXPECT_EQ(rig.panel.runEnabled, (Enabled{true, true}));
    EXPECT_EQ(rig.panel.refColour, RefButtonColour::AppWorkspace);
    EXPECT_TRUE(rig.panel.panelEnabled);

    // Back on the reference's set-up the next run is corrected, and the reference is used up.
    setUp(rig, {1000, 3000, 1000, 100, 10, 2});
    rig.panel.snap.circuit = CircuitMode::Auto;
    rig.run.Run_Click(0);
    ASSERT_EQ(rig.results.rows.size(), 3u);
    EXPECT_EQ(rig.results.rowText(2), dec("000003.000|3.000|108.000|1.000"));
    EXPECT_EQ(rig.view.note, "");
    EXPECT_EQ(backgrounds.back(), ListBackground::Yellow);
    expectIdle(rig);
}

TEST(RunFailures, EachShowsItsMessageAndStillEndsTheRun) {
    using F = MeasurementRun::Failure;
    const struct {
        const char* name;
        F failure;
        int64_t points;    // the point that failed
        const char* wire;  // the traffic's end
        int button;
        std::function<void(RunRig&)> arrange;
    } cases[] = {
        {"no response", F::NoResponse, 0, "<purge> ?EX ABI0OL0.005ENEX", 0,
         [](RunRig& rig) { rig.link.reply = [](int) { return QString(); }; }},
        {"bad data", F::BadData, 0, "<purge> ?EX ABI0OL0.005ENEX", 0,
         [](RunRig& rig) { rig.link.reply = [](int) { return QStringLiteral("NZFN+02.8\r\n"); }; }},
        {"number beyond a double", F::BadData, 0, "<purge> ?EX ABI0OL0.005ENEX", 0,
         [](RunRig& rig) {
             rig.link.reply = [](int i) {
                 return impedanceReply("+1E+999", "+1", kiloHertzField(i + 1));
             };
         }},
        {"closed link", F::Communication, 0, "W0ABEX ABI0OL0.005ENEX", 0,
         [](RunRig& rig) { rig.link.writeOk = [](int, const QString&) { return false; }; }},
        {"setup write", F::Communication, 0, "A1B1C1EX OL0.500ENEX ABI0OL0.005ENEX", 0,
         [](RunRig& rig) {
             rig.link.writeOk = [](int, const QString& t) { return t != "OL0.500ENEX"; };
         }},
        {"decade change", F::Communication, 3,
         "?EX ABEX SF10.000ENTF20.000ENPF30.000EN W1W2EX ABI0OL0.005ENEX", 0,
         [](RunRig& rig) {
             setUp(rig, {8000, 30000, 0});
             rig.panel.snap.autoStep = rig.panel.snap.stepShowsAuto[0] = true;
             // The setup's own "W1W2EX" goes through; the one after the decade change does not.
             rig.link.writeOk = [writes = 0](int, const QString& t) mutable {
                 return t != "W1W2EX" || writes++ == 0;
             };
         }},
        {"bad data in a reference run", F::BadData, 1, "?EX W2 ?EX ABI0OL0.005ENEX", 1,
         [](RunRig& rig) {
             rig.link.reply = nullptr;
             rig.link.replies = {impedanceReply("+1E+00", "+1E+00", "K+1"), "NZFN+1E+00"};
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunRig rig;
        setUp(rig, {1000, 3000, 1000});
        c.arrange(rig);
        rig.run.Run_Click(c.button);
        EXPECT_EQ(rig.run.outcome().failure, c.failure);
        EXPECT_EQ(rig.run.outcome().points, c.points);
        const char* const message[] = {"", "No response from command", "Bad data",
                                       "Communication Error"};
        ASSERT_EQ(rig.platform.messages.size(), 1u);
        EXPECT_EQ(rig.platform.messages[0].text,
                  QString::fromLatin1(message[static_cast<int>(c.failure)]) +
                      "\rVerify GPIB Configuration");
        EXPECT_EQ(rig.platform.messages[0].icon, MsgIcon::Critical);
        EXPECT_EQ(rig.platform.messages[0].title, "Lorvane");
        EXPECT_EQ(rig.platform.messages[0].buttons, MsgButtons::Ok);
        const Wire wire = words(c.wire);
        EXPECT_EQ(Wire(rig.link.wire.end() - static_cast<long>(wire.size()), rig.link.wire.end()),
                  wire);
        EXPECT_TRUE(rig.view.plots.empty());
        EXPECT_EQ(rig.results.background, ListBackground::White);
        expectIdle(rig);
    }
}

// A list of rows as the run leaves them: sweep value, first and second reading.
FakeResults listOf(std::initializer_list<std::array<const char*, 3>> rows) {
    FakeResults list;
    for (const auto& r : rows) list.rows.push_back({QString(), dec(r[0]), dec(r[1]), dec(r[2])});
    return list;
}

TEST(ReferenceTable, KeepsEveryRowAndCorrectsThePointsAtItsSweepValues) {
    const FakeResults list = listOf(
        {{"1.000", "10.000", "1.000"}, {"2.000", "11.000", "1.500"}, {"3.000", "12.000", "2.000"}});
    ReferenceTable table;
    ASSERT_TRUE(table.store(list, {}));
    EXPECT_EQ(table.size(), 3);
    double dat1 = 20, dat2 = 5;
    EXPECT_TRUE(table.correct(1, 2, dat1, dat2));
    EXPECT_DOUBLE_EQ(dat1, 9);
    EXPECT_DOUBLE_EQ(dat2, 3.5);
    // The last point is corrected too.
    EXPECT_TRUE(table.correct(2, 3.0000000001, dat1, dat2));
    EXPECT_DOUBLE_EQ(dat1, -3);
    EXPECT_FALSE(table.correct(3, 4, dat1, dat2));
    EXPECT_FALSE(table.correct(-1, 1, dat1, dat2));
    // Another sweep value at the same counter is left alone.
    EXPECT_FALSE(table.correct(0, 1.5, dat1, dat2));
    EXPECT_DOUBLE_EQ(dat1, -3);
}

TEST(ReferenceTable, RefusesWhatGivesNoTableAndKeepsNothing) {
    ReferenceTable table;
    ASSERT_TRUE(table.store(listOf({{"1.000", "1.000", "1.000"}}), {}));
    EXPECT_FALSE(table.store(listOf({{"1.000", "1.000", "1.000"}, {"2.000", "x", "1.000"}}), {}));
    EXPECT_EQ(table.size(), 0);
    EXPECT_FALSE(table.appliesTo({}));
    EXPECT_FALSE(table.store(FakeResults(), {}));
    double dat1 = 1, dat2 = 1;
    EXPECT_FALSE(table.correct(0, 1, dat1, dat2));
}

TEST(ReferenceTable, AppliesOnlyToTheSetUpItWasMeasuredWith) {
    PanelSnapshot ref;
    ref.frequency = {1000, 5000, 1000};
    ref.bias = {-100, 100, 10};
    ref.oscillatorText = QStringLiteral("500");
    ReferenceTable table;
    ASSERT_TRUE(table.store(listOf({{"1.000", "1.000", "1.000"}}), referenceSetupOf(ref)));

    struct Case {
        const char* change;
        std::function<void(PanelSnapshot&)> apply;
        bool applies;
    };
    const Case cases[] = {
        {"nothing", [](PanelSnapshot&) {}, true},
        {"range and step",
         [](PanelSnapshot& s) {
             s.frequency = {2000, 9000, 500};
         },
         true},
        {"bias stop and step",
         [](PanelSnapshot& s) {
             s.bias = {-100, 500, 50};
         },
         true},
        {"high speed", [](PanelSnapshot& s) { s.highSpeed = true; }, true},
        {"oscillator written otherwise", [](PanelSnapshot& s) { s.oscillatorText = dec("500.0"); },
         true},
        {"measure", [](PanelSnapshot& s) { s.mode = MeasureMode::Capacitance; }, false},
        {"circuit", [](PanelSnapshot& s) { s.circuit = CircuitMode::Series; }, false},
        {"sweep", [](PanelSnapshot& s) { s.sweep = SweepParam::Bias; }, false},
        {"oscillator", [](PanelSnapshot& s) { s.oscillatorText = QStringLiteral("100"); }, false},
        {"spot bias", [](PanelSnapshot& s) { s.bias[0] = 0; }, false},
    };
    for (const Case& c : cases) {
        PanelSnapshot run = ref;
        c.apply(run);
        EXPECT_EQ(table.appliesTo(referenceSetupOf(run)), c.applies) << c.change;
    }
    // In a bias sweep the spot frequency counts, and the bias start does not.
    ref.sweep = SweepParam::Bias;
    ASSERT_TRUE(table.store(listOf({{"1.000", "1.000", "1.000"}}), referenceSetupOf(ref)));
    PanelSnapshot run = ref;
    run.bias[0] = -500;
    EXPECT_TRUE(table.appliesTo(referenceSetupOf(run)));
    run.frequency[0] = 2000;
    EXPECT_FALSE(table.appliesTo(referenceSetupOf(run)));
    // An oscillator text that reads as no number counts as 0 mV.
    ref.oscillatorText = QStringLiteral("x");
    ASSERT_TRUE(table.store(listOf({{"1.000", "1.000", "1.000"}}), referenceSetupOf(ref)));
    ref.oscillatorText = QStringLiteral("0");
    EXPECT_TRUE(table.appliesTo(referenceSetupOf(ref)));
}

}  // namespace
}  // namespace lorvane::test
