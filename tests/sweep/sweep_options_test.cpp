// The command line of lorvane-sweep: values, options, defaults, and the reference CSV reader.
#include <gtest/gtest.h>

#include <QLocale>
#include <string>

#include "sweep_csv.h"
#include "sweep_options.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

QStringList words(const char* line) {
    return QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
}

// The sweep, frequency (Hz) and bias (mV) fields, and the step as the panel shows it.
QString describe(const PanelSnapshot& p) {
    const auto fields = [](const std::array<double, 3>& f) {
        return u"%1:%2:%3"_s.arg(f[0], 0, 'g', 10).arg(f[1], 0, 'g', 10).arg(f[2], 0, 'g', 10);
    };
    QString step =
        p.autoStep ? (p.logStep ? u"log"_s : u"auto"_s) : (p.logStep ? u"?"_s : u"lin"_s);
    if (p.sweepStepShowsAuto() != p.autoStep) step += u" (box disagrees)"_s;
    return (p.sweep == SweepParam::Bias ? u"bias "_s : u"freq "_s) + fields(p.frequency) + u' ' +
           fields(p.bias) + u' ' + step;
}

TEST(SweepOptions, SetUpsAsTheFrontPanelHoldsThem) {
    const struct {
        const char* line;
        const char* panel;
        const char* oscillator;  // as the window's field holds it, with "." for its separator
    } cases[] = {
        {"", "freq 10000:100000:1000 0:0:10 lin", "500"},  // the window's first start
        {"--freq 5Hz:2.5kHz:1.5 --bias -1.2V --osc 12.5", "freq 5:2500:1500 -1200:-1200:10 lin",
         "12.5"},
        {"--freq=0.1:13MHz:1MHz --step log", "freq 100:13000000:0 0:0:10 log", "500"},
        {"--freq 1:30:1 --step auto --measure gain", "freq 1000:30000:0 0:0:10 auto", "5"},
        {"--freq 1.001", "freq 1001:1001:1000 0:0:10 lin", "500"},  // a spot measurement
        {"--bias=-5V:5V:100 --freq 100 --measure c --step linear --osc 1100",
         "bias 100000:100000:1000 -5000:5000:100 lin", "1100"},
        {"--bias -32V:-32V:5V --freq 13MHz --osc 5",
         "bias 13000000:13000000:1000 -32000:-32000:5000 lin", "5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        QString error;
        const std::optional<SweepOptions> options = parseSweepOptions(words(c.line), error);
        ASSERT_TRUE(options) << error.toStdString();
        EXPECT_EQ(describe(options->panel), QString::fromLatin1(c.panel));
        EXPECT_EQ(options->panel.oscillatorText,
                  QString::fromLatin1(c.oscillator).replace(u'.', QLocale().decimalPoint()));
    }
}

TEST(SweepOptions, LinkModeOutputAndSwitches) {
    QString error;
    auto o = parseSweepOptions(
        words("--prologix COM12 --address 30 --measure delay --circuit parallel --high-speed "
              "--retries 3 --out a.csv --xlsx b.xlsx --reference r.csv --quiet"),
        error);
    ASSERT_TRUE(o) << error.toStdString();
    EXPECT_TRUE(o->prologix && o->portPath.isEmpty() && o->panel.highSpeed && o->quiet);
    EXPECT_EQ(std::vector<int>({o->board, o->address, o->retries, static_cast<int>(o->panel.mode),
                                static_cast<int>(o->panel.circuit)}),
              std::vector<int>({12, 30, 3, 5, 2}));
    EXPECT_EQ(QStringList({o->out, o->xlsx, o->reference}),
              QStringList({"a.csv", "b.xlsx", "r.csv"}));
    o = parseSweepOptions(words("--card 3"), error);
    EXPECT_TRUE(o && !o->prologix && o->board == 3 && !o->quiet && !o->panel.highSpeed);
    EXPECT_TRUE(parseSweepOptions(words("--prologix=/dev/ttyUSB0 --bias 1 --help"), error)->help);
    o = parseSweepOptions(words("--prologix /dev/ttyUSB0"), error);
    EXPECT_TRUE(o && o->portPath == u"/dev/ttyUSB0"_s && o->board == 0);
}

TEST(SweepOptions, AnythingOutOfRangeOrMalformedIsAnErrorThatSaysWhy) {
    const std::pair<std::string, const char*> cases[] = {
        {"--freq 4Hz", "--freq: 4Hz is out of range (5 Hz to 13 MHz)"},
        {"--freq 1:2:0", "--freq: 0 is out of range (a step of 1 Hz to 1 MHz)"},
        {"--freq 1,5", "--freq: '1,5' is no frequency"},
        {"--freq 1.0005", "--freq: 1.0005: the frequency goes in steps of 1 Hz"},
        {"--freq 5:4:1", "--freq: 5:4:1: the start lies above the stop"},
        {"--freq 1:2:1.5", "--freq: 1:2:1.5: the step is larger than the span"},
        // Finite as written, infinite once in hertz.
        {"--freq 1:2:" + std::string(305, '9') + "MHz", "--freq: '999"},
        {"--bias 15", "--bias: 15: the bias goes in steps of 10 mV"},
        {"--bias 0:100:0", "--bias: 0 is out of range (a step of 10 mV to 5 V)"},
        {"--bias 0:1:1V --freq 1:2:1", "--freq: a bias sweep takes one spot frequency"},
        {"--bias 0:1V:100 --measure gain", "--bias: gain and delay allow only frequency sweeps"},
        {"--bias 0:1V:100 --step log", "--step: the logarithmic step sweeps frequencies only"},
        {"--osc 101", "--osc: 101: above 100 mV the oscillator level goes in steps of 5 mV"},
        {"--osc 0,5", "--osc: '0,5' is no oscillator level in mV"},
        {"--measure x", "--measure: 'x' is none of z|l|r|c|gain|delay"},
        {"--address 31", "--address: '31' is no whole number from 0 to 30"},
        {"--card 1 --prologix COM1", "--card and --prologix exclude each other"},
        {"--prologix COM0", "--prologix: '0' is no whole number from 1 to 255"},
        {"--quiet=1", "unknown option '--quiet=1'"},
        {"sweep", "unexpected argument 'sweep'"},
    };
    for (const auto& [line, expected] : cases) {
        QString error;
        EXPECT_FALSE(parseSweepOptions(words(line.c_str()), error)) << line;
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(expected)))
            << line << ": " << error.toStdString();
    }
}

TEST(SweepCsv, LinesTitlesAndTheReferenceReadBack) {
    PanelSnapshot panel;
    EXPECT_EQ(csvTitles(panel), u"Freq. (kHz),Z (Ohm),Phi (°)"_s);
    panel.sweep = SweepParam::Bias;
    panel.mode = MeasureMode::Capacitance;
    panel.circuit = CircuitMode::Parallel;
    const QString titles = csvTitles(panel);
    EXPECT_EQ(titles, u"Bias (mV),Cp (nF),D (D)"_s);
    EXPECT_EQ(csvLine(-100, 9.8765432109876, -0.000012345), "-100,9.876543211,-1.2345e-05\n");
    EXPECT_EQ(csvLine(13000, 1234567890123.0, 0), "13000,1.23456789e+12,0\n");

    const QByteArray file = titles.toUtf8() + "\n" + csvLine(-100, 1.5, 2) + csvLine(0, 3, -4);
    QString error;
    // The last line of a sweep killed while writing it is cut short, even where it reads.
    for (const QByteArray& text : {file, file + "4,5", file + "4,5,6.2"}) {
        const auto points = readReferenceCsv(text, titles, error);
        ASSERT_TRUE(points) << text.data() << ": " << error.toStdString();
        EXPECT_EQ(*points, (std::vector<std::array<double, 3>>{{-100, 1.5, 2}, {0, 3, -4}}));
    }
    EXPECT_TRUE(readReferenceCsv(titles.toUtf8() + "\r\n1,2,3\r\n", titles, error));

    const std::pair<QByteArray, const char*> bad[] = {
        {"", "the titles are not those of this set-up"},
        {"Freq. (kHz),Z (Ohm),Phi (°)\n1,2,3\n", "the titles are not those of this set-up"},
        {titles.toUtf8() + "\n", "it holds no points"},
        {titles.toUtf8() + "\n1,2,3\n1,2\n", "line 3 is not three numbers: \"1,2\""},
        {titles.toUtf8() + "\n1,nan,3\n", "line 2 is not three numbers"},
        {titles.toUtf8() + "\n1,2,3\n\n4,5,6\n", "line 3 is not three numbers"},
    };
    for (const auto& [text, expected] : bad) {
        EXPECT_FALSE(readReferenceCsv(text, titles, error)) << text.data();
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(expected)))
            << text.data() << ": " << error.toStdString();
    }
}

}  // namespace
}  // namespace lorvane
