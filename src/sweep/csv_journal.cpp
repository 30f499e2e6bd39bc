#include "csv_journal.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sweep_csv.h"

namespace lorvane {

CsvJournal::CsvJournal(int fd, std::function<void(const QString&)> failed)
    : fd_(fd), failed_(std::move(failed)), syncer_([this] { syncLoop(); }) {}

CsvJournal::~CsvJournal() { finish(); }

void CsvJournal::begin(const RunStart& start) { write(csvTitles(start.panel).toUtf8() + '\n'); }

void CsvJournal::record(const MeasuredPoint& point) {
    write(csvLine(point.x, point.dat1, point.dat2));
    if (!broken_) points_.push_back({point.x, point.dat1, point.dat2});
}

void CsvJournal::finish() {
    if (!syncer_.joinable()) return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    syncer_.join();
    if (syncError_ != 0) fail(syncError_);
}

void CsvJournal::write(const QByteArray& bytes) {
    if (broken_) return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (syncError_ != 0) {
            fail(syncError_);
            return;
        }
    }
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(fd_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            fail(n < 0 ? errno : EIO);
            return;
        }
        done += n;
    }
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        pending_ = true;
    }
    wake_.notify_one();
}

void CsvJournal::fail(int error) {
    if (broken_) return;
    broken_ = true;
    failed_(QString::fromLocal8Bit(std::strerror(error)));
}

void CsvJournal::syncLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return pending_ || stopping_; });
        if (!pending_) return;  // stopping, and every line is synced
        pending_ = false;
        lock.unlock();
        // A pipe or a terminal cannot be synced (EINVAL): what was written has left already.
        const bool synced = ::fsync(fd_) == 0 || errno == EINVAL || errno == EROFS;
        const int error = errno;
        lock.lock();
        if (!synced && syncError_ == 0) syncError_ = error;
    }
}

}  // namespace lorvane
