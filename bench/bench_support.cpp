#include "bench_support.h"

#include <QCoreApplication>

namespace lorvane::bench {

QString InstantLink::query(const QString&, int) {
    ++point_;
    return QStringLiteral("NZFN+%1E+00,NTDN-001.50E+00,K+%2")
        .arg(100.0 + point_ * 0.25, 0, 'f', 3)
        .arg(static_cast<double>(point_), 0, 'f', 6);
}

void InstantPlatform::processEvents() {
    if (passEvents_) QCoreApplication::processEvents();
}

}  // namespace lorvane::bench
