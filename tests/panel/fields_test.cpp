// The frequency, bias and oscillator fields as the operator uses them: typed values checked
// against the instrument's limits and each other, units, bars and the automatic step.
#include "panel_fixture.h"

namespace lorvane::test {
namespace {

// From the first start (10 kHz to 100 kHz in steps of 1 kHz, a spot bias of 0, 500 mV), the
// operator's steps, the seven texts they leave (frequency start, stop, step, bias start, stop,
// step, oscillator level, in kHz, mV or the units clicked to) and the beeps.
TEST(FieldsTest, TypedValuesUnitsAndBarsAreCheckedAgainstTheLimitsAndEachOther) {
    const std::tuple<const char*, const char*, int> cases[] = {
        {"F0=1", "1.000 100.000 1.000 0 500 10 500", 0},
        // Limits are in hertz whatever the unit, with one beep each; the bounds pass quietly.
        {"uF0 uF0 F0=2", "5 100000 1000 0 500 10 500", 1},
        {"F1=20000", "10.000 13000.000 1.000 0 500 10 500", 1},
        {"F1=13000 F2=1001", "10.000 13000.000 1000.000 0 500 10 500", 1},
        {"F2=0", "10.000 100.000 0.001 0 500 10 500", 1},
        // Start and stop push each other; a step above the span becomes a tenth of it.
        {"F0=150", "150.000 150.000 1.000 0 500 10 500", 1},
        {"F0=150 F1=5", "5.000 5.000 1.000 0 500 10 500", 2},
        {"F1=11 F2=5", "10.000 11.000 0.100 0 500 10 500", 1},
        {"F1=18 F2=8 F0=20", "20.000 20.000 0.200 0 500 10 500", 2},
        {"F0=abc", "10.000 100.000 1.000 0 500 10 500", 0},
        // Start and stop units change together; the step's is never larger than the start's.
        {"uF0", "0.010000 0.100000 1.000 0 500 10 500", 0},
        {"uF0 uF1", "10000 100000 1000 0 500 10 500", 0},
        {"uF0 F1=12.999999 uF0", "10000 12999999 1000 0 500 10 500", 0},
        {"uF2", "10.000 100.000 1000 0 500 10 500", 0},
        {"uF2 uF2", "10.000 100.000 1.000 0 500 10 500", 0},
        {"uF0 uF2", "0.010000 0.100000 0.001000 0 500 10 500", 0},
        {"uF0 uF2 uF2", "0.010000 0.100000 1000 0 500 10 500", 0},
        {"uF0 uF0 uF2", "10000 100000 1000 0 500 10 500", 0},
        // The bars move one kilohertz from the text shown, and are checked like the fields.
        {"F0=10.5 +F0", "11.500 100.000 1.000 0 500 10 500", 0},
        {"F0=2.5 +F0 +F0 -F0 -F0 -F0", "1.500 100.000 1.000 0 500 10 500", 0},
        {"F1:9", "9.000 9.000 1.000 0 500 10 500", 1},
        {"F2=0.5 +F2", "10.000 100.000 1.500 0 500 10 500", 0},
        // The automatic step: Lin or Log on the bar, and its unit ignores clicks.
        {"auto", "10.000 100.000 Lin 0 500 Lin 500", 0},
        {"auto +F2", "10.000 100.000 Log 0 500 Lin 500", 0},
        {"auto +F2 +F2 uF2", "10.000 100.000 Lin 0 500 Lin 500", 0},
        {"auto +B2", "10.000 100.000 Lin 0 500 Lin 500", 0},
        {"F2=2 auto +F2 auto", "10.000 100.000 1.000 0 500 10 500", 0},
        // Spot values leave the hidden stop and step alone; as starts they are checked again.
        {"B0=900", "10.000 100.000 1.000 900 500 10 500", 0},
        {"swB F0=200", "200.000 100.000 1.000 0 500 10 500", 0},
        {"swB B0=900", "10.000 100.000 1.000 900 900 10 500", 2},
        {"F0=200 swB", "200.000 200.000 1.000 0 500 10 500", 1},
        // Bias values are cut to 10 mV, within +-32 V and a step of 10 mV to 5 V.
        {"swB B1=5000 B0=123", "10.000 100.000 1.000 120 5000 10 500", 0},
        {"swB B0=-15", "10.000 100.000 1.000 -20 500 10 500", 0},
        {"swB B1=5000 uB0 B0=1.234", "10.000 100.000 1.000 1.230 5.000 10 500", 0},
        {"swB B1=40000 B0=-40000 B2=6000", "10.000 100.000 1.000 -32000 32000 5000 500", 3},
        {"swB B2=3", "10.000 100.000 1.000 0 500 10 500", 1},
        {"swB B2=100 B1=-300", "10.000 100.000 1.000 -300 -300 10 500", 2},
        {"swB B1=", "10.000 100.000 1.000 0 500 10 500", 0},
        {"swB uB0 uB2", "10.000 100.000 1.000 0.000 0.500 0.010 500", 0},
        {"swB +B0", "10.000 100.000 1.000 10 500 10 500", 0},
        {"swB B1:-100", "10.000 100.000 1.000 -100 -100 10 500", 2},
        {"swB B1:40000", "10.000 100.000 1.000 0 32000 10 500", 0},
        {"swB B0=500", "10.000 100.000 1.000 500 500 50 500", 1},
        // A frequency sweep shows the spot bias; the bias sweep gets its start back.
        {"swB B0=-250 swF", "10.000 100.000 1.000 0 500 10 500", 0},
        {"swB B0=-250 swF B0=70 swB", "10.000 100.000 1.000 -250 500 10 500", 0},
        // The oscillator level: 5 mV to 1.1 V, on a 5 mV grid above 100 mV.
        {"O=50.5 F0=1", "1.000 100.000 1.000 0 500 10 50.5", 0},
        {"O=127", "10.000 100.000 1.000 0 500 10 125", 0},
        {"O=2", "10.000 100.000 1.000 0 500 10 5", 1},
        {"O=2000 O=loud", "10.000 100.000 1.000 0 500 10 1100", 1},
    };
    TempSettings settings;
    for (const auto& [steps, texts, beeps] : cases) {
        SCOPED_TRACE(steps);
        FakePlatform platform;
        MainWindow window{platform};
        restoreFrontPanel(window, QStringLiteral("Lorvane"));
        act(window, steps);
        QStringList shown;
        for (const auto* fields : {&window.controls().vFrq, &window.controls().vVlt})
            for (const auto* field : *fields) shown << field->text();
        shown << window.controls().vOsc->text();
        EXPECT_EQ(shown.join(u' '), dec(texts));
        EXPECT_EQ(platform.beeps, beeps);
        // With the automatic step, the step field says how the run will step.
        const FrontPanelState& state = window.state();
        EXPECT_TRUE(!state.AutoStep || state.LogStep == (shown[2] == u"Log"));
        EXPECT_FALSE(state.Updating);
    }
}

}  // namespace
}  // namespace lorvane::test
