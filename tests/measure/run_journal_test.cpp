// What the run tells beyond the window's rows: its journal, its progress, how it ended, its
// retries and a reference given to it from outside.
#include <gtest/gtest.h>

#include <QSerialPort>

#include "cls_gpib_run_link.h"
#include "headless_run.h"
#include "measurement_run.h"
#include "run_fakes.h"
#include "run_progress.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;
using Wire = std::vector<QString>;

QString reading(int kHz) {
    return impedanceReply(QStringLiteral("+%1E+00").arg(100 + kHz), QStringLiteral("+010.00E+00"),
                          kiloHertzField(kHz));
}

// Impedance, 500 mV, a manual frequency sweep from 1 to `stopKHz` kHz in 1 kHz steps.
void sweepTo(RunRig& rig, int stopKHz) {
    PanelSnapshot& s = rig.panel.snap;
    s.frequency = {1000, stopKHz * 1000.0, 1000};
    s.oscillatorText = QStringLiteral("500");
}

TEST(RunJournal, EveryPointIsWrittenDownBeforeItIsShown) {
    RunRig rig;
    RecordingJournal journal(rig.view);
    rig.run.setJournal(&journal);
    sweepTo(rig, 3);
    rig.link.reply = [](int i) { return reading(i + 1); };
    rig.run.Run_Click(0);

    ASSERT_EQ(journal.starts.size(), 1u);
    EXPECT_EQ(journal.starts[0].index, 0);
    EXPECT_EQ(journal.starts[0].points, 3);
    EXPECT_FALSE(journal.starts[0].keepsRows);
    ASSERT_EQ(journal.points.size(), 3u);
    for (int64_t k = 0; k < 3; ++k) {
        const MeasuredPoint& p = journal.points[static_cast<size_t>(k)];
        EXPECT_EQ(p.index, k);
        EXPECT_EQ(p.x, k + 1);
        EXPECT_EQ(p.dat1, 101 + k);
        EXPECT_EQ(p.dat2, 10);
        EXPECT_EQ(p.reading.dat1Text(), QStringLiteral("ZF:+%1E+00").arg(101 + k));
    }
    // When a point is written down, the status bar still shows the one before.
    EXPECT_EQ(journal.shownWhenRecorded, (Wire{"", "ZF:+101E+00", "ZF:+102E+00"}));
    EXPECT_EQ(rig.view.progress,
              (std::vector<std::pair<int64_t, int64_t>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}, {-1, -1}}));
    EXPECT_TRUE(rig.run.outcome().started);
    EXPECT_EQ(rig.run.outcome().points, 3);
    EXPECT_EQ(rig.run.outcome().failure, MeasurementRun::Failure::None);
    EXPECT_FALSE(rig.run.outcome().stopped);
}

TEST(RunRetries, TriggerAPointAgainAndKeepItOnce) {
    using F = MeasurementRun::Failure;
    const struct {
        const char* name;
        bool autoStep;
        const char* replies;  // by query number: the reading at k kHz, "-" a timeout, "?" bad data
        int retries;
        const char* wire;      // from the first trigger to the run-end text
        const char* points;    // the sweep values written down
        const char* reported;  // each retry as point:attempt:cause (1 no response, 2 bad data)
        F failure;
        int startKHz = 1, stopKHz = 3;
    } cases[] = {
        {"a timeout, then the reading", false, "1 - 2 3", 2, "?EX W2 ?EX FR2.000EN ?EX W2 ?EX W2",
         "1 2 3", "1:1:1", F::None},
        {"bad data twice", false, "? ? 1 2 3", 2,
         "?EX FR1.000EN ?EX FR1.000EN ?EX W2 ?EX W2 ?EX W2", "1 2 3", "0:1:2 0:2:2", F::None},
        {"more failures than retries", false, "1 - - 2", 1, "?EX W2 ?EX FR2.000EN ?EX", "1",
         "1:1:1", F::NoResponse},
        {"none asked for", false, "1 - 2", 0, "?EX W2 ?EX", "1", "", F::NoResponse},
        // The reply of the first trigger comes late, as the answer to the retry; the retry's
        // own reply then comes before the next point's and is passed over.
        {"a late reply", false, "1 - 2 2 3 3", 2, "?EX W2 ?EX FR2.000EN ?EX W2 ?EX <read> W2",
         "1 2 3", "1:1:1", F::None},
        // Each retry may have left a late reply: as many are read before the answer.
        {"two late replies", false, "1 - 1 1 2 3", 1,
         "?EX W2 ?EX FR2.000EN ?EX <read> <read> W2 ?EX W2", "1 2 3", "1:1:1", F::None},
        // An automatic sweep starts again at the point before and reads it once more.
        {"an automatic sweep", true, "1 - 1 2 3", 2,
         "?EX ?EX ABEX SF1.000ENTF1.000ENPF3.000EN W1W2EX ?EX ?EX ?EX", "1 2 3", "1:1:1", F::None},
        {"an automatic sweep at its first point", true, "- 1 2 3", 2,
         "?EX ABEX SF1.000ENTF1.000ENPF3.000EN W1W2EX ?EX ?EX ?EX", "1 2 3", "0:1:1", F::None},
        // Just after a decade change it starts at the new decade's first point.
        {"an automatic sweep after a decade change", true, "8 9 10 - 20 30", 2,
         "?EX ?EX ?EX ABEX SF10.000ENTF20.000ENPF30.000EN W1W2EX ?EX ABEX "
         "SF10.000ENTF20.000ENPF30.000EN W1W2EX ?EX ?EX",
         "8 9 10 20 30", "3:1:1", F::None, 8, 30},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RunRig rig;
        RecordingJournal journal(rig.view);
        rig.run.setJournal(&journal);
        QStringList reported;
        rig.run.setRetries(c.retries, [&](const MeasurementRun::Retry& r) {
            reported << u"%1:%2:%3"_s.arg(r.point).arg(r.attempt).arg(static_cast<int>(r.cause));
        });
        rig.panel.snap.frequency = {c.startKHz * 1000.0, c.stopKHz * 1000.0, 1000};
        rig.panel.snap.oscillatorText = QStringLiteral("500");
        rig.panel.snap.autoStep = c.autoStep;
        for (const QString& r : words(c.replies))
            rig.link.replies.push_back(r == u"-" ? QString() : r == u"?" ? r : reading(r.toInt()));
        rig.run.Run_Click(0);

        const Wire& all = rig.link.wire;
        const auto first = std::find(all.begin(), all.end(), QStringLiteral("<purge>")) + 1;
        Wire wire(first, all.end() - 1);
        EXPECT_EQ(wire, words(c.wire));
        EXPECT_EQ(all.back(), QStringLiteral("ABI0OL0.005ENEX"));
        QStringList points;
        for (const MeasuredPoint& p : journal.points) points << QString::number(p.x);
        EXPECT_EQ(points.join(u' '), QString::fromLatin1(c.points));
        EXPECT_EQ(rig.results.rows.size(), static_cast<size_t>(points.size()));
        EXPECT_EQ(reported.join(u' '), QString::fromLatin1(c.reported));
        EXPECT_EQ(rig.run.outcome().failure, c.failure);
        EXPECT_EQ(rig.platform.messages.size(), c.failure == F::None ? 0u : 1u);
    }
}

TEST(RunReference, PointsGivenFromOutsideAreSubtractedOnce) {
    RunRig rig;
    sweepTo(rig, 3);
    EXPECT_FALSE(rig.run.useReference({}));
    // No reference point lies at 3 kHz: that point stays as read.
    ASSERT_TRUE(rig.run.useReference({{1, 100, 1}, {2, 100, 2}, {4, 100, 4}}));
    EXPECT_TRUE(rig.run.RefStored());
    RecordingJournal journal(rig.view);
    rig.run.setJournal(&journal);
    rig.link.reply = [](int i) { return reading(i % 3 + 1); };
    rig.run.Run_Click(0);
    ASSERT_EQ(journal.points.size(), 3u);
    EXPECT_EQ(journal.points[0].dat1, 1);
    EXPECT_EQ(journal.points[0].dat2, 9);
    EXPECT_TRUE(journal.points[0].corrected);
    EXPECT_EQ(journal.points[1].dat1, 2);
    EXPECT_FALSE(journal.points[2].corrected);
    EXPECT_EQ(journal.points[2].dat1, 103);
    EXPECT_EQ(rig.results.background, ListBackground::Yellow);
    EXPECT_FALSE(rig.run.RefStored());  // it served one run
}

TEST(HeadlessRun, AnInterruptEndsTheRunAfterItsPointAndStays) {
    PanelSnapshot setup;
    setup.frequency = {1000, 5000, 1000};
    setup.oscillatorText = QStringLiteral("500");
    HeadlessPanel panel(setup);
    // Each sweep remembers its own range.
    panel.previousRange(SweepParam::Bias) = {1, 2, 3};
    EXPECT_EQ(panel.previousRange(SweepParam::Frequency), (std::array<double, 3>{}));
    EXPECT_EQ(panel.previousRange(SweepParam::Bias), (std::array<double, 3>{1, 2, 3}));
    HeadlessResults results;
    FakeLink link;
    FakeResults shown;
    FakeView view(shown);
    FakeSettings settings;
    FakePlatform platform;
    MeasurementRun run(link, panel, results, view, settings, platform);
    link.reply = [&](int i) {
        if (i == 1) panel.interrupt();
        return reading(i + 1);
    };
    run.Run_Click(0);
    EXPECT_EQ(results.rowCount(), 2);
    EXPECT_TRUE(run.outcome().stopped);
    EXPECT_EQ(link.wire.back(), QStringLiteral("ABI0OL0.005ENEX"));
    EXPECT_TRUE(panel.interrupted());
    EXPECT_EQ(panel.runCaption(0), QStringLiteral("&Run"));

    // A run started after the interrupt ends at its first point.
    run.Run_Click(0);
    EXPECT_EQ(run.outcome().points, 1);
    EXPECT_TRUE(run.outcome().stopped);
}

TEST(RunProgress, TimeLeftAtThePaceSoFar) {
    EXPECT_EQ(remainingMs(0, 10, 0), std::nullopt);
    EXPECT_EQ(remainingMs(5, std::nullopt, 5000), std::nullopt);
    EXPECT_EQ(remainingMs(4, 10, 2000), 3000);
    EXPECT_EQ(remainingMs(12, 10, 2000), 0);
    const std::pair<int64_t, const char*> durations[] = {
        {0, "0:00"},          {1, "0:01"},          {7000, "0:07"},
        {59001, "1:00"},      {723000, "12:03"},    {3599000, "59:59"},
        {3600000, "1:00:00"}, {7509000, "2:05:09"}, {-5, "0:00"},
    };
    for (const auto& [ms, text] : durations) EXPECT_EQ(durationText(ms), text) << ms;
}

// The run's link to the window's GPIB link: a closed link fails quietly; an adapter link whose
// port is missing counts as open, and its reads wait the delay, cut to 16 bits.
TEST(ClsGpibRunLink, FailsQuietlyAndPassesTheDelayOnInSixteenBits) {
    FakePlatform platform;
    QSerialPort port;
    ClsGPIB gpib(platform);
    gpib.Initialize(nullptr, &port);
    ClsGpibRunLink link(gpib);
    EXPECT_FALSE(link.write(QStringLiteral("W0ABEX")));
    EXPECT_EQ(link.query(QStringLiteral("EX"), 50), QString());
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
