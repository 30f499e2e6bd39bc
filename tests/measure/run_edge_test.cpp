// The run at its edges: stale stop requests, very long runs, a window closing mid-run, and the
// reference table on its own.
#include <gtest/gtest.h>

#include <functional>

#include "measurement_run.h"
#include "reference_table.h"
#include "run_fakes.h"

namespace lorvane::test {
namespace {

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

TEST(RunEdges, OnceTheWindowIsClosingRunAndRefDoNothing) {
    RunRig rig;
    sweepOf(rig, 3);
    rig.panel.closingNow = true;
    rig.run.Run_Click(0);
    rig.run.Run_Click(1);
    EXPECT_TRUE(rig.link.wire.empty());
    EXPECT_TRUE(rig.results.rows.empty());
    EXPECT_EQ(rig.panel.captions, (std::array<QString, 2>{"&Run", "&Ref."}));
    EXPECT_FALSE(rig.panel.stop);
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
}

}  // namespace
}  // namespace lorvane::test
