// The settings file (what it holds after writes, hand edits kept in place, a file that the file
// system will not open) and the command line, which names the instance and its settings group.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <limits>

#include "application.h"
#include "command_line.h"
#include "fake_platform.h"
#include "ini_store.h"
#include "main_window.h"
#include "scoped_env.h"
#include "settings_store.h"

namespace lorvane {
namespace {

const QString kMain = QStringLiteral("Lorvane");
const QString kSecond = QStringLiteral("Lorvane - 2");

class SettingsStoreTest : public testing::Test {
  protected:
    QByteArray fileText() const {
        QFile file(settings_.iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
    }

    test::TempSettings settings_;
};

// Numbers are rounded half to even; one without a 32-bit integer is not written. An instance
// name cannot break out of its group.
TEST_F(SettingsStoreTest, WritesMakeOneGroupPerInstanceAndReadsCreateNothing) {
    EXPECT_EQ(RegRead(kMain, "PAd", 1), 1);
    EXPECT_FALSE(RegDelete(kMain));
    EXPECT_TRUE(QDir(settings_.configHome()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
    const QString odd = QStringLiteral("Lorvane - n\n[Lorvane]\nX=dword:00000005");
    const std::tuple<QString, const char*, double, bool> writes[] = {
        {kMain, "X", 100, true},
        {kSecond, "PAd", 17, true},
        {odd, "X", 6, true},
        {kMain, "X", 250, true},
        {kMain, "V_Start", -500.5, true},
        {kMain, "A", 3.5, true},
        {kMain, "A", std::numeric_limits<double>::quiet_NaN(), false},
        {kMain, "B", 2147483647.4, true},
        {kMain, "B", 2147483647.5, false},
        {kMain, "C", -2147483648.5, true},
        {kMain, "C", -2147483649.0, false},
    };
    for (const auto& [key, name, value, written] : writes)
        EXPECT_EQ(RegWrite(key, name, value), written) << name << " " << value;
    EXPECT_TRUE(RegWrite(kMain, "U", "one\\two\nthree"));
    EXPECT_EQ(fileText(),
              "[Lorvane]\nX=dword:000000fa\nV_Start=dword:fffffe0c\nA=dword:00000004\n"
              "B=dword:7fffffff\nC=dword:80000000\nU=sz:one\\\\two\\nthree\\0\n\n"
              "[Lorvane - 2]\nPAd=dword:00000011\n\n"
              "[Lorvane - n%0A%5BLorvane%5D%0AX%3Ddword:00000005]\nX=dword:00000006\n");
    EXPECT_EQ(RegRead(kMain, "U", "-"), "one\\two\nthree");
    EXPECT_EQ(RegRead(kMain, "U", 99), 99);  // each type reads only its own
    EXPECT_EQ(RegRead(kMain, "X", "-"), "-");
    EXPECT_EQ(RegRead(odd, "X", 99), 6);
    EXPECT_EQ(RegRead(kSecond, "X", 99), 99);
}

// What the file holds before, the group and name written (no name: the group deleted), and what
// the file holds after.
TEST_F(SettingsStoreTest, HandEditsAndDamageStayWhereTheyAre) {
    const std::tuple<QByteArray, QString, const char*, QByteArray> cases[] = {
        {"; by hand\n[Lorvane]\n# card\nX=dword:00000064\nX=dword:00000001\n\n[Other]\nK=v\n",
         kMain, "X",
         "; by hand\n[Lorvane]\n# card\nX=dword:00000064\nX=dword:000000fa\n\n[Other]\nK=v\n"},
        {"[Lorvane]\nX=dword:00000064\n\n; bench 2\n[Lorvane - 2]\n", kMain, "Y",
         "[Lorvane]\nX=dword:00000064\nY=dword:000000fa\n\n; bench 2\n[Lorvane - 2]\n"},
        {"[Other]\r\nA=1\r\n", kMain, "X",
         "[Other]\r\nA=1\r\n\r\n[Lorvane]\r\nX=dword:000000fa\r\n"},
        // Lines below a damaged header belong to no group.
        {"[Lorvane - 2)\nY=dword:00000001", kSecond, "Y",
         "[Lorvane - 2)\nY=dword:00000001\n\n[Lorvane - 2]\nY=dword:000000fa\n"},
        {"; top\n[Lorvane - 2]\nP=dword:00000007\n; in\nodd\n\n; bench 3\n[Lorvane - 3]\n", kSecond,
         nullptr, "; top\n\n; bench 3\n[Lorvane - 3]\n"},
        {"[Lorvane - 2]\nP=dword:00000007\n\n[Lorvane]\n", kSecond, nullptr, "[Lorvane]\n"},
    };
    ASSERT_TRUE(QDir().mkpath(QFileInfo(settings_.iniPath()).path()));
    for (const auto& [before, key, name, after] : cases) {
        QFile file(settings_.iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(before) == before.size());
        file.close();
        EXPECT_TRUE(name ? RegWrite(key, name, 250) : RegDelete(key));
        EXPECT_EQ(fileText(), after) << before.data();
    }
}

// Injected at the file layer: file permissions do not stop root, who runs the tests in CI.
template <QIODevice::OpenModeFlag refused>
bool refusingOpener(QIODevice& file, QIODevice::OpenMode mode) {
    return !mode.testFlag(refused) && file.open(mode);
}

TEST_F(SettingsStoreTest, AFileThatCannotBeWrittenOrReadIsLeftAsItIs) {
    ASSERT_TRUE(RegWrite(kMain, "X", 1));
    const auto original = settings_backend::setFileOpener(refusingOpener<QIODevice::WriteOnly>);
    EXPECT_FALSE(RegWrite(kMain, "Y", 2));
    EXPECT_FALSE(RegWrite(kMain, "T", "text"));
    EXPECT_EQ(RegRead(kMain, "X", 5), 1);
    settings_backend::setFileOpener(refusingOpener<QIODevice::ReadOnly>);
    EXPECT_EQ(RegRead(kMain, "X", 5), 5);
    EXPECT_FALSE(RegWrite(kMain, "Y", 2));
    EXPECT_FALSE(RegDelete(kMain));
    settings_backend::setFileOpener(original);
    EXPECT_EQ(fileText(), "[Lorvane]\nX=dword:00000001\n");
}

// The program's arguments, Qt's own options included, as the start reads them.
TEST(CommandLine, ArgumentsGiveTheStartKindAndTheInstanceName) {
    const std::tuple<std::vector<const char*>, StartKind, const char*> cases[] = {
        {{"lorvane"}, StartKind::Normal, ""},
        {{"lorvane", "  bench 2 - left  "}, StartKind::Normal, "bench 2 - left"},
        {{"lorvane", "-CLEAN"}, StartKind::Normal, "-CLEAN"},  // case-sensitive
        {{"lorvane", "2", "-?"}, StartKind::Usage, ""},
        {{"lorvane", "-clean", "2"}, StartKind::Clean, "2"},
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

TEST_F(SettingsStoreTest, UsageSavesNothingAndCleanDeletesOnlyItsOwnGroupAfterItsBox) {
    test::FakePlatform platform;
    MainWindow window{platform};
    Application usage{platform, window};
    EXPECT_FALSE(usage.load(QStringLiteral("-?")));
    usage.shutdown();
    EXPECT_EQ(fileText(), "<no file>");
    RegWrite(kSecond, "PAd", 7);
    RegWrite(kMain, "PAd", 5);
    int padWhileBoxShown = 0;
    platform.onMessage = [&](const MessageRequest&) {
        padWhileBoxShown = RegRead(kSecond, "PAd", -1);
    };
    Application clean{platform, window};
    EXPECT_FALSE(clean.load(QStringLiteral("-clean 2")));

    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_TRUE(platform.messages[0].text.startsWith(QStringLiteral("Usage:\tLorvane.exe")));
    EXPECT_EQ(platform.messages[1].text,
              QStringLiteral("Cleaning 2 registry context\r\nPlease restart application"));
    EXPECT_EQ(padWhileBoxShown, 7);
    EXPECT_EQ(fileText(), "[Lorvane]\nPAd=dword:00000005\n");
}

}  // namespace
}  // namespace lorvane
