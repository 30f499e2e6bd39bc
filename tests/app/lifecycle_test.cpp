#include "lifecycle.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "application.h"
#include "fake_platform.h"
#include "main_window.h"
#include "scoped_env.h"
#include "settings_store.h"
#include "version.h"

namespace lorvane {
namespace {

using test::FakePlatform;
using test::TempSettings;

class LifecycleTest : public ::testing::Test {
  protected:
    TempSettings settings;
    FakePlatform platform;
    MainWindow window{platform};
    Application app{platform, window};  // wired as the program wires it
    Lifecycle& life = app.lifecycle();

    LifecycleTest() { platform.screen = QSize(1000, 800); }  // 15000 x 12000 twips
};

TEST_F(LifecycleTest, UsageShowsItsBoxAndSavesNothing) {
    EXPECT_FALSE(app.load(QStringLiteral("-?")));
    life.shutdown();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(platform.messages[0].text.startsWith(QStringLiteral("Usage:\tLorvane.exe")));
    EXPECT_EQ(platform.messages[0].title, QStringLiteral("Lorvane"));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::None);
    EXPECT_EQ(life.link(), nullptr);
    EXPECT_FALSE(QFile::exists(settings.iniPath()));
}

TEST_F(LifecycleTest, CleanDeletesOnlyItsOwnGroupAfterTheBoxReturns) {
    RegWrite(QStringLiteral("Lorvane - 2"), QStringLiteral("PAd"), 7);
    RegWrite(QStringLiteral("Lorvane"), QStringLiteral("PAd"), 5);
    RegWrite(QStringLiteral("Lorvane - 3"), QStringLiteral("PAd"), 9);
    int padWhileBoxShown = 0;
    platform.onMessage = [&](const MessageRequest&) {
        padWhileBoxShown = RegRead(QStringLiteral("Lorvane - 2"), QStringLiteral("PAd"), -1);
    };

    EXPECT_FALSE(app.load(QStringLiteral("-clean 2")));
    life.shutdown();

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              QStringLiteral("Cleaning 2 registry context\r\nPlease restart application"));
    EXPECT_EQ(padWhileBoxShown, 7);
    EXPECT_EQ(RegRead(QStringLiteral("Lorvane - 2"), QStringLiteral("PAd"), -1), -1);
    EXPECT_EQ(RegRead(QStringLiteral("Lorvane"), QStringLiteral("PAd"), -1), 5);
    EXPECT_EQ(RegRead(QStringLiteral("Lorvane - 3"), QStringLiteral("PAd"), -1), 9);
}

TEST_F(LifecycleTest, NamedInstanceTitlesItselfAndSavesItsLinkAndPositionOnClose) {
    const QString key = QStringLiteral("Lorvane - 2");
    RegWrite(key, QStringLiteral("Card"), 1);
    RegWrite(key, QStringLiteral("Board"), 4);
    RegWrite(key, QStringLiteral("PAd"), 17);
    RegWrite(key, QStringLiteral("X"), 3000);
    RegWrite(key, QStringLiteral("Y"), 2250);

    ASSERT_TRUE(app.load(QStringLiteral("2")));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lorvane V%1.%2.%3 - 2")
                                        .arg(kVersionMajor)
                                        .arg(kVersionMinor)
                                        .arg(kVersionPatch));
    EXPECT_EQ(life.settingsKey(), key);
    ASSERT_NE(life.link(), nullptr);
    EXPECT_EQ(life.link()->Crd(), 1);
    EXPECT_EQ(life.link()->Brd(), 4);
    EXPECT_EQ(life.link()->pad(), 17);
    EXPECT_EQ(life.link()->sad(), 96);
    EXPECT_EQ(window.positionTwips(), QPoint(3000, 2250));

    // The configuration dialog may have changed the link in the meantime.
    window.show();
    life.link()->setPad(5);
    window.moveToTwips(1500, 750);
    window.close();

    EXPECT_TRUE(window.StopRequest);
    EXPECT_EQ(RegRead(key, QStringLiteral("Card"), -1), 1);
    EXPECT_EQ(RegRead(key, QStringLiteral("Board"), -1), 4);
    EXPECT_EQ(RegRead(key, QStringLiteral("PAd"), -1), 5);
    EXPECT_EQ(RegRead(key, QStringLiteral("X"), -1), 1500);
    EXPECT_EQ(RegRead(key, QStringLiteral("Y"), -1), 750);
    EXPECT_EQ(RegRead(QStringLiteral("Lorvane"), QStringLiteral("X"), -1), -1);
}

TEST_F(LifecycleTest, FirstStartUsesDefaults) {
    ASSERT_TRUE(app.load(QString()));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lorvane V%1.%2.%3")
                                        .arg(kVersionMajor)
                                        .arg(kVersionMinor)
                                        .arg(kVersionPatch));
    EXPECT_EQ(life.link()->Crd(), 0);
    EXPECT_EQ(life.link()->Brd(), 0);
    EXPECT_EQ(life.link()->pad(), 1);
    EXPECT_FALSE(window.mergeOption);
    // 100 twips snap to whole pixels, as the window can only stand on one.
    EXPECT_EQ(window.pos(), QPoint(6, MainWindow::kDesignedTop / 15));
}

TEST_F(LifecycleTest, MergeSettingIsReadAsAFlag) {
    RegWrite(QStringLiteral("Lorvane"), QStringLiteral("Merge"), -3);
    ASSERT_TRUE(app.load(QString()));
    EXPECT_TRUE(window.mergeOption);
}

TEST_F(LifecycleTest, OffScreenPositionsComeBack) {
    RegWrite(QStringLiteral("Lorvane"), QStringLiteral("X"), 15000 - 99);
    RegWrite(QStringLiteral("Lorvane"), QStringLiteral("Y"), -5);
    ASSERT_TRUE(app.load(QString()));
    EXPECT_EQ(window.pos(), QPoint(6, MainWindow::kDesignedTop / 15));
}

TEST_F(LifecycleTest, PositionsAtTheScreenLimitsStay) {
    RegWrite(QStringLiteral("Lorvane"), QStringLiteral("X"), 15000 - 105);
    RegWrite(QStringLiteral("Lorvane"), QStringLiteral("Y"), 12000 - 105);
    ASSERT_TRUE(app.load(QString()));
    EXPECT_EQ(window.positionTwips(), QPoint(14895, 11895));
}

TEST_F(LifecycleTest, LinkSettingsBeyondSixteenBitsFallBackToDefaults) {
    RegWrite(QStringLiteral("Lorvane"), QStringLiteral("PAd"), 70000);
    ASSERT_TRUE(app.load(QString()));
    EXPECT_EQ(life.link()->pad(), 1);
}

TEST_F(LifecycleTest, ShutdownStopsARunFirstAndWaitsBetweenEventPasses) {
    ASSERT_TRUE(app.load(QString()));
    platform.journal.clear();
    bool stopSeenAtFirstPass = false;
    platform.onEvents = [&] {
        if (platform.eventPasses == 1) stopSeenAtFirstPass = window.StopRequest;
    };
    life.shutdown();
    EXPECT_TRUE(stopSeenAtFirstPass);
    ASSERT_GE(platform.journal.size(), 3u);
    EXPECT_EQ(platform.journal[0], QStringLiteral("events"));
    EXPECT_EQ(platform.journal[1], QStringLiteral("sleep:100"));
    EXPECT_EQ(platform.journal[2], QStringLiteral("events"));
}

// The default link is the card at address 1 of board 0, where the stand-in NI-488.2 library
// puts the simulated instrument.
TEST_F(LifecycleTest, StartOpensTheCardAndClosingResetsTheInstrumentThenCloses) {
    QTemporaryDir logDir;
    const QString log = logDir.filePath(QStringLiteral("wire.log"));
    test::ScopedEnv wireLog("LORVANE_SIM_WIRE_LOG", log.toLocal8Bit());
    test::ScopedEnv delay("LORVANE_SIM_DELAY_MS", "0");

    ASSERT_TRUE(app.load(QString()));
    EXPECT_NE(life.link()->Hdl(), -1);
    window.show();
    window.close();

    EXPECT_EQ(life.link()->Hdl(), -1);
    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, QStringList({"# ibconfig 23 1", "# ibdev 0 1 96 12 1 0", "# ibclr", "# ibsic",
                                  "> ABEX\\r", "# ibloc", "# ibonl 0"}));
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace lorvane
