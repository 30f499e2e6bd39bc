#include "reading.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <algorithm>

#include "headings.h"
#include "result_row.h"
#include "run_fakes.h"
#include "step_helpers.h"

namespace lorvane::test {
namespace {

TEST(ParseReading, SplitsTheFirstThreeFieldsWhereverLineEndsFall) {
    for (const char16_t* reply : {u"NZFN+02.817E+03,NTDN-000.03E+00,K+01.000000,X+4",
                                  u"NZ\rFN+02.8\n17E+03,NTDN-000.03E+00,K+01.0\r00000\r\n"}) {
        const Reading r = parseReading(reply);
        EXPECT_EQ(r.kind, ReplyKind::Good);
        EXPECT_EQ(r.dat1Text() + ' ' + r.dat2Text() + ' ' + r.inText(),
                  "ZF:+02.817E+03 TD:-000.03E+00 K:+01.000000");
    }
    EXPECT_EQ(parseReading(u"").kind, ReplyKind::NoResponse);
    EXPECT_EQ(parseReading(u"\r\n").kind, ReplyKind::NoResponse);
    // Numbers that read as 0 are good data.
    EXPECT_EQ(parseReading(u"NZFNxyz,NTDN?,K-").kind, ReplyKind::Good);
    // Fewer than three fields; a field too short for its code or number.
    const char16_t* bad[] = {u"NZFN+02.817E+03", u"NZFN+1,NTDN-1",
                             u"NZFN,NTDN-1,K+1", u"NZF,NTDN+2,K+1",
                             u"NZFN+1,NTDN,K+1", u"NZFN+1,NTDN+2,K",
                             u"NZFN+1,NTDN+2,",  u"N,NTDN+2,K+1",
                             u"NZFN+1,N,K+1",    u",,",
                             u"Overlong reply"};
    for (const char16_t* reply : bad) {
        const Reading r = parseReading(reply);
        EXPECT_EQ(r.kind, ReplyKind::BadData) << QString::fromUtf16(reply).toStdString();
        EXPECT_EQ(r.dat1Text() + r.dat2Text() + r.inText(), ":::")
            << QString::fromUtf16(reply).toStdString();
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
        {u"NRSN+1.5E+00,NXSN-2.25E+00,K+0.5", M::Resistance, F,
         "A2B1|kHz|Ohm|X|000000.500|0.500|1.500|-2.250"},
        {u"NCPN+0.7910E-06,NGFN+14.940E+00,K+01000.000", M::Capacitance, F,
         "A4B2|kHz|nF|D|001000.000|1000.000|791.0000|14.940"},
        {u"NBAN+0.123456,NTHN+45E+00,K+10", M::Gain, F,
         "A5B2N1|kHz|dB|°|000010.000|10.000|0.12346|45.000"},
        {u"NBAN-03.010E+00,NGDN+012.50E-06,K+0010.0000", M::Delay, F,
         "A5B1N1|kHz|dB   |µs|000010.000|10.000|-3.01000|12.50000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.row);
        const ModeConversion& conversion = conversionFor(c.mode);
        const std::optional<ScaledReading> s =
            scaleReading(parseReading(c.reply), conversion, sweepPower(c.sweep));
        ASSERT_TRUE(s);
        const ResultRow r = makeResultRow(s->x, s->dat1, s->dat2, conversion);
        const ColumnUnits u = columnUnitsFor(c.mode, c.sweep);
        EXPECT_EQ(
            QStringList({conversion.functionText, u[0], u[1], u[2], r.key, r.x, r.dat1, r.dat2})
                .join('|'),
            dec(c.row));
    }
    // Numbers beyond the range of a double, as written or once scaled, are bad data.
    for (const auto& [reply, mode, sweep] : {std::tuple{u"NZFN+1E+999,NTDN+1,K+1", M::Impedance, F},
                                             {u"NZFN+1,NTDN-1E-999,K+1", M::Impedance, F},
                                             {u"NZFN+1,NTDN+1,K+9E+999", M::Impedance, F},
                                             {u"NCPN+1E+300,NGFN+1,K+1", M::Capacitance, F},
                                             {u"NZFN+1,NTDN+1,V+1E+306", M::Impedance, B}}) {
        EXPECT_FALSE(scaleReading(parseReading(reply), conversionFor(mode), sweepPower(sweep)))
            << QString::fromUtf16(reply).toStdString();
    }
}

TEST(SortKey, NegativeValuesTurnIntoKeysThatSortFirstInOrder) {
    // In numeric order, also where a value rounds to zero; sorted as text from any order.
    QStringList keys;
    for (double v : {-99999.5, -1234.5, -20.0, -12.5, -12.25, -10.0, -1.0, -0.5, -0.001, -0.0004,
                     0.0, 0.0004, 0.5, 5.0, 12.5, 1234.5, 999999.999})
        keys << sortKey(v);
    EXPECT_EQ(keys.mid(2, 3).join('|'), dec(" 999979.999| 999987.499| 999987.749"));
    QStringList sorted = keys;
    std::reverse(sorted.begin(), sorted.end());
    std::swap(sorted[2], sorted[9]);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, keys);
    EXPECT_EQ(InvNum("0123456789-.,x "), "9876543210 .,x ");
    EXPECT_EQ(InvNum(""), "");
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
    EXPECT_EQ(sweepHeading(0)->column2 + '|' + sweepHeading(1)->column2, "Freq. (kHz)|Bias (mV)");
    EXPECT_FALSE(sweepHeading(2));
    EXPECT_EQ(sweepCaption(SweepParam::Frequency) + sweepCaption(SweepParam::Bias), "FreqBias");
    EXPECT_EQ(quantityLabel(MeasureMode::Delay, CircuitMode::Auto, SweepParam::Bias),
              (std::array<QString, 3>{"Bias", "G", "D"}));
    EXPECT_EQ(quantityLabel(MeasureMode::Resistance, CircuitMode::Series, SweepParam::Frequency),
              (std::array<QString, 3>{"Freq.", "Rs", "Xs"}));
}

}  // namespace
}  // namespace lorvane::test
