#include "number_format.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <limits>
#include <optional>

#include "run_fakes.h"
#include "step_helpers.h"

namespace lorvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

using test::dec;
using namespace Qt::Literals::StringLiterals;

TEST(FormatNumber, RoundsTheFifteenDigitFormHalfAwayFromZeroInTheLocale) {
    const struct {
        double value;
        const char* pattern;
        const char* want;  // with "." for the decimal separator
    } cases[] = {
        {0, "0", "0"},
        {1234.5, "0", "1235"},
        {-1.25, "0.000", "-1.250"},
        {3.14159, "0.0000", "3.1416"},
        {123.456, "0.00 ", "123.46 "},
        {1234567.891, "0.000", "1234567.891"},
        // The sort-key pattern has at least six integer digits.
        {-12.5, "000000.000", "-000012.500"},
        {1234567.5, "000000.000", "1234567.500"},
        {999999.9995, "000000.000", "1000000.000"},
        // Just below the half in binary: the decimal form decides.
        {2.675, "0.00", "2.68"},
        {-0.0005, "0.000", "-0.001"},
        // Exact binary halves go away from zero, not to even; carries run through every digit.
        {0.125, "0.00", "0.13"},
        {-2.5, "0", "-3"},
        {0.0004999, "0.000", "0.000"},
        {9.9995, "0.000", "10.000"},
        // A negative value rounding to zero keeps its sign; negative zero is zero.
        {-0.0004, "000000.000", "-000000.000"},
        {-0.4, "0", "-0"},
        {-0.0, "0.000", "0.000"},
        // Plain decimals at the extremes, 15 significant digits as in the classic Format.
        {1e20, "0.000", "100000000000000000000.000"},
        {123456789012345678.0, "0", "123456789012346000"},
        {-1e-300, "0.00000", "-0.00000"},
        {std::numeric_limits<double>::denorm_min(), "0.000000", "0.000000"},
        {std::nan(""), "0.000", "NaN"},
        {kInf, "000000.000", "Inf"},
        {-kInf, "0.00 ", "-Inf "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " as " << c.pattern);
        EXPECT_EQ(formatNumber(c.value, c.pattern), dec(c.want));
        EXPECT_EQ(formatNumberInvariant(c.value, c.pattern), c.want);
    }
    EXPECT_EQ(formatNumber(1e300, "0.000"), u'1' + QString(300, u'0') + dec(".000"));
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::max(), "0").size(), 309);
}

TEST(ParseLocaleNumber, ReadsWhatFormatNumberWritesAndNothingElse) {
    EXPECT_EQ(parseLocaleNumber(dec("  12.500 ")), 12.5);
    for (double v : {0.0, -1.25, 123.456, -999999.999, 1234567.5, 13000000.0})
        EXPECT_EQ(parseLocaleNumber(formatNumber(v, "0.000")), v) << v;
    for (const char* text : {"", "   ", "abc", "12abc", "1.2.3", "1,2,3", "inf", "nan", "1e999"})
        EXPECT_EQ(parseLocaleNumber(text), std::nullopt) << text;
}

TEST(ParseReplyNumber, TakesTheLongestLeadingNumberScaledByAPowerOfTen) {
    const struct {
        const char16_t* text;
        int powerOfTen;
        std::optional<double> read;  // readReplyNumber; parseReplyNumber gives 0 for nullopt
    } cases[] = {
        {u"+012.34E+00", 0, 12.34},
        {u"+1.5E-03", 0, 0.0015},
        {u"-000.03E+00", 0, -0.03},
        {u"1e3", 0, 1000.0},
        {u"12abc", 0, 12.0},
        {u"1,5", 0, 1.0},
        {u"-.5", 0, -0.5},
        {u"5.", 0, 5.0},
        {u"  7", 0, 7.0},
        {u"100.000\r\n", 0, 100.0},
        // An exponent needs digits.
        {u"1E+", 0, 1.0},
        {u"2.5E-x", 0, 2.5},
        {u"3Ex4", 0, 3.0},
        // No number at all is zero.
        {u"", 0, 0.0},
        {u"+", 0, 0.0},
        {u".", 0, 0.0},
        {u"-.E5", 0, 0.0},
        {u"E5", 0, 0.0},
        // Beyond the range of a double, either way, is no value.
        {u"1E999", 0, std::nullopt},
        {u"-1E+400", 0, std::nullopt},
        {u"1E-400", 0, std::nullopt},
        {u"1E99999999999", 0, std::nullopt},
        {u"1E-99999999999", 0, std::nullopt},
        {u"-1.5E+300", 0, -1.5e300},
        {u"+02.03", 3, 2030.0},
        {u"-0.110", 3, -110.0},
        {u"+0.7910E-06", 9, 791.0},
        {u"+97.467E-06", 6, 97.467},
        {u"1E", 3, 1000.0},
        {u"1E+306", 3, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.text).toStdString());
        EXPECT_EQ(readReplyNumber(c.text, c.powerOfTen), c.read);
        if (c.powerOfTen == 0) {
            EXPECT_EQ(parseReplyNumber(c.text), c.read.value_or(0.0));
        }
    }
}

TEST(NumCmd, WritesThreeDecimalsRoundedHalfAwayFromZeroInEveryLocale) {
    const QLocale saved;
    for (const QLocale& locale : {QLocale(QLocale::German), QLocale::c()}) {
        QLocale::setDefault(locale);
        QStringList texts;
        for (const double v : {0.5, 1234.5, -0.0004, 0.0005, -1.0005, 9.9995, 1e15, std::nan("")})
            texts << NumCmd(v, true);
        EXPECT_EQ(texts.join(' ') + ' ' + NumCmd(-32, false),
                  "0.500EN 1234.500EN -0.000EN 0.001EN -1.001EN 10.000EN "
                  "1000000000000000.000EN NaNEN -32.000");
    }
    QLocale::setDefault(saved);
}

TEST(StepFor, EachDecadeHasItsStepAndTheBoundaryWhereItEnds) {
    EXPECT_NEAR(Log10(0), -2.30103, 1e-5);
    EXPECT_NEAR(Log10(-10), 1.000217, 1e-6);
    constexpr SweepParam F = SweepParam::Frequency, B = SweepParam::Bias;
    // Positive values take the upper end of their decade (the offset lifts 0.995 into the next),
    // negative values the end nearer to zero; the middle decade's step depends on the sweep; at
    // and beyond the top decade the step stays 50 up to the sweep's limit; values too near zero
    // leave step and boundary alone (-7 and -77 here).
    const struct {
        SweepParam sweep;
        double v, step, boundary;
    } cases[] = {{F, 0, 10, 100},       {F, 0.005, 0.01, 0.1},   {F, 0.05, 0.01, 0.1},
                 {F, 0.5, 0.1, 1},      {F, 0.995, 1, 10},       {F, 5, 1, 10},
                 {F, 10, 10, 100},      {F, 50, 10, 100},        {F, 99.995, 25, 1000},
                 {F, 500, 25, 1000},    {F, 5000, 50, 13000},    {B, -0.005, 0.01, 0},
                 {B, -0.5, 0.1, -0.1},  {B, -5, 1, -1},          {B, -50, 10, -10},
                 {B, -950, 20, -100},   {B, -5000, 50, -1000},   {B, 500, 20, 1000},
                 {F, -500, 25, -100},   {F, 10000, 50, 13000},   {F, kInf, 50, 13000},
                 {B, 10000, 50, 32000}, {B, -10000, 50, -10000}, {B, -kInf, 50, -10000},
                 {F, 0.004, -7, -77},   {B, -0.004, -7, -77},    {F, std::nan(""), -7, -77}};
    for (const auto& c : cases) {
        double step = -7, boundary = -77;
        StepFor(c.v, c.sweep, step, boundary);
        EXPECT_EQ(u"%1 %2"_s.arg(step).arg(boundary), u"%1 %2"_s.arg(c.step).arg(c.boundary))
            << c.v << (c.sweep == B ? " mV" : " kHz");
    }
}

}  // namespace
}  // namespace lorvane
