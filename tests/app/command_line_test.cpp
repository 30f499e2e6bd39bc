#include <gtest/gtest.h>

#include <vector>

#include "command_line.h"

namespace lorvane {
namespace {

TEST(AnalyzeCommandLine, EmptyIsANormalStartWithoutName) {
    const StartRequest r = AnalyzeCommandLine(QStringLiteral("   "));
    EXPECT_EQ(r.kind, StartKind::Normal);
    EXPECT_EQ(r.instanceName, QString());
}

TEST(AnalyzeCommandLine, AnyOtherTextIsTheTrimmedInstanceName) {
    const StartRequest r = AnalyzeCommandLine(QStringLiteral("  bench 2 - left  "));
    EXPECT_EQ(r.kind, StartKind::Normal);
    EXPECT_EQ(r.instanceName, QStringLiteral("bench 2 - left"));
}

TEST(AnalyzeCommandLine, MatchingIsCaseSensitive) {
    const StartRequest r = AnalyzeCommandLine(QStringLiteral("-CLEAN"));
    EXPECT_EQ(r.kind, StartKind::Normal);
    EXPECT_EQ(r.instanceName, QStringLiteral("-CLEAN"));
}

TEST(AnalyzeCommandLine, QuestionMarkAnywhereAsksForUsage) {
    EXPECT_EQ(AnalyzeCommandLine(QStringLiteral("-?")).kind, StartKind::Usage);
    EXPECT_EQ(AnalyzeCommandLine(QStringLiteral("2 -?")).kind, StartKind::Usage);
    EXPECT_EQ(AnalyzeCommandLine(QStringLiteral("-clean -?")).kind, StartKind::Usage);
}

TEST(AnalyzeCommandLine, CleanNamesTheRemainingText) {
    const StartRequest before = AnalyzeCommandLine(QStringLiteral("-clean 2"));
    EXPECT_EQ(before.kind, StartKind::Clean);
    EXPECT_EQ(before.instanceName, QStringLiteral("2"));
    const StartRequest after = AnalyzeCommandLine(QStringLiteral("2 -clean"));
    EXPECT_EQ(after.kind, StartKind::Clean);
    EXPECT_EQ(after.instanceName, QStringLiteral("2"));
    const StartRequest alone = AnalyzeCommandLine(QStringLiteral("-clean"));
    EXPECT_EQ(alone.kind, StartKind::Clean);
    EXPECT_EQ(alone.instanceName, QString());
}

TEST(AnalyzeCommandLine, CleanWithAnotherHyphenAsksForUsage) {
    EXPECT_EQ(AnalyzeCommandLine(QStringLiteral("-clean -x")).kind, StartKind::Usage);
    EXPECT_EQ(AnalyzeCommandLine(QStringLiteral("-clean-clean")).kind, StartKind::Usage);
    EXPECT_EQ(AnalyzeCommandLine(QStringLiteral("a-b -clean")).kind, StartKind::Usage);
}

TEST(CommandLineTexts, TitleAndSettingsKey) {
    EXPECT_EQ(windowTitle(QString(), 1, 4, 2), QStringLiteral("Lorvane V1.4.2"));
    EXPECT_EQ(windowTitle(QStringLiteral("2"), 1, 4, 2), QStringLiteral("Lorvane V1.4.2 - 2"));
    EXPECT_EQ(settingsKeyFor(QString()), QStringLiteral("Lorvane"));
    EXPECT_EQ(settingsKeyFor(QStringLiteral("2")), QStringLiteral("Lorvane - 2"));
}

TEST(CommandLineTexts, UsageAndCleanMessages) {
    EXPECT_EQ(usageText(), QStringLiteral("Usage:\tLorvane.exe (NUM) (-clean)\r\n     with\r\n"
                                          "\tNAME  = Instance name\r\n"
                                          "\t-clean = Registry clean option"));
    EXPECT_EQ(cleanText(QStringLiteral("2")),
              QStringLiteral("Cleaning 2 registry context\r\nPlease restart application"));
    EXPECT_EQ(cleanText(QString()),
              QStringLiteral("Cleaning  registry context\r\nPlease restart application"));
}

TEST(CommandLineTexts, ArgumentsAreReadAsGivenQtOptionsIncluded) {
    struct Case {
        std::vector<const char*> argv;
        StartKind kind;
        const char* instance;
    };
    const Case cases[] = {
        {{"lorvane"}, StartKind::Normal, ""},
        {{"lorvane", "2", "-clean"}, StartKind::Clean, "2"},
        {{"lorvane", "-style", "x"}, StartKind::Normal, "-style x"},
        {{"lorvane", "-reverse"}, StartKind::Normal, "-reverse"},
        {{"lorvane", "-platform", "offscreen", "-clean"}, StartKind::Usage, ""},
        {{"lorvane", "b\xc3\xa4nk 2"}, StartKind::Normal, "b\u00e4nk 2"},
    };
    for (const Case& c : cases) {
        const QStringList arguments =
            programArguments(static_cast<int>(c.argv.size()), c.argv.data());
        const StartRequest request = AnalyzeCommandLine(commandLineText(arguments));
        EXPECT_EQ(request.kind, c.kind) << arguments.join('|').toStdString();
        EXPECT_EQ(request.instanceName, QString::fromUtf8(c.instance))
            << arguments.join('|').toStdString();
    }
}

}  // namespace
}  // namespace lorvane
