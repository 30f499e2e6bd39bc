#include "conf_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "cls_gpib.h"
#include "desktop_scale.h"
#include "fake_platform.h"
#include "scoped_env.h"

namespace lorvane {
namespace {

using test::FakePlatform;

// Below the owner when it fits (20 twips below it), above it when it would run off the screen.
TEST(ConfPosition, BelowTheOwnerOrAboveItWhenItWouldRunOffTheScreen) {
    EXPECT_EQ(confPosition(QRect(300, 1500, 9450, 5640), 1785, 12000), QPoint(400, 7160));
    EXPECT_EQ(confPosition(QRect(300, 4000, 9450, 5640), 1785, 11000), QPoint(400, 2195));
}

class ConfTest : public ::testing::Test {
  protected:
    FakePlatform platform;
    ClsGPIB link{platform};
    Conf dialog{platform, QRect(0, 1500, 9450, 5640)};

    ConfTest() {
        link.Initialize(nullptr, nullptr);
        link.setBrd(3);
        link.setPad(17);
        dialog.setCnx(&link);
    }
};

TEST_F(ConfTest, OpensWithTheLinkValuesAndTheBoxNamesThePortOrTheBoard) {
    dialog.show();
    EXPECT_EQ(dialog.vVal(0)->text(), QStringLiteral("3"));
    EXPECT_EQ(dialog.vVal(1)->text(), QStringLiteral("17"));
    EXPECT_EQ(dialog.vVal(0)->selectedText(), QStringLiteral("3"));
    EXPECT_FALSE(dialog.vCrd()->isChecked());
    dialog.vCrd()->click();
    EXPECT_EQ(dialog.lbl(0)->text(), QStringLiteral("COM:"));
    dialog.vCrd()->click();
    EXPECT_EQ(dialog.lbl(0)->text(), QStringLiteral("Board:"));

    link.setCrd(1);
    Conf adapter{platform, QRect(0, 1500, 9450, 5640)};
    adapter.setCnx(&link);
    adapter.show();
    EXPECT_TRUE(adapter.vCrd()->isChecked());
    EXPECT_EQ(adapter.lbl(0)->text(), QStringLiteral("COM:"));
}

TEST_F(ConfTest, CaptionsShowWholeAndTheDialogGrowsWithTheScreen) {
    dialog.show();
    const int scale = test::desktopDpi() / 96;
    EXPECT_EQ(dialog.size(), QSize(102, 119) * scale);
    for (const bool adapter : {false, true}) {
        dialog.vCrd()->setChecked(adapter);  // the first label reads "Board:" or "COM:"
        for (QWidget* control :
             std::initializer_list<QWidget*>{dialog.vCrd(), dialog.lbl(0), dialog.lbl(1)})
            EXPECT_LE(control->sizeHint().width(), control->width())
                << control->objectName().toStdString();
    }
}

TEST_F(ConfTest, ALetterRestoresThePreviousNumberAtOnce) {
    dialog.show();
    QTest::keyClick(dialog.vVal(1), Qt::Key_End);
    QTest::keyClick(dialog.vVal(1), Qt::Key_X);
    EXPECT_EQ(dialog.vVal(1)->text(), QStringLiteral("17"));
    dialog.vVal(1)->clear();
    EXPECT_EQ(dialog.vVal(1)->text(), QStringLiteral("17"));
    dialog.vVal(1)->setText(QStringLiteral("32767"));  // the largest 16-bit number
    dialog.vVal(1)->setText(QStringLiteral("32768"));  // no 16-bit number: refused
    EXPECT_EQ(dialog.vVal(1)->text(), QStringLiteral("32767"));
}

TEST_F(ConfTest, TestOnAMissingPortReportsBothFailures) {
    QTemporaryDir emptyRuntime;  // no COM link in it
    test::ScopedEnv runtime("XDG_RUNTIME_DIR", emptyRuntime.path().toLocal8Bit());
    dialog.show();
    dialog.vCrd()->click();
    dialog.vVal(0)->setText(QStringLiteral("93"));
    dialog.testButton()->click();

    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("Serial port open error"));
    EXPECT_EQ(platform.messages[1].text, QStringLiteral("Unable to open device"));
    EXPECT_EQ(platform.messages[1].title, QStringLiteral("GPIB Test"));
    EXPECT_EQ(platform.messages[1].icon, MsgIcon::Critical);
    EXPECT_EQ(dialog.state()->text(), QString());
    EXPECT_EQ(link.Crd(), 1);
    EXPECT_EQ(link.Brd(), 93);
    EXPECT_EQ(link.Hdl(), 93);  // a failed adapter open keeps the port number until closed
}

TEST_F(ConfTest, TestWithoutALinkOnlyReports) {
    Conf orphan(platform, QRect(0, 1500, 9450, 5640));
    orphan.show();
    orphan.testButton()->click();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, QStringLiteral("Unable to open device"));
}

TEST_F(ConfTest, OkCopiesTheBoxesIntoTheLink) {
    dialog.show();
    dialog.vCrd()->click();
    dialog.vVal(0)->setText(QStringLiteral("4"));
    dialog.vVal(1)->setText(QStringLiteral("9"));
    dialog.okButton()->click();
    EXPECT_EQ(link.Crd(), 1);
    EXPECT_EQ(link.Brd(), 4);
    EXPECT_EQ(link.pad(), 9);
    EXPECT_FALSE(dialog.isVisible());
}

// The simulated instrument behind the stand-in NI-488.2 library answers at address 1 of
// board 0.
class ConfWithCardTest : public ConfTest {
  protected:
    test::ScopedEnv delay{"LORVANE_SIM_DELAY_MS", "0"};
    test::ScopedEnv address{"LORVANE_SIM_ADDRESS", "1"};
};

TEST_F(ConfWithCardTest, AGoodTestShowsOkAndClosingKeepsTheTestedValuesAndReopens) {
    QTimer::singleShot(0, [this] {
        auto* open = qobject_cast<Conf*>(QApplication::activeModalWidget());
        ASSERT_NE(open, nullptr);
        open->vVal(0)->setText(QStringLiteral("0"));
        open->vVal(1)->setText(QStringLiteral("1"));
        open->testButton()->click();
        EXPECT_EQ(open->state()->text(), QStringLiteral("Ok"));
        EXPECT_EQ(open->focusWidget(), open->okButton());
        EXPECT_EQ(link.Hdl(), -1);  // the test leaves the link closed
        open->close();              // the close box: no OK
    });
    openConfiguration(link, platform, nullptr, QRect(0, 1500, 9450, 5640));
    EXPECT_EQ(link.Crd(), 0);
    EXPECT_EQ(link.Brd(), 0);
    EXPECT_EQ(link.pad(), 1);
    EXPECT_NE(link.Hdl(), -1);  // reopened with the tested values
    EXPECT_TRUE(platform.messages.empty());
    link.DevClose();
}

}  // namespace
}  // namespace lorvane
