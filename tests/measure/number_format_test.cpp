#include "number_format.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <limits>

namespace lorvane {
namespace {

// The expected display text in the locale the test runs under: "." becomes the locale's
// decimal separator.
QString dec(const char* text) {
    return QString::fromLatin1(text).replace(u'.', QLocale().decimalPoint());
}

// Sets the default locale for one test and restores the one it found.
class LocaleTest : public testing::Test {
  protected:
    void TearDown() override { QLocale::setDefault(saved_); }
    static void useGerman() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    static void useC() { QLocale::setDefault(QLocale::c()); }

  private:
    QLocale saved_;
};

TEST(FormatNumber, GivesThePatternsDigitsAndDecimals) {
    EXPECT_EQ(formatNumber(0, "0"), "0");
    EXPECT_EQ(formatNumber(1234.5, "0"), "1235");
    EXPECT_EQ(formatNumber(0.5, "0.000"), dec("0.500"));
    EXPECT_EQ(formatNumber(-1.25, "0.000"), dec("-1.250"));
    EXPECT_EQ(formatNumber(3.14159, "0.0000"), dec("3.1416"));
    EXPECT_EQ(formatNumber(-2.5, "0.00000"), dec("-2.50000"));
    EXPECT_EQ(formatNumber(1.5, "0.000000"), dec("1.500000"));
    EXPECT_EQ(formatNumber(123.456, "0.00 "), dec("123.46 "));
    EXPECT_EQ(formatNumber(100, "0.00 ") + "kHz", dec("100.00 kHz"));
    EXPECT_EQ(formatNumber(1234567.891, "0.000"), dec("1234567.891"));
}

TEST(FormatNumber, SortKeyPatternHasAtLeastSixIntegerDigits) {
    EXPECT_EQ(formatNumber(0, "000000.000"), dec("000000.000"));
    EXPECT_EQ(formatNumber(12.5, "000000.000"), dec("000012.500"));
    EXPECT_EQ(formatNumber(-12.5, "000000.000"), dec("-000012.500"));
    EXPECT_EQ(formatNumber(1234567.5, "000000.000"), dec("1234567.500"));
    EXPECT_EQ(formatNumber(999999.9995, "000000.000"), dec("1000000.000"));
}

TEST(FormatNumber, RoundsTheFifteenDigitFormHalfAwayFromZero) {
    // Each of these lies just below the half in binary; the decimal form decides.
    EXPECT_EQ(formatNumber(2.675, "0.00"), dec("2.68"));
    EXPECT_EQ(formatNumber(1.0005, "0.000"), dec("1.001"));
    EXPECT_EQ(formatNumber(0.0005, "0.000"), dec("0.001"));
    EXPECT_EQ(formatNumber(-0.0005, "0.000"), dec("-0.001"));
    // Exact binary halves round away from zero, not to even.
    EXPECT_EQ(formatNumber(0.125, "0.00"), dec("0.13"));
    EXPECT_EQ(formatNumber(2.5, "0"), "3");
    EXPECT_EQ(formatNumber(-2.5, "0"), "-3");
    EXPECT_EQ(formatNumber(0.0004999, "0.000"), dec("0.000"));
    // Carry through every digit.
    EXPECT_EQ(formatNumber(9.9995, "0.000"), dec("10.000"));
    EXPECT_EQ(formatNumber(-99.5, "0"), "-100");
}

TEST(FormatNumber, NegativeValueRoundingToZeroKeepsItsSign) {
    EXPECT_EQ(formatNumber(-0.0004, "0.000"), dec("-0.000"));
    EXPECT_EQ(formatNumber(-0.4, "0"), "-0");
    EXPECT_EQ(formatNumber(-0.0004, "000000.000"), dec("-000000.000"));
    // Negative zero is zero.
    EXPECT_EQ(formatNumber(-0.0, "0.000"), dec("0.000"));
}

TEST(FormatNumber, ExtremeValuesGivePlainDecimals) {
    EXPECT_EQ(formatNumber(1e20, "0.000"), dec("100000000000000000000.000"));
    // Only 15 significant digits survive, as in the classic Format.
    EXPECT_EQ(formatNumber(123456789012345678.0, "0"), "123456789012346000");
    const QString huge = formatNumber(1e300, "0.000");
    EXPECT_EQ(huge, dec(("1" + std::string(300, '0') + ".000").c_str()));
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::max(), "0").size(), 309);
    EXPECT_EQ(formatNumber(1e-20, "0.000"), dec("0.000"));
    EXPECT_EQ(formatNumber(-1e-300, "0.00000"), dec("-0.00000"));
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::denorm_min(), "0.000000"), dec("0.000000"));
}

TEST(FormatNumber, NotANumberAndInfinitiesGiveWords) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(formatNumber(std::nan(""), "0.000"), "NaN");
    EXPECT_EQ(formatNumber(inf, "000000.000"), "Inf");
    EXPECT_EQ(formatNumber(-inf, "0.00 ") + "mV", "-Inf mV");
}

TEST_F(LocaleTest, DisplayTextsFollowTheDefaultLocale) {
    useGerman();
    EXPECT_EQ(formatNumber(12.5, "000000.000"), "000012,500");
    EXPECT_EQ(formatNumber(-0.0004, "0.000"), "-0,000");
    EXPECT_EQ(formatNumber(1234567.891, "0.000"), "1234567,891");
    EXPECT_EQ(formatNumber(100, "0.00 "), "100,00 ");
    EXPECT_EQ(formatNumber(1234.5, "0"), "1235");
    EXPECT_EQ(formatNumberInvariant(1234567.891, "0.000"), "1234567.891");
    useC();
    EXPECT_EQ(formatNumber(12.5, "000000.000"), "000012.500");
    EXPECT_EQ(formatNumber(1234567.891, "0.000"), "1234567.891");
}

TEST(ParseLocaleNumber, ReadsNumbersInTheUsersLocale) {
    EXPECT_EQ(parseLocaleNumber(dec("1.5")), 1.5);
    EXPECT_EQ(parseLocaleNumber(dec("  12.500 ")), 12.5);
    EXPECT_EQ(parseLocaleNumber("-3"), -3.0);
    EXPECT_EQ(parseLocaleNumber("13000000"), 13000000.0);
    // What formatNumber writes reads back as the displayed value.
    for (double v : {0.0, 0.5, -1.25, 123.456, -999999.999, 1234567.5}) {
        EXPECT_EQ(parseLocaleNumber(formatNumber(v, "0.000")), v) << v;
    }
}

TEST(ParseLocaleNumber, RejectsWhatIsNotWhollyANumber) {
    for (const char* text : {"", "   ", "abc", "12abc", "1.2.3", "1,2,3", "inf", "nan", "1e999"}) {
        EXPECT_EQ(parseLocaleNumber(text), std::nullopt) << text;
    }
}

TEST_F(LocaleTest, ParseLocaleNumberUsesTheDefaultLocale) {
    useGerman();
    EXPECT_EQ(parseLocaleNumber("1,5"), 1.5);
    EXPECT_EQ(parseLocaleNumber(" -0,005 "), -0.005);
    // A group separator is refused rather than read as 1500.
    EXPECT_EQ(parseLocaleNumber("1.5"), std::nullopt);
    EXPECT_EQ(parseLocaleNumber("1.500"), std::nullopt);
    useC();
    EXPECT_EQ(parseLocaleNumber("1.5"), 1.5);
    EXPECT_EQ(parseLocaleNumber("1,5"), std::nullopt);
    EXPECT_EQ(parseLocaleNumber("1,500"), std::nullopt);
}

TEST(ParseReplyNumber, TakesTheLongestLeadingNumber) {
    EXPECT_EQ(parseReplyNumber(u"+012.34E+00"), 12.34);
    EXPECT_EQ(parseReplyNumber(u"+1.5E-03"), 0.0015);
    EXPECT_EQ(parseReplyNumber(u"-000.03E+00"), -0.03);
    EXPECT_EQ(parseReplyNumber(u"+02.817E+03"), 2817.0);
    EXPECT_EQ(parseReplyNumber(u"+1.2E+03"), 1200.0);
    EXPECT_EQ(parseReplyNumber(u"1e3"), 1000.0);
    EXPECT_EQ(parseReplyNumber(u"12abc"), 12.0);
    EXPECT_EQ(parseReplyNumber(u"1,5"), 1.0);
    EXPECT_EQ(parseReplyNumber(u".5"), 0.5);
    EXPECT_EQ(parseReplyNumber(u"-.5"), -0.5);
    EXPECT_EQ(parseReplyNumber(u"5."), 5.0);
    EXPECT_EQ(parseReplyNumber(u"  7"), 7.0);
    EXPECT_EQ(parseReplyNumber(u"100.000\r\n"), 100.0);
}

TEST(ParseReplyNumber, APowerOfTenScalesTheDecimalNumber) {
    EXPECT_EQ(readReplyNumber(u"+02.03", 3), 2030.0);
    EXPECT_EQ(readReplyNumber(u"-0.110", 3), -110.0);
    EXPECT_EQ(readReplyNumber(u"+0.7910E-06", 9), 791.0);
    EXPECT_EQ(readReplyNumber(u"+97.467E-06", 6), 97.467);
    EXPECT_EQ(readReplyNumber(u"1E", 3), 1000.0);
    EXPECT_EQ(readReplyNumber(u"-5.", 3), -5000.0);
    EXPECT_EQ(readReplyNumber(u"1E+306", 3), std::nullopt);
}

TEST(ParseReplyNumber, ExponentNeedsDigits) {
    EXPECT_EQ(parseReplyNumber(u"1E"), 1.0);
    EXPECT_EQ(parseReplyNumber(u"1E+"), 1.0);
    EXPECT_EQ(parseReplyNumber(u"2.5E-x"), 2.5);
    EXPECT_EQ(parseReplyNumber(u"3Ex4"), 3.0);
}

TEST(ParseReplyNumber, NoNumberGivesZero) {
    for (const char16_t* text : {u"", u"abc", u"+", u"-", u".", u"-.E5", u"E5", u"  "}) {
        EXPECT_EQ(parseReplyNumber(text), 0.0) << QString::fromUtf16(text).toStdString();
    }
    // Beyond the range of a double, either way, is no value: 0 here, nullopt where it matters.
    for (const char16_t* text : {u"1E999", u"-1E+400", u"1E-400"}) {
        EXPECT_EQ(parseReplyNumber(text), 0.0) << QString::fromUtf16(text).toStdString();
        EXPECT_EQ(readReplyNumber(text), std::nullopt) << QString::fromUtf16(text).toStdString();
    }
    EXPECT_EQ(readReplyNumber(u"-1.5E+300"), -1.5e300);
    for (const char16_t* text : {u"1E99999999999", u"1E-99999999999"})
        EXPECT_EQ(readReplyNumber(text), std::nullopt) << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(readReplyNumber(u"abc"), 0.0);
}

TEST_F(LocaleTest, ParseReplyNumberIgnoresTheLocale) {
    useGerman();
    EXPECT_EQ(parseReplyNumber(u"+012.34E+00"), 12.34);
    EXPECT_EQ(parseReplyNumber(u"1,5"), 1.0);
    useC();
    EXPECT_EQ(parseReplyNumber(u"+012.34E+00"), 12.34);
}

}  // namespace
}  // namespace lorvane
