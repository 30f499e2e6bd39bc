#include "result_row.h"

#include "number_format.h"
#include "step_helpers.h"

namespace lorvane {

using namespace Qt::Literals::StringLiterals;

QString sortKey(double x) {
    const QString key = formatNumber(x, u"000000.000"_s);
    return x < 0 ? InvNum(key) : key;
}

QString sweepText(double x) { return formatNumber(x, u"0.000"_s); }

ResultRow makeResultRow(double x, double dat1, double dat2, const ModeConversion& conversion) {
    return {sortKey(x), sweepText(x), formatNumber(dat1, conversion.dat1Format),
            formatNumber(dat2, conversion.dat2Format)};
}

}  // namespace lorvane
