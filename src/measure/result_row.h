#pragma once

#include <QString>

#include "command_set.h"

namespace lorvane {

// The four cell texts of one measured point, in the user's locale.
struct ResultRow {
    QString key;   // sort key of the sweep value
    QString x;     // sweep value, "0.000"
    QString dat1;  // first reading, in its parameter's format
    QString dat2;  // second reading
};

// The sweep value formatted "000000.000"; for a negative value passed through InvNum, so that
// a plain text sort orders the rows by increasing value (" 999987.499" for -12.5).
QString sortKey(double x);

// The sweep value as the list shows it and compares it: "0.000" in the user's locale.
QString sweepText(double x);

ResultRow makeResultRow(double x, double dat1, double dat2, const ModeConversion& conversion);

}  // namespace lorvane
