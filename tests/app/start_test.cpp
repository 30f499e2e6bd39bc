// The command line of the program, and the starts that end at once.
#include <gtest/gtest.h>

#include <QFile>

#include "application.h"
#include "command_line.h"
#include "fake_platform.h"
#include "main_window.h"
#include "scoped_env.h"
#include "settings_store.h"

namespace lorvane {
namespace {

// The program's arguments, Qt's own options included, as the start reads them.
TEST(CommandLine, ArgumentsGiveTheStartKindAndTheInstanceName) {
    const std::tuple<std::vector<const char*>, StartKind, const char*> cases[] = {
        {{"lorvane"}, StartKind::Normal, ""},
        {{"lorvane", "  bench 2 - left  "}, StartKind::Normal, "bench 2 - left"},
        {{"lorvane", "-CLEAN"}, StartKind::Normal, "-CLEAN"},  // case-sensitive
        {{"lorvane", "2", "-?"}, StartKind::Usage, ""},
        {{"lorvane", "-clean", "2"}, StartKind::Clean, "2"},
        {{"lorvane", "2", "-clean"}, StartKind::Clean, "2"},
        {{"lorvane", "-clean"}, StartKind::Clean, ""},
        {{"lorvane", "-clean", "-x"}, StartKind::Usage, ""},
        {{"lorvane", "-clean-clean"}, StartKind::Usage, ""},
        {{"lorvane", "a-b", "-clean"}, StartKind::Usage, ""},
        {{"lorvane", "-style", "x"}, StartKind::Normal, "-style x"},
        {{"lorvane", "-platform", "offscreen", "-clean"}, StartKind::Usage, ""},
        {{"lorvane", "b\xc3\xa4nk 2"}, StartKind::Normal, "b\u00e4nk 2"},
    };
    for (const auto& [argv, kind, instance] : cases) {
        const QStringList arguments = programArguments(static_cast<int>(argv.size()), argv.data());
        SCOPED_TRACE(arguments.join('|').toStdString());
        const StartRequest request = AnalyzeCommandLine(commandLineText(arguments));
        EXPECT_EQ(request.kind, kind);
        EXPECT_EQ(request.instanceName, QString::fromUtf8(instance));
    }
}

class StartUp : public testing::Test {
  protected:
    test::TempSettings settings;
    test::FakePlatform platform;
    MainWindow window{platform};
    Application app{platform, window};
};

TEST_F(StartUp, UsageSavesNothingAndCleanDeletesOnlyItsOwnGroupAfterItsBox) {
    EXPECT_FALSE(app.load(QStringLiteral("-?")));
    app.shutdown();
    EXPECT_FALSE(QFile::exists(settings.iniPath()));
    RegWrite(QStringLiteral("Lorvane - 2"), QStringLiteral("PAd"), 7);
    RegWrite(QStringLiteral("Lorvane"), QStringLiteral("PAd"), 5);
    int padWhileBoxShown = 0;
    platform.onMessage = [&](const MessageRequest&) {
        padWhileBoxShown = RegRead(QStringLiteral("Lorvane - 2"), QStringLiteral("PAd"), -1);
    };
    MainWindow cleaned{platform};
    Application cleaning{platform, cleaned};
    EXPECT_FALSE(cleaning.load(QStringLiteral("-clean 2")));

    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_TRUE(platform.messages[0].text.startsWith(QStringLiteral("Usage:\tLorvane.exe")));
    EXPECT_EQ(platform.messages[1].text,
              QStringLiteral("Cleaning 2 registry context\r\nPlease restart application"));
    EXPECT_EQ(padWhileBoxShown, 7);
    EXPECT_EQ(RegRead(QStringLiteral("Lorvane - 2"), QStringLiteral("PAd"), -1), -1);
    EXPECT_EQ(RegRead(QStringLiteral("Lorvane"), QStringLiteral("PAd"), -1), 5);
}

}  // namespace
}  // namespace lorvane
