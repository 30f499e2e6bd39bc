#include "settings_store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>
#include <limits>
#include <optional>
#include <thread>

#include "ini_store.h"
#include "scoped_env.h"

namespace lorvane {
namespace {

const QString kMain = QStringLiteral("Lorvane");
const QString kSecond = QStringLiteral("Lorvane - 2");

class SettingsStoreTest : public testing::Test {
  protected:
    QString folder() const { return settings_.configHome() + QStringLiteral("/Tessaly Software"); }

    QByteArray fileText() const {
        QFile file(settings_.iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
    }
    void writeFile(const QByteArray& text) const {
        ASSERT_TRUE(QDir().mkpath(folder()));
        QFile file(settings_.iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    // Makes the file system refuse every open in `refused` mode until the test ends; file
    // permissions would not do it when the tests run as root.
    template <QIODevice::OpenModeFlag refused>
    void refuseOpens() {
        const settings_backend::FileOpener previous =
            settings_backend::setFileOpener([](QIODevice& file, QIODevice::OpenMode mode) {
                return !mode.testFlag(refused) && file.open(mode);
            });
        if (!previousOpener_) previousOpener_ = previous;
    }
    void TearDown() override {
        if (previousOpener_) settings_backend::setFileOpener(previousOpener_);
    }
    static QStringList entries(const QString& dir) {
        return QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    test::TempSettings settings_;
    settings_backend::FileOpener previousOpener_ = nullptr;
};

TEST_F(SettingsStoreTest, WritesMakeOneGroupPerInstanceAndReadsCreateNothing) {
    EXPECT_EQ(RegRead(kMain, "PAd", 1), 1);
    EXPECT_EQ(RegRead(kMain, "T", "fallback"), "fallback");
    EXPECT_FALSE(RegDelete(kMain));
    EXPECT_TRUE(entries(settings_.configHome()).isEmpty());

    EXPECT_TRUE(RegWrite(kMain, "X", 100));
    EXPECT_TRUE(RegWrite(kSecond, "PAd", 17));
    EXPECT_TRUE(RegWrite(kMain, "X", 250));
    EXPECT_TRUE(RegWrite(kMain, "V_Start", -500));
    EXPECT_EQ(fileText(),
              "[Lorvane]\nX=dword:000000fa\nV_Start=dword:fffffe0c\n\n"
              "[Lorvane - 2]\nPAd=dword:00000011\n");
    EXPECT_EQ(RegRead(kMain, "X", 100), 250);
    EXPECT_EQ(RegRead(kSecond, "PAd", 1), 17);
    EXPECT_EQ(RegRead(kSecond, "X", 100), 100);
    EXPECT_EQ(entries(folder()), QStringList{"Lorvane.ini"});
}

TEST_F(SettingsStoreTest, NumbersRoundToTheNearestIntegerWithTiesToEvenOrAreNotWritten) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
    const std::pair<double, std::optional<int32_t>> cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-0.5, 0},
        {2.4999999, 2},
        {2.5000001, 3},
        {-7.6, -8},
        {1e-300, 0},
        {2147483647.4, 2147483647},
        {-2147483648.5, kMin},
        // No 32-bit integer: nothing is written, the stored value stays.
        {1e10, std::nullopt},
        {2147483647.5, std::nullopt},
        {-2147483649.0, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
        {kInf, std::nullopt},
        {-kInf, std::nullopt}};
    for (const auto& [value, stored] : cases) {
        ASSERT_TRUE(RegWrite(kMain, "N", 42));
        EXPECT_EQ(RegWrite(kMain, "N", value), stored.has_value()) << value;
        EXPECT_EQ(RegRead(kMain, "N", 12345), stored.value_or(42)) << value;
    }
}

TEST_F(SettingsStoreTest, TextsKeepEveryCharacterUpToTheLimitAndOnlyTheirOwnType) {
    const QString text = QStringLiteral("a\\b\r\nc=[d]/%e ") + QChar(0) + QStringLiteral("f µΩ");
    const QString eAcute = QStringLiteral("é");  // two bytes in the file
    // The limit counts stored bytes, the NUL included.
    const std::pair<QString, QString> cases[] = {
        {text, text},
        {"", ""},
        {QString(1023, u'x'), QString(1023, u'x')},
        {QString(1024, u'x'), "fallback"},
        {eAcute.repeated(511) + "a", eAcute.repeated(511) + "a"},
        {eAcute.repeated(512), "fallback"},
    };
    for (const auto& [written, read] : cases) {
        EXPECT_TRUE(RegWrite(kMain, "T", written));
        EXPECT_EQ(RegRead(kMain, "T", "fallback"), read) << written.size();
    }
    EXPECT_TRUE(RegWrite(kMain, "U", "one\\two\nthree"));
    EXPECT_TRUE(fileText().contains("\nU=sz:one\\\\two\\nthree\\0\n")) << fileText().constData();
    EXPECT_TRUE(RegWrite(kMain, "N", 7));
    EXPECT_EQ(RegRead(kMain, "N", "fallback"), "fallback");
    EXPECT_EQ(RegRead(kMain, "U", 99), 99);
    EXPECT_EQ(RegRead(kMain, "n", 99), 99);
}

TEST_F(SettingsStoreTest, HandEditsStayWhereTheyAre) {
    struct Case {
        const char* what;
        QByteArray before;
        std::function<void()> change;
        QByteArray after;
    };
    const auto write = [](const QString& key, const char* name, int value) {
        return [=] { EXPECT_TRUE(RegWrite(key, name, value)); };
    };
    const Case cases[] = {
        {"a known value changes in its line",
         "; by hand\n[Lorvane]\n# the card\nCard=dword:00000000\nColour=sz:blue\\0\n"
         "X=dword:00000064\n\n[Other]\nKey=value\n",
         write(kMain, "X", 250),
         "; by hand\n[Lorvane]\n# the card\nCard=dword:00000000\nColour=sz:blue\\0\n"
         "X=dword:000000fa\n\n[Other]\nKey=value\n"},
        {"a new value ends its group, before the next group's comment",
         "[Lorvane]\nX=dword:00000064\n\n; bench 2\n[Lorvane - 2]\nPAd=dword:00000011\n",
         write(kMain, "Y", 1),
         "[Lorvane]\nX=dword:00000064\nY=dword:00000001\n\n; bench 2\n[Lorvane - 2]\n"
         "PAd=dword:00000011\n"},
        {"a new group ends the file, in its line ends", "[Other]\r\nA=1\r\n", write(kMain, "X", 1),
         "[Other]\r\nA=1\r\n\r\n[Lorvane]\r\nX=dword:00000001\r\n"},
        {"a last line without a line feed", "[Lorvane]\nX=dword:00000001", write(kMain, "Y", 2),
         "[Lorvane]\nX=dword:00000001\nY=dword:00000002\n"},
        {"lines below a damaged header (a slip of the bracket) belong to no group",
         "[Lorvane]\nX=dword:00000001\n[Lorvane - 2)\nY=dword:00000001\n",
         [] {
             EXPECT_TRUE(RegWrite(kMain, "Z", 3));
             EXPECT_EQ(RegRead(kSecond, "Y", 9), 9);
         },
         "[Lorvane]\nX=dword:00000001\nZ=dword:00000003\n[Lorvane - 2)\nY=dword:00000001\n"},
        {"of a repeated name the last line changes",
         "[Lorvane]\nX=dword:00000001\nX=dword:00000002\n",
         [] {
             EXPECT_TRUE(RegWrite(kMain, "X", 3));
             EXPECT_EQ(RegRead(kMain, "X", 9), 3);
         },
         "[Lorvane]\nX=dword:00000001\nX=dword:00000003\n"},
        {"a deleted group leaves the comment leading into the next one",
         "; top\n[Lorvane - 2]\nPAd=dword:00000007\n; inside\nodd line\n\n; bench 3\n"
         "[Lorvane - 3]\nPAd=dword:00000009\n",
         [] { EXPECT_TRUE(RegDelete(kSecond)); },
         "; top\n\n; bench 3\n[Lorvane - 3]\nPAd=dword:00000009\n"},
        {"a deleted first group takes its blank lines along",
         "[Lorvane - 2]\nPAd=dword:00000007\n\n[Lorvane]\nPAd=dword:00000001\n",
         [] { EXPECT_TRUE(RegDelete(kSecond)); }, "[Lorvane]\nPAd=dword:00000001\n"},
    };
    for (const Case& c : cases) {
        writeFile(c.before);
        c.change();
        EXPECT_EQ(fileText(), c.after) << c.what;
    }
}

TEST_F(SettingsStoreTest, DamagedFileGivesDefaultsAndKeepsWhatStillParses) {
    QByteArray text("\x00\xff\xfe\x01junk\n", 9);
    text += "A=dword:00000001\n";                // above every group
    text += "[Lorvane - 2\nX=dword:00000001\n";  // header without "]"
    text += "[Lorvane]\nA=dword:0000002a\nB=dword:0000\nC=dword:zzzzzzzz\nD=sz:bad\\q\n";
    text += "E=sz:ok\\0\nhalf a line\nF=sz:trailing\\\nI=dword:FFFFFFFF\nJ=sz:bare\nK=sz:\n";
    text += QByteArray("\x80\x00\xc3=\xff\n", 6);
    text += "[Lorvane]\nG=dword:00000007";  // a repeated group, no final line break
    writeFile(text);

    EXPECT_EQ(RegRead(kSecond, "X", 9), 9);
    const std::pair<const char*, int> numbers[] = {
        {"A", 42}, {"B", 9}, {"C", 9}, {"I", -1}, {"G", 7}};
    for (const auto& [name, value] : numbers) EXPECT_EQ(RegRead(kMain, name, 9), value) << name;
    const std::pair<const char*, const char*> texts[] = {
        {"D", "fallback"}, {"E", "ok"}, {"F", "fallback"}, {"J", "bare"}, {"K", "fallback"}};
    for (const auto& [name, value] : texts)
        EXPECT_EQ(RegRead(kMain, name, "fallback"), value) << name;
    // A write keeps what still parses.
    EXPECT_TRUE(RegWrite(kMain, "H", 3));
    EXPECT_EQ(RegRead(kMain, "H", 9), 3);
    EXPECT_EQ(RegRead(kMain, "A", 9), 42);
    EXPECT_EQ(RegRead(kMain, "G", 9), 7);
    EXPECT_EQ(RegRead(kMain, "E", "fallback"), "ok");
}

TEST_F(SettingsStoreTest, AFileThatCannotBeWrittenOrReadIsLeftAsItIs) {
    ASSERT_TRUE(RegWrite(kMain, "X", 1));
    refuseOpens<QIODevice::WriteOnly>();
    EXPECT_FALSE(RegWrite(kMain, "Y", 2));
    EXPECT_FALSE(RegWrite(kMain, "T", "text"));
    EXPECT_EQ(RegRead(kMain, "X", 5), 1);
    EXPECT_EQ(fileText(), "[Lorvane]\nX=dword:00000001\n");

    refuseOpens<QIODevice::ReadOnly>();
    EXPECT_EQ(RegRead(kMain, "X", 5), 5);
    EXPECT_FALSE(RegWrite(kMain, "Y", 2));
    EXPECT_FALSE(RegDelete(kMain));
    EXPECT_EQ(fileText(), "[Lorvane]\nX=dword:00000001\n");
}

TEST_F(SettingsStoreTest, UnwritablePlacesFailWritesAndGiveDefaults) {
    ASSERT_TRUE(QDir().mkpath(settings_.iniPath()));  // a folder where the file should be
    EXPECT_FALSE(RegWrite(kMain, "X", 1));
    EXPECT_EQ(RegRead(kMain, "X", 100), 100);
    EXPECT_FALSE(RegDelete(kMain));

    ASSERT_TRUE(QDir(folder()).removeRecursively());
    QFile blocker(folder());  // a file where the folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_FALSE(RegWrite(kMain, "X", 1));
    EXPECT_EQ(RegRead(kMain, "X", 100), 100);
}

TEST_F(SettingsStoreTest, NamesWithSeparatorsStayInTheirOwnGroups) {
    ASSERT_TRUE(RegWrite(kMain, "X", 77));
    const QStringList keys = {"Lorvane - a][Lorvane",
                              "Lorvane - ../x",
                              "Lorvane - ..\\..\\x",
                              "Lorvane - /tmp/x",
                              "Lorvane - n\n[Lorvane]\nX=dword:00000005",
                              "Lorvane - 100%",
                              "Lorvane - 100%25"};
    for (int i = 0; i < keys.size(); ++i) EXPECT_TRUE(RegWrite(keys[i], "X", i));
    for (int i = 0; i < keys.size(); ++i) EXPECT_EQ(RegRead(keys[i], "X", -1), i) << i;
    EXPECT_TRUE(RegDelete("Lorvane - a][Lorvane"));
    EXPECT_EQ(RegRead(kMain, "X", -1), 77);
    EXPECT_EQ(RegRead(keys[1], "X", -1), 1);

    // Names that look like comments, or hold the separator.
    for (const char* name : {"#A", ";A", "  #B", "A=B"}) {
        EXPECT_TRUE(RegWrite(kMain, name, 4)) << name;
        EXPECT_EQ(RegRead(kMain, name, -1), 4) << name;
    }
    EXPECT_EQ(RegRead(kMain, "A", -1), -1);

    EXPECT_TRUE(fileText().contains("\n[Lorvane - n%0A%5BLorvane%5D%0AX%3Ddword:00000005]\n"));
    EXPECT_EQ(entries(settings_.configHome()), QStringList{"Tessaly Software"});
    EXPECT_EQ(entries(folder()), QStringList{"Lorvane.ini"});
}

TEST_F(SettingsStoreTest, TwoWritersAtOnceLoseNothing) {
    constexpr int kWrites = 40;
    auto writer = [](const QString& key) {
        for (int i = 0; i < kWrites; ++i) RegWrite(key, QStringLiteral("V%1").arg(i), i);
    };
    std::thread first(writer, kMain);
    std::thread second(writer, kSecond);
    first.join();
    second.join();
    for (const QString& key : {kMain, kSecond})
        for (int i = 0; i < kWrites; ++i)
            EXPECT_EQ(RegRead(key, QStringLiteral("V%1").arg(i), -1), i) << key.toStdString();
    EXPECT_EQ(entries(folder()), QStringList{"Lorvane.ini"});
}

TEST(SettingsFilePathTest, FallsBackToDotConfigInHome) {
    QTemporaryDir home;
    test::ScopedEnv homeEnv("HOME", home.path().toLocal8Bit());
    test::ScopedEnv xdg("XDG_CONFIG_HOME", "");
    const QString expected = home.path() + "/.config/Tessaly Software/Lorvane.ini";
    EXPECT_EQ(settingsFilePath(), expected);
    qputenv("XDG_CONFIG_HOME", "relative/path");
    EXPECT_EQ(settingsFilePath(), expected);
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(settingsFilePath(), expected);
    EXPECT_TRUE(RegWrite(kMain, "X", 3));
    EXPECT_TRUE(QFile::exists(expected));
}

}  // namespace
}  // namespace lorvane
