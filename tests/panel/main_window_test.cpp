// The main window as the operator uses it: value fields, units, bars and the automatic step;
// the selections; the lock of a run; its size on the screen, whole texts, and the keyboard.
#include <QImage>
#include <QPushButton>
#include <QTest>

#include "desktop_scale.h"
#include "panel_fixture.h"

namespace lorvane::test {
namespace {

// From the first start (10 kHz to 100 kHz by 1 kHz, a spot bias of 0, 500 mV), operator steps and
// the texts they leave: frequency and bias start, stop, step, the level (kHz, mV or the units
// clicked to), and the number of beeps.
TEST(FieldsTest, TypedValuesUnitsAndBarsAreCheckedAgainstTheLimitsAndEachOther) {
    const std::pair<const char*, const char*> cases[] = {
        // Limits are in hertz whatever the unit, with one beep each; the bounds pass quietly.
        {"uF0 uF0 F0=2", "5 100000 1000 0 500 10 500 1"},
        {"F1=20000", "10.000 13000.000 1.000 0 500 10 500 1"},
        {"F1=13000 F2=1001", "10.000 13000.000 1000.000 0 500 10 500 1"},
        {"F2=0", "10.000 100.000 0.001 0 500 10 500 1"},
        // Start and stop push each other; a step above the span becomes a tenth of it.
        {"F0=150 F1=5", "5.000 5.000 1.000 0 500 10 500 2"},
        {"F1=18 F2=8 F0=20", "20.000 20.000 0.200 0 500 10 500 2"},
        {"F0=abc", "10.000 100.000 1.000 0 500 10 500 0"},
        // Start and stop units change together; the step's is never larger than the start's.
        {"uF0 F1=12.999999", "0.010000 12.999999 1.000 0 500 10 500 0"},
        {"uF0 uF1", "10000 100000 1000 0 500 10 500 0"},
        {"uF2", "10.000 100.000 1000 0 500 10 500 0"},
        {"uF0 uF2", "0.010000 0.100000 0.001000 0 500 10 500 0"},
        {"uF0 uF2 uF2", "0.010000 0.100000 1000 0 500 10 500 0"},
        // The bars move one kilohertz from the text shown, and are checked like the fields.
        {"F0=10.5 +F0", "11.500 100.000 1.000 0 500 10 500 0"},
        {"F0=2.5 +F0 +F0 -F0 -F0 -F0", "1.500 100.000 1.000 0 500 10 500 0"},
        {"F1:9", "9.000 9.000 1.000 0 500 10 500 1"},
        // The automatic step: Lin or Log on the bar, and its unit ignores clicks.
        {"auto", "10.000 100.000 Lin 0 500 Lin 500 0"},
        {"auto +F2", "10.000 100.000 Log 0 500 Lin 500 0"},
        {"auto +F2 +F2 uF2", "10.000 100.000 Lin 0 500 Lin 500 0"},
        {"F2=2 auto +F2 auto", "10.000 100.000 1.000 0 500 10 500 0"},
        // Off again it brings back the units and the values from before; typed ones are lost.
        {"uF0 uF2 uB0 uB2 F0=0.02 B2=0.05 auto auto",
         "0.010000 0.100000 0.001000 0.000 0.500 0.010 500 0"},
        // Spot values leave the hidden stop and step alone; as starts they are checked again.
        {"B0=900", "10.000 100.000 1.000 900 500 10 500 0"},
        {"swB F0=200", "200.000 100.000 1.000 0 500 10 500 0"},
        {"swB B0=900", "10.000 100.000 1.000 900 900 10 500 2"},
        {"F0=200 swB", "200.000 200.000 1.000 0 500 10 500 1"},
        // Bias values are cut to 10 mV, within +-32 V and a step of 10 mV to 5 V.
        {"swB B1=5000 uB0 B0=1.234", "10.000 100.000 1.000 1.230 5.000 10 500 0"},
        {"swB B1=40000 B0=-40000 B2=6000", "10.000 100.000 1.000 -32000 32000 5000 500 3"},
        {"swB B2=3", "10.000 100.000 1.000 0 500 10 500 1"},
        {"swB uB0 uB2", "10.000 100.000 1.000 0.000 0.500 0.010 500 0"},
        {"swB B1:-100", "10.000 100.000 1.000 -100 -100 10 500 2"},
        {"swB B0=500", "10.000 100.000 1.000 500 500 50 500 1"},
        // A frequency sweep keeps the spot bias apart; the bias sweep gets its start back.
        {"swB B0=-250 swF B0=70 swB", "10.000 100.000 1.000 -250 500 10 500 0"},
        // The oscillator level: 5 mV to 1.1 V, on a 5 mV grid above 100 mV.
        {"O=50.5 F0=1", "1.000 100.000 1.000 0 500 10 50.5 0"},
        {"O=127", "10.000 100.000 1.000 0 500 10 125 0"},
        {"O=2000 O=loud", "10.000 100.000 1.000 0 500 10 1100 1"},
    };
    TempSettings settings;
    for (const auto& [steps, texts] : cases) {
        SCOPED_TRACE(steps);
        FakePlatform platform;
        MainWindow window{platform};
        restoreFrontPanel(window, QStringLiteral("Lorvane"));
        act(window, steps);
        QStringList shown;
        for (const auto* fields : {&window.controls().vFrq, &window.controls().vVlt})
            for (const auto* field : *fields) shown << field->text();
        shown << window.controls().vOsc->text() << QString::number(platform.beeps);
        EXPECT_EQ(shown.join(u' '), dec(texts));
        // With the automatic step, the step field says how the run will step.
        const FrontPanelState& state = window.state();
        EXPECT_TRUE(!state.AutoStep || state.LogStep == (shown[2] == u"Log"));
        EXPECT_FALSE(state.Updating);
    }
}

using SelectionsTest = PanelTest;

TEST_F(SelectionsTest, EveryParameterAndCircuitHeadsColumnsThreeAndFourAndEmptiesTheList) {
    const std::tuple<int, int, const char*> cases[] = {
        {0, 0, "Z (Ohm)|Phi (°)|Z|Phi|1"},  // already selected: the list stays
        {1, 1, "Ls (µH)|Q|Ls|Q|0"},        {2, 2, "Rp (Ohm)|Xp (Ohm)|Rp|Xp|0"},
        {3, 1, "Cs (nF)|D|Cs|D|0"},        {4, 1, "G (dB)|Phi (°)|G|Phi|0"},
        {5, 2, "G (dB)|D (µs)|G|D|0"},     {0, 0, "Z (Ohm)|Phi (°)|Z|Phi|0"},
    };
    for (const auto& [mode, circuit, texts] : cases) {
        window.results().addRow({"1", "1", "1", "1"});
        ui.lMod[size_t(mode)]->setChecked(true);
        ui.lCrm[size_t(circuit)]->setChecked(true);
        const QStringList shown{window.results().heading(3), window.results().heading(4),
                                state.QuantityLabel[1], state.QuantityLabel[2],
                                QString::number(window.results().rows())};
        EXPECT_EQ(shown.join(u'|'), QString::fromUtf8(texts)) << mode << circuit;
        EXPECT_EQ(state.SelectedMode * 10 + state.SelectedCircuit, mode * 10 + circuit);
        window.clearResults();
    }
    // Gain has no bias sweep and its own level; an impedance parameter brings them back.
    ui.lSwp[1]->setChecked(true);
    EXPECT_TRUE(ui.lFrq[1]->isHidden() && !ui.dVlt[2]->isHidden());
    ui.lMod[4]->setChecked(true);
    EXPECT_TRUE(state.SelectedSweep == 0 && ui.lSwp[1]->isHidden() && ui.dVlt[0]->isHidden());
    EXPECT_EQ(ui.vOsc->text(), "5");
    ui.lMod[3]->setChecked(true);
    EXPECT_FALSE(ui.vVlt[0]->isHidden() || ui.lSwp[1]->isHidden() || !ui.vVlt[1]->isHidden());
    EXPECT_EQ(ui.vOsc->text(), "500");
}

TEST_F(SelectionsTest, ARunLocksEverySetUpInputButNotConfigOrRun) {
    const auto enabled = [&] {
        QString flags;
        for (const QWidget* widget : std::initializer_list<QWidget*>{
                 ui.Opts, ui.vOsc, ui.vAuto, ui.lSwp[1], ui.lMod[0], ui.lMod[5], ui.lCrm[2],
                 ui.vFrq[0], ui.dFrq[1], ui.lFrq[2], ui.vFrq[2], ui.vVlt[2], ui.dVlt[1], ui.Config,
                 ui.Run[0], ui.Run[1]})
            flags += widget->isEnabled() ? u'1' : u'0';
        return flags;
    };
    window.EnablePanel(false);
    EXPECT_EQ(enabled(), "0000000000000111");
    window.EnablePanel(true);
    EXPECT_EQ(enabled(), "1111111111111111");
    // With the automatic step, unlocking gives back everything but the step fields.
    ui.vAuto->setChecked(true);
    window.EnablePanel(false);
    window.EnablePanel(true);
    EXPECT_EQ(enabled(), "1111111111001111");
}

using MainWindowLayout = PanelTest;

// On a 96-dpi desktop, or one at 200 % where everything is twice the size.
TEST_F(MainWindowLayout, GrowsWithTheScreenShowsWholeTextsAndKeepsLockedFieldsReadable) {
    ASSERT_EQ(desktopDpi() % 96, 0) << "the layout tests take whole scales";
    EXPECT_EQ(window.size(), QSize(630, 376) * (desktopDpi() / 96));
    EXPECT_EQ(window.font().pixelSize(), 10 * (desktopDpi() / 96));
    window.show();
    for (QWidget* control : std::initializer_list<QWidget*>{ui.lMod[3], ui.lMod[5], ui.lCrm[2],
                                                            ui.lSwp[1], ui.vAuto, ui.Opts, ui.lOsc})
        EXPECT_LE(control->sizeHint().width(), control->width())
            << control->property("text").toString().toStdString();
    // The longest texts of the fields: drawn at their own width, they look as they do in a
    // field wide enough for any text, up to the field's right border.
    const std::pair<QLineEdit*, const char*> longest[] = {
        {ui.vFrq[1], "13000.000"}, {ui.vFrq[2], "1.000000"}, {ui.vVlt[1], "-32000"}};
    for (const auto& [field, text] : longest) {
        field->setText(dec(text));
        const QImage own = field->grab().toImage();
        field->resize(field->width() * 3, field->height());
        const QRect shown(0, 0, own.width() - 3, own.height());
        EXPECT_EQ(field->grab().toImage().copy(shown), own.copy(shown)) << text;
    }
    // While a run goes the fields stay readable.
    window.EnablePanel(false);
    const QPalette& colours = ui.vOsc->palette();
    EXPECT_GE(contrastRatio(colours.color(QPalette::Disabled, QPalette::Text),
                            colours.color(QPalette::Disabled, QPalette::Base)),
              4.5);
}

TEST_F(MainWindowLayout, TabLeavesAFieldValidatingItAndSpaceClicksTheUnitLabelBehindTheBar) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ui.vFrq[0]->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(ui.vFrq[0], "2");  // over the selected text
    QTest::keyClick(ui.vFrq[0], Qt::Key_Tab);
    EXPECT_EQ(ui.vFrq[0]->text() + ' ' + QString::number(ui.dFrq[0]->value()), dec("2.000 2"));
    QTest::keyClick(ui.dFrq[0], Qt::Key_Tab);
    QTest::keyClick(ui.lFrq[0], Qt::Key_Space);
    EXPECT_EQ(ui.lFrq[1]->text(), "MHz");
    ui.vFrq[0]->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(ui.vFrq[0], dec("12.9999990"));  // typing stops at the unit's limit
    EXPECT_EQ(ui.vFrq[0]->text(), dec("12.999999"));
}

}  // namespace
}  // namespace lorvane::test
