#include "number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "run_fakes.h"
#include "step_helpers.h"

namespace lorvane::test {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// The 15-significant-digit decimal form rounded half away from zero, in the locale.
TEST(FormatNumber, RoundsTheFifteenDigitFormHalfAwayFromZeroInTheLocale) {
    const struct {
        double value;
        const char* pattern;
        const char* want;  // with "." for the decimal separator
    } cases[] = {
        {0, "0", "0"},
        {1234.5, "0", "1235"},
        {-1.25, "0.000", "-1.250"},
        {123.456, "0.00 ", "123.46 "},
        {999999.9995, "000000.000", "1000000.000"},  // a carry through every digit
        {2.675, "0.00", "2.68"},                     // just below the half in binary
        {0.125, "0.00", "0.13"},                     // exact binary halves go away from zero
        {-2.5, "0", "-3"},
        {0.0004999, "0.000", "0.000"},
        {-0.0004, "000000.000", "-000000.000"},  // rounding to zero keeps the sign
        {-0.0, "0.000", "0.000"},
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

// The longest leading number (an exponent needs digits; none at all is 0), scaled by a power of
// ten in decimal; beyond the range of a double, either way, no value.
TEST(ParseReplyNumber, TakesTheLongestLeadingNumberScaledByAPowerOfTen) {
    const auto shortest = [](std::optional<double> v) {
        return v ? QString::number(*v, 'g', QLocale::FloatingPointShortest) : u"none"_s;
    };
    QStringList read;
    for (const char16_t* text : {u"+012.34E+00",
                                 u"+1.5E-03",
                                 u"-000.03E+00",
                                 u"1e3",
                                 u"12abc",
                                 u"1,5",
                                 u"-.5",
                                 u"5.",
                                 u"  7",
                                 u"100.000\r\n",
                                 u"1E+",
                                 u"2.5E-x",
                                 u"3Ex4",
                                 u"",
                                 u"+",
                                 u".",
                                 u"-.E5",
                                 u"E5",
                                 u"1E999",
                                 u"-1E+400",
                                 u"1E-400",
                                 u"1E99999999999",
                                 u"1E-99999999999",
                                 u"-1.5E+300"}) {
        read << shortest(readReplyNumber(text));
        EXPECT_EQ(parseReplyNumber(text), readReplyNumber(text).value_or(0))
            << read.last().toStdString();
    }
    EXPECT_EQ(read.join(' '),
              "12.34 0.0015 -0.03 1000 12 1 -0.5 5 7 100 1 2.5 3 0 0 0 0 0 none none none none "
              "none -1.5e+300");
    read.clear();
    for (const auto& [text, power] : {std::pair{u"+02.03", 3},
                                      {u"-0.110", 3},
                                      {u"1E", 3},
                                      {u"+0.7910E-06", 9},
                                      {u"+97.467E-06", 6},
                                      {u"1E+306", 3}})
        read << shortest(readReplyNumber(text, power));
    EXPECT_EQ(read.join(' '), "2030 -110 1000 791 97.467 none");
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

// Positive values take the upper end of their decade (the offset lifts 0.995 into the next),
// negative values the end nearer to zero; the middle decade's step depends on the sweep; at and
// beyond the top decade the step stays 50 up to the sweep's limit; values too near zero leave
// step and boundary alone (-7 and -77 here).
TEST(StepFor, EachDecadeHasItsStepAndTheBoundaryWhereItEnds) {
    EXPECT_NEAR(Log10(0), -2.30103, 1e-5);
    EXPECT_NEAR(Log10(-10), 1.000217, 1e-6);
    constexpr SweepParam F = SweepParam::Frequency, B = SweepParam::Bias;
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
}  // namespace lorvane::test
