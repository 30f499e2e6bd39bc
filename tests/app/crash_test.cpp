// Files that survive a crash (lorvane-sweep's CSV has its own kill test): a child process writes
// a file in a loop, a newer generation each time, and is killed with SIGKILL at a random moment;
// the file must read back whole, as one generation, never older than the last one seen. Its own
// main without widgets: a forked child of a process without threads can go on using Qt Core.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <atomic>
#include <functional>

#include "crash_journal.h"
#include "scan_file.h"
#include "scoped_env.h"
#include "settings_store.h"
#include "workbook_model.h"
#include "xlsx_file.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Kills children that write generation g of a file (write(g)) in a loop, each at a random moment
// after its first whole write, and checks the generation the file holds (-1: torn) after each
// kill. `first` writes generation 1 in the parent where write() would leave a writer behind.
void crashRepeatedly(const QString& folder, const std::function<bool(int)>& write,
                     const std::function<int()>& generation, int kills,
                     const std::function<bool()>& first = nullptr) {
    ASSERT_TRUE(first ? first() : write(1));
    int last = 1;
    // Whole writes of the running child, counted where the parent can see them.
    auto* writes = static_cast<std::atomic<int>*>(mmap(nullptr, sizeof(std::atomic<int>),
                                                       PROT_READ | PROT_WRITE,
                                                       MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(writes, MAP_FAILED);
    QRandomGenerator random(20261207);
    for (int kill = 0; kill < kills && !testing::Test::HasFailure(); ++kill) {
        writes->store(0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // A forked child would draw the temporary file names of the children before it.
            for (int draw = 0; draw < kill * 1000; ++draw) QRandomGenerator::global()->generate();
            for (int g = last + 1;; ++g) {
                if (!write(g)) _exit(3);
                writes->fetch_add(1);
            }
        }
        // Bounded: a child that cannot write at all exits, and the wait ends after 10 s.
        int status = 0;
        pid_t ended = 0;
        for (int wait = 0; writes->load() == 0 && wait < 100000 &&
                           (ended = waitpid(child, &status, WNOHANG)) == 0;
             ++wait)
            usleep(100);
        if (ended == 0) {
            usleep(random.bounded(3000));
            ::kill(child, SIGKILL);
            ended = waitpid(child, &status, 0);
        }
        ASSERT_EQ(ended, child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
        ASSERT_GT(writes->load(), 0) << "the writer wrote nothing in 10 s";

        const int g = generation();
        // The last whole write, or the one it was killed in when that got far enough.
        ASSERT_GE(g, last + writes->load()) << "torn or lost a finished write, kill " << kill;
        ASSERT_LE(g, last + writes->load() + 1) << "kill " << kill;
        last = g;
        // A writer killed between making its lock and writing its process into it leaves a lock
        // that only its age (5 s) shows to be stale. Such a lock goes; one that names its
        // process is left for the next writer to take over.
        for (const QString& lock :
             {settingsFilePath() + u".lock"_s, folder + u"/crash.journal.lock"_s})
            if (QFileInfo(lock).size() == 0) QFile::remove(lock);
    }
    munmap(writes, sizeof(std::atomic<int>));
}

class CrashSafety : public testing::Test {
  protected:
    // In memory where the machine has it: every write syncs its file to the disk, which proves
    // nothing against a killed process and only makes the test slow.
    const QTemporaryDir dir{QFileInfo(u"/dev/shm"_s).isWritable()
                                ? u"/dev/shm/lorvane-crash-XXXXXX"_s
                                : QDir::tempPath() + u"/lorvane-crash-XXXXXX"_s};
    const QString folder = dir.path();
    const test::ScopedEnv config{"XDG_CONFIG_HOME", QFile::encodeName(folder)};
};

// Each value of a generation is stored by a write of its own, as the program stores a set-up:
// a kill between two writes leaves the newer values first.
TEST_F(CrashSafety, TheSettingsFileReadsBackWholeAfterAKillAtAnyMoment) {
    const QString key = u"Lorvane - Crash"_s;
    const QStringList names = {u"V0"_s, u"V1"_s, u"V2"_s};
    const auto write = [&](int g) {
        return std::all_of(names.begin(), names.end(),
                           [&](const QString& name) { return RegWrite(key, name, g); });
    };
    const auto generation = [&] {
        const int32_t first = RegRead(key, names[0], -1);
        for (const QString& name : names)
            if (const int32_t value = RegRead(key, name, -1); value != first && value != first - 1)
                return -1;
        return first;
    };
    crashRepeatedly(folder, write, generation, 80);
}

// Generation g has its number as the title and 1 + g % 50 rows. Unzipping the title checks the
// container's directory and the part's checksum: enough for a file written whole or not at all.
TEST_F(CrashSafety, TheWorkbookReadsBackWholeAfterAKillAtAnyMoment) {
    const QString path = folder + u"/Lorvane.xlsx"_s;
    const auto write = [&](int g) {
        WorkbookModel model;
        model.title = QString::number(g);
        Worksheet& sheet = model.addSheet(u"Freq_Z"_s);
        WorkbookCell number;
        number.kind = WorkbookCell::Kind::Number;
        for (int row = 1; row <= 1 + g % 50; ++row) sheet.setCell(row, 3, number);
        return writeXlsxFile(model, path, nullptr);
    };
    const auto generation = [&] {
        QProcess unzip;
        unzip.start(u"unzip"_s, {u"-p"_s, path, u"docProps/core.xml"_s});
        EXPECT_TRUE(unzip.waitForFinished(30000) && unzip.exitCode() == 0)
            << "unzip: " << unzip.readAllStandardError().toStdString();
        const QRegularExpressionMatch title = QRegularExpression(u"<dc:title>(\\d+)</dc:title>"_s)
                                                  .match(QString::fromUtf8(unzip.readAll()));
        return title.hasMatch() ? title.captured(1).toInt() : -1;
    };
    crashRepeatedly(folder, write, generation, 40);
}

// The generation in every line, as many lines as it says modulo 40.
TEST_F(CrashSafety, TheScanFileReadsBackWholeAfterAKillAtAnyMoment) {
    const QString path = folder + u"/$Zplots$Scan.csv"_s;
    const auto text = [](int g) {
        ExportRows rows;
        for (int i = 0; i < 1 + g % 40; ++i)
            rows.push_back({QString::number(g), QString::number(i), u"-45.5"_s});
        return scanFileText(rows);
    };
    const auto generation = [&] {
        const QByteArray written = readAll(path);
        const QList<QByteArray> lines = written.split('\n');
        const int g = lines.size() < 2 ? 0 : lines[1].split(',').first().toInt() / 1000;
        return written == text(g) ? g : -1;
    };
    crashRepeatedly(
        folder, [&](int g) { return writeScanFile(path, text(g), nullptr); }, generation, 40);
}

// The journal only grows, a line per point: point g has the values g and g/2, and a
// generation is the number of points that read back, each as written. A child keeps one journal
// for its life, made at its first point, as a run does; each adds to the rows of the one before.
TEST_F(CrashSafety, TheCrashJournalKeepsEveryPointWrittenAfterAKill) {
    const QString path = folder + u"/crash.journal"_s;
    const auto point = [](int g) {
        MeasuredPoint p;
        p.x = g;
        p.dat1 = g * 0.5;
        return p;
    };
    const auto write = [&](int g) {
        static CrashJournal* journal = nullptr;
        if (!journal) {
            journal = new CrashJournal(folder, u"crash"_s);
            RunStart start;
            start.keepsRows = true;
            journal->begin(start);
        }
        journal->record(point(g));
        return journal->held() && journal->path() == path;
    };
    const auto generation = [&] {
        const std::optional<JournalContents> contents = readJournal(readAll(path));
        for (size_t g = 1; contents && g <= contents->points.size(); ++g)
            if (contents->points[g - 1].x != g || contents->points[g - 1].dat1 != g * 0.5)
                return -1;
        return contents ? static_cast<int>(contents->points.size()) : -1;
    };
    const auto first = [&] {
        QFile file(path);
        const QByteArray text = journalSetupLine(RunStart()) + journalPointLine(point(1));
        return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
    };
    crashRepeatedly(folder, write, generation, 40, first);
}

}  // namespace
}  // namespace lorvane

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
