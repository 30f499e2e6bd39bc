#include "reference_table.h"

#include <algorithm>
#include <optional>

#include "number_format.h"

namespace lorvane {

using namespace Qt::Literals::StringLiterals;

ReferenceSetup referenceSetupOf(const PanelSnapshot& panel) {
    ReferenceSetup setup;
    setup.mode = panel.mode;
    setup.circuit = panel.circuit;
    setup.sweep = panel.sweep;
    setup.oscillatorMv = parseLocaleNumber(panel.oscillatorText).value_or(0);
    setup.spot = panel.sweep == SweepParam::Bias ? panel.frequency[0] : panel.bias[0];
    return setup;
}

bool ReferenceTable::store(const RunResults& results, const ReferenceSetup& setup) {
    rows_.clear();
    std::vector<std::array<double, 3>> rows(
        static_cast<size_t>(std::max<int64_t>(0, results.rowCount())));
    for (size_t k = 0; k < rows.size(); ++k) {
        const std::array<QString, 3> texts = results.rowValues(static_cast<int64_t>(k));
        for (size_t i = 0; i < 3; ++i) {
            const std::optional<double> value = parseLocaleNumber(texts[i]);
            if (!value) return false;
            rows[k][i] = *value;
        }
    }
    return assign(std::move(rows), setup);
}

bool ReferenceTable::assign(std::vector<std::array<double, 3>> points,
                            const ReferenceSetup& setup) {
    rows_.clear();
    if (points.empty()) return false;
    rows_ = std::move(points);
    setup_ = setup;
    return true;
}

bool ReferenceTable::correct(int64_t k, double x, double& dat1, double& dat2) const {
    if (k < 0 || k >= size()) return false;
    const std::array<double, 3>& row = rows_[static_cast<size_t>(k)];
    const QString pattern = u"0.000"_s;
    if (formatNumberInvariant(row[0], pattern) != formatNumberInvariant(x, pattern)) {
        return false;
    }
    dat1 -= row[1];
    dat2 -= row[2];
    return true;
}

}  // namespace lorvane
