// What the run offers beyond the window: retries, a run without a window, its progress, and the
// link to the window's GPIB link.
#include <gtest/gtest.h>

#include <QSerialPort>

#include "cls_gpib_run_link.h"
#include "headless_run.h"
#include "measurement_run.h"
#include "run_fakes.h"
#include "run_progress.h"

namespace lorvane::test {
namespace {

QString readingAt(int kHz) { return u"NZFN+%1E+00,NTDN+010.00E+00,K+%2"_s.arg(100 + kHz).arg(kHz); }

// A manual sweep triggers the point again after setting its spot once more; an automatic one
// starts again at the point before and reads it once more (at a decade's first point, at that
// point). A reply that comes late shows the point before's sweep value and is passed over.
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
        EXPECT_EQ(rig.platform.messages.size(), c.run[strlen(c.run) - 1] == '0' ? 0u : 1u);
    }
}

// The sweep program's panel and results: an interrupt ends the run after its point and stays;
// each sweep remembers its own range; every run starts the results afresh.
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
        EXPECT_EQ(rig.wire.last(), "ABI0OL0.005ENEX");
        EXPECT_EQ(panel.runCaption(0) + panel.runCaption(1), "&Run&Ref.");
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

// The run's link to the window's GPIB link: a closed link fails quietly; an adapter link whose
// port is missing counts as open, and its reads wait the delay, cut to 16 bits.
TEST(ClsGpibRunLink, FailsQuietlyAndPassesTheDelayOnInSixteenBits) {
    FakePlatform platform;
    QSerialPort port;
    ClsGPIB gpib(platform);
    gpib.Initialize(nullptr, &port);
    ClsGpibRunLink link(gpib);
    EXPECT_FALSE(link.write(u"W0ABEX"_s));
    EXPECT_EQ(link.query(u"EX"_s, 50), QString());
    link.purge();
    EXPECT_TRUE(platform.journal.empty());
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
