#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <set>

#include "panel_fixture.h"
#include "plot_box.h"
#include "status_panels.h"

namespace lorvane::test {
namespace {

using MainWindowLayout = PanelTest;

TEST_F(MainWindowLayout, ControlsSitInTheirContainersAtTheirDesignedPixels) {
    // Twips at 15 to the pixel, relative to the container.
    EXPECT_EQ(window.size(), QSize(630, 376));
    const std::vector<std::tuple<QWidget*, QWidget*, QRect>> places{
        {ui.lFrm[0], &window, QRect(0, 0, 628, 80)},
        {ui.lFrm[1], ui.lFrm[0], QRect(5, 8, 62, 66)},
        {ui.lMod[3], ui.lFrm[1], QRect(32, 29, 26, 17)},
        {ui.lMod[4], ui.lFrm[1], QRect(2, 46, 26, 17)},
        {ui.lFrm[3], ui.lFrm[0], QRect(70, 8, 62, 66)},
        {ui.lCrm[2], ui.lFrm[3], QRect(2, 46, 54, 17)},
        {ui.lFrm[2], ui.lFrm[0], QRect(136, 8, 353, 67)},
        {ui.lSwp[1], ui.lFrm[2], QRect(2, 41, 43, 17)},
        {ui.vFrq[1], ui.lFrm[2], QRect(148, 18, 58, 19)},
        {ui.dFrq[2], ui.lFrm[2], QRect(303, 18, 17, 19)},
        {ui.lFrq[0], ui.lFrm[2], QRect(121, 20, 26, 16)},
        {ui.vVlt[2], ui.lFrm[2], QRect(252, 41, 50, 19)},
        {ui.lVlt[1], ui.lFrm[2], QRect(225, 43, 26, 16)},
        {ui.vAuto, &window, QRect(440, 8, 42, 17)},
        {ui.Opts, ui.lFrm[0], QRect(493, 16, 81, 17)},
        {ui.fOsc, ui.lFrm[0], QRect(491, 34, 73, 41)},
        {ui.vOsc, ui.fOsc, QRect(8, 16, 39, 19)},
        {ui.lOsc, ui.fOsc, QRect(48, 19, 20, 17)},
        {ui.Config, ui.lFrm[0], QRect(576, 8, 49, 17)},
        {ui.Run[1], ui.lFrm[0], QRect(576, 40, 49, 17)},
        {ui.Run[0], ui.lFrm[0], QRect(576, 57, 49, 17)},
        {ui.Data, &window, QRect(0, 83, 234, 277)},
        {ui.fDraw, &window, QRect(233, 82, 396, 276)},
        {ui.StatusBar, &window, QRect(0, 359, 630, 17)},
    };
    for (const auto& [control, container, place] : places) {
        EXPECT_EQ(control->parentWidget(), container) << control->metaObject()->className();
        EXPECT_EQ(control->geometry(), place) << control->metaObject()->className();
    }
    EXPECT_EQ(ui.lTag[1]->pos(), QPoint(144, 0));
}

TEST_F(MainWindowLayout, CaptionsAndTooltips) {
    const char* modes[] = {"Z", "L", "R", "C", "G", "D"};
    const char* modeTips[] = {"Impedance",   "Inductance", "Resistance",
                              "Capacitance", "Gain",       "Delay"};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(ui.lMod[i]->text(), modes[i]);
        EXPECT_EQ(ui.lMod[i]->toolTip(), modeTips[i]);
    }
    EXPECT_EQ(ui.lFrm[1]->toolTip(), "Measure parameter");
    EXPECT_EQ(ui.lTag[2]->toolTip(), "Step Value");
    EXPECT_EQ(ui.vFrq[2]->toolTip(), "Enter Step for Frequency sweeping");
    EXPECT_EQ(ui.lFrq[1]->toolTip(), "Click to change unit");
    EXPECT_EQ(ui.lVlt[2]->toolTip(), "Click left to change unit");
    EXPECT_EQ(ui.fOsc->title(), "Oscillator");
    EXPECT_EQ(ui.Run[0]->text(), "&Run");
    EXPECT_EQ(ui.Run[0]->toolTip(), "Run final measurement");
    EXPECT_EQ(ui.Run[1]->text(), "&Ref.");
    EXPECT_EQ(ui.Run[1]->toolTip(), "Run & Store Reference measure");
}

TEST_F(MainWindowLayout, InitialLayoutBeforeStartUp) {
    EXPECT_TRUE(ui.lMod[0]->isChecked());
    EXPECT_TRUE(ui.lCrm[0]->isChecked());
    EXPECT_TRUE(ui.lSwp[1]->isChecked());
    EXPECT_EQ(biasUnit(0), "V");
    EXPECT_EQ(frequencyUnit(2), "kHz");
    EXPECT_EQ(ui.vFrq[0]->typingLimit(), 0);
}

TEST_F(MainWindowLayout, ColoursAndFonts) {
    const QColor grey(224, 224, 224);
    const QColor red(255, 0, 0);
    EXPECT_EQ(colorFromBgr(0xFFFF00), QColor(0, 255, 255));
    EXPECT_EQ(colorFromBgr(0x0000FF), red);
    EXPECT_EQ(background(ui.vFrq[0]), grey);
    EXPECT_EQ(background(ui.lVlt[2]), grey);
    EXPECT_TRUE(ui.lFrq[1]->font().bold());
    EXPECT_EQ(ui.fOsc->palette().color(QPalette::WindowText), red);
    EXPECT_EQ(ui.vOsc->palette().color(QPalette::Text), red);
    EXPECT_TRUE(ui.vOsc->font().bold());
    EXPECT_FALSE(ui.lMod[0]->font().bold());
    EXPECT_EQ(window.font().pixelSize(), 10);
}

TEST_F(MainWindowLayout, FocusOrder) {
    std::vector<QWidget*> expected(ui.lMod.begin(), ui.lMod.end());
    expected.insert(expected.end(), ui.lSwp.begin(), ui.lSwp.end());
    expected.insert(expected.end(), {ui.vFrq[0], ui.dFrq[0], ui.vFrq[1], ui.dFrq[1], ui.vFrq[2],
                                     ui.dFrq[2], ui.vVlt[0], ui.dVlt[0], ui.vVlt[1], ui.dVlt[1],
                                     ui.vVlt[2], ui.dVlt[2], ui.vOsc,    ui.Config,  ui.Run[0],
                                     ui.Data,    ui.fDraw,   ui.Run[1],  ui.Opts,    ui.vAuto});
    expected.insert(expected.end(), ui.lCrm.begin(), ui.lCrm.end());
    const std::set<QWidget*> members(expected.begin(), expected.end());
    std::vector<QWidget*> chain;
    QWidget* widget = expected.front();
    do {
        if (members.count(widget)) chain.push_back(widget);
        widget = widget->nextInFocusChain();
    } while (widget != expected.front());
    EXPECT_EQ(chain, expected);
    for (QWidget* member : expected) EXPECT_NE(member->focusPolicy() & Qt::TabFocus, 0);
}

TEST_F(MainWindowLayout, ResultsListHasFourColumnsWithTheKeyHidden) {
    ASSERT_EQ(ui.Data->model(), &window.results());
    EXPECT_EQ(window.results().columnCount(), 4);
    EXPECT_EQ(window.results().heading(1), "X");
    EXPECT_TRUE(ui.Data->isColumnHidden(0));
    EXPECT_FALSE(ui.Data->isColumnHidden(1));
    window.results().addRow({dec("000020.000"), dec("20.000"), "b", "b"});
    window.results().addRow({dec("000010.000"), dec("10.000"), "a", "a"});
    EXPECT_EQ(window.results().cell(0, 2), dec("10.000"));
    window.clearResults();
    EXPECT_EQ(window.results().rows(), 0);
    EXPECT_EQ(window.results().heading(1), "X");
}

TEST_F(MainWindowLayout, StatusBarPanelsWithTheirTextsAndWidths) {
    StatusPanels* bar = ui.StatusBar;
    EXPECT_EQ(bar->panelText("IN"), "");
    EXPECT_EQ(bar->panelText("DAT1"), "DATA 1");
    EXPECT_EQ(bar->panelText("DAT2"), "DATA 2");
    EXPECT_EQ(bar->panelText("HELP"), "CTRL-C: Copy / CTRL-E: Excel ");
    EXPECT_EQ(bar->panel("HELP")->toolTip(), "CTRL-C: Copy / CTRL-E: Excel ");
    EXPECT_EQ(bar->panel(""), nullptr);  // the unnamed panel has no key
    EXPECT_EQ(mmToPixels(25.40, 120), 120);
    ASSERT_EQ(window.logicalDpiX(), 96);
    const int widths[] = {96, 96, 96, 161, 158};
    for (int i = 0; i < StatusPanels::kPanels; ++i) EXPECT_EQ(bar->panelAt(i)->width(), widths[i]);
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

TEST_F(MainWindowEvents, LeavingAFieldValidatesIt) {
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
    EXPECT_EQ(frequencyBar(0), 2);
}

TEST_F(MainWindowEvents, LettersTypedRevertWhenTheFieldIsLeft) {
    focus(ui.vVlt[0]);
    QTest::keyClicks(ui.vVlt[0], "abc");
    focus(ui.vOsc);
    EXPECT_EQ(biasText(0), "0");
    QTest::keyClicks(ui.vOsc, "x");
    focus(ui.vFrq[0]);
    EXPECT_EQ(ui.vOsc->text(), "500");
    EXPECT_EQ(platform.beeps, 0);
}

TEST_F(MainWindowEvents, TypingStopsAtTheUnitsLimit) {
    QTest::mouseClick(ui.lFrq[0], Qt::LeftButton);
    QTest::mouseClick(ui.lFrq[0], Qt::LeftButton);
    ASSERT_EQ(frequencyUnit(0), "Hz");
    focus(ui.vFrq[0]);
    QTest::keyClicks(ui.vFrq[0], "1234567890");
    EXPECT_EQ(frequencyText(0), "12345678");
}

TEST_F(MainWindowEvents, UnitLabelsAndOptionButtonsAnswerTheMouse) {
    QTest::mouseClick(ui.lVlt[0], Qt::LeftButton);
    EXPECT_EQ(biasUnit(0), "V");
    EXPECT_EQ(biasUnit(1), "V");
    window.results().addRow({"1", "1", "1", "1"});
    QTest::mouseClick(ui.lMod[0], Qt::LeftButton);  // already selected
    EXPECT_EQ(window.results().rows(), 1);
    QTest::mouseClick(ui.lMod[1], Qt::LeftButton);
    EXPECT_EQ(state.SelectedMode, 1);
    EXPECT_EQ(window.results().rows(), 0);
    QTest::mouseClick(ui.vAuto, Qt::LeftButton);
    EXPECT_TRUE(state.AutoStep);
    EXPECT_EQ(frequencyText(2), "Lin");
}

TEST_F(MainWindowEvents, DisabledPanelIgnoresClicks) {
    window.EnablePanel(false);
    QTest::mouseClick(ui.lFrq[0], Qt::LeftButton);
    QTest::mouseClick(ui.lMod[2], Qt::LeftButton);
    EXPECT_EQ(frequencyUnit(0), "kHz");
    EXPECT_EQ(state.SelectedMode, 0);
}

}  // namespace
}  // namespace lorvane::test
