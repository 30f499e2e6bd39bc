#pragma once

#include <QString>

#include "sweep_param.h"

namespace lorvane {

// Writes a number into an instrument command: "-" for a negative value, then the magnitude with
// three decimals and "." as the decimal separator in every locale, then "EN" when terminator is
// set. The sign comes from the value before rounding: -0.0004 gives "-0.000EN".
QString NumCmd(double value, bool terminator);

// ln(|x| + 0.005) / ln(10): a base-10 logarithm that is finite at 0.
double Log10(double x);

// The sweep's own limit in sweep units: 13000 kHz for a frequency, 32000 mV either way for a bias.
double sweepLimit(SweepParam sweep);

// The decade step of the automatic linear sweep for the sweep value v (kHz or mV): the step and
// the value at which the next decade begins (for a negative v the decade end nearer to zero).
// At or beyond the top decade (10000 kHz, 10000 mV either way) the step stays 50 and a positive
// value runs on to the sweep's limit, a negative one to -10000. For v too near zero (below
// 0.005) or NaN, step and boundary keep their values.
void StepFor(double v, SweepParam sweep, double& step, double& boundary);

// Whether the automatic linear step has reached the next decade at the sweep value x: for a
// positive value its upper end, for a negative value the end nearer to zero.
bool passedBoundary(double x, double boundary);

// The sort key of a negative value: "-" becomes a blank and every digit d becomes 9 - d; all
// other characters stay. " 999987.499" is the key of -12.5 ("-000012.500"). A plain text sort
// then puts negative values first, in increasing order, before the non-negative ones.
QString InvNum(const QString& text);

}  // namespace lorvane
