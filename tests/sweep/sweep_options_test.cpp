// The command line of lorvane-sweep and its CSV.
#include <gtest/gtest.h>

#include <QLocale>

#include "sweep_csv.h"
#include "sweep_options.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

// The panel's set-up (oscillator with "."), the link (board/address), retries and the rest.
QString describe(const SweepOptions& o) {
    const PanelSnapshot& p = o.panel;
    QStringList w{p.sweep == SweepParam::Bias ? u"bias"_s : u"freq"_s};
    for (const auto& f : {p.frequency, p.bias})
        w << u"%1:%2:%3"_s.arg(f[0], 0, 'f', 0).arg(f[1], 0, 'f', 0).arg(f[2], 0, 'f', 0);
    w << (p.autoStep ? (p.logStep ? u"log"_s : u"auto"_s) : u"lin"_s) +
             (p.sweepStepShowsAuto() != p.autoStep ? u"?"_s : QString());
    w << QString(p.oscillatorText).replace(QLocale().decimalPoint(), u"."_s);
    w << QString::asprintf("%d/%d %s%s %d/%d r%d", int(p.mode), int(p.circuit),
                           o.prologix ? "prologix" : "card", qUtf8Printable(o.portPath), o.board,
                           o.address, o.retries);
    w << (p.highSpeed ? u"fast"_s : QString()) << (o.quiet ? u"quiet"_s : QString()) << o.out
      << o.xlsx << o.reference;
    return w.join(u' ').simplified();
}

// Set-ups as the front panel would hold them, missing options at the window's first start;
// anything out of range or malformed is an error that says why.
TEST(SweepOptions, SetUpsAsTheFrontPanelHoldsThemAndErrorsThatSayWhy) {
    const std::pair<const char*, const char*> cases[] = {
        {"", "freq 10000:100000:1000 0:0:10 lin 500 0/0 card 0/1 r0"},
        {"--freq 5Hz:2.5kHz:1.5 --bias -1.2V --osc 12.5 --prologix /dev/ttyUSB0 --retries 3",
         "freq 5:2500:1500 -1200:-1200:10 lin 12.5 0/0 prologix/dev/ttyUSB0 0/1 r3"},
        {"--freq=0.1:13MHz:1MHz --step log --card 3 --high-speed",
         "freq 100:13000000:0 0:0:10 log 500 0/0 card 3/1 r0 fast"},
        {"--freq 1:30:1 --step auto --measure gain --prologix COM12 --address 30 --quiet",
         "freq 1000:30000:0 0:0:10 auto 5 4/0 prologix 12/30 r0 quiet"},
        {"--freq 1.001 --measure delay --circuit parallel --out a --xlsx b --reference r",
         "freq 1001:1001:1000 0:0:10 lin 5 5/2 card 0/1 r0 a b r"},
        {"--bias=-5V:5V:100 --freq 100 --measure c --step linear --osc 1100 --circuit series",
         "bias 100000:100000:1000 -5000:5000:100 lin 1100 3/1 card 0/1 r0"},
        {"--freq 4Hz", "--freq: 4Hz is out of range (5 Hz to 13 MHz)"},
        {"--freq 1:2:1.5", "--freq: 1:2:1.5: the step is larger than the span"},
        {"--bias 15", "--bias: 15: the bias goes in steps of 10 mV"},
        {"--bias 0:1:1V --freq 1:2:1", "--freq: a bias sweep takes one spot frequency"},
        {"--osc 101", "--osc: 101: above 100 mV the oscillator level goes in steps of 5 mV"},
        {"--card 1 --prologix COM1", "--card and --prologix exclude each other"},
    };
    for (const auto& [line, expected] : cases) {
        QString error;
        const auto o =
            parseSweepOptions(QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts), error);
        EXPECT_EQ(o ? describe(*o) : error.left(qsizetype(strlen(expected))), expected) << line;
    }
}

// The CSV read back as a reference: a last line cut short by a crash is left out, and any other
// line that is not three numbers is an error naming it.
TEST(SweepCsv, LinesTitlesAndTheReferenceReadBack) {
    const QString titles = csvTitles({});
    EXPECT_EQ(titles, u"Freq. (kHz),Z (Ohm),Phi (°)"_s);
    QString error;
    EXPECT_EQ(csvLine(-100, 9.8765432109876, -0.000012345) + csvLine(13000, 1234567890123.0, 0),
              "-100,9.876543211,-1.2345e-05\n13000,1.23456789e+12,0\n");
    const QByteArray file = titles.toUtf8() + "\n-100,1.5,2\n0,3,-4\n";
    for (const QByteArray& text : {file, file + "4,5", file + "4,5,6.2"}) {
        const auto points = readReferenceCsv(text, titles, error);
        ASSERT_TRUE(points) << text.data() << ": " << error.toStdString();
        EXPECT_EQ(*points, (std::vector<std::array<double, 3>>{{-100, 1.5, 2}, {0, 3, -4}}));
    }
    EXPECT_FALSE(readReferenceCsv("x\n1,2,3\n", titles, error));
    EXPECT_EQ(error, u"the titles are not those of this set-up: expected \""_s + titles +
                         u"\", found \"x\""_s);
    EXPECT_FALSE(readReferenceCsv(titles.toUtf8() + "\n1,2,3\n1,2\n", titles, error));
    EXPECT_EQ(error, u"line 3 is not three numbers: \"1,2\""_s);
}

}  // namespace
}  // namespace lorvane
