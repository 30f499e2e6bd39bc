#include "workbook_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "export_fakes.h"
#include "fake_platform.h"
#include "xlsx_reader.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kTitles =
    u"A1 \"Freq. (kHz)\" bold right|B1 \"Z (Ohm)\" bold right|"
    u"C1 \"Phi (°)\" bold right"_s;

struct WorkbookExportTest : ::testing::Test {
    QString path() const { return folder + u"/Lorvane.xlsx"_s; }
    // Runs the export with these rows and set-up.
    void press(const ExportSetup& setup, ExportRows rows) {
        table.current = setup;
        table.rows = std::move(rows);
        workbook.run();
    }
    QString written(const char* sheet) const {
        return u"message:Sheet %1 written to %2"_s.arg(QString::fromLatin1(sheet), path());
    }

    QTemporaryDir dir;
    // Not there yet: the export creates it.
    QString folder = dir.path() + u"/Documents"_s;
    FakeTable table;
    FakePlatform platform;
    FakeView view;
    FakeSpreadsheet app;
    WorkbookExport workbook{table, view, platform, app, folder};
};

ExportSetup withBias(ExportSetup setup) {
    setup.quantityLabel[0] = u"Bias"_s;
    setup.columnUnits[0] = u"mV"_s;
    setup.sweep = SweepParam::Bias;
    setup.sweepCaption = u"Bias"_s;
    return setup;
}

TEST_F(WorkbookExportTest, EachPairGetsItsSheetBeforeTheOthersAndAPressRewritesItsValues) {
    workbook.run();  // an empty table does nothing
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_TRUE(app.journal.empty() && view.journal.empty() && platform.messages.empty());

    press(impedanceSetup(), {locRow("0.500", "123.456", "-45.250"),
                             locRow("12.000", "1234.5678", "0.000"), locRow("3.000", "3", "3")});
    press(impedanceSetup(), {locRow("1.000", "11.000", "NaN"), locRow("2.000", "22.000", "-2")});
    EXPECT_FALSE(workbook.sheetMade(SweepParam::Bias, MeasureMode::Impedance));
    press(withBias(gainSetup()), {locRow("-20.000", "-3.25000", "45.500")});
    press(gainSetup(), {locRow("1.000", "2.000", "3.000")});
    press(withBias(impedanceSetup()), {locRow("1.000", "2.000", "3.000")});
    press(withBias(gainSetup()), {locRow("-20.000", "-1.00000", "45.500")});

    EXPECT_TRUE(platform.messages.empty());
    for (const SweepParam sweep : {SweepParam::Frequency, SweepParam::Bias}) {
        for (int mode = 0; mode <= static_cast<int>(MeasureMode::Delay); ++mode) {
            const auto measured = static_cast<MeasureMode>(mode);
            EXPECT_EQ(workbook.sheetMade(sweep, measured),
                      measured == MeasureMode::Impedance || measured == MeasureMode::Gain)
                << static_cast<int>(sweep) << " " << mode;
        }
    }
    // Every press shows the file; a program an earlier one started is the operator's.
    EXPECT_EQ(app.journal, std::vector<QString>(6, u"show:"_s + path()));
    EXPECT_EQ(view.journal.front(), written("Freq_Z"));
    EXPECT_EQ(view.journal.back(), written("Bias_G"));
    const auto book = readXlsx(path());
    ASSERT_TRUE(book);
    EXPECT_EQ(book->sheetNames,
              (QStringList{u"Bias_Z"_s, u"Freq_G"_s, u"Bias_G"_s, u"Freq_Z"_s, u"Sheet1"_s}));
    EXPECT_EQ(book->activeSheet, 0);
    EXPECT_EQ(book->properties,
              (QStringList{u"Lorvane"_s, u"Measurement"_s, u"Generated from Lorvane"_s}));
    // Numbers with a point in every locale; a value that is no number stays its text; the row
    // below the last one exported keeps what the earlier press wrote.
    EXPECT_EQ(book->cells[u"Freq_Z"_s].join(u'|'),
              kTitles +
                  u"|A2 1 0.00|B2 11 0.00|C2 \"NaN\" 0.00|A3 2 0.00|B3 22 0.00|C3 -2 0.00|"
                  u"A4 3 0.00|B4 3 0.00|C4 3 0.00"_s);
    EXPECT_EQ(book->cells[u"Bias_G"_s].join(u'|'),
              u"A1 \"Bias (mV)\" bold right|B1 \"A (dB)\" bold right|C1 \"B (°)\" bold right|"
              u"A2 -20 0.00|B2 -1 0.00|C2 45.5 0.00"_s);
    EXPECT_TRUE(book->cells[u"Sheet1"_s].isEmpty());
    // Nothing but the workbook is left in the folder.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"Lorvane.xlsx"_s});
}

TEST_F(WorkbookExportTest, WithoutASpreadsheetProgramTheFileIsWrittenAndFailureASaysSo) {
    app.installed = false;
    press(impedanceSetup(), {locRow("1.000", "10.000", "1.000")});
    press(gainSetup(), {locRow("1.000", "10.000", "1.000")});
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text,
              u"Microsoft EXCEL: Not found on this machine\r\nCannot display results");
    EXPECT_EQ(platform.messages[1].icon, MsgIcon::Exclamation);
    EXPECT_FALSE(platform.messages[1].systemModal);
    EXPECT_EQ(view.journal, (std::vector<QString>{written("Freq_Z"), written("Freq_G")}));
    const auto book = readXlsx(path());
    ASSERT_TRUE(book);
    EXPECT_EQ(book->sheetNames, (QStringList{u"Freq_G"_s, u"Freq_Z"_s, u"Sheet1"_s}));
}

TEST_F(WorkbookExportTest, AFileThatCannotBeWrittenIsNamedWithTheReasonAndNothingIsLost) {
    // A file stands where the documents folder's parent should be.
    QFile blocker(dir.path() + u"/blocked"_s);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    const QString blockedFolder = blocker.fileName() + u"/Documents"_s;
    table.rows = {locRow("1.000", "10.000", "1.000")};
    WorkbookExport(table, view, platform, app, blockedFolder).run();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              u"Cannot write %1/Lorvane.xlsx\r\n%2"_s.arg(
                  blockedFolder, QString::fromLocal8Bit(strerror(ENOTDIR))));
    EXPECT_TRUE(app.journal.empty() && view.journal.empty());

    press(impedanceSetup(), {locRow("1.000", "10.000", "1.000")});
    press(gainSetup(), {locRow("1.000", "10.000", "1.000")});
    // Something that cannot be replaced by a file now stands at the workbook's place.
    ASSERT_TRUE(QFile::remove(path()));
    ASSERT_TRUE(QDir().mkdir(path()));
    press(impedanceSetup(), {locRow("1.000", "11.000", "1.000")});
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text,
              u"Cannot write %1\r\n%2"_s.arg(path(), QString::fromLocal8Bit(strerror(EISDIR))));
    EXPECT_EQ(platform.messages[1].icon, MsgIcon::Exclamation);
    EXPECT_EQ(app.journal.size(), 2u);  // nothing is shown after the failure
    EXPECT_EQ(view.journal.size(), 2u);
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // The next press writes every sheet, with the values of the failed press.
    ASSERT_TRUE(QDir().rmdir(path()));
    press(gainSetup(), {locRow("1.000", "10.000", "1.000")});
    EXPECT_EQ(platform.messages.size(), 2u);
    const auto book = readXlsx(path());
    ASSERT_TRUE(book);
    EXPECT_EQ(book->sheetNames, (QStringList{u"Freq_G"_s, u"Freq_Z"_s, u"Sheet1"_s}));
    EXPECT_EQ(book->cells[u"Freq_Z"_s].join(u'|'), kTitles + u"|A2 1 0.00|B2 11 0.00|C2 1 0.00"_s);
}

}  // namespace
}  // namespace lorvane::test
