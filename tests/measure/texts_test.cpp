#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "command_set.h"
#include "headings.h"
#include "number_format.h"
#include "reading.h"
#include "result_row.h"
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
        {1234.5, "0", "1235"},
        {123.456, "0.00 ", "123.46 "},
        {999999.9995, "000000.000", "1000000.000"},  // a carry through every digit
        {2.675, "0.00", "2.68"},                     // just below the half in binary
        {0.125, "0.00", "0.13"},                     // exact binary halves go away from zero
        {-2.5, "0", "-3"},
        {-0.0004, "000000.000", "-000000.000"},  // rounding to zero keeps the sign
        {-0.0, "0.000", "0.000"},
        {123456789012345678.0, "0", "123456789012346000"},
        {-1e-300, "0.00000", "-0.00000"},
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
}

// Wire texts keep the point in every locale; the step box and typed numbers follow the user's,
// where "1.500" is no number rather than 1500.
TEST(LocaleNumbers, WireTextsKeepThePointWhatTheOperatorSeesFollowsTheLocale) {
    const QLocale saved;
    for (const QLocale& locale : {QLocale(QLocale::German), QLocale::c()}) {
        QLocale::setDefault(locale);
        QStringList texts;
        for (const double v : {0.5, 1234.5, -0.0004, 0.0005, -1.0005, 9.9995, 1e15, std::nan("")})
            texts << NumCmd(v, true);
        EXPECT_EQ(texts.join(' ') + ' ' + NumCmd(-32, false),
                  "0.500EN 1234.500EN -0.000EN 0.001EN -1.001EN 10.000EN "
                  "1000000000000000.000EN NaNEN -32.000");
        EXPECT_EQ(stepBoxText(0.01) + ' ' + stepBoxText(25) + ' ' + stepBoxText(13000),
                  dec("0.01 25 13000"));
        EXPECT_EQ(parseLocaleNumber(dec("  12.500 ")), 12.5);
        EXPECT_EQ(parseLocaleNumber("1.500"),
                  locale == QLocale::c() ? std::optional(1.5) : std::nullopt);
        for (const char* text :
             {"", "   ", "abc", "12abc", "1.2.3", "1,2,3", "inf", "nan", "1e999"})
            EXPECT_EQ(parseLocaleNumber(text), std::nullopt) << text;
    }
    QLocale::setDefault(saved);
}

// The longest leading number (an exponent needs digits; none at all is 0); beyond the range of a
// double, either way, no value. (ScaleReading has the powers of ten.)
TEST(ParseReplyNumber, TakesTheLongestLeadingNumberScaledByAPowerOfTen) {
    const QString texts =
        u"+012.34E+00|+1.5E-03|-000.03E+00|1e3|12abc|1,5|-.5|5.|  7|"
        u"100.000\r\n|1E+|2.5E-x|3Ex4||+|.|-.E5|E5|1E999|-1E+400|1E-400|"
        u"1E99999999999|1E-99999999999|-1.5E+300"_s;
    QStringList read;
    for (const QString& text : texts.split(u'|')) {
        const std::optional<double> value = readReplyNumber(text);
        read << (value ? QString::number(*value) : u"none"_s);
        EXPECT_EQ(parseReplyNumber(text), readReplyNumber(text).value_or(0))
            << read.last().toStdString();
    }
    EXPECT_EQ(read.join(' '),
              "12.34 0.0015 -0.03 1000 12 1 -0.5 5 7 100 1 2.5 3 0 0 0 0 0 none none none none "
              "none -1.5e+300");
}

// Positive values take their decade's upper end (0.995 lies in the next), negative ones the end
// nearer to zero; values too near zero leave step and boundary alone (-7 and -77 here).
TEST(StepFor, EachDecadeHasItsStepAndTheBoundaryWhereItEnds) {
    constexpr SweepParam F = SweepParam::Frequency, B = SweepParam::Bias;
    const struct {
        SweepParam sweep;
        double v, step, boundary;
    } cases[] = {{F, 0, 10, 100},       {F, 0.005, 0.01, 0.1}, {F, 0.5, 0.1, 1},
                 {F, 0.995, 1, 10},     {F, 10, 10, 100},      {F, 99.995, 25, 1000},
                 {F, 5000, 50, 13000},  {B, -0.005, 0.01, 0},  {B, -0.5, 0.1, -0.1},
                 {B, -5, 1, -1},        {B, -50, 10, -10},     {B, -950, 20, -100},
                 {B, -5000, 50, -1000}, {B, 500, 20, 1000},    {F, -500, 25, -100},
                 {F, 10000, 50, 13000}, {B, 10000, 50, 32000}, {B, -10000, 50, -10000},
                 {F, 0.004, -7, -77},   {B, -0.004, -7, -77},  {F, std::nan(""), -7, -77}};
    for (const auto& c : cases) {
        double step = -7, boundary = -77;
        StepFor(c.v, c.sweep, step, boundary);
        EXPECT_EQ(u"%1 %2"_s.arg(step).arg(boundary), u"%1 %2"_s.arg(c.step).arg(c.boundary))
            << c.v << (c.sweep == B ? " mV" : " kHz");
    }
}

// The seven entries, joined by "|", for a panel (see panelOf) after a run whose entry 3 is given.
// An oscillator level that is no number changes none of them.
TEST(SetupCommands, EntriesForEachSetUp) {
    const struct {
        const char* panel;
        const char* previous;
        const char* entries;
    } cases[] = {
        {"F 1000 10000 1000 bias=-1500", "",
         "T3F1R8I0G0H0|A1B1C1|OL0.500EN|BI-1.500EN|SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"B -1500 1500 100 spot=10000", "",
         "T3F1R8I0G0H0|A1B1C1|OL0.500EN|FR10.000EN|SB0.100ENTB-1.500ENPB1.500EN|BI-1.500EN|W0"},
        // A frequency sweep that sets no bias keeps entry 3: a bias of 0, Gain and Delay.
        {"F 1000 10000 1000", "BI-1.500EN",
         "T3F1R8I0G0H0|A1B1C1|OL0.500EN|BI-1.500EN|SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"F 1000 10000 1000 mode=4 bias=2000", "BI-1.500EN",
         "T3F1R8I0G0H0|A5B2N1C1|OL0.500EN|BI-1.500EN|SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"F 1000 10000 1000 mode=3 circuit=2 bias=2000 osc=12.5", "BI-1.500EN",
         "T3F1R8I0G0H0|A4B2C3|OL0.013EN|BI2.000EN|SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"F 1000 100000 0 mode=2 auto log fast osc=1100", "",
         "T3F1R8I0G1H1|A2B1C1|OL1.100EN||SF0.000ENTF1.000ENPF100.000EN|FR1.000EN|W1W2"},
        {"F 1000 10000 1000 log fast", "",  // log spacing without the automatic step
         "T3F1R8I0G0H1|A1B1C1|OL0.500EN||SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"F 1000 10000 1000 osc=abc", "c", "not built: 0|1|2|c|4|5|6"},
    };
    for (const auto& c : cases) {
        const PanelSnapshot p = panelOf(c.panel);
        SetupCommands commands{"0", "1", "2", QString::fromLatin1(c.previous), "4", "5", "6"};
        const bool built = buildSetupCommands(p, planSweep(p), commands);
        EXPECT_EQ((built ? QString() : u"not built: "_s) +
                      QStringList(commands.begin(), commands.end()).join(u'|'),
                  c.entries)
            << c.panel;
    }
}

TEST(SweepPlan, TheSelectedSweepInSweepUnitsAndThePointsItWillHave) {
    const struct {
        const char* panel;
        const char* plan;  // start, stop, step, boundary
        int64_t points;    // -1: not known in advance
    } cases[] = {
        {"F 1000 10000 3000", "1 10 3 0", 4},  // the last step stops at the stop
        {"F 100 300 100", "0.1 0.3 0.1 0", 3},
        {"F 5000 4000 1000", "5 4 1 0", 1},  // a stop below the start
        {"F 1000 30000 0 auto", "1 30 1 10", 12},
        {"F 100 3000 0 auto", "0.1 3 0.1 1", 12},
        {"F 500000 900000 1500 auto", "500 900 25 1000", 17},
        {"B 500 900 0 auto", "500 900 20 1000", 21},
        {"B -950 0 70 auto", "-950 0 20 -100", 53},
        {"F 1000 30000 0 auto log", "1 30 0 0", -1},
        {"F 1000 5000 0", "1 5 0 0", -1},
    };
    for (const auto& c : cases) {
        const PanelSnapshot p = panelOf(c.panel);
        const SweepPlan plan = planSweep(p);
        SCOPED_TRACE(c.plan);
        EXPECT_EQ(u"%1 %2 %3 %4"_s.arg(plan.start).arg(plan.stop).arg(plan.step).arg(plan.boundary),
                  c.plan);
        EXPECT_EQ(plannedPoints(p, plan).value_or(-1), c.points);
    }
}

TEST(ParseReading, SplitsTheFirstThreeFieldsWhereverLineEndsFall) {
    for (const char16_t* reply : {u"NZFN+02.817E+03,NTDN-000.03E+00,K+01.000000,X+4",
                                  u"NZ\rFN+02.8\n17E+03,NTDN-000.03E+00,K+01.0\r00000\r\n"}) {
        const Reading r = parseReading(reply);
        EXPECT_EQ(r.kind, ReplyKind::Good);
        EXPECT_EQ(r.dat1Text() + ' ' + r.dat2Text() + ' ' + r.inText(),
                  "ZF:+02.817E+03 TD:-000.03E+00 K:+01.000000");
    }
    EXPECT_EQ(parseReading(u"\r\n").kind, ReplyKind::NoResponse);
    // Numbers that read as 0 are good data.
    EXPECT_EQ(parseReading(u"NZFNxyz,NTDN?,K-").kind, ReplyKind::Good);
    // Fewer than three fields; a field too short for its code or number.
    for (const QString& reply :
         u"NZFN+02.817E+03|NZFN+1,NTDN-1|NZFN,NTDN-1,K+1|NZF,NTDN+2,K+1|"
         u"NZFN+1,NTDN,K+1|NZFN+1,NTDN+2,K|NZFN+1,NTDN+2,|N,NTDN+2,K+1|"
         u"NZFN+1,N,K+1|,,|,NTDN+2,K+1|Overlong reply"_s.split(u'|')) {
        const Reading r = parseReading(reply);
        EXPECT_EQ(r.kind, ReplyKind::BadData) << reply.toStdString();
        EXPECT_EQ(r.dat1Text() + r.dat2Text() + r.inText(), ":::") << reply.toStdString();
    }
}

// Each parameter's powers of ten, formats and units, applied to a reading: the decimal numbers
// are scaled exactly, so that a sweep value meets the stop it was programmed with.
TEST(ScaleReading, EachParameterScalesAndFormatsItsReadings) {
    using M = MeasureMode;
    constexpr SweepParam F = SweepParam::Frequency, B = SweepParam::Bias;
    const struct {
        const char16_t* reply;
        MeasureMode mode;
        SweepParam sweep;
        const char* row;  // function, units, then the row's key, x, dat1 and dat2
    } cases[] = {
        {u"NZFN+1.2E+03,NTDN-000.03E+00,q+100.000", M::Impedance, F,
         "A1B1|kHz|Ohm|°|000100.000|100.000|1200.000|-0.030"},
        {u"NZFN+123.4567,NTDN-0.03,V-0.0125", M::Impedance, B,
         "A1B1|mV|Ohm|°| 999987.499|-12.500|123.457|-0.030"},
        {u"NLSN+97.467E-06,NQFN+61.240E+00,V+02.03", M::Inductance, B,
         "A3B1|mV|µH|Q|002030.000|2030.000|97.467|61.240"},
        {u"NCPN+0.7910E-06,NGFN+14.940E+00,K+01000.000", M::Capacitance, F,
         "A4B2|kHz|nF|D|001000.000|1000.000|791.0000|14.940"},
        {u"NBAN+0.123456,NTHN+45E+00,K+10", M::Gain, F,
         "A5B2N1|kHz|dB|°|000010.000|10.000|0.12346|45.000"},
        {u"NBAN-03.010E+00,NGDN+012.50E-06,K+0010.0000", M::Delay, F,
         "A5B1N1|kHz|dB   |µs|000010.000|10.000|-3.01000|12.50000"},
        // Numbers beyond the range of a double, as written or once scaled.
        {u"NZFN+1,NTDN-1E-999,K+1", M::Impedance, F, "bad data"},
        {u"NZFN+1,NTDN+1,K+9E+999", M::Impedance, F, "bad data"},
        {u"NCPN+1E+300,NGFN+1,K+1", M::Capacitance, F, "bad data"},
        {u"NZFN+1,NTDN+1,V+1E+306", M::Impedance, B, "bad data"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        const ModeConversion& conversion = conversionFor(c.mode);
        const std::optional<ScaledReading> s =
            scaleReading(parseReading(c.reply), conversion, sweepPower(c.sweep));
        if (!s) {
            EXPECT_STREQ(c.row, "bad data");
            continue;
        }
        const ResultRow r = makeResultRow(s->x, s->dat1, s->dat2, conversion);
        const ColumnUnits u = columnUnitsFor(c.mode, c.sweep);
        EXPECT_EQ(
            QStringList({conversion.functionText, u[0], u[1], u[2], r.key, r.x, r.dat1, r.dat2})
                .join('|'),
            dec(c.row));
    }
}

// Keys sort as text in numeric order, also where a value rounds to zero.
TEST(SortKey, NegativeValuesTurnIntoKeysThatSortFirstInOrder) {
    QStringList keys;
    for (double v : {-99999.5, -1234.5, -20.0, -12.5, -12.25, -10.0, -1.0, -0.5, -0.001, -0.0004,
                     0.0, 0.0004, 0.5, 5.0, 12.5, 1234.5, 999999.999})
        keys << sortKey(v);
    QStringList sorted = keys;
    std::reverse(sorted.begin(), sorted.end());
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, keys);
    EXPECT_EQ(InvNum("0123456789-.,x "), "9876543210 .,x ");
}

// Quantities 1 and 2, the headings of columns 3 and 4 and the caption of each parameter (none
// outside 0..5) in a circuit, and what a sweep calls its quantity.
TEST(Headings, EachParameterAndCircuitNamesItsReadingsAndColumns) {
    QStringList all;
    for (int mode = -1; mode <= 6; ++mode) {
        const int circuit = (mode + 1) % 3;  // Auto, Series, Parallel in turn
        const std::optional<ReadingHeadings> h = readingHeadings(mode, circuit);
        all << (h ? QStringList({h->quantity1, h->quantity2, h->column3, h->column4}).join('|')
                  : u"none"_s) +
                   '|' + measureCaption(static_cast<MeasureMode>(mode));
    }
    EXPECT_EQ(all.join(u" / "_s), QString::fromUtf8("none| / Zs|Phi|Zs (Ohm)|Phi (°)|Z / "
                                                    "Lp|Q|Lp (µH)|Q|L / R|X|R (Ohm)|X (Ohm)|R / "
                                                    "Cs|D|Cs (nF)|D|C / G|Phi|G (dB)|Phi (°)|G / "
                                                    "G|D|G (dB)|D (µs)|D / none|"));
    EXPECT_EQ(sweepHeading(0)->column2 + '|' + sweepHeading(1)->column2, "Freq. (kHz)|Bias (mV)");
    EXPECT_FALSE(sweepHeading(2));
    EXPECT_EQ(sweepCaption(SweepParam::Frequency) + sweepCaption(SweepParam::Bias), "FreqBias");
    EXPECT_EQ(quantityLabel(MeasureMode::Delay, CircuitMode::Auto, SweepParam::Bias),
              (std::array<QString, 3>{"Bias", "G", "D"}));
}

}  // namespace
}  // namespace lorvane::test
