#include "command_set.h"

#include <gtest/gtest.h>

#include <QLocale>

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

SetupCommands build(const PanelSnapshot& panel, SetupCommands previous = {}) {
    EXPECT_TRUE(buildSetupCommands(panel, planSweep(panel), previous));
    return previous;
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

TEST(SetupCommands, EntryZeroCarriesLogSpacingAndHighSpeed) {
    // Log spacing without the automatic step is not a log sweep.
    const struct {
        bool highSpeed, autoStep, logStep;
        const char* entry;
    } cases[] = {{false, false, false, "T3F1R8I0G0H0"}, {true, false, false, "T3F1R8I0G0H1"},
                 {true, true, false, "T3F1R8I0G0H1"},   {true, true, true, "T3F1R8I0G1H1"},
                 {false, true, true, "T3F1R8I0G1H0"},   {false, false, true, "T3F1R8I0G0H0"}};
    for (const auto& c : cases) {
        PanelSnapshot p = frequencyPanel();
        p.highSpeed = c.highSpeed;
        p.autoStep = c.autoStep;
        p.logStep = c.logStep;
        EXPECT_EQ(build(p)[0], c.entry);
    }
}

TEST(SetupCommands, EntryOneIsTheFunctionAndTheCircuit) {
    const std::pair<MeasureMode, const char*> modes[] = {
        {MeasureMode::Impedance, "A1B1"},  {MeasureMode::Inductance, "A3B1"},
        {MeasureMode::Resistance, "A2B1"}, {MeasureMode::Capacitance, "A4B2"},
        {MeasureMode::Gain, "A5B2N1"},     {MeasureMode::Delay, "A5B1N1"}};
    const std::pair<CircuitMode, const char*> circuits[] = {
        {CircuitMode::Auto, "C1"}, {CircuitMode::Series, "C2"}, {CircuitMode::Parallel, "C3"}};
    for (const auto& [mode, function] : modes) {
        for (const auto& [circuit, code] : circuits) {
            PanelSnapshot p = frequencyPanel();
            p.mode = mode;
            p.circuit = circuit;
            EXPECT_EQ(build(p)[1], QString::fromLatin1(function) + QLatin1String(code));
        }
    }
}

TEST_F(CommandLocaleTest, EntryTwoIsTheOscillatorLevelInVolts) {
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(oscillatorCommand("500"), "OL0.500EN");
    EXPECT_EQ(oscillatorCommand("5"), "OL0.005EN");
    EXPECT_EQ(oscillatorCommand("1100"), "OL1.100EN");
    EXPECT_EQ(oscillatorCommand("50.5"), "OL0.051EN");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    // 12,5 mV is 0.0125 V: the half rounds away from zero, and the text keeps its ".".
    EXPECT_EQ(oscillatorCommand("12,5"), "OL0.013EN");
    EXPECT_EQ(oscillatorCommand("500"), "OL0.500EN");
}

TEST_F(CommandLocaleTest, AnOscillatorTextThatIsNoNumberChangesNothing) {
    QLocale::setDefault(QLocale::c());
    EXPECT_EQ(oscillatorCommand("abc"), std::nullopt);
    EXPECT_EQ(oscillatorCommand(""), std::nullopt);
    PanelSnapshot p = frequencyPanel();
    p.oscillatorText = QStringLiteral("5 0");
    SetupCommands commands{"a", "b", "c", "d", "e", "f", "g"};
    EXPECT_FALSE(buildSetupCommands(p, planSweep(p), commands));
    EXPECT_EQ(commands, (SetupCommands{"a", "b", "c", "d", "e", "f", "g"}));
}

TEST(SetupCommands, FrequencySweepEntries) {
    PanelSnapshot p = frequencyPanel();
    p.bias[0] = -1500;
    const SetupCommands c = build(p);
    EXPECT_EQ(c[3], "BI-1.500EN");
    EXPECT_EQ(c[4], "SF1.000ENTF1.000ENPF10.000EN");
    EXPECT_EQ(c[5], "FR1.000EN");
    EXPECT_EQ(c[6], "W0");
}

TEST(SetupCommands, BiasSweepEntriesFromThePartsExample) {
    PanelSnapshot p = frequencyPanel();
    p.sweep = SweepParam::Bias;
    p.frequency[0] = 10000;
    p.bias = {-1500, 1500, 100};
    const SetupCommands c = build(p);
    EXPECT_EQ(c[3], "FR10.000EN");
    EXPECT_EQ(c[4], "SB0.100ENTB-1.500ENPB1.500EN");
    EXPECT_EQ(c[5], "BI-1.500EN");
    EXPECT_EQ(c[6], "W0");
}

TEST(SetupCommands, EntryThreeKeepsThePreviousTextWhenAFrequencySweepSetsNoBias) {
    const SetupCommands previous{"", "", "", "BI-1.500EN", "", "", ""};
    PanelSnapshot p = frequencyPanel();
    // Impedance with a bias start of 0.
    EXPECT_EQ(build(p, previous)[3], "BI-1.500EN");
    p.bias[0] = 2000;
    for (MeasureMode mode : {MeasureMode::Gain, MeasureMode::Delay}) {
        p.mode = mode;
        EXPECT_EQ(build(p, previous)[3], "BI-1.500EN");
        EXPECT_EQ(build(p)[3], "");
    }
    for (MeasureMode mode : {MeasureMode::Impedance, MeasureMode::Inductance,
                             MeasureMode::Resistance, MeasureMode::Capacitance}) {
        p.mode = mode;
        EXPECT_EQ(build(p, previous)[3], "BI2.000EN");
    }
    // A bias sweep always sets the spot frequency, whatever the parameter.
    p.mode = MeasureMode::Gain;
    p.sweep = SweepParam::Bias;
    EXPECT_EQ(build(p, previous)[3], "FR1.000EN");
}

TEST(SetupCommands, AutomaticStepEntries) {
    PanelSnapshot p = frequencyPanel();
    p.frequency = {1000, 100000, 0};
    p.autoStep = true;
    SetupCommands c = build(p);
    EXPECT_EQ(c[4], "SF1.000ENTF1.000ENPF100.000EN");
    EXPECT_EQ(c[6], "W1W2");
    p.logStep = true;
    c = build(p);
    EXPECT_EQ(c[4], "SF0.000ENTF1.000ENPF100.000EN");
    EXPECT_EQ(c[6], "W1W2");
    // The linear step of a bias sweep from 500 mV is the 20 mV of its decade.
    p = frequencyPanel();
    p.sweep = SweepParam::Bias;
    p.bias = {500, 900, 130};
    p.autoStep = true;
    EXPECT_EQ(build(p)[4], "SB0.020ENTB0.500ENPB0.900EN");
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

TEST_F(CommandLocaleTest, CommandNumbersKeepTheirPointInADecimalCommaLocale) {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    PanelSnapshot p = frequencyPanel();
    p.frequency = {1500, 12500, 500};
    p.oscillatorText = QStringLiteral("7,5");
    const SetupCommands c = build(p);
    EXPECT_EQ(c[2], "OL0.008EN");
    EXPECT_EQ(c[4], "SF0.500ENTF1.500ENPF12.500EN");
    EXPECT_EQ(c[5], "FR1.500EN");
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
