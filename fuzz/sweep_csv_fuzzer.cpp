// The reference CSV that lorvane-sweep reads back: any bytes after the title line of a set-up.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "fuzz_check.h"
#include "sweep_csv.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lorvane;
    static const QString titles = csvTitles(PanelSnapshot{});
    const QByteArray text =
        titles.toUtf8() + '\n' +
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QString error;
    const auto points = readReferenceCsv(text, titles, error);
    if (!points) {
        FUZZ_CHECK(!error.isEmpty(), "a file that is refused says why");
        return 0;
    }
    FUZZ_CHECK(!points->empty(), "a reference has points");

    // Written as lorvane-sweep writes its points, the reference reads back to the points as
    // written: one round is a fixed point.
    QByteArray written = titles.toUtf8() + '\n';
    for (const auto& [x, dat1, dat2] : *points) {
        FUZZ_CHECK(std::isfinite(x) && std::isfinite(dat1) && std::isfinite(dat2),
                   "a reference holds finite numbers only");
        written += csvLine(x, dat1, dat2);
    }
    const auto reread = readReferenceCsv(written, titles, error);
    FUZZ_CHECK(reread && reread->size() == points->size(), "a written reference reads back");
    QByteArray rewritten = titles.toUtf8() + '\n';
    for (const auto& [x, dat1, dat2] : *reread) rewritten += csvLine(x, dat1, dat2);
    FUZZ_CHECK(rewritten == written, "a written reference reads back to the same lines");
    for (size_t i = 0; i < points->size(); ++i)
        for (size_t k = 0; k < 3; ++k)
            FUZZ_CHECK(
                std::abs((*reread)[i][k] - (*points)[i][k]) <= 1e-9 * std::abs((*points)[i][k]),
                "a written point keeps ten significant digits");
    return 0;
}
