#pragma once

#include <gtest/gtest.h>

#include <QCheckBox>
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
        const qsizetype at = step.at(0).isLetter() && step.at(0) != u'u' ? 0 : 1;
        const QChar kind = step.at(at);  // the field's letter
        const int i = at + 1 < step.size() ? step.at(at + 1).digitValue() : -1;
        const auto n = size_t(std::max(i, 0));
        QScrollBar* const bar = kind == u'F' ? ui.dFrq[n] : ui.dVlt[n];
        QLineEdit* const field = kind == u'F' ? ui.vFrq[n] : kind == u'B' ? ui.vVlt[n] : ui.vOsc;
        if (step == u"swB" || step == u"swF") {
            ui.lSwp[step == u"swB" ? 1 : 0]->setChecked(true);
        } else if (step == u"auto") {
            ui.vAuto->setChecked(!ui.vAuto->isChecked());
        } else if (step.startsWith(u'u')) {
            kind == u'F' ? window.frequency().lFrq_Click(i) : window.bias().lVlt_Click(i);
        } else if (at == 1) {
            bar->triggerAction(step.startsWith(u'+') ? QAbstractSlider::SliderSingleStepAdd
                                                     : QAbstractSlider::SliderSingleStepSub);
        } else if (step.contains(u':')) {
            bar->setValue(step.section(u':', 1).toInt());
        } else {
            if (kind == u'F') window.frequency().vFrq_GotFocus(i);
            if (kind == u'B') window.bias().vVlt_GotFocus(i);
            if (kind == u'O') window.oscillator().vOsc_GotFocus();
            field->setText(step.section(u'=', 1).replace(u'.', QLocale().decimalPoint()));
            if (kind == u'F') window.frequency().vFrq_Validate(i);
            if (kind == u'B') window.bias().vVlt_Validate(i);
            if (kind == u'O') window.oscillator().vOsc_Validate();
        }
    }
}

// A main window with its own settings store, as a start leaves it: the defaults restored.
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
