#pragma once

#include <QString>
#include <array>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "run_journal.h"

namespace lorvane {

// The sweep program's output as the run's journal: the title line when the run begins, then
// each point's line written before the run shows it, so that a kill -9 at any moment leaves
// every point read so far in the file, in whole lines. Each line is then synced to the disk at
// once, on a thread of its own: a sync can take milliseconds, which the run spends waiting for
// its next reading meanwhile rather than after it. It keeps the points for the workbook
// written at the end.
class CsvJournal final : public RunJournal {
  public:
    // fd stays the caller's. `failed` hears, on the caller's thread, of a write or sync that
    // did not go through, with the reason; nothing is written after it.
    CsvJournal(int fd, std::function<void(const QString&)> failed);
    // Finishes.
    ~CsvJournal() override;
    CsvJournal(const CsvJournal&) = delete;
    CsvJournal& operator=(const CsvJournal&) = delete;

    void begin(const RunStart& start) override;
    void record(const MeasuredPoint& point) override;
    // Waits until every line is synced.
    void finish();

    // The points written: sweep value, first and second reading.
    const std::vector<std::array<double, 3>>& points() const { return points_; }

  private:
    void write(const QByteArray& bytes);
    void fail(int error);
    void syncLoop();

    int fd_;
    std::function<void(const QString&)> failed_;
    bool broken_ = false;
    std::vector<std::array<double, 3>> points_;

    std::mutex mutex_;
    std::condition_variable wake_;
    bool pending_ = false;   // a line waits to be synced
    bool stopping_ = false;  // finish() was called
    int syncError_ = 0;      // errno of a failed sync
    std::thread syncer_;
};

}  // namespace lorvane
