// The settings file (what writes leave in it, hand edits kept in place, a file that the file
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

// A hand-edited file, the writes that follow and the whole file after them: hand edits stay where
// they are (below a damaged header no group; of a repeated name the last counts), numbers round
// half to even or are not written, and an instance name cannot break out of its group.
TEST_F(SettingsStoreTest, WritesKeepHandEditsWhereTheyAre) {
    EXPECT_EQ(RegRead(kMain, "X", 1), 1);
    EXPECT_FALSE(RegDelete(kMain));
    EXPECT_TRUE(QDir(settings_.configHome()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
    ASSERT_TRUE(RegWrite(kMain, "X", 1));
    QFile file(settings_.iniPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "; top\n[Lorvane - 3]\nP=dword:00000007\n; inside\nodd line\n\n; bench 1\n[Lorvane]\n"
        "# card\nX=dword:00000064\nX=dword:00000001\n\n[Lorvane - 2)\nY=dword:00000001\n");
    file.close();
    const QString odd = QStringLiteral("Lorvane - n\n[Lorvane]\nX=dword:00000005");
    const std::tuple<QString, const char*, double, bool> writes[] = {
        {kMain, "X", 250, true},
        {kSecond, "Y", 17, true},
        {odd, "X", 6, true},
        {kMain, "A", 3.5, true},
        {kMain, "A", std::numeric_limits<double>::quiet_NaN(), false},
        {kMain, "B", 2147483647.4, true},
        {kMain, "B", 2147483647.5, false},
        {kMain, "C", -2147483648.5, true},
        {kMain, "C", -2147483649.0, false},
        {kMain, "D", -500.5, true},
    };
    for (const auto& [key, name, value, written] : writes)
        EXPECT_EQ(RegWrite(key, name, value), written) << name << " " << value;
    EXPECT_TRUE(RegWrite(kMain, "U", "one\\two\nthree"));
    EXPECT_TRUE(RegDelete(QStringLiteral("Lorvane - 3")));
    EXPECT_EQ(fileText(),
              "; top\n\n; bench 1\n[Lorvane]\n# card\nX=dword:00000064\nX=dword:000000fa\n"
              "A=dword:00000004\nB=dword:7fffffff\nC=dword:80000000\nD=dword:fffffe0c\n"
              "U=sz:one\\\\two\\nthree\\0\n\n[Lorvane - 2)\nY=dword:00000001\n\n"
              "[Lorvane - 2]\nY=dword:00000011\n\n"
              "[Lorvane - n%0A%5BLorvane%5D%0AX%3Ddword:00000005]\nX=dword:00000006\n");
    EXPECT_EQ(RegRead(kMain, "U", "-"), "one\\two\nthree");
    EXPECT_EQ(RegRead(kMain, "X", "-"), "-");  // each type reads only its own
    EXPECT_EQ(QList<int>({RegRead(kMain, "U", 99), RegRead(kMain, "X", 99),
                          RegRead(kSecond, "Y", 99), RegRead(odd, "X", 99)}),
              QList<int>({99, 250, 17, 6}));
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

// The command line as typed, and the box it shows or the title of the window it opens. -clean
// deletes the instance's own group, once its box is closed. Qt's own options are part of it.
TEST_F(SettingsStoreTest, TheCommandLineNamesTheInstanceOrShowsItsBox) {
    const std::pair<const char*, const char*> cases[] = {
        {"  bench 2 - left  ", " - bench 2 - left"},
        {"-CLEAN", " - -CLEAN"},  // case-sensitive
        {"2 -?", "Usage:\tLorvane.exe"},
        {"-clean-clean", "Usage:\tLorvane.exe"},
        {"a-b -clean", "Usage:\tLorvane.exe"},
        {"2 -clean", "Cleaning 2 registry context\r\nPlease restart application"},
    };
    RegWrite(kSecond, "PAd", 7);
    RegWrite(kMain, "PAd", 5);
    test::FakePlatform platform;
    int padWhileBoxShown = 0;
    platform.onMessage = [&](const MessageRequest&) {
        padWhileBoxShown = RegRead(kSecond, "PAd", -1);
    };
    for (const auto& [line, shown] : cases) {
        MainWindow window{platform};
        Application app{platform, window};
        const size_t boxes = platform.messages.size();
        const QString text = app.load(QString::fromUtf8(line)) ? window.windowTitle()
                                                               : platform.messages.back().text;
        EXPECT_EQ(platform.messages.size(), boxes + !text.startsWith(u"Lorvane V")) << line;
        EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << text.toStdString();
    }
    EXPECT_EQ(padWhileBoxShown, 7);
    EXPECT_EQ(fileText(), "[Lorvane]\nPAd=dword:00000005\n");
    const char* argv[] = {"lorvane", "-platform", "b\xc3\xa4nk", "-clean"};
    EXPECT_EQ(commandLineText(programArguments(4, argv)), "-platform b\u00e4nk -clean");
}

}  // namespace
}  // namespace lorvane
