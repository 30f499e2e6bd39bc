// The main window as the operator sees and reaches it: its size on the screen, texts that show
// whole, readable locked fields, and the keyboard.
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include "desktop_scale.h"
#include "panel_fixture.h"
#include "status_panels.h"

namespace lorvane::test {
namespace {

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

using MainWindowLayout = PanelTest;

// On a 96-dpi desktop, or one at 200 % where everything is twice the size.
TEST_F(MainWindowLayout, GrowsWithTheScreenShowsWholeTextsAndKeepsLockedFieldsReadable) {
    const int scale = desktopDpi() / 96;
    ASSERT_EQ(desktopDpi() % 96, 0) << "the layout tests take whole scales";
    EXPECT_EQ(window.size(), QSize(630, 376) * scale);
    EXPECT_EQ(window.font().pixelSize(), 10 * scale);
    window.show();
    std::vector<QWidget*> captioned(ui.lMod.begin(), ui.lMod.end());
    captioned.insert(captioned.end(), ui.lCrm.begin(), ui.lCrm.end());
    captioned.insert(captioned.end(), {ui.lSwp[0], ui.lSwp[1], ui.vAuto, ui.Opts, ui.lOsc});
    for (QWidget* control : captioned)
        EXPECT_LE(control->sizeHint().width(), control->width())
            << control->property("text").toString().toStdString();
    // Each field with the longest texts its units give it.
    const std::vector<std::pair<QLineEdit*, std::vector<const char*>>> fields{
        {ui.vFrq[1], {"13000.000", "12.999999", "13000000"}},
        {ui.vFrq[2], {"1000.000", "1.000000", "1000000"}},
        {ui.vVlt[1], {"-32000", "-32.000"}},
        {ui.vOsc, {"1100"}},
    };
    for (const auto& [field, texts] : fields) {
        for (const char* text : texts) {
            field->setText(dec(text));
            EXPECT_TRUE(showsWhole(field)) << text;
        }
    }
    // While a run goes: "Lin" on cyan in the step fields, every field readable.
    ui.vAuto->setChecked(true);
    window.EnablePanel(false);
    for (const QLineEdit* field : {ui.vFrq[0], ui.vFrq[2], ui.vVlt[1], ui.vOsc}) {
        const QPalette& colours = field->palette();
        EXPECT_GE(contrastRatio(colours.color(QPalette::Disabled, QPalette::Text),
                                colours.color(QPalette::Disabled, QPalette::Base)),
                  4.5)
            << field->text().toStdString();
    }
}

using MainWindowEvents = PanelTest;

TEST_F(MainWindowEvents, LeavingAFieldValidatesItAndSpaceClicksAUnitLabel) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ui.vFrq[0]->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(ui.vFrq[0]->selectedText(), dec("10.000"));
    QTest::keyClicks(ui.vFrq[0], "2");
    QTest::keyClick(ui.vFrq[0], Qt::Key_Return);
    EXPECT_EQ(ui.vFrq[0]->text(), "2");  // Return leaves the text as typed
    QTest::keyClick(ui.vFrq[0], Qt::Key_Tab);
    EXPECT_EQ(ui.vFrq[0]->text(), dec("2.000"));
    EXPECT_EQ(ui.dFrq[0]->value(), 2);
    // The unit label comes after the bar, and Space clicks it.
    QTest::keyClick(ui.dFrq[0], Qt::Key_Tab);
    QTest::keyClick(ui.lFrq[0], Qt::Key_Space);
    EXPECT_EQ(ui.lFrq[1]->text(), "MHz");
    // Typing stops at the limit of the field's own unit.
    act(window, "swB uB2 uB2");
    ui.vVlt[2]->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(ui.vVlt[2], "123456");
    EXPECT_EQ(ui.vVlt[2]->text(), "1234");
}

}  // namespace
}  // namespace lorvane::test
