// The command line of lorvane-sweep: values, options, defaults, and the reference CSV reader.
#include <gtest/gtest.h>

#include <string>

#include <QLocale>

#include "sweep_csv.h"
#include "sweep_options.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;

QStringList words(const char* line) {
    return QString::fromUtf8(line).split(u' ', Qt::SkipEmptyParts);
}

struct Accepted {
    const char* line;
    SweepParam sweep;
    std::array<double, 3> frequency;  // Hz
    std::array<double, 3> bias;       // mV
    bool autoStep;
    bool logStep;
    const char* oscillator;  // as the window's field holds it (C locale here)
};

TEST(SweepOptions, SetUpsAsTheFrontPanelHoldsThem) {
    const Accepted cases[] = {
        // The window's first start.
        {"", SweepParam::Frequency, {10000, 100000, 1000}, {0, 0, 10}, false, false, "500"},
        {"--freq 5Hz:2.5kHz:1.5 --bias -1.2V --osc 12.5",
         SweepParam::Frequency,
         {5, 2500, 1500},
         {-1200, -1200, 10},
         false,
         false,
         "12.5"},
        {"--freq=0.1:13MHz:1MHz --step log",
         SweepParam::Frequency,
         {100, 13e6, 0},
         {0, 0, 10},
         true,
         true,
         "500"},
        {"--freq 1:30:1 --step auto --measure gain",
         SweepParam::Frequency,
         {1000, 30000, 0},
         {0, 0, 10},
         true,
         false,
         "5"},
        // A frequency alone is a spot measurement.
        {"--freq 1.001",
         SweepParam::Frequency,
         {1001, 1001, 1000},
         {0, 0, 10},
         false,
         false,
         "500"},
        {"--bias=-5V:5V:100 --freq 100 --measure c --step linear --osc 1100",
         SweepParam::Bias,
         {100000, 100000, 1000},
         {-5000, 5000, 100},
         false,
         false,
         "1100"},
        {"--bias 0:1V:1V",
         SweepParam::Bias,
         {10000, 10000, 1000},
         {0, 1000, 1000},
         false,
         false,
         "500"},
        {"--bias -32V:-32V:5V --freq 13MHz --osc 5",
         SweepParam::Bias,
         {13e6, 13e6, 1000},
         {-32000, -32000, 5000},
         false,
         false,
         "5"},
    };
    for (const Accepted& c : cases) {
        SCOPED_TRACE(c.line);
        QString error;
        const std::optional<SweepOptions> options = parseSweepOptions(words(c.line), error);
        ASSERT_TRUE(options) << error.toStdString();
        const PanelSnapshot& panel = options->panel;
        EXPECT_EQ(panel.sweep, c.sweep);
        EXPECT_EQ(panel.frequency, c.frequency);
        EXPECT_EQ(panel.bias, c.bias);
        EXPECT_EQ(panel.autoStep, c.autoStep);
        EXPECT_EQ(panel.logStep, c.logStep);
        EXPECT_EQ(panel.sweepStepShowsAuto(), c.autoStep);
        // The window's field holds it in the user's locale.
        EXPECT_EQ(panel.oscillatorText,
                  QString::fromLatin1(c.oscillator).replace(u'.', QLocale().decimalPoint()));
    }
}

TEST(SweepOptions, LinkModeOutputAndSwitches) {
    QString error;
    auto options = parseSweepOptions(
        words("--prologix COM12 --address 30 --measure delay --circuit parallel --high-speed "
              "--retries 3 --out a.csv --xlsx b.xlsx --reference r.csv --quiet"),
        error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_TRUE(options->prologix);
    EXPECT_EQ(options->board, 12);
    EXPECT_TRUE(options->portPath.isEmpty());
    EXPECT_EQ(options->address, 30);
    EXPECT_EQ(options->panel.mode, MeasureMode::Delay);
    EXPECT_EQ(options->panel.circuit, CircuitMode::Parallel);
    EXPECT_TRUE(options->panel.highSpeed);
    EXPECT_EQ(options->retries, 3);
    EXPECT_EQ(options->out, u"a.csv"_s);
    EXPECT_EQ(options->xlsx, u"b.xlsx"_s);
    EXPECT_EQ(options->reference, u"r.csv"_s);
    EXPECT_TRUE(options->quiet);

    options = parseSweepOptions(words("--card 3"), error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_FALSE(options->prologix);
    EXPECT_EQ(options->board, 3);
    options = parseSweepOptions(words("--prologix=/dev/ttyUSB0 --bias 1 --help"), error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_TRUE(options->help);
    options = parseSweepOptions(words("--prologix /dev/ttyUSB0"), error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_EQ(options->portPath, u"/dev/ttyUSB0"_s);
    EXPECT_EQ(options->board, 0);
    EXPECT_FALSE(options->panel.highSpeed);
    EXPECT_FALSE(options->quiet);
}

TEST(SweepOptions, AnythingOutOfRangeOrMalformedIsAnErrorThatSaysWhy) {
    const std::pair<const char*, const char*> cases[] = {
        {"--freq 4Hz", "--freq: 4Hz is out of range (5 Hz to 13 MHz)"},
        {"--freq 1:13.001MHz:1", "--freq: 13.001MHz is out of range (5 Hz to 13 MHz)"},
        {"--freq 1:2:0.0005", "--freq: 0.0005: the frequency goes in steps of 1 Hz"},
        {"--freq 1:2:0", "--freq: 0 is out of range (a step of 1 Hz to 1 MHz)"},
        {"--freq 1:3000:1.001MHz", "--freq: 1.001MHz is out of range (a step of 1 Hz to 1 MHz)"},
        {"--freq 1,5", "--freq: '1,5' is no frequency"},
        {"--freq 1e3", "--freq: '1e3' is no frequency"},
        {"--freq 1.0005", "--freq: 1.0005: the frequency goes in steps of 1 Hz"},
        {"--freq 5:4:1", "--freq: 5:4:1: the start lies above the stop"},
        {"--freq 1:2:1.5", "--freq: 1:2:1.5: the step is larger than the span"},
        {"--freq 1:2", "--freq: '1:2' is no range START:STOP:STEP"},
        {"--bias 15", "--bias: 15: the bias goes in steps of 10 mV"},
        {"--bias 33V", "--bias: 33V is out of range (-32 V to 32 V)"},
        {"--bias 0:100:5010mV", "--bias: 5010mV is out of range (a step of 10 mV to 5 V)"},
        {"--bias 0:100:0", "--bias: 0 is out of range (a step of 10 mV to 5 V)"},
        {"--bias 0:1:1V --freq 1:2:1", "--freq: a bias sweep takes one spot frequency"},
        {"--bias 0:1V:100 --measure gain", "--bias: gain and delay allow only frequency sweeps"},
        {"--bias 0:1V:100 --step log", "--step: the logarithmic step sweeps frequencies only"},
        {"--osc 4.9", "--osc: 4.9 is out of range (5 to 1100 mV)"},
        {"--osc 1105", "--osc: 1105 is out of range (5 to 1100 mV)"},
        {"--osc 101", "--osc: 101: above 100 mV the oscillator level goes in steps of 5 mV"},
        {"--osc 0,5", "--osc: '0,5' is no oscillator level in mV"},
        {"--measure x", "--measure: 'x' is none of z|l|r|c|gain|delay"},
        {"--circuit both", "--circuit: 'both' is none of auto|series|parallel"},
        {"--step fast", "--step: 'fast' is none of linear|auto|log"},
        {"--address 31", "--address: '31' is no whole number from 0 to 30"},
        {"--retries -1", "--retries: '-1' is no whole number from 0 to 100"},
        {"--card 1 --prologix COM1", "--card and --prologix exclude each other"},
        {"--card 100", "--card: '100' is no whole number from 0 to 99"},
        {"--prologix COM0", "--prologix: '0' is no whole number from 1 to 255"},
        {"--prologix=", "--prologix needs a device path or COM<N>"},
        {"--out=", "--out needs a file name"},
        {"--out", "--out needs a value"},
        {"--quiet=1", "unknown option '--quiet=1'"},
        {"--frequency 1", "unknown option '--frequency'"},
        {"sweep", "unexpected argument 'sweep'"},
    };
    for (const auto& [line, expected] : cases) {
        QString error;
        EXPECT_FALSE(parseSweepOptions(words(line), error)) << line;
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(expected)))
            << line << ": " << error.toStdString();
    }
    // Finite as written, infinite once in hertz.
    QString error;
    const std::string huge = "--freq 1:2:" + std::string(305, '9') + "MHz";
    EXPECT_FALSE(parseSweepOptions(words(huge.c_str()), error));
    EXPECT_TRUE(error.startsWith(u"--freq: '999"_s)) << error.toStdString();
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
    const auto points = readReferenceCsv(file, titles, error);
    ASSERT_TRUE(points) << error.toStdString();
    EXPECT_EQ(*points, (std::vector<std::array<double, 3>>{{-100, 1.5, 2}, {0, 3, -4}}));
    EXPECT_TRUE(readReferenceCsv(titles.toUtf8() + "\r\n1,2,3\r\n", titles, error));
    // The last line of a sweep killed while writing it: cut short, even where it reads.
    for (const char* torn : {"4,5", "4,5,6.2"}) {
        const auto kept = readReferenceCsv(file + torn, titles, error);
        ASSERT_TRUE(kept) << torn << ": " << error.toStdString();
        EXPECT_EQ(kept->size(), 2u) << torn;
    }

    const std::pair<QByteArray, const char*> bad[] = {
        {"", "the titles are not those of this set-up"},
        {"Freq. (kHz),Z (Ohm),Phi (°)\n1,2,3\n", "the titles are not those of this set-up"},
        {titles.toUtf8() + "\n", "it holds no points"},
        {titles.toUtf8() + "\n1,2,3\n1,2\n", "line 3 is not three numbers: \"1,2\""},
        {titles.toUtf8() + "\n1,2,3,4\n", "line 2 is not three numbers"},
        {titles.toUtf8() + "\n1, 2,3\n", "line 2 is not three numbers"},
        {titles.toUtf8() + "\n1,2;5,3\n", "line 2 is not three numbers"},
        {titles.toUtf8() + "\n1,,3\n", "line 2 is not three numbers"},
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
