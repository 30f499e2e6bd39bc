#pragma once

#include <gtest/gtest.h>

#include <QLabel>
#include <QLocale>
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
    return QString::fromLatin1(text).replace(u'.', QLocale().decimalPoint());
}

// A main window with a settings store of its own, started as a normal start leaves it: the
// saved set-up (the defaults unless a test writes its own first) restored into the front panel.
class PanelTest : public ::testing::Test {
  protected:
    static constexpr const char* kKey = "Lorvane";

    TempSettings settings;
    FakePlatform platform;
    MainWindow window{platform};
    const PanelControls& ui = window.controls();
    FrontPanelState& state = window.state();

    void TearDown() override { QLocale::setDefault(savedLocale_); }

    void start() { restoreFrontPanel(window, QString::fromLatin1(kKey)); }
    static void useGerman() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    // Types `text` into a field and leaves it, as the operator would with Tab: the field gets
    // the focus, takes the text and is validated.
    void enterFrequency(int index, const QString& text) {
        window.frequency().vFrq_GotFocus(index);
        ui.vFrq[static_cast<size_t>(index)]->setText(text);
        window.frequency().vFrq_Validate(index);
    }
    void enterBias(int index, const QString& text) {
        window.bias().vVlt_GotFocus(index);
        ui.vVlt[static_cast<size_t>(index)]->setText(text);
        window.bias().vVlt_Validate(index);
    }
    void enterOscillator(const QString& text) {
        window.oscillator().vOsc_GotFocus();
        ui.vOsc->setText(text);
        window.oscillator().vOsc_Validate();
    }

    QString frequencyText(int index) const { return ui.vFrq[static_cast<size_t>(index)]->text(); }
    QString frequencyUnit(int index) const { return ui.lFrq[static_cast<size_t>(index)]->text(); }
    int frequencyBar(int index) const { return ui.dFrq[static_cast<size_t>(index)]->value(); }
    QString biasText(int index) const { return ui.vVlt[static_cast<size_t>(index)]->text(); }
    QString biasUnit(int index) const { return ui.lVlt[static_cast<size_t>(index)]->text(); }
    int biasBar(int index) const { return ui.dVlt[static_cast<size_t>(index)]->value(); }

    // Whether a control would show with the window; the window itself is never shown here.
    static bool shown(const QWidget* widget) { return !widget->isHidden(); }

  private:
    QLocale savedLocale_;
};

}  // namespace lorvane::test
