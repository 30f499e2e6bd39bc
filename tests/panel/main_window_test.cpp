#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

#include "desktop_scale.h"
#include "panel_fixture.h"
#include "plot_box.h"
#include "status_panels.h"

namespace lorvane::test {
namespace {

// The window as it is laid out on this test's desktop: 96 dpi, or 192 dpi in the runs at 200 %,
// where everything is twice the size.
class MainWindowLayout : public PanelTest {
  protected:
    static int scale() { return desktopDpi() / 96; }
    // `actual` pixels against `at96` pixels of the layout on a 96-dpi screen: the same twips make
    // `scale` times as many pixels, give or take the rounding of one.
    static bool inProportion(int actual, int at96) {
        return actual >= at96 * scale() && actual < (at96 + 1) * scale();
    }
    static bool inProportion(const QRect& actual, const QRect& at96) {
        return inProportion(actual.x(), at96.x()) && inProportion(actual.y(), at96.y()) &&
               inProportion(actual.width(), at96.width()) &&
               inProportion(actual.height(), at96.height());
    }
};

// Whether a field shows its whole text: drawn at its own width, the text looks as it does in a
// field wide enough for any text, up to the field's right border.
bool showsWhole(QLineEdit* field) {
    const QSize size = field->size();
    const QImage own = field->grab().toImage();
    field->resize(size.width() * 3, size.height());
    const QImage wide = field->grab().toImage();
    field->resize(size);
    const QRect text(0, 0, own.width() - 3, own.height());
    return own.copy(text) == wide.copy(text);
}

TEST_F(MainWindowLayout, TheWindowAndItsFontGrowWithTheScreen) {
    ASSERT_EQ(desktopDpi() % 96, 0) << "the layout tests take whole scales";
    EXPECT_TRUE(inProportion(QRect(QPoint(), window.size()), QRect(0, 0, 630, 376)));
    EXPECT_TRUE(inProportion(ui.Data->geometry(), QRect(0, 83, 234, 277)));
    EXPECT_EQ(window.font().pixelSize(), 10 * scale());
    EXPECT_TRUE(inProportion(ui.StatusBar->panelAt(3)->width(), 161));
}

TEST_F(MainWindowLayout, CaptionsAndFieldTextsShowWhole) {
    start();
    window.show();
    std::vector<QWidget*> captioned(ui.lMod.begin(), ui.lMod.end());
    captioned.insert(captioned.end(), ui.lCrm.begin(), ui.lCrm.end());
    captioned.insert(captioned.end(), ui.lSwp.begin(), ui.lSwp.end());
    captioned.insert(captioned.end(), {ui.vAuto, ui.Opts, ui.lOsc});
    for (QWidget* control : captioned)
        EXPECT_LE(control->sizeHint().width(), control->width())
            << control->property("text").toString().toStdString();
    const auto unitsFit = [](QLabel* label, std::initializer_list<const char*> units) {
        for (const char* unit : units) {
            label->setText(QString::fromLatin1(unit));
            EXPECT_LE(label->sizeHint().width(), label->width()) << unit;
        }
    };
    for (size_t i = 0; i < 3; ++i) {
        unitsFit(ui.lFrq[i], {"Hz", "kHz", "MHz"});
        unitsFit(ui.lVlt[i], {"mV", "V"});
    }
    // Each field with the longest texts its units give it.
    const std::vector<std::pair<QLineEdit*, std::vector<const char*>>> fields{
        {ui.vFrq[1], {"13000.000", "12.999999", "13000000"}},
        {ui.vFrq[2], {"1000.000", "1.000000", "1000000"}},
        {ui.vVlt[1], {"-32000", "-32.000"}},
        {ui.vVlt[2], {"5000", "5.000"}},
        {ui.vOsc, {"1100"}},
    };
    for (const auto& [field, texts] : fields) {
        for (const char* text : texts) {
            field->setText(dec(text));
            EXPECT_TRUE(showsWhole(field)) << text;
        }
    }
}

TEST(ColourMath, BgrColoursAndTheWcagContrastRatio) {
    EXPECT_EQ(colorFromBgr(0xFFFF00), QColor(0, 255, 255));
    EXPECT_EQ(colorFromBgr(0x0000FF), QColor(255, 0, 0));
    const std::vector<std::tuple<QColor, QColor, double>> pairs{
        {Qt::white, Qt::black, 21.0},
        {QColor(0x76, 0x76, 0x76), Qt::white, 4.54},
        {QColor(0, 0, 255), Qt::white, 8.59},
        {QColor(10, 10, 10), Qt::black, 1.06},  // dark channels count linearly
    };
    for (const auto& [first, second, ratio] : pairs)
        EXPECT_NEAR(contrastRatio(first, second), ratio, 0.005) << first.name().toStdString();
}

TEST_F(MainWindowLayout, DisabledFieldsStayReadableAndTheOscillatorShowsIt) {
    start();
    window.show();
    const QImage oscillator = ui.vOsc->grab().toImage();
    // While a run goes, with the automatic step: "Lin" on cyan in the step fields.
    ui.vAuto->setChecked(true);
    window.EnablePanel(false);
    std::vector<QLineEdit*> fields(ui.vFrq.begin(), ui.vFrq.end());
    fields.insert(fields.end(), ui.vVlt.begin(), ui.vVlt.end());
    fields.push_back(ui.vOsc);
    for (QLineEdit* field : fields) {
        const QPalette& colours = field->palette();
        EXPECT_GE(contrastRatio(colours.color(QPalette::Disabled, QPalette::Text),
                                colours.color(QPalette::Disabled, QPalette::Base)),
                  4.5)
            << field->text().toStdString();
    }
    EXPECT_EQ(background(ui.vFrq[2]), colorFromBgr(kAutoStepCyan));
    EXPECT_NE(ui.vOsc->grab().toImage(), oscillator);
    window.EnablePanel(true);
    EXPECT_EQ(ui.vOsc->grab().toImage(), oscillator);
}

// The handlers as the operator reaches them: clicks, typing and the focus moving on.
class MainWindowEvents : public PanelTest {
  protected:
    void SetUp() override {
        start();
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    void focus(QWidget* widget) {
        widget->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(widget->hasFocus());
    }
};

TEST_F(MainWindowEvents, LeavingAFieldValidatesItAndSpaceClicksAUnitLabel) {
    focus(ui.vFrq[0]);
    EXPECT_EQ(state.FocusText, dec("10.000"));
    EXPECT_EQ(ui.vFrq[0]->selectedText(), dec("10.000"));
    QTest::keyClicks(ui.vFrq[0], "2");
    QTest::keyClick(ui.vFrq[0], Qt::Key_Return);
    // Return leaves the text as typed; only leaving the field checks it.
    EXPECT_EQ(frequencyText(0), "2");
    QTest::keyClick(ui.vFrq[0], Qt::Key_Tab);
    EXPECT_TRUE(ui.dFrq[0]->hasFocus());
    EXPECT_EQ(frequencyText(0), dec("2.000"));
    EXPECT_EQ(ui.dFrq[0]->value(), 2);
    // The unit label comes next, and Space clicks it.
    QTest::keyClick(ui.dFrq[0], Qt::Key_Tab);
    QTest::keyClick(ui.lFrq[0], Qt::Key_Space);
    EXPECT_EQ(frequencyUnit(1), "MHz");
    focus(ui.vOsc);
    EXPECT_EQ(ui.vOsc->selectedText(), "500");
}

TEST_F(MainWindowEvents, TypingStopsAtTheLimitOfTheFieldsOwnUnit) {
    const auto type = [this](QLineEdit* field, const char* text) {
        focus(field);
        field->selectAll();
        QTest::keyClicks(field, dec(text));
        return field->text();
    };
    act(window, "uF0 uF0");  // Hz
    EXPECT_EQ(type(ui.vFrq[0], "1234567890"), "12345678");
    // Start and stop in MHz; the step's own unit changes leave their limit alone.
    act(window, "uF0 uF0 uF2 uF2 uF2");
    EXPECT_EQ(type(ui.vFrq[1], "12.9999990"), dec("12.999999"));
    // Bias start and stop in V: a step going back to mV leaves their limit too.
    act(window, "swB uB0 uB2 uB2");
    EXPECT_EQ(type(ui.vVlt[0], "-32.0000"), dec("-32.000"));
    EXPECT_EQ(type(ui.vVlt[2], "123456"), "1234");
}

TEST_F(MainWindowEvents, TheMouseReachesLabelsAndButtonsUnlessThePanelIsDisabled) {
    window.results().addRow({"1", "1", "1", "1"});
    QTest::mouseClick(ui.lMod[0], Qt::LeftButton);  // already selected
    EXPECT_EQ(window.results().rows(), 1);
    window.EnablePanel(false);
    QTest::mouseClick(ui.lFrq[0], Qt::LeftButton);
    QTest::mouseClick(ui.lMod[2], Qt::LeftButton);
    EXPECT_EQ(frequencyUnit(0), "kHz");
    EXPECT_EQ(state.SelectedMode, 0);
    window.EnablePanel(true);
    QTest::mouseClick(ui.lVlt[0], Qt::LeftButton);
    EXPECT_EQ(biasUnit(1), "V");
    QTest::mouseClick(ui.lMod[1], Qt::LeftButton);
    EXPECT_EQ(state.SelectedMode, 1);
    EXPECT_EQ(window.results().rows(), 0);
    QTest::mouseClick(ui.vAuto, Qt::LeftButton);
    EXPECT_EQ(frequencyText(2), "Lin");
}

}  // namespace
}  // namespace lorvane::test
