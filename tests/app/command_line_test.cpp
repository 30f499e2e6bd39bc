#include "command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace lorvane {
namespace {

// The program's arguments, Qt's own options included, as the start reads them.
TEST(CommandLine, ArgumentsGiveTheStartKindAndTheInstanceName) {
    struct Case {
        std::vector<const char*> argv;
        StartKind kind;
        const char* instance;
    };
    const Case cases[] = {
        {{"lorvane"}, StartKind::Normal, ""},
        {{"lorvane", "   "}, StartKind::Normal, ""},
        {{"lorvane", "  bench 2 - left  "}, StartKind::Normal, "bench 2 - left"},
        {{"lorvane", "-CLEAN"}, StartKind::Normal, "-CLEAN"},  // case-sensitive
        {{"lorvane", "2", "-?"}, StartKind::Usage, ""},
        {{"lorvane", "-clean", "-?"}, StartKind::Usage, ""},
        {{"lorvane", "-clean", "2"}, StartKind::Clean, "2"},
        {{"lorvane", "2", "-clean"}, StartKind::Clean, "2"},
        {{"lorvane", "-clean"}, StartKind::Clean, ""},
        {{"lorvane", "-clean", "-x"}, StartKind::Usage, ""},
        {{"lorvane", "-clean-clean"}, StartKind::Usage, ""},
        {{"lorvane", "a-b", "-clean"}, StartKind::Usage, ""},
        {{"lorvane", "-style", "x"}, StartKind::Normal, "-style x"},
        {{"lorvane", "-reverse"}, StartKind::Normal, "-reverse"},
        {{"lorvane", "-platform", "offscreen", "-clean"}, StartKind::Usage, ""},
        {{"lorvane", "b\xc3\xa4nk 2"}, StartKind::Normal, "b\u00e4nk 2"},
    };
    for (const Case& c : cases) {
        const QStringList arguments =
            programArguments(static_cast<int>(c.argv.size()), c.argv.data());
        SCOPED_TRACE(arguments.join('|').toStdString());
        const StartRequest request = AnalyzeCommandLine(commandLineText(arguments));
        EXPECT_EQ(request.kind, c.kind);
        EXPECT_EQ(request.instanceName, QString::fromUtf8(c.instance));
    }
}

TEST(CommandLine, TitleSettingsKeyAndCleanTextNameTheInstance) {
    EXPECT_EQ(windowTitle(QString(), 1, 4, 2), QStringLiteral("Lorvane V1.4.2"));
    EXPECT_EQ(windowTitle(QStringLiteral("2"), 1, 4, 2), QStringLiteral("Lorvane V1.4.2 - 2"));
    EXPECT_EQ(settingsKeyFor(QString()), QStringLiteral("Lorvane"));
    EXPECT_EQ(settingsKeyFor(QStringLiteral("2")), QStringLiteral("Lorvane - 2"));
    EXPECT_EQ(cleanText(QString()),
              QStringLiteral("Cleaning  registry context\r\nPlease restart application"));
}

}  // namespace
}  // namespace lorvane
