#include "command_set.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QStringList>
#include <functional>

namespace lorvane {
namespace {

// Restores the default locale after a test that sets one.
class CommandLocaleTest : public testing::Test {
  protected:
    void TearDown() override { QLocale::setDefault(saved_); }

  private:
    QLocale saved_;
};

// Impedance, auto circuit, frequency sweep 1 kHz to 10 kHz in 1 kHz steps, 500 mV.
PanelSnapshot frequencyPanel() {
    PanelSnapshot p;
    p.frequency = {1000, 10000, 1000};
    p.bias = {0, 0, 0};
    p.oscillatorText = QStringLiteral("500");
    return p;
}

TEST(ModeConversion, EachParameterHasItsFunctionFactorsFormatsAndUnits) {
    struct Row {
        MeasureMode mode;
        const char* function;
        int p1;
        const char* format1;
        const char* unit1;
        int p2;
        const char* format2;
        const char* unit2;
    };
    const Row rows[] = {
        {MeasureMode::Impedance, "A1B1", 0, "0.000", "Ohm", 0, "0.000", "°"},
        {MeasureMode::Inductance, "A3B1", 6, "0.000", "µH", 0, "0.000", "Q"},
        {MeasureMode::Resistance, "A2B1", 0, "0.000", "Ohm", 0, "0.000", "X"},
        {MeasureMode::Capacitance, "A4B2", 9, "0.0000", "nF", 0, "0.000", "D"},
        {MeasureMode::Gain, "A5B2N1", 0, "0.00000", "dB", 0, "0.000", "°"},
        {MeasureMode::Delay, "A5B1N1", 0, "0.00000", "dB   ", 6, "0.00000", "µs"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.function);
        const ModeConversion& c = conversionFor(r.mode);
        EXPECT_EQ(c.functionText, r.function);
        EXPECT_EQ(c.dat1Power, r.p1);
        EXPECT_EQ(c.dat1Format, r.format1);
        EXPECT_EQ(c.dat1Unit, QString::fromUtf8(r.unit1));
        EXPECT_EQ(c.dat2Power, r.p2);
        EXPECT_EQ(c.dat2Format, r.format2);
        EXPECT_EQ(c.dat2Unit, QString::fromUtf8(r.unit2));
    }
}

// The seven entries, joined by "|", with entry 3 of the commands before as given.
TEST(SetupCommands, EntriesForEachSetUp) {
    using P = PanelSnapshot&;
    const QString half = QStringLiteral("12") + QLocale().decimalPoint() + u'5';  // 12.5 mV
    const struct {
        const char* name;
        std::function<void(P)> arrange;
        const char* previous;
        const char* entries;
    } cases[] = {
        {"frequency sweep with a bias", [](P p) { p.bias[0] = -1500; }, "",
         "T3F1R8I0G0H0|A1B1C1|OL0.500EN|BI-1.500EN|SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"bias sweep",
         [](P p) {
             p.sweep = SweepParam::Bias;
             p.frequency[0] = 10000;
             p.bias = {-1500, 1500, 100};
         },
         "", "T3F1R8I0G0H0|A1B1C1|OL0.500EN|FR10.000EN|SB0.100ENTB-1.500ENPB1.500EN|BI-1.500EN|W0"},
        {"no bias keeps entry 3", [](P) {}, "BI-1.500EN",
         "T3F1R8I0G0H0|A1B1C1|OL0.500EN|BI-1.500EN|SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"gain sets no bias",
         [](P p) {
             p.mode = MeasureMode::Gain;
             p.bias[0] = 2000;
         },
         "BI-1.500EN",
         "T3F1R8I0G0H0|A5B2N1C1|OL0.500EN|BI-1.500EN|SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"delay sets no bias",
         [](P p) {
             p.mode = MeasureMode::Delay;
             p.circuit = CircuitMode::Series;
             p.bias[0] = 2000;
         },
         "", "T3F1R8I0G0H0|A5B1N1C2|OL0.500EN||SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"capacitance sets its bias",
         [half](P p) {
             p.mode = MeasureMode::Capacitance;
             p.circuit = CircuitMode::Parallel;
             p.bias[0] = 2000;
             p.oscillatorText = half;
         },
         "BI-1.500EN",
         "T3F1R8I0G0H0|A4B2C3|OL0.013EN|BI2.000EN|SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"gain bias sweep sets the spot frequency",
         [](P p) {
             p.mode = MeasureMode::Gain;
             p.sweep = SweepParam::Bias;
         },
         "BI-1.500EN",
         "T3F1R8I0G0H0|A5B2N1C1|OL0.500EN|FR1.000EN|SB0.000ENTB0.000ENPB0.000EN|BI0.000EN|W0"},
        {"automatic step",
         [](P p) {
             p.mode = MeasureMode::Inductance;
             p.circuit = CircuitMode::Series;
             p.frequency = {1500, 100000, 0};
             p.autoStep = true;
             p.oscillatorText = QStringLiteral("5");
         },
         "", "T3F1R8I0G0H0|A3B1C2|OL0.005EN||SF1.000ENTF1.500ENPF100.000EN|FR1.500EN|W1W2"},
        {"log step at high speed",
         [](P p) {
             p.mode = MeasureMode::Resistance;
             p.frequency = {1000, 100000, 0};
             p.autoStep = p.logStep = p.highSpeed = true;
             p.oscillatorText = QStringLiteral("1100");
         },
         "", "T3F1R8I0G1H1|A2B1C1|OL1.100EN||SF0.000ENTF1.000ENPF100.000EN|FR1.000EN|W1W2"},
        {"log spacing without the automatic step, at high speed",
         [](P p) { p.logStep = p.highSpeed = true; }, "",
         "T3F1R8I0G0H1|A1B1C1|OL0.500EN||SF1.000ENTF1.000ENPF10.000EN|FR1.000EN|W0"},
        {"automatic bias step from 500 mV: the 20 mV of its decade",
         [](P p) {
             p.sweep = SweepParam::Bias;
             p.bias = {500, 900, 130};
             p.autoStep = true;
         },
         "", "T3F1R8I0G0H0|A1B1C1|OL0.500EN|FR1.000EN|SB0.020ENTB0.500ENPB0.900EN|BI0.500EN|W1W2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PanelSnapshot p = frequencyPanel();
        c.arrange(p);
        SetupCommands commands{};
        commands[3] = QString::fromLatin1(c.previous);
        ASSERT_TRUE(buildSetupCommands(p, planSweep(p), commands));
        EXPECT_EQ(QStringList(commands.begin(), commands.end()).join(u'|'),
                  QString::fromLatin1(c.entries));
    }
}

TEST_F(CommandLocaleTest, AnOscillatorTextThatIsNoNumberChangesNothing) {
    EXPECT_EQ(oscillatorCommand("abc"), std::nullopt);
    EXPECT_EQ(oscillatorCommand(""), std::nullopt);
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(oscillatorCommand("12.5"), std::nullopt);  // a group separator
    PanelSnapshot p = frequencyPanel();
    p.oscillatorText = QStringLiteral("5 0");
    SetupCommands commands{"a", "b", "c", "d", "e", "f", "g"};
    EXPECT_FALSE(buildSetupCommands(p, planSweep(p), commands));
    EXPECT_EQ(commands, (SetupCommands{"a", "b", "c", "d", "e", "f", "g"}));
}

TEST(SweepPlan, TakesTheSelectedSweepInSweepUnits) {
    PanelSnapshot p = frequencyPanel();
    p.frequency = {500000, 900000, 1500};
    SweepPlan plan = planSweep(p);
    EXPECT_EQ(plan.start, 500);
    EXPECT_EQ(plan.stop, 900);
    EXPECT_EQ(plan.step, 1.5);
    EXPECT_EQ(plan.boundary, 0);
    p.autoStep = true;
    plan = planSweep(p);
    EXPECT_EQ(plan.step, 25);
    EXPECT_EQ(plan.boundary, 1000);
    p.sweep = SweepParam::Bias;
    p.bias = {-950, 0, 70};
    plan = planSweep(p);
    EXPECT_EQ(plan.start, -950);
    EXPECT_EQ(plan.step, 20);
    EXPECT_EQ(plan.boundary, -100);
    p.autoStep = false;
    EXPECT_EQ(planSweep(p).step, 70);
}

TEST(SweepPlan, PlannedPointsFollowTheRunsSteps) {
    struct Case {
        const char* name;
        SweepParam sweep;
        std::array<double, 3> fields;  // Hz or mV
        bool autoStep;
        bool logStep;
        std::optional<int64_t> points;
    };
    const Case cases[] = {
        {"1 to 5 kHz by 1", SweepParam::Frequency, {1000, 5000, 1000}, false, false, 5},
        {"the last step stops at the stop",
         SweepParam::Frequency,
         {1000, 10000, 3000},
         false,
         false,
         4},
        {"tenths of a kHz", SweepParam::Frequency, {100, 300, 100}, false, false, 3},
        {"a spot", SweepParam::Frequency, {5000, 5000, 1000}, false, false, 1},
        {"a stop below the start", SweepParam::Frequency, {5000, 4000, 1000}, false, false, 1},
        {"by decades", SweepParam::Frequency, {1000, 30000, 0}, true, false, 12},
        {"a decade of tenths", SweepParam::Frequency, {100, 3000, 0}, true, false, 12},
        {"bias by decades", SweepParam::Bias, {500, 900, 0}, true, false, 21},
        {"bias by hand", SweepParam::Bias, {-100, 100, 100}, false, false, 3},
        {"logarithmic", SweepParam::Frequency, {1000, 30000, 0}, true, true, std::nullopt},
        {"no step", SweepParam::Frequency, {1000, 5000, 0}, false, false, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PanelSnapshot p = frequencyPanel();
        p.sweep = c.sweep;
        (c.sweep == SweepParam::Bias ? p.bias : p.frequency) = c.fields;
        p.autoStep = c.autoStep;
        p.logStep = c.logStep;
        EXPECT_EQ(plannedPoints(p, planSweep(p)), c.points);
    }
}

TEST_F(CommandLocaleTest, StepBoxTextIsAPlainNumberInTheUsersLocale) {
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(stepBoxText(25), "25");
    EXPECT_EQ(stepBoxText(0.1), "0.1");
    EXPECT_EQ(stepBoxText(13000), "13000");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(stepBoxText(0.01), "0,01");
    EXPECT_EQ(stepBoxText(50), "50");
}

}  // namespace
}  // namespace lorvane
