// Files that survive a crash (lorvane-sweep's CSV has its own kill test): a child process rewrites
// (or appends to) a file in a loop, each time with a newer generation of its contents, and is
// killed with SIGKILL at a random moment; the file left behind must read back whole, as one
// generation, never older than the last one seen.
//
// This program has a main of its own without widgets, so that it has no threads other than
// its own and a forked child can go on using the C library and Qt Core safely.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <functional>
#include <optional>
#include <random>
#include <thread>

#include "crash_journal.h"
#include "ini_store.h"
#include "scan_file.h"
#include "scoped_env.h"
#include "settings_store.h"
#include "workbook_model.h"
#include "xlsx_file.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

constexpr int kSettingsValues = 3;
const QString kKey = u"Lorvane - Crash"_s;

// One kind of file: how a child writes generation g of it, and which generation the file
// holds (nullopt, with the reason recorded, when it does not read back whole).
struct WrittenFile {
    const char* name;
    std::function<bool(int)> write;
    std::function<std::optional<int>()> generation;
    // Clears up after a kill, before the next writer starts.
    std::function<void()> afterKill = [] {};
    // Writes generation 1 in the parent, where write() would leave a writer behind.
    std::function<bool()> first = nullptr;
};

QString valueName(int i) { return u"V"_s + QString::number(i); }

// The settings: every value of a generation is stored by a write of its own, as the program
// stores a set-up, so a crash between two writes leaves the newer values first.
WrittenFile settingsFile() {
    return {"settings file",
            [](int g) {
                for (int i = 0; i < kSettingsValues; ++i)
                    if (!RegWrite(kKey, valueName(i), g)) return false;
                return true;
            },
            []() -> std::optional<int> {
                QFile file(settingsFilePath());
                if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
                const QByteArray text = file.readAll();
                EXPECT_EQ(IniDocument::parse(text).toBytes(), text) << "a torn settings file";
                const int32_t first = RegRead(kKey, valueName(0), -1);
                for (int i = 1; i < kSettingsValues; ++i) {
                    const int32_t value = RegRead(kKey, valueName(i), -1);
                    if (value != first && value != first - 1) {
                        ADD_FAILURE() << "value " << i << " is " << value << " beside " << first;
                        return std::nullopt;
                    }
                }
                return first;
            },
            [] {
                // A writer killed between creating its lock and writing its process into it
                // leaves a lock that only its age (5 s) shows to be stale, and the next writer
                // waits for that. Such a lock goes; one that names its process is left for the
                // next writer to take over.
                const QString lock = settingsFilePath() + u".lock"_s;
                if (QFileInfo(lock).size() == 0) QFile::remove(lock);
            }};
}

// The workbook: a generation has its number as the title, and as many rows as the number says,
// modulo 50.
WorkbookModel workbookOf(int g) {
    WorkbookModel model;
    model.title = QString::number(g);
    Worksheet& sheet = model.addSheet(u"Freq_Z"_s);
    WorkbookCell number;
    number.kind = WorkbookCell::Kind::Number;
    for (int row = 1; row <= 1 + g % 50; ++row) {
        number.number = row * 0.5;
        sheet.setCell(row, 3, number);
    }
    return model;
}

// Reading the title back through the zip container checks the container's directory and the
// part's checksum; the file is written whole or not at all, so that is enough to see a torn
// one, and much quicker than reading every part.
WrittenFile workbookFile(const QString& path) {
    return {"workbook", [path](int g) { return writeXlsxFile(workbookOf(g), path, nullptr); },
            [path]() -> std::optional<int> {
                QProcess unzip;
                unzip.start(u"unzip"_s, {u"-p"_s, path, u"docProps/core.xml"_s});
                if (!unzip.waitForFinished(30000) || unzip.exitCode() != 0) {
                    ADD_FAILURE() << "unzip: " << unzip.readAllStandardError().toStdString();
                    return std::nullopt;
                }
                const QRegularExpressionMatch title =
                    QRegularExpression(u"<dc:title>(\\d+)</dc:title>"_s)
                        .match(QString::fromUtf8(unzip.readAllStandardOutput()));
                if (!title.hasMatch()) return std::nullopt;
                return title.captured(1).toInt();
            }};
}

// The crash journal only grows, a line per point: point g has the sweep value g, the readings g/2
// and -g, and a generation is the number of points that read back, each as written. A child
// keeps one journal for its life, made at its first point, as a run does.
MeasuredPoint pointOf(int g) {
    MeasuredPoint point;
    point.index = g - 1;
    point.x = g;
    point.dat1 = g * 0.5;
    point.dat2 = -g;
    return point;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// The scan file: the generation in every line, as many lines as it says modulo 40.
QByteArray scanTextOf(int g) {
    ExportRows rows;
    for (int i = 0; i < 1 + g % 40; ++i)
        rows.push_back({QString::number(g), QString::number(i), u"-45.5"_s});
    return scanFileText(rows);
}

WrittenFile scanFile(const QString& path) {
    return {"scan file", [path](int g) { return writeScanFile(path, scanTextOf(g), nullptr); },
            [path]() -> std::optional<int> {
                const QByteArray text = readAll(path);
                const QList<QByteArray> lines = text.split('\n');
                if (lines.size() < 2) return std::nullopt;
                const int g = lines[1].split(',').first().toInt() / 1000;
                EXPECT_EQ(text, scanTextOf(g)) << "a torn scan file";
                return g;
            }};
}

// The window's crash journal; each child's run adds to the rows of the one before.
WrittenFile journalFile(const QString& folder) {
    const QString path = folder + u"/crash.journal"_s;
    return {"crash journal",
            [folder, path](int g) {
                static CrashJournal* journal = nullptr;
                if (!journal) {
                    journal = new CrashJournal(folder, u"crash"_s);
                    RunStart start;
                    start.keepsRows = true;
                    journal->begin(start);
                }
                journal->record(pointOf(g));
                return journal->held() && journal->path() == path;
            },
            [path]() -> std::optional<int> {
                const std::optional<JournalContents> contents = readJournal(readAll(path));
                if (!contents) return std::nullopt;
                for (size_t i = 0; i < contents->points.size(); ++i) {
                    const JournalPoint& p = contents->points[i];
                    const MeasuredPoint expected = pointOf(static_cast<int>(i) + 1);
                    if (p.x != expected.x || p.dat1 != expected.dat1 || p.dat2 != expected.dat2) {
                        ADD_FAILURE() << "point " << i + 1 << " reads " << p.x << ", " << p.dat1;
                        return std::nullopt;
                    }
                }
                return static_cast<int>(contents->points.size());
            },
            [path] {
                // As for the settings lock: one without its process waits for no one.
                if (QFileInfo(path + u".lock"_s).size() == 0) QFile::remove(path + u".lock"_s);
            },
            [path] {
                return writeAll(path, journalSetupLine(RunStart()) + journalPointLine(pointOf(1)));
            }};
}

// Kills children that rewrite the file, each at a random moment after its first whole write,
// and checks the file after each kill.
void crashRepeatedly(const WrittenFile& file, int kills) {
    SCOPED_TRACE(file.name);
    ASSERT_TRUE(file.first ? file.first() : file.write(1));
    int last = 1;
    // Whole writes of the running child, counted where the parent can see them.
    auto* writes = static_cast<std::atomic<int>*>(mmap(nullptr, sizeof(std::atomic<int>),
                                                       PROT_READ | PROT_WRITE,
                                                       MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(writes, MAP_FAILED);
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delayUs(0, 3000);
    for (int kill = 0; kill < kills && !testing::Test::HasFailure(); ++kill) {
        writes->store(0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // A forked child would draw the temporary file names of the children before it.
            for (int draw = 0; draw < kill * 1000; ++draw) QRandomGenerator::global()->generate();
            for (int g = last + 1;; ++g) {
                if (!file.write(g)) _exit(3);
                writes->fetch_add(1);
            }
        }
        // Bounded: a child that cannot write at all exits, and the wait ends after 10 s.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        int status = 0;
        pid_t ended = 0;
        while (writes->load() == 0 && std::chrono::steady_clock::now() < deadline &&
               (ended = waitpid(child, &status, WNOHANG)) == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        if (ended == 0) {
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
            ::kill(child, SIGKILL);
            ended = waitpid(child, &status, 0);
        }
        ASSERT_EQ(ended, child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
        ASSERT_GT(writes->load(), 0) << "the writer wrote nothing in 10 s";

        const std::optional<int> g = file.generation();
        ASSERT_TRUE(g) << "after kill " << kill;
        // The file holds the last whole write, or the one it was killed in when that got far
        // enough.
        ASSERT_GE(*g, last + writes->load()) << "a finished write was lost, kill " << kill;
        ASSERT_LE(*g, last + writes->load() + 1) << "kill " << kill;
        last = *g;
        file.afterKill();
    }
    munmap(writes, sizeof(std::atomic<int>));
}

class CrashSafety : public testing::Test {
  protected:
    QString path(const QString& name) const { return folder.filePath(name); }

    // In memory where the machine has it: every write syncs its file to the disk, which proves
    // nothing against a killed process and only makes the test slow.
    const QTemporaryDir folder{QFileInfo(u"/dev/shm"_s).isWritable()
                                   ? u"/dev/shm/lorvane-crash-XXXXXX"_s
                                   : QDir::tempPath() + u"/lorvane-crash-XXXXXX"_s};
    const test::ScopedEnv config{"XDG_CONFIG_HOME", QFile::encodeName(folder.path())};
};

TEST_F(CrashSafety, TheSettingsFileReadsBackWholeAfterAKillAtAnyMoment) {
    crashRepeatedly(settingsFile(), 80);
}

TEST_F(CrashSafety, TheWorkbookReadsBackWholeAfterAKillAtAnyMoment) {
    crashRepeatedly(workbookFile(path(u"Lorvane.xlsx"_s)), 40);
}

TEST_F(CrashSafety, TheScanFileReadsBackWholeAfterAKillAtAnyMoment) {
    crashRepeatedly(scanFile(path(u"$Zplots$Scan.csv"_s)), 40);
}

TEST_F(CrashSafety, TheCrashJournalKeepsEveryPointWrittenAfterAKill) {
    crashRepeatedly(journalFile(folder.path()), 40);
}

}  // namespace
}  // namespace lorvane

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
