#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLocale>
#include <QRadioButton>
#include <QScrollBar>

#include "fake_platform.h"
#include "front_panel_restore.h"
#include "main_window.h"
#include "panel_widgets.h"
#include "result_table.h"
#include "scoped_env.h"

namespace lorvane::test {

// The expected display text in the locale the test runs under: "." becomes the locale's
// decimal separator.
inline QString dec(const char* text) {
    return QString::fromUtf8(text).replace(u'.', QLocale().decimalPoint());
}

// Operator steps, separated by blanks: "F0=1.5" types 1.5 (with the locale's separator) into
// frequency field 0 as the operator would with Tab: the field gets the focus, takes the text
// and is validated ("B" bias, "O" the oscillator); "uF0" clicks the unit label;
// "+F0" and "-F0" click the bar's arrows; "F1:9" moves the bar to 9; "swB" and "swF" select
// the sweep; "auto" ticks or unticks the automatic step.
inline void act(MainWindow& window, const char* script) {
    const PanelControls& ui = window.controls();
    for (const QString& step : QString::fromLatin1(script).split(u' ', Qt::SkipEmptyParts)) {
        const auto index = [&](qsizetype at) { return step.at(at).digitValue(); };
        const auto bar = [&](qsizetype at) -> QScrollBar* {
            const auto i = static_cast<size_t>(index(at + 1));
            return step.at(at) == u'F' ? ui.dFrq[i] : ui.dVlt[i];
        };
        if (step == u"swB" || step == u"swF") {
            ui.lSwp[step == u"swB" ? 1 : 0]->setChecked(true);
        } else if (step == u"auto") {
            ui.vAuto->setChecked(!ui.vAuto->isChecked());
        } else if (step.startsWith(u'u')) {
            if (step.at(1) == u'F')
                window.frequency().lFrq_Click(index(2));
            else
                window.bias().lVlt_Click(index(2));
        } else if (step.startsWith(u'+') || step.startsWith(u'-')) {
            bar(1)->triggerAction(step.startsWith(u'+') ? QAbstractSlider::SliderSingleStepAdd
                                                        : QAbstractSlider::SliderSingleStepSub);
        } else if (step.contains(u':')) {
            bar(0)->setValue(step.section(u':', 1).toInt());
        } else {
            const QString text = step.section(u'=', 1).replace(u'.', QLocale().decimalPoint());
            const int i = index(1);
            if (step.at(0) == u'F') window.frequency().vFrq_GotFocus(i);
            if (step.at(0) == u'B') window.bias().vVlt_GotFocus(i);
            if (step.at(0) == u'O') window.oscillator().vOsc_GotFocus();
            (step.at(0) == u'F'   ? ui.vFrq[size_t(i)]
             : step.at(0) == u'B' ? ui.vVlt[size_t(i)]
                                  : ui.vOsc)
                ->setText(text);
            if (step.at(0) == u'F') window.frequency().vFrq_Validate(i);
            if (step.at(0) == u'B') window.bias().vVlt_Validate(i);
            if (step.at(0) == u'O') window.oscillator().vOsc_Validate();
        }
    }
}

// A main window with a settings store of its own, started as a normal start leaves it: the
// saved set-up (the defaults) restored into the front panel.
class PanelTest : public ::testing::Test {
  protected:
    TempSettings settings;
    FakePlatform platform;
    MainWindow window{platform};
    const PanelControls& ui = window.controls();
    FrontPanelState& state = window.state();

    void SetUp() override { restoreFrontPanel(window, QStringLiteral("Lorvane")); }
};

}  // namespace lorvane::test
