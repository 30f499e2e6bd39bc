// The main window as the operator sees and reaches it: its size on the screen, texts that show
// whole, readable locked fields, and the keyboard.
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include "desktop_scale.h"
#include "panel_fixture.h"

namespace lorvane::test {
namespace {

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
    const std::pair<QLineEdit*, const char*> longest[] = {{ui.vFrq[1], "13000.000"},
                                                          {ui.vFrq[2], "1.000000"},
                                                          {ui.vVlt[1], "-32000"},
                                                          {ui.vOsc, "1100"}};
    for (const auto& [field, text] : longest) {
        field->setText(dec(text));
        const QImage own = field->grab().toImage();
        field->resize(field->width() * 3, field->height());
        const QRect shown(0, 0, own.width() - 3, own.height());
        EXPECT_EQ(field->grab().toImage().copy(shown), own.copy(shown)) << text;
    }
    // While a run goes every field stays readable.
    window.EnablePanel(false);
    for (const QLineEdit* field : {ui.vFrq[0], ui.vVlt[1], ui.vOsc}) {
        const QPalette& colours = field->palette();
        EXPECT_GE(contrastRatio(colours.color(QPalette::Disabled, QPalette::Text),
                                colours.color(QPalette::Disabled, QPalette::Base)),
                  4.5);
    }
}

using MainWindowEvents = PanelTest;

TEST_F(MainWindowEvents, LeavingAFieldValidatesItSpaceClicksAUnitAndTypingStopsAtTheLimit) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ui.vFrq[0]->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(ui.vFrq[0], "2");  // over the selected text
    QTest::keyClick(ui.vFrq[0], Qt::Key_Return);
    EXPECT_EQ(ui.vFrq[0]->text(), "2");  // Return leaves the text as typed
    QTest::keyClick(ui.vFrq[0], Qt::Key_Tab);
    EXPECT_EQ(ui.vFrq[0]->text() + ' ' + QString::number(ui.dFrq[0]->value()), dec("2.000 2"));
    // The unit label comes after the bar, and Space clicks it.
    QTest::keyClick(ui.dFrq[0], Qt::Key_Tab);
    QTest::keyClick(ui.lFrq[0], Qt::Key_Space);
    EXPECT_EQ(ui.lFrq[1]->text(), "MHz");
    act(window, "swB uB2 uB2");
    ui.vVlt[2]->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(ui.vVlt[2], "123456");
    EXPECT_EQ(ui.vVlt[2]->text(), "1234");
}

}  // namespace
}  // namespace lorvane::test
