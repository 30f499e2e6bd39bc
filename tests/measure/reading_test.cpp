#include "reading.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "headings.h"
#include "result_row.h"
#include "run_fakes.h"
#include "step_helpers.h"

namespace lorvane {
namespace {

using test::dec;

TEST(ParseReading, SplitsTheFirstThreeFieldsWhereverLineEndsFall) {
    for (const char16_t* reply : {u"NZFN+02.817E+03,NTDN-000.03E+00,K+01.000000,X+4",
                                  u"NZ\rFN+02.8\n17E+03,NTDN-000.03E+00,K+01.0\r00000\r\n"}) {
        SCOPED_TRACE(QString::fromUtf16(reply).toStdString());
        const Reading r = parseReading(reply);
        EXPECT_EQ(r.kind, ReplyKind::Good);
        EXPECT_EQ(r.dat1Text(), "ZF:+02.817E+03");
        EXPECT_EQ(r.dat2Text(), "TD:-000.03E+00");
        EXPECT_EQ(r.inText(), "K:+01.000000");
    }
    EXPECT_EQ(parseReading(u"").kind, ReplyKind::NoResponse);
    EXPECT_EQ(parseReading(u"\r\n").kind, ReplyKind::NoResponse);
}

TEST(ParseReading, ShortOrIncompleteRepliesAreBadData) {
    const char16_t* bad[] = {
        u"NZFN+02.817E+03",                   // no comma
        u"NZFN+02.817E+03,NTDN-000.03E+00",   // two fields
        u"NZFN,NTDN-000.03E+00,K+01.000000",  // four characters: no Num0
        u"NZFN+1,NTDN,K+01.000000",           // no Num1
        u"NZFN+1,NTDN+2,K",                   // no Num2
        u"NZFN+1,NTDN+2,",                    // empty third field
        u"N,NTDN+2,K+1",                      // no Code0
        u"NZFN+1,N,K+1",                      // no Code1
        u",,",
        u"Overlong reply",  // what the adapter gives for a reply longer than any reading
    };
    for (const char16_t* reply : bad) {
        SCOPED_TRACE(QString::fromUtf16(reply).toStdString());
        const Reading r = parseReading(reply);
        EXPECT_EQ(r.kind, ReplyKind::BadData);
        EXPECT_EQ(r.dat1Text(), ":");
    }
    // A three-character first field still gives its code and an empty number.
    EXPECT_EQ(parseReading(u"NZF,NTDN+2,K+1").kind, ReplyKind::BadData);
    // Numbers that read as 0 are good data.
    EXPECT_EQ(parseReading(u"NZFNxyz,NTDN?,K-").kind, ReplyKind::Good);
}

TEST(ScaleReading, AppliesTheParameterAndSweepPowersOfTenToTheDecimals) {
    using M = MeasureMode;
    using S = SweepParam;
    const double bad = std::nan("");
    // Exactly the decimal values written, so that a sweep value meets its stop. Numbers beyond
    // the range of a double, as written or once scaled, are no values: bad data.
    const struct {
        const char16_t* reply;
        MeasureMode mode;
        SweepParam sweep;
        double dat1, dat2, x;
    } cases[] = {
        {u"NZFN+1.2E+03,NTDN-000.03E+00,q+100.000", M::Impedance, S::Frequency, 1200, -0.03, 100},
        {u"NZFN+1.2E+03,NTDN-000.03E+00,q+100.000", M::Impedance, S::Bias, 1200, -0.03, 100000},
        {u"NCPN+0.7910E-06,NGFN+14.940E+00,K+01000.000", M::Capacitance, S::Frequency, 791, 14.94,
         1000},
        {u"NBAN-03.010E+00,NGDN+012.50E-06,K+0010.0000", M::Delay, S::Frequency, -3.01, 12.5, 10},
        {u"NLSN+97.467E-06,NQFN+61.240E+00,V+02.03", M::Inductance, S::Bias, 97.467, 61.24, 2030},
        {u"NZFN+1E+999,NTDN+1,K+1", M::Impedance, S::Frequency, bad, 0, 0},
        {u"NZFN+1,NTDN-1E-999,K+1", M::Impedance, S::Frequency, bad, 0, 0},
        {u"NZFN+1,NTDN+1,K+9E+999", M::Impedance, S::Frequency, bad, 0, 0},
        {u"NCPN+1E+300,NGFN+1,K+1", M::Capacitance, S::Frequency, bad, 0, 0},
        {u"NZFN+1,NTDN+1,V+1E+306", M::Impedance, S::Bias, bad, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.reply).toStdString());
        const std::optional<ScaledReading> s =
            scaleReading(parseReading(c.reply), conversionFor(c.mode), sweepPower(c.sweep));
        ASSERT_EQ(s.has_value(), !std::isnan(c.dat1));
        if (!s) continue;
        EXPECT_EQ(s->dat1, c.dat1);
        EXPECT_EQ(s->dat2, c.dat2);
        EXPECT_EQ(s->x, c.x);
    }
}

TEST(SortKey, NegativeValuesTurnIntoKeysThatSortFirstInOrder) {
    EXPECT_EQ(sortKey(-12.5), dec(" 999987.499"));
    EXPECT_EQ(sortKey(12.5), dec("000012.500"));
    EXPECT_EQ(sortKey(0), dec("000000.000"));
    EXPECT_EQ(sortKey(-1500), dec(" 998499.999"));

    // In numeric order, also where a value rounds to zero; sorted as text from any order.
    QStringList keys;
    for (double v : {-99999.5, -1234.5, -20.0, -12.5, -12.25, -10.0, -1.0, -0.5, -0.001, -0.0004,
                     0.0, 0.0004, 0.5, 5.0, 12.5, 1234.5, 999999.999})
        keys << sortKey(v);
    QStringList sorted = keys;
    std::reverse(sorted.begin(), sorted.end());
    std::swap(sorted[2], sorted[9]);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, keys);
    EXPECT_EQ(keys[2], dec(" 999979.999"));
    EXPECT_EQ(InvNum(dec("-000010.000")), dec(" 999989.999"));
}

TEST(ResultRow, FormatsTheCellsByParameter) {
    ResultRow row = makeResultRow(-12.5, 123.4567, -0.03, conversionFor(MeasureMode::Impedance));
    EXPECT_EQ(row.key, dec(" 999987.499"));
    EXPECT_EQ(row.x, dec("-12.500"));
    EXPECT_EQ(row.dat1, dec("123.457"));
    EXPECT_EQ(row.dat2, dec("-0.030"));
    row = makeResultRow(1000, 791, 14.94, conversionFor(MeasureMode::Capacitance));
    EXPECT_EQ(row.dat1, dec("791.0000"));
    EXPECT_EQ(row.dat2, dec("14.940"));
    row = makeResultRow(10, -3.01, 12.5, conversionFor(MeasureMode::Delay));
    EXPECT_EQ(row.key, dec("000010.000"));
    EXPECT_EQ(row.dat1, dec("-3.01000"));
    EXPECT_EQ(row.dat2, dec("12.50000"));
    row = makeResultRow(10, 0.123456, 45, conversionFor(MeasureMode::Gain));
    EXPECT_EQ(row.dat1, dec("0.12346"));
    EXPECT_EQ(row.dat2, dec("45.000"));
}

TEST(Headings, EachParameterAndCircuitNamesItsReadingsAndColumns) {
    const struct {
        int mode, circuit;
        const char* headings;  // quantity 1 and 2, columns 3 and 4, caption; "" for none
    } cases[] = {
        {0, 0, "Z|Phi|Z (Ohm)|Phi (°)|Z"},
        {0, 1, "Zs|Phi|Zs (Ohm)|Phi (°)|Z"},
        {1, 2, "Lp|Q|Lp (µH)|Q|L"},
        {2, 1, "Rs|Xs|Rs (Ohm)|Xs (Ohm)|R"},
        {3, 2, "Cp|D|Cp (nF)|D|C"},
        {4, 1, "G|Phi|G (dB)|Phi (°)|G"},
        {5, 2, "G|D|G (dB)|D (µs)|D"},
        {6, 0, ""},
        {-1, 0, ""},
    };
    for (const auto& c : cases) {
        const auto h = readingHeadings(c.mode, c.circuit);
        const QString caption = measureCaption(static_cast<MeasureMode>(c.mode));
        EXPECT_EQ(h ? QStringList({h->quantity1, h->quantity2, h->column3, h->column4, caption})
                          .join(u'|')
                    : caption,
                  QString::fromUtf8(c.headings))
            << c.mode << " " << c.circuit;
    }
    EXPECT_EQ(sweepHeading(1)->column2, "Bias (mV)");
    EXPECT_FALSE(sweepHeading(2));
    EXPECT_EQ(sweepCaption(SweepParam::Frequency) + sweepCaption(SweepParam::Bias), "FreqBias");
    EXPECT_EQ(quantityLabel(MeasureMode::Delay, CircuitMode::Auto, SweepParam::Bias),
              (std::array<QString, 3>{"Bias", "G", "D"}));
}

}  // namespace
}  // namespace lorvane
