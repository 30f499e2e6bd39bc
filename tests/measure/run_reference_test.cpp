#include <gtest/gtest.h>

#include <QSerialPort>

#include "cls_gpib_run_link.h"
#include "headless_run.h"
#include "reference_table.h"
#include "run_fakes.h"
#include "run_progress.h"

namespace lorvane::test {
namespace {

const char* const kIdle = "&Run &Ref. 11 face panel";

TEST(ReferenceRun, RefThenRunSubtractsEveryStoredPointOnce) {
    RunRig rig;
    rig.setUp("F 1000 10000 1000");
    rig.instrument(1, 1, 10, 1, 1.5);
    rig.run.Run_Click(1);
    EXPECT_EQ(rig.background, ListBackground::Cyan);
    EXPECT_EQ(rig.state(), "&Run &Stop 10 workspace locked ref");

    rig.points.clear();
    rig.instrument(1, 1, 100, 10, 2);
    rig.run.Run_Click(0);
    EXPECT_EQ(rig.journal(),
              "1:90:0.5* 2:99:0.5* 3:108:0.5* 4:117:0.5* 5:126:0.5* 6:135:0.5* 7:144:0.5* "
              "8:153:0.5* 9:162:0.5* 10:171:0.5*");
    EXPECT_EQ(rig.list().section(' ', 9), dec("10.000|171.000|0.500"));
    EXPECT_EQ(rig.plots.last(), "1 9 90 171");  // the range of the corrected values
    EXPECT_EQ(rig.state(), kIdle);              // a reference serves one run
    EXPECT_EQ(rig.background, ListBackground::Yellow);

    // A logarithmic sweep has no fixed step: its points meet the reference at their values.
    rig.setUp("F 1000 10000 1000 auto log");
    rig.reply = nullptr;
    for (const int run : {1, 0}) {
        rig.points.clear();
        for (const char* k : {"01.000000", "02.000000", "04.000000", "10.000000"})
            rig.replies << u"NZFN+%1E+00,NTDN+1E+00,K+"_s.arg(run ? 10 : 50) + QLatin1String(k);
        rig.run.Run_Click(run);
    }
    EXPECT_EQ(rig.journal(), "1:40:0* 2:40:0* 4:40:0* 10:40:0*");
}

// A reference (here one given from outside, as the sweep program's CSV) is not applied to another
// set-up and stays for its own; a point that no reference point matches stays as read.
TEST(ReferenceRun, IsNotAppliedToAnotherSetUpAndStaysForItsOwn) {
    RunRig rig;
    rig.setUp("F 1000 3000 1000");
    EXPECT_FALSE(rig.run.useReference({}));
    ASSERT_TRUE(rig.run.useReference({{1, 100, 1}, {2, 100, 2}, {4, 100, 4}}));
    QStringList states;
    for (const CircuitMode circuit : {CircuitMode::Parallel, CircuitMode::Auto}) {
        rig.snap.circuit = circuit;
        rig.instrument(1, 1, 101, 1, 10);
        rig.run.Run_Click(0);
        states << rig.state();
    }
    EXPECT_EQ(rig.journal(), "1:101:10 2:102:10 3:103:10 1:1:9* 2:2:8* 3:103:10");
    EXPECT_EQ(rig.calls.filter(u"note"_s).join(','), "note Ref. not applied: other set-up,note ");
    // The reference stays while Ref. can replace it and the panel is free; a run uses it up.
    EXPECT_EQ(states.join(','), "&Run &Ref. 11 face panel ref,&Run &Ref. 11 face panel");
}

// Each failure ends the run at its point with its message, and a reference run that fails
// stores nothing.
TEST(RunFailures, EachShowsItsMessageAndStillEndsTheRun) {
    const struct {
        const char* panel;
        const char* replies;
        int refusedFrom;  // the first write that fails, from 1; 0 for none
        int button;
        const char* run;  // the message, the points before the failure, the traffic
    } cases[] = {
        {"F 1000 3000 1000", "", 0, 0, "No response from command|0|?EX ABI0OL0.005ENEX"},
        {"F 1000 3000 1000", "NZFN+02.8\r\n", 0, 0, "Bad data|0|?EX ABI0OL0.005ENEX"},
        {"F 1000 3000 1000", "NZFN+1E+999,NTDN+1,K+1", 0, 0, "Bad data|0|?EX ABI0OL0.005ENEX"},
        {"F 1000 3000 1000", "", 1, 0, "Communication Error|0|W0ABEX ABI0OL0.005ENEX"},
        {"F 1000 3000 1000", "", 4, 0,
         "Communication Error|0|W0ABEX T3F1R8I0G0H0EX A1B1C1EX OL0.500ENEX ABI0OL0.005ENEX"},
        // The setup's own "W1W2EX" goes through; the one after the decade change does not.
        {"F 8000 30000 0 auto", "NZFN+1,NTDN+1,K+8 NZFN+1,NTDN+1,K+9 NZFN+1,NTDN+1,K+10", 11, 0,
         "Communication Error|3|?EX ?EX ?EX ABEX SF10.000ENTF20.000ENPF30.000EN W1W2EX "
         "ABI0OL0.005ENEX"},
        {"F 1000 3000 1000", "NZFN+1E+00,NTDN+1E+00,K+1 NZFN+1E+00", 0, 1,
         "Bad data|1|?EX W2 ?EX ABI0OL0.005ENEX"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.run);
        RunRig rig;
        rig.setUp(c.panel);
        rig.replies = words(c.replies);
        rig.writeOk = [&c, n = 0](const QString&) mutable {
            return c.refusedFrom == 0 || ++n < c.refusedFrom;
        };
        rig.run.Run_Click(c.button);
        const QStringList want = QString::fromLatin1(c.run).split(u'|');
        ASSERT_EQ(rig.platform.messages.size(), 1u);
        const MessageRequest& box = rig.platform.messages[0];
        EXPECT_EQ(box.title + '|' + box.text,
                  u"Lorvane|"_s + want[0] + u"\rVerify GPIB Configuration"_s);
        EXPECT_TRUE(box.icon == MsgIcon::Critical && box.buttons == MsgButtons::Ok);
        EXPECT_EQ(QString::number(rig.run.outcome().points), want[1]);
        EXPECT_EQ(rig.traffic(), want[2]);
        EXPECT_TRUE(rig.plots.isEmpty());
        EXPECT_EQ(rig.background, ListBackground::White);
        EXPECT_EQ(rig.state(), kIdle);
    }
}

// Point k is corrected at its sweep value, compared at the list's resolution; another
// value or a counter beyond the table is left alone. What gives no table keeps nothing.
TEST(ReferenceTable, KeepsEveryRowAndCorrectsThePointsAtItsSweepValues) {
    std::vector<std::array<double, 3>> rows{{1, 10.5, 1}, {2, 10.5, 1}, {3, 10.5, 1}, {4, 10.5, 1}};
    rows.pop_back();  // its row 3 stays in memory behind the table's end, never to be read
    ReferenceTable table;
    ASSERT_TRUE(table.assign(std::move(rows), {}));
    QStringList corrected;
    const std::pair<int64_t, double> points[] = {
        {0, 1}, {2, 3.0000000001}, {1, 2.0005}, {0, 0.9994}, {3, 4}, {-1, 1}};
    for (const auto& [k, expected] : points) {
        double dat1 = 20, dat2 = 5;
        corrected << u"%1:%2:%3"_s.arg(table.correct(k, expected, dat1, dat2)).arg(dat1).arg(dat2);
    }
    EXPECT_EQ(corrected.join(' '), "1:9.5:4 1:9.5:4 0:20:5 0:20:5 0:20:5 0:20:5");
    RunRig list;
    list.rows.push_back({"", "4", "x", "1"});
    EXPECT_FALSE(table.store(list, {}));
    EXPECT_EQ(table.size(), 0);
    EXPECT_FALSE(table.appliesTo({}));
    EXPECT_FALSE(table.store(RunRig(), {}));
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
        {"B 0 5000 10 spot=1000", "B 0 5000 10 spot=2000", false},
        {"F 1000 5000 1000 osc=x", "F 1000 5000 1000 osc=0", true},  // no number counts as 0
    };
    for (const auto& c : cases) {
        ReferenceTable table;
        ASSERT_TRUE(table.assign({{1, 1, 1}}, referenceSetupOf(panelOf(c.reference))));
        EXPECT_EQ(table.appliesTo(referenceSetupOf(panelOf(c.run))), c.applies) << c.run;
    }
}

QString readingAt(int kHz) { return u"NZFN+%1E+00,NTDN+010.00E+00,K+%2"_s.arg(100 + kHz).arg(kHz); }

// A manual sweep sets its spot again and triggers; an automatic one restarts at the point before
// (at a decade's first point, at that point). A late reply shows the point before's value.
TEST(RunRetries, TriggerAPointAgainAndKeepItOnce) {
    const struct {
        const char* panel;
        int retries;
        const char* replies;  // by query: the reading at k kHz, "-" a timeout, "?" bad data
        // The traffic from the first trigger to the run's end | the sweep values written down |
        // each retry as point:attempt:cause (1 no response, 2 bad data) | the failure.
        const char* run;
    } cases[] = {
        {"F 1000 3000 1000", 2, "1 - 2 3",
         "?EX W2 ?EX FR2.000EN ?EX W2 ?EX W2 | 1 2 3 | 1:1:1 | 0"},
        {"F 1000 3000 1000", 2, "? ? 1 2 3",
         "?EX FR1.000EN ?EX FR1.000EN ?EX W2 ?EX W2 ?EX W2 | 1 2 3 | 0:1:2 0:2:2 | 0"},
        {"F 1000 3000 1000", 1, "1 - - 2", "?EX W2 ?EX FR2.000EN ?EX | 1 | 1:1:1 | 1"},
        {"F 1000 3000 1000", 0, "1 - 2", "?EX W2 ?EX | 1 |  | 1"},
        {"F 1000 3000 1000", 2, "1 - 2 2 3 3",
         "?EX W2 ?EX FR2.000EN ?EX W2 ?EX <read> W2 | 1 2 3 | 1:1:1 | 0"},
        {"F 1000 3000 1000", 1, "1 - 1 1 2 3",
         "?EX W2 ?EX FR2.000EN ?EX <read> <read> W2 ?EX W2 | 1 2 3 | 1:1:1 | 0"},
        {"F 1000 3000 1000 auto", 2, "1 - 1 2 3",
         "?EX ?EX ABEX SF1.000ENTF1.000ENPF3.000EN W1W2EX ?EX ?EX ?EX | 1 2 3 | 1:1:1 | 0"},
        {"F 1000 3000 1000 auto", 2, "- 1 2 3",
         "?EX ABEX SF1.000ENTF1.000ENPF3.000EN W1W2EX ?EX ?EX ?EX | 1 2 3 | 0:1:1 | 0"},
        {"F 8000 30000 0 auto", 2, "8 9 10 - 20 30",
         "?EX ?EX ?EX ABEX SF10.000ENTF20.000ENPF30.000EN W1W2EX ?EX ABEX "
         "SF10.000ENTF20.000ENPF30.000EN W1W2EX ?EX ?EX | 8 9 10 20 30 | 3:1:1 | 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.replies);
        RunRig rig;
        QStringList reported;
        rig.run.setRetries(c.retries, [&](const MeasurementRun::Retry& r) {
            reported << u"%1:%2:%3"_s.arg(r.point).arg(r.attempt).arg(static_cast<int>(r.cause));
        });
        rig.setUp(c.panel);
        for (const QString& r : words(c.replies))
            rig.replies << (r == u"-" ? QString() : r == u"?" ? r : readingAt(r.toInt()));
        rig.run.Run_Click(0);
        EXPECT_EQ(rig.wire.takeLast(), "ABI0OL0.005ENEX");
        QStringList points;
        for (const MeasuredPoint& p : rig.points) points << QString::number(p.x);
        EXPECT_EQ(QStringList({rig.traffic(), points.join(' '), reported.join(' '),
                               QString::number(static_cast<int>(rig.run.outcome().failure))})
                      .join(u" | "_s),
                  c.run);
        EXPECT_EQ(rig.rows.size(), static_cast<size_t>(points.size()));
    }
}

// An interrupt ends the run after its point and stays; each sweep remembers its own range.
TEST(HeadlessRun, AnInterruptEndsTheRunAfterItsPointAndStays) {
    HeadlessPanel panel(panelOf("F 1000 5000 1000"));
    panel.previousRange(SweepParam::Bias) = {1, 2, 3};
    HeadlessResults results;
    RunRig rig;
    MeasurementRun run(rig, panel, results, rig, rig, rig.platform);
    rig.reply = [&](int i) {
        if (i == 1) panel.interrupt();
        return readingAt(i + 1);
    };
    for (const int64_t rows : {2, 1}) {
        run.Run_Click(0);
        EXPECT_EQ(results.rowCount(), rows);
        EXPECT_TRUE(run.outcome().stopped);
    }
    EXPECT_EQ(panel.previousRange(SweepParam::Bias), (std::array<double, 3>{1, 2, 3}));
    EXPECT_EQ(panel.previousRange(SweepParam::Frequency),
              (std::array<double, 3>{1000, 5000, 1000}));
}

TEST(RunProgress, TimeLeftAtThePaceSoFar) {
    EXPECT_EQ(remainingMs(0, 10, 0), std::nullopt);
    EXPECT_EQ(remainingMs(5, std::nullopt, 5000), std::nullopt);
    EXPECT_EQ(remainingMs(4, 10, 2000), 3000);
    EXPECT_EQ(remainingMs(12, 10, 2000), 0);
    QStringList texts;
    for (const int64_t ms : {0, 1, 7000, 59001, 723000, 3599000, 3600000, 7509000, -5})
        texts << durationText(ms);
    EXPECT_EQ(texts.join(' '), "0:00 0:01 0:07 1:00 12:03 59:59 1:00:00 2:05:09 0:00");
}

// Reads on an adapter whose port is missing give nothing and wait the delay (16 bits).
TEST(ClsGpibRunLink, ReadsPassTheDelayOnInSixteenBits) {
    FakePlatform platform;
    QSerialPort port;
    ClsGPIB gpib(platform);
    gpib.Initialize(nullptr, &port);
    ClsGpibRunLink link(gpib);
    gpib.setCrd(1);
    gpib.setBrd(250);                                  // no such port: a message at each open
    platform.onEvents = [&gpib] { gpib.DevClose(); };  // no waiting for the port to come back
    for (const auto& [delay, waited] : {std::pair{-5, 0}, {50, 50}, {100000, 32767}}) {
        EXPECT_FALSE(gpib.DevOpen());
        platform.sleeps.clear();
        EXPECT_EQ(link.read(delay), QString());
        EXPECT_EQ(platform.sleeps, std::vector<int>{waited}) << delay;
    }
    EXPECT_EQ(platform.messages.size(), 3u);
}

}  // namespace
}  // namespace lorvane::test
