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
    EXPECT_EQ(life.link(), nullptr);
    EXPECT_FALSE(QFile::exists(settings.iniPath()));
}

TEST_F(LifecycleTest, CleanDeletesOnlyItsOwnGroupAfterTheBoxReturns) {
    for (const auto& [key, pad] : {std::pair{"Lorvane - 2", 7}, {"Lorvane", 5}, {"Lorvane - 3", 9}})
        RegWrite(QString::fromLatin1(key), QStringLiteral("PAd"), pad);
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
    const std::pair<const char*, int> saved[] = {
        {"Card", 1}, {"Board", 4}, {"PAd", 17}, {"X", 3000}, {"Y", 2250}};
    for (const auto& [name, value] : saved) RegWrite(key, QString::fromLatin1(name), value);

    ASSERT_TRUE(app.load(QStringLiteral("2")));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Lorvane V%1.%2.%3 - 2")
                                        .arg(kVersionMajor)
                                        .arg(kVersionMinor)
                                        .arg(kVersionPatch));
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
    const std::pair<const char*, int> closed[] = {
        {"Card", 1}, {"Board", 4}, {"PAd", 5}, {"X", 1500}, {"Y", 750}};
    for (const auto& [name, value] : closed)
        EXPECT_EQ(RegRead(key, QString::fromLatin1(name), -1), value) << name;
    EXPECT_EQ(RegRead(QStringLiteral("Lorvane"), QStringLiteral("X"), -1), -1);
}

// Saved values of the unnamed instance, and where the window stands and what the link and the
// merge option are after the start.
TEST_F(LifecycleTest, SavedStartValuesAreCheckedAgainstTheScreenAndTheirRange) {
    const QPoint designed(6, MainWindow::kDesignedTop / 15);  // 100 twips, in whole pixels
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, int>> saved;
        QPoint position;
        int pad;
        bool merge;
    };
    const Case cases[] = {
        {"first start", {}, designed, 1, false},
        {"merge is a flag", {{"Merge", -3}}, designed, 1, true},
        {"off the screen", {{"X", 15000 - 99}, {"Y", -5}}, designed, 1, false},
        {"the last place on the screen",
         {{"X", 15000 - 100}, {"Y", 12000 - 100}},
         {993, 793},
         1,
         false},
        {"below the screen", {{"Y", 12000 - 99}}, designed, 1, false},
        {"beyond 16 bits", {{"PAd", 70000}}, designed, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RegDelete(QStringLiteral("Lorvane"));
        for (const auto& [name, value] : c.saved)
            RegWrite(QStringLiteral("Lorvane"), QString::fromLatin1(name), value);
        MainWindow fresh{platform};
        Application started{platform, fresh};
        ASSERT_TRUE(started.load(QString()));
        EXPECT_EQ(fresh.pos(), c.position);
        EXPECT_EQ(started.lifecycle().link()->Crd(), 0);
        EXPECT_EQ(started.lifecycle().link()->Brd(), 0);
        EXPECT_EQ(started.lifecycle().link()->pad(), c.pad);
        EXPECT_EQ(fresh.mergeOption, c.merge);
    }
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
    EXPECT_EQ(std::vector<QString>(platform.journal.begin(), platform.journal.begin() + 3),
              std::vector<QString>({"events", "sleep:100", "events"}));
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
