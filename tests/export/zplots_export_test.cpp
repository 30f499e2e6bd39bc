#include "zplots_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "export_fakes.h"
#include "fake_platform.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

const QByteArray kHeader = "\"Frequency(Hz)\",\"Transmission Loss(dB)\",\"Phase(deg)\"\r\n";

struct ZPlotsFixture : ::testing::Test {
    ZPlotsFixture() {
        table.current = gainSetup();
        table.rows = {locRow("100.000", "-3.25000", "45.500"),
                      locRow("0.500", "0.12500", "-0.500")};
    }

    QString scanPath() const { return dir.filePath(u"$Zplots$Scan.csv"_s); }
    QString zplotsPath() const { return dir.filePath(u"ZPlots.xls"_s); }
    QByteArray scanFile() const {
        QFile file(scanPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void makeZPlots() {
        QFile file(zplotsPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }

    QTemporaryDir dir;
    FakeTable table;
    FakePlatform platform;
    FakeSpreadsheet app;
    ZPlotsExport zplots{table, platform, app, [this] { return dir.path(); }};
};

using ZPlotsExportTest = ZPlotsFixture;

TEST_F(ZPlotsExportTest, OutsideGainModeItSaysSoAndTouchesNothing) {
    for (const bool empty : {false, true}) {
        SCOPED_TRACE(empty ? "empty table" : "with rows");
        platform.messages.clear();
        table.current = impedanceSetup();
        if (empty) table.rows.clear();
        zplots.run();
        ASSERT_EQ(platform.messages.size(), 1u);
        EXPECT_EQ(platform.messages[0].text, u"Gain mode only\r\nPlease change configuration");
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
        EXPECT_FALSE(platform.messages[0].systemModal);
        EXPECT_FALSE(QFile::exists(scanPath()));
        EXPECT_TRUE(app.journal.empty());
    }
}

TEST_F(ZPlotsExportTest, AnEmptyTableInGainModeDoesNothing) {
    table.rows.clear();
    zplots.run();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(QFile::exists(scanPath()));
    EXPECT_TRUE(app.journal.empty());
}

TEST_F(ZPlotsExportTest, WritesTheScanFileAndOpensZPlotsBesideIt) {
    makeZPlots();
    zplots.run();
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(scanFile(), kHeader + "100000,-3.25,45.5\r\n500,0.125,-0.5\r\n");
    EXPECT_EQ(app.journal, std::vector<QString>{u"show:"_s + zplotsPath()});

    // The next export rewrites the file and shows ZPlots again, leaving the program that the
    // first one started for the operator alone.
    table.rows = {locRow("-20.000", "-1.00000", "2.000")};
    zplots.run();
    EXPECT_EQ(scanFile(), kHeader + "-20000,-1,2\r\n");
    EXPECT_EQ(app.journal, std::vector<QString>(2, u"show:"_s + zplotsPath()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              (QStringList{u"$Zplots$Scan.csv"_s, u"ZPlots.xls"_s}));
}

TEST_F(ZPlotsExportTest, WithoutZPlotsFailureMShowsTheScanFileInstead) {
    zplots.run();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              u"Microsoft EXCEL: Cannot open Zplots.xls\r\nYou'll need to open it manually");
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Information);
    EXPECT_TRUE(platform.messages[0].systemModal);
    EXPECT_EQ(scanFile(), kHeader + "100000,-3.25,45.5\r\n500,0.125,-0.5\r\n");
    EXPECT_EQ(app.journal, std::vector<QString>{u"show:"_s + scanPath()});
}

TEST_F(ZPlotsExportTest, FailureMAlsoWhenZPlotsCannotBeShown) {
    makeZPlots();
    app.failingPaths = {zplotsPath()};
    zplots.run();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              u"Microsoft EXCEL: Cannot open Zplots.xls\r\nYou'll need to open it manually");
    EXPECT_EQ(app.journal,
              (std::vector<QString>{u"show:"_s + zplotsPath(), u"show:"_s + scanPath()}));
}

TEST_F(ZPlotsExportTest, WithoutASpreadsheetProgramFailureNAfterWritingTheFile) {
    makeZPlots();
    app.installed = false;
    zplots.run();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              u"Microsoft EXCEL: Not found on this machine\r\nCannot display results");
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(scanFile(), kHeader + "100000,-3.25,45.5\r\n500,0.125,-0.5\r\n");
    EXPECT_TRUE(app.journal.empty());
}

TEST_F(ZPlotsExportTest, AScanFileThatCannotBeWrittenIsReportedAndNothingIsShown) {
    makeZPlots();
    // A folder in the scan file's place cannot be replaced by the file.
    ASSERT_TRUE(QDir().mkdir(scanPath()));
    zplots.run();
    ASSERT_EQ(platform.messages.size(), 1u);
    const QString start = u"Cannot write "_s + scanPath() + u"\r\n"_s;
    EXPECT_TRUE(platform.messages[0].text.startsWith(start))
        << platform.messages[0].text.toStdString();
    EXPECT_GT(platform.messages[0].text.size(), start.size());  // and the reason
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(app.journal.empty());
}

TEST(ZPlotsPlace, TheScanFileAndZPlotsAreInTheCurrentFolder) {
    QTemporaryDir dir;
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    FakeTable table;
    FakePlatform platform;
    FakeSpreadsheet app;
    const ZPlotsExport zplots(table, platform, app);
    const QString scan = zplots.scanFilePath();
    const QString book = zplots.zplotsPath();
    QDir::setCurrent(before);
    EXPECT_EQ(scan, QDir(dir.path()).canonicalPath() + u"/$Zplots$Scan.csv"_s);
    EXPECT_EQ(book, QDir(dir.path()).canonicalPath() + u"/ZPlots.xls"_s);
}

}  // namespace
}  // namespace lorvane::test
