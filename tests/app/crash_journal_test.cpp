// The crash journal's file: what it keeps, what it reads back after a crash, and its lock.
#include "crash_journal.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

MeasuredPoint point(double x, double dat1, double dat2) {
    MeasuredPoint p;
    p.x = x;
    p.dat1 = dat1;
    p.dat2 = dat2;
    p.reading = parseReading(u"NZFN+1.5000E+03,NTDN-89.640E+00,K+0010.0000"_s);
    return p;
}

RunStart biasRun() {
    RunStart start;
    start.panel.mode = MeasureMode::Capacitance;
    start.panel.circuit = CircuitMode::Parallel;
    start.panel.sweep = SweepParam::Bias;
    start.panel.frequency = {1000, 5000, 1000};
    start.panel.bias = {-100, 100, 10};
    return start;
}

TEST(CrashJournal, ReadsBackWhatWasWrittenUpToTheFirstLineItCannotRead) {
    const QByteArray setup = journalSetupLine(biasRun());
    const QByteArray a = journalPointLine(point(-100, 0.1 + 0.2, -1e-9));
    const QByteArray b = journalPointLine(point(-90, 2, 3));
    const struct {
        QByteArray text;
        size_t points;  // nullopt contents are marked by ~0
    } cases[] = {
        {setup + a + b, 2},
        {setup + a + b.left(b.size() - 1), 1},  // cut short by the crash
        {setup + a + "point\t1\tx\t2\t\t\t\n" + b, 1},
        {setup + a + "garbage\n" + b, 1},
        {setup + a + setup + b, 2},  // a merged run adds to the rows
        {a + setup, ~size_t{0}},     // a point before any set-up
        {"", ~size_t{0}},
        {QByteArray(setup).replace("\t3\t", "\t9\t"), ~size_t{0}},  // no such parameter
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const std::optional<JournalContents> contents = readJournal(c.text);
        if (c.points == ~size_t{0}) {
            EXPECT_FALSE(contents);
            continue;
        }
        ASSERT_TRUE(contents);
        EXPECT_EQ(contents->points.size(), c.points);
    }
    const JournalContents contents = *readJournal(setup + a);
    EXPECT_EQ(contents.panel.mode, MeasureMode::Capacitance);
    EXPECT_EQ(contents.panel.circuit, CircuitMode::Parallel);
    EXPECT_EQ(contents.panel.sweep, SweepParam::Bias);
    EXPECT_EQ(contents.panel.frequency, (std::array<double, 3>{1000, 5000, 1000}));
    EXPECT_EQ(contents.panel.bias, (std::array<double, 3>{-100, 100, 10}));
    // Numbers come back exactly, the raw texts as read.
    EXPECT_EQ(contents.points[0].dat1, 0.1 + 0.2);
    EXPECT_EQ(contents.points[0].dat2, -1e-9);
    EXPECT_EQ(contents.points[0].dat2Text, u"TD:-89.640E+00"_s);
}

// What a crash leaves behind and the restore are tested on a killed window (CrashRestore).
TEST(CrashJournal, EachWindowHoldsItsOwnAndARunThatClearsTheListStartsAfresh) {
    QTemporaryDir folder;
    const QString dir = folder.filePath(u"state/lorvane"_s);
    {
        CrashJournal first(dir, u"Lorvane"_s);
        CrashJournal second(dir, u"Lorvane"_s);
        ASSERT_TRUE(first.held());
        ASSERT_TRUE(second.held());
        EXPECT_EQ(first.path(), dir + u"/Lorvane.journal"_s);
        EXPECT_EQ(second.path(), dir + u"/Lorvane-2.journal"_s);
        first.begin(biasRun());
        first.record(point(-100, 1, 2));
        first.begin(biasRun());
        first.record(point(-90, 1, 2));
        RunStart merged = biasRun();
        merged.keepsRows = true;
        first.begin(merged);
        first.record(point(-80, 1, 2));
        QFile file(first.path());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(readJournal(file.readAll())->points.size(), 2u);
    }
    EXPECT_FALSE(QFile::exists(dir + u"/Lorvane-2.journal"_s));

    // A folder that cannot be made (a file stands in its way): no journal, and nothing fails.
    QFile blocker(dir + u"/file"_s);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    CrashJournal none(blocker.fileName() + u"/x"_s, u"Lorvane"_s);
    EXPECT_FALSE(none.held());
    none.begin(biasRun());
    none.record(point(1, 2, 3));
}

}  // namespace
}  // namespace lorvane
