#pragma once

#include <QString>
#include <QStringView>
#include <optional>

namespace lorvane {

// Number texts shown to the operator and read back from the operator or from the instrument.
//
// A pattern is a run of "0" (the least number of integer digits), optionally "." and a run of
// "0" (the exact number of decimals), then literal text that is appended as it stands. The
// program uses "0", "0.000", "0.0000", "0.00000", "0.000000", "000000.000" and "0.00 ".
//
// Rounding works like the classic BASIC Format function: the value's 15-significant-digit
// decimal form is rounded to the pattern's decimals, halves away from zero. A negative value
// keeps its "-" even when it rounds to zero (-0.0004 with "0.000" gives "-0.000"). Very large
// and very small values give plain decimal texts without an exponent; NaN gives "NaN" and the
// infinities "Inf" and "-Inf", each followed by the pattern's literal text.

// Formats in the user's locale: its decimal separator, never a group separator.
QString formatNumber(double value, const QString& pattern);

// Formats with "." as the decimal separator, whatever the user's locale.
QString formatNumberInvariant(double value, const QString& pattern);

// Reads a number the operator typed, in the user's locale. Blanks around the number are
// allowed; group separators are not (in a German locale "1.500" is not a number, rather than
// 1500). Empty text, anything that is not wholly a number, and NaN or infinite values give
// nullopt.
std::optional<double> parseLocaleNumber(const QString& text);

// Reads a number from an instrument reply, whatever the user's locale: the longest leading part
// that forms a number (leading blanks, optional sign, digits with an optional "." and an optional
// exponent after "E" or "e"; an "E" without digits behind it is not part of the number).
// Trailing characters are ignored and no number at all gives 0. A number beyond the range of a
// double (too large, or too small to tell from zero) gives nullopt. The number is taken times
// 10^powerOfTen in decimal, before it becomes a double, so that a change of unit adds no binary
// rounding: "+02.03" read in thousandths is 2030 exactly, not 2029.9999999999998.
std::optional<double> readReplyNumber(QStringView text, int powerOfTen = 0);

// As readReplyNumber, with 0 for a number beyond the range of a double.
double parseReplyNumber(QStringView text);

}  // namespace lorvane
