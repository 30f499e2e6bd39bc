// The configuration dialog: the link's card or adapter, board or port and address.
#include "conf_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "cls_gpib.h"
#include "fake_platform.h"
#include "scoped_env.h"

namespace lorvane {
namespace {

class ConfTest : public ::testing::Test {
  protected:
    test::FakePlatform platform;
    ClsGPIB link{platform};
    Conf dialog{platform, QRect(0, 1500, 9450, 5640)};

    ConfTest() {
        link.Initialize(nullptr, nullptr);
        link.setBrd(3);
        link.setPad(17);
        dialog.setCnx(&link);
        dialog.show();
    }
};

TEST_F(ConfTest, ShowsTheLinkKeepsNumbersOnlyReportsAFailedTestAndOkCopiesTheBoxes) {
    EXPECT_EQ(dialog.vVal(0)->selectedText() + ' ' + dialog.vVal(1)->text(), "3 17");
    // A letter or a number beyond 16 bits restores the previous number at once.
    QTest::keyClicks(dialog.vVal(1), "x");
    dialog.vVal(1)->setText("32767");
    dialog.vVal(1)->setText("32768");
    EXPECT_EQ(dialog.vVal(1)->text(), "32767");
    // The adapter on a port that is not there: both failures are reported.
    QTemporaryDir emptyRuntime;
    test::ScopedEnv runtime("XDG_RUNTIME_DIR", emptyRuntime.path().toLocal8Bit());
    dialog.vCrd()->click();
    EXPECT_EQ(dialog.lbl(0)->text(), "COM:");
    dialog.vVal(0)->setText("93");
    dialog.testButton()->click();
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[0].text + '|' + platform.messages[1].text + '|' +
                  platform.messages[1].title,
              "Serial port open error|Unable to open device|GPIB Test");
    EXPECT_EQ(std::tuple(link.Crd(), link.Brd(), link.Hdl()), std::tuple(1, 93, 93));
    dialog.vVal(0)->setText("4");
    dialog.vVal(1)->setText("9");
    dialog.okButton()->click();
    EXPECT_EQ(std::tuple(link.Crd(), link.Brd(), link.pad()), std::tuple(1, 4, 9));
}

// The simulated instrument behind the stand-in NI-488.2 library answers at address 1 of
// board 0.
TEST_F(ConfTest, AGoodTestOnTheCardShowsOkAndClosingKeepsTheTestedValuesAndReopens) {
    test::ScopedEnv delay{"LORVANE_SIM_DELAY_MS", "0"};
    test::ScopedEnv address{"LORVANE_SIM_ADDRESS", "1"};
    QTimer::singleShot(0, [this] {
        auto* open = qobject_cast<Conf*>(QApplication::activeModalWidget());
        ASSERT_NE(open, nullptr) << "the dialog is not shown modal";
        open->vVal(0)->setText("0");
        open->vVal(1)->setText("1");
        open->testButton()->click();
        EXPECT_EQ(open->state()->text(), "Ok");
        EXPECT_EQ(open->focusWidget(), open->okButton());
        EXPECT_EQ(link.Hdl(), -1);  // the test leaves the link closed
        open->close();              // the close box: no OK
    });
    openConfiguration(link, platform, nullptr, QRect(0, 1500, 9450, 5640));
    EXPECT_EQ(std::tuple(link.Crd(), link.Brd(), link.pad()), std::tuple(0, 0, 1));
    EXPECT_NE(link.Hdl(), -1);  // reopened with the tested values
    EXPECT_TRUE(platform.messages.empty());
    link.DevClose();
}

}  // namespace
}  // namespace lorvane
