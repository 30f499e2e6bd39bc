#include "csv_journal.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "sweep_csv.h"

namespace lorvane {

void CsvJournal::begin(const RunStart& start) { write(csvTitles(start.panel).toUtf8() + '\n'); }

void CsvJournal::record(const MeasuredPoint& point) {
    write(csvLine(point.x, point.dat1, point.dat2));
    if (!broken_) points_.push_back({point.x, point.dat1, point.dat2});
}

void CsvJournal::write(const QByteArray& bytes) {
    if (broken_) return;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(fd_, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            broken_ = true;
            failed_(QString::fromLocal8Bit(std::strerror(n < 0 ? errno : EIO)));
            return;
        }
        done += n;
    }
    // A pipe or a terminal cannot be synced (EINVAL): what was written has left already.
    if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) {
        broken_ = true;
        failed_(QString::fromLocal8Bit(std::strerror(errno)));
    }
}

}  // namespace lorvane
