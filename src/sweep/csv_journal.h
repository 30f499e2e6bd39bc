#pragma once

#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "run_journal.h"

namespace lorvane {

// The sweep program's output as the run's journal: the title line when the run begins, then
// each point's line written, and synced to the disk, before the run shows it, so that a
// kill -9 at any moment leaves every point read so far in the file, in whole lines. It keeps
// the points for the workbook written at the end.
class CsvJournal final : public RunJournal {
  public:
    // fd stays the caller's. `failed` hears of a write that did not go through, with the
    // reason; what follows is not written.
    CsvJournal(int fd, std::function<void(const QString&)> failed)
        : fd_(fd), failed_(std::move(failed)) {}

    void begin(const RunStart& start) override;
    void record(const MeasuredPoint& point) override;

    // The points written: sweep value, first and second reading.
    const std::vector<std::array<double, 3>>& points() const { return points_; }

  private:
    void write(const QByteArray& bytes);

    int fd_;
    std::function<void(const QString&)> failed_;
    bool broken_ = false;
    std::vector<std::array<double, 3>> points_;
};

}  // namespace lorvane
