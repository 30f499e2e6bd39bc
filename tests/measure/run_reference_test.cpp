// Reference runs, the reference table and the failures of a run.
#include <gtest/gtest.h>

#include "measurement_run.h"
#include "reference_table.h"
#include "run_fakes.h"

namespace lorvane::test {
namespace {

const char* const kIdle = "&Run &Ref. 11 face panel";
const char* const kReferenceStored = "&Run &Stop 10 workspace locked ref";

TEST(ReferenceRun, RefThenRunSubtractsEveryStoredPointOnce) {
    RunRig rig;
    rig.setUp("F 1000 10000 1000");
    rig.instrument(1, 1, 10, 1, 1.5);
    std::vector<ListBackground> seen;
    rig.platform.onEvents = [&] { seen.push_back(rig.background); };
    rig.run.Run_Click(1);
    EXPECT_EQ(seen.front(), ListBackground::Cyan);
    EXPECT_EQ(rig.rows.size(), 10u);
    EXPECT_EQ(rig.state(), kReferenceStored);

    seen.clear();
    rig.points.clear();
    rig.instrument(1, 1, 100, 10, 2);
    rig.run.Run_Click(0);
    EXPECT_EQ(seen.front(), ListBackground::Yellow);
    EXPECT_EQ(rig.journal(),
              "1:90:0.5* 2:99:0.5* 3:108:0.5* 4:117:0.5* 5:126:0.5* 6:135:0.5* 7:144:0.5* "
              "8:153:0.5* 9:162:0.5* 10:171:0.5*");
    EXPECT_EQ(rig.list().section(' ', 9), dec("10.000|171.000|0.500"));
    // The plot's y range is that of the corrected values it shows.
    EXPECT_EQ(rig.plots.last(), "1 9 90 171");
    EXPECT_EQ(rig.state(), kIdle);  // a reference serves one run
    EXPECT_EQ(rig.background, ListBackground::Yellow);
}

TEST(ReferenceRun, StoppedEarlyStoresNothingAndReturnsToIdle) {
    RunRig rig;
    rig.setUp("F 1000 10000 1000");
    rig.instrument(1, 1);
    QString running;
    rig.platform.onEvents = [&] {
        if (!running.isEmpty() || rig.rows.size() != 3) return;
        running = rig.state();
        rig.run.Run_Click(1);
    };
    rig.run.Run_Click(1);
    EXPECT_EQ(running, "&Run &Stop 01 face locked");
    EXPECT_EQ(rig.queries, 3);
    EXPECT_EQ(rig.background, ListBackground::White);
    EXPECT_EQ(rig.state(), kIdle);
}

TEST(ReferenceRun, IsNotAppliedToAnotherSetUpAndStaysForItsOwn) {
    RunRig rig;
    rig.setUp("F 1000 3000 1000");
    rig.instrument(1, 1, 10, 1, 1);
    rig.run.Run_Click(1);

    rig.snap.circuit = CircuitMode::Parallel;
    rig.instrument(1, 1, 100, 10, 2);
    rig.run.Run_Click(0);
    EXPECT_EQ(rig.list(), dec("1.000|100.000|2.000 2.000|110.000|2.000 "
                              "3.000|120.000|2.000"));
    EXPECT_EQ(rig.calls.filter(u"note"_s).last(), "note Ref. not applied: other set-up");
    EXPECT_EQ(rig.background, ListBackground::White);
    // The reference stays; Ref. can replace it and the panel is free to set its set-up again.
    EXPECT_EQ(rig.state(), "&Run &Ref. 11 workspace panel ref");

    // Back on the reference's set-up the next run is corrected, and the reference is used up.
    rig.snap.circuit = CircuitMode::Auto;
    rig.instrument(1, 1, 100, 10, 2);
    rig.run.Run_Click(0);
    EXPECT_EQ(rig.list(), dec("1.000|90.000|1.000 2.000|99.000|1.000 3.000|108.000|1.000"));
    EXPECT_EQ(rig.calls.filter(u"note"_s).last(), "note ");
    EXPECT_EQ(rig.background, ListBackground::Yellow);
    EXPECT_EQ(rig.state(), kIdle);
}

// A reference given from outside (the sweep program's CSV): a point that no reference point
// matches stays as read.
TEST(ReferenceRun, PointsGivenFromOutsideAreSubtractedOnce) {
    RunRig rig;
    rig.setUp("F 1000 3000 1000");
    EXPECT_FALSE(rig.run.useReference({}));
    ASSERT_TRUE(rig.run.useReference({{1, 100, 1}, {2, 100, 2}, {4, 100, 4}}));
    EXPECT_TRUE(rig.run.RefStored());
    rig.instrument(1, 1, 101, 1, 10);
    rig.run.Run_Click(0);
    EXPECT_EQ(rig.journal(), "1:1:9* 2:2:8* 3:103:10");
    EXPECT_EQ(rig.background, ListBackground::Yellow);
    EXPECT_FALSE(rig.run.RefStored());
}

// Each failure ends the run at its point with its message, and a reference run that fails
// stores nothing.
TEST(RunFailures, EachShowsItsMessageAndStillEndsTheRun) {
    const struct {
        const char* panel;
        const char* replies;
        const char* refused;  // the writes that fail from the n-th on, as "<text>#<n>"; "*" all
        int button;
        const char* run;  // the message, the points before the failure, the traffic's end
    } cases[] = {
        {"F 1000 3000 1000", "", "", 0, "No response from command|0|<purge> ?EX ABI0OL0.005ENEX"},
        {"F 1000 3000 1000", "NZFN+02.8\r\n", "", 0, "Bad data|0|<purge> ?EX ABI0OL0.005ENEX"},
        {"F 1000 3000 1000", "NZFN+1E+999,NTDN+1,K+1", "", 0,
         "Bad data|0|<purge> ?EX ABI0OL0.005ENEX"},
        {"F 1000 3000 1000", "", "*", 0, "Communication Error|0|W0ABEX ABI0OL0.005ENEX"},
        {"F 1000 3000 1000", "", "OL0.500ENEX#1", 0,
         "Communication Error|0|A1B1C1EX OL0.500ENEX ABI0OL0.005ENEX"},
        // The setup's own "W1W2EX" goes through; the one after the decade change does not.
        {"F 8000 30000 0 auto", "NZFN+1,NTDN+1,K+8 NZFN+1,NTDN+1,K+9 NZFN+1,NTDN+1,K+10",
         "W1W2EX#2", 0,
         "Communication Error|3|?EX ABEX SF10.000ENTF20.000ENPF30.000EN W1W2EX ABI0OL0.005ENEX"},
        {"F 1000 3000 1000", "NZFN+1E+00,NTDN+1E+00,K+1 NZFN+1E+00", "", 1,
         "Bad data|1|?EX W2 ?EX ABI0OL0.005ENEX"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.run);
        RunRig rig;
        rig.setUp(c.panel);
        rig.replies = words(c.replies);
        const QString refused = QString::fromLatin1(c.refused).section(u'#', 0, 0);
        const int from = QString::fromLatin1(c.refused).section(u'#', 1).toInt();
        rig.writeOk = [&refused, from, n = 0](const QString& text) mutable {
            return refused != u"*" && (text != refused || ++n < from);
        };
        rig.run.Run_Click(c.button);
        const QStringList want = QString::fromLatin1(c.run).split(u'|');
        ASSERT_EQ(rig.platform.messages.size(), 1u);
        const MessageRequest& box = rig.platform.messages[0];
        EXPECT_EQ(box.title + '|' + box.text,
                  u"Lorvane|"_s + want[0] + u"\rVerify GPIB Configuration"_s);
        EXPECT_EQ(box.icon, MsgIcon::Critical);
        EXPECT_EQ(box.buttons, MsgButtons::Ok);
        EXPECT_EQ(QString::number(rig.run.outcome().points), want[1]);
        EXPECT_TRUE((u' ' + rig.wire.join(' ')).endsWith(u' ' + want[2]))
            << rig.wire.join(u" "_s).toStdString();
        EXPECT_TRUE(rig.plots.isEmpty());
        EXPECT_EQ(rig.background, ListBackground::White);
        EXPECT_EQ(rig.state(), kIdle);
    }
}

// Point k is corrected at its expected sweep value, compared at the list's resolution; another
// sweep value at the same counter, or a counter beyond the table, is left alone. What gives no
// table keeps nothing.
TEST(ReferenceTable, KeepsEveryRowAndCorrectsThePointsAtItsSweepValues) {
    RunRig list;
    for (const char* x : {"1", "2", "3"}) list.rows.push_back({"", dec(x), dec("10.5"), "1"});
    ReferenceTable table;
    ASSERT_TRUE(table.store(list, {}));
    QStringList corrected;
    for (const auto& [k, expected] : {std::pair<int64_t, double>{0, 1},
                                      {2, 3.0000000001},
                                      {1, 2.0005},
                                      {0, 0.9994},
                                      {3, 4},
                                      {-1, 1}}) {
        double dat1 = 20, dat2 = 5;
        corrected << u"%1:%2:%3"_s.arg(table.correct(k, expected, dat1, dat2)).arg(dat1).arg(dat2);
    }
    EXPECT_EQ(corrected.join(' '), "1:9.5:4 1:9.5:4 0:20:5 0:20:5 0:20:5 0:20:5");
    list.rows.push_back({"", "4", "x", "1"});
    EXPECT_FALSE(table.store(list, {}));
    EXPECT_EQ(table.size(), 0);
    EXPECT_FALSE(table.appliesTo({}));
    EXPECT_FALSE(table.store(RunRig(), {}));
    EXPECT_FALSE(table.assign({}, {}));
}

// What a reference was measured with must match: measured quantity, circuit, sweep, oscillator
// level (as a number) and the spot of the quantity not swept; the sweep's range may change.
TEST(ReferenceTable, AppliesOnlyToTheSetUpItWasMeasuredWith) {
    const struct {
        const char* reference;
        const char* run;
        bool applies;
    } cases[] = {
        {"F 1000 5000 1000 bias=-100", "F 2000 9000 500 bias=-100 fast", true},
        {"F 1000 5000 1000 bias=-100", "F 1000 5000 1000 bias=-100 osc=500.0", true},
        {"F 1000 5000 1000 bias=-100", "F 1000 5000 1000 bias=-100 mode=3", false},
        {"F 1000 5000 1000 bias=-100", "F 1000 5000 1000 bias=-100 circuit=1", false},
        {"F 1000 5000 1000 bias=-100", "F 1000 5000 1000 bias=-100 osc=100", false},
        {"F 1000 5000 1000 bias=-100", "F 1000 5000 1000", false},
        {"F 1000 5000 1000", "B 0 5000 10 spot=1000", false},
        {"B 0 5000 10 spot=1000", "B -500 100 50 spot=1000", true},
        {"B 0 5000 10 spot=1000", "B 0 5000 10 spot=2000", false},
        {"F 1000 5000 1000 osc=x", "F 1000 5000 1000 osc=0", true},  // no number counts as 0
    };
    for (const auto& c : cases) {
        ReferenceTable table;
        ASSERT_TRUE(table.assign({{1, 1, 1}}, referenceSetupOf(panelOf(c.reference))));
        EXPECT_EQ(table.appliesTo(referenceSetupOf(panelOf(c.run))), c.applies) << c.run;
    }
}

}  // namespace
}  // namespace lorvane::test
