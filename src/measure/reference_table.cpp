#include "reference_table.h"

#include <cmath>
#include <optional>

#include "number_format.h"

namespace lorvane {

using namespace Qt::Literals::StringLiterals;

bool ReferenceTable::store(const RunResults& results, double start, double stop, double step) {
    rows_.clear();
    const double quotient = (stop - start) / step;
    if (!(step > 0) || !std::isfinite(quotient) || quotient < 0) return false;
    const double n = std::floor(quotient);
    // A row missing from the list fails the reading-back anyway; testing first keeps a huge N
    // from allocating a table that could never be filled.
    if (n > static_cast<double>(results.rowCount())) return false;

    std::vector<std::array<double, 3>> rows(static_cast<size_t>(n) + 1, {0, 0, 0});
    for (size_t k = 0; k + 1 < rows.size(); ++k) {
        const std::array<QString, 3> texts = results.rowValues(static_cast<int64_t>(k));
        for (size_t i = 0; i < 3; ++i) {
            const std::optional<double> value = parseLocaleNumber(texts[i]);
            if (!value) return false;
            rows[k][i] = *value;
        }
    }
    rows_ = std::move(rows);
    return true;
}

bool ReferenceTable::correct(int64_t k, double expected, double& dat1, double& dat2) const {
    if (k < 0 || k >= size()) return false;
    const std::array<double, 3>& row = rows_[static_cast<size_t>(k)];
    const QString pattern = u"0.000"_s;
    if (formatNumberInvariant(row[0], pattern) != formatNumberInvariant(expected, pattern)) {
        return false;
    }
    dat1 -= row[1];
    dat2 -= row[2];
    return true;
}

}  // namespace lorvane
