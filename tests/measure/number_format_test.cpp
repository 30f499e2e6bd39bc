#include "number_format.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <cmath>
#include <limits>
#include <optional>

#include "run_fakes.h"

namespace lorvane {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

using test::dec;

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
    std::string big(301, '0');  // built by appending: GCC 12 misreads "1" + std::string
    big.front() = '1';
    EXPECT_EQ(formatNumber(1e300, "0.000"), dec(big.append(".000").c_str()));
    EXPECT_EQ(formatNumber(std::numeric_limits<double>::max(), "0").size(), 309);
}

TEST(ParseLocaleNumber, ReadsWhatFormatNumberWritesAndNothingElse) {
    EXPECT_EQ(parseLocaleNumber(dec("  12.500 ")), 12.5);
    EXPECT_EQ(parseLocaleNumber("13000000"), 13000000.0);
    for (double v : {0.0, -1.25, 123.456, -999999.999, 1234567.5})
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

}  // namespace
}  // namespace lorvane
