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

ExportSetup biasGainSetup() {
    ExportSetup setup = gainSetup();
    setup.quantityLabel[0] = u"Bias"_s;
    setup.columnUnits[0] = u"mV"_s;
    setup.sweep = SweepParam::Bias;
    setup.sweepCaption = u"Bias"_s;
    return setup;
}

struct WorkbookFixture : ::testing::Test {
    QString path() const { return folder + u"/Lorvane.xlsx"_s; }
    std::optional<XlsxBook> book() const { return readXlsx(path()); }
    // Every press asks for the workbook to be shown, and for nothing else.
    std::vector<QString> shown(int presses) const {
        return std::vector<QString>(static_cast<size_t>(presses), u"show:"_s + path());
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

using WorkbookExportTest = WorkbookFixture;

// The cell holds exactly `value`, written as a number with a decimal point in every locale.
void expectNumber(const XlsxSheet& sheet, const QString& reference, double value) {
    SCOPED_TRACE(reference.toStdString());
    ASSERT_TRUE(sheet.cells.contains(reference));
    const XlsxCell cell = sheet.cells.value(reference);
    EXPECT_TRUE(cell.isNumber) << cell.text.toStdString();
    EXPECT_EQ(cell.number, value);
    EXPECT_EQ(cell.numberFormat, u"0.00");
}

void expectTitle(const XlsxSheet& sheet, const QString& reference, const QString& text) {
    SCOPED_TRACE(reference.toStdString());
    const XlsxCell cell = sheet.cells.value(reference);
    EXPECT_FALSE(cell.isNumber);
    EXPECT_EQ(cell.text, text);
    EXPECT_TRUE(cell.bold);
    EXPECT_EQ(cell.alignment, u"right");
}

TEST_F(WorkbookExportTest, EmptyTableDoesNothing) {
    workbook.run();
    EXPECT_FALSE(QFile::exists(path()));
    EXPECT_TRUE(app.journal.empty());
    EXPECT_TRUE(view.journal.empty());
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(WorkbookExportTest, FirstPressWritesTheSheetOfThePairAndShowsTheWorkbook) {
    table.rows = {locRow("0.500", "123.456", "-45.250"), locRow("12.000", "1234.5678", "0.000")};
    workbook.run();

    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(app.journal, shown(1));
    EXPECT_EQ(view.journal, std::vector<QString>{written("Freq_Z")});
    EXPECT_TRUE(workbook.sheetMade(SweepParam::Frequency, MeasureMode::Impedance));
    EXPECT_FALSE(workbook.sheetMade(SweepParam::Bias, MeasureMode::Impedance));

    const auto read = book();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->sheetNames(), (QStringList{u"Freq_Z"_s, u"Sheet1"_s}));
    EXPECT_EQ(read->activeSheet, 0);
    EXPECT_EQ(read->title, u"Lorvane");
    EXPECT_EQ(read->subject, u"Measurement");
    EXPECT_EQ(read->comments, u"Generated from Lorvane");
    const XlsxSheet& sheet = read->sheets.front();
    expectTitle(sheet, u"A1"_s, u"Freq. (kHz)"_s);
    expectTitle(sheet, u"B1"_s, u"Z (Ohm)"_s);
    expectTitle(sheet, u"C1"_s, u"Phi (°)"_s);
    expectNumber(sheet, u"A2"_s, 0.5);
    expectNumber(sheet, u"B2"_s, 123.456);
    expectNumber(sheet, u"C2"_s, -45.25);
    expectNumber(sheet, u"A3"_s, 12);
    expectNumber(sheet, u"B3"_s, 1234.5678);
    expectNumber(sheet, u"C3"_s, 0);
    EXPECT_EQ(sheet.cells.size(), 9);
    EXPECT_TRUE(read->sheets.back().cells.isEmpty());
    // Nothing but the workbook is left in the folder.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"Lorvane.xlsx"_s});
}

TEST_F(WorkbookExportTest, SecondPressWithTheSameSetUpRewritesTheValuesOfItsSheet) {
    table.rows = {locRow("1.000", "10.000", "1.000"), locRow("2.000", "20.000", "2.000"),
                  locRow("3.000", "30.000", "3.000")};
    workbook.run();
    table.rows = {locRow("1.000", "11.000", "-1.000"), locRow("2.000", "22.000", "-2.000")};
    workbook.run();

    EXPECT_TRUE(platform.messages.empty());
    // The program the first press started for the operator is left alone.
    EXPECT_EQ(app.journal, shown(2));
    const auto read = book();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->sheetNames(), (QStringList{u"Freq_Z"_s, u"Sheet1"_s}));
    const XlsxSheet& sheet = read->sheets.front();
    expectTitle(sheet, u"A1"_s, u"Freq. (kHz)"_s);
    expectNumber(sheet, u"B2"_s, 11);
    expectNumber(sheet, u"C3"_s, -2);
    // The row below the last one exported keeps what the first press wrote.
    expectNumber(sheet, u"A4"_s, 3);
    expectNumber(sheet, u"B4"_s, 30);
}

TEST_F(WorkbookExportTest, EachNewPairGetsASheetBeforeTheActiveOne) {
    table.rows = {locRow("1.000", "10.000", "1.000")};
    workbook.run();
    table.current = biasGainSetup();
    table.rows = {locRow("-20.000", "-3.25000", "45.500")};
    workbook.run();
    // Freq_G and Bias_Z are pairs of their own too.
    table.current = gainSetup();
    workbook.run();
    table.current = impedanceSetup();
    table.current.sweep = SweepParam::Bias;
    table.current.sweepCaption = u"Bias"_s;
    workbook.run();

    EXPECT_TRUE(platform.messages.empty());
    const auto read = book();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->sheetNames(),
              (QStringList{u"Bias_Z"_s, u"Freq_G"_s, u"Bias_G"_s, u"Freq_Z"_s, u"Sheet1"_s}));
    EXPECT_EQ(read->activeSheet, 0);
    const XlsxSheet* bias = read->sheet(u"Bias_G"_s);
    ASSERT_TRUE(bias);
    expectTitle(*bias, u"A1"_s, u"Bias (mV)"_s);
    expectTitle(*bias, u"B1"_s, u"A (dB)"_s);
    expectNumber(*bias, u"A2"_s, -20);
    expectNumber(*bias, u"B2"_s, -3.25);
    expectNumber(*read->sheet(u"Freq_Z"_s), u"B2"_s, 10);

    // A pair that has its sheet goes back to it; the order stays.
    table.current = biasGainSetup();
    table.rows = {locRow("-20.000", "-1.00000", "45.500")};
    workbook.run();
    const auto again = book();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->sheetNames(), read->sheetNames());
    expectNumber(*again->sheet(u"Bias_G"_s), u"B2"_s, -1);
}

TEST_F(WorkbookExportTest, WithoutASpreadsheetProgramTheFileIsWrittenAndFailureASaysSo) {
    app.installed = false;
    table.rows = {locRow("1.000", "10.000", "1.000")};
    workbook.run();
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              u"Microsoft EXCEL: Not found on this machine\r\nCannot display results");
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_FALSE(platform.messages[0].systemModal);
    EXPECT_EQ(platform.messages[0].title, u"Lorvane");
    EXPECT_EQ(view.journal, std::vector<QString>{written("Freq_Z")});

    // The workbook goes on: the next pair is added to it.
    table.current = gainSetup();
    workbook.run();
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(view.journal.back(), written("Freq_G"));
    const auto read = book();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->sheetNames(), (QStringList{u"Freq_G"_s, u"Freq_Z"_s, u"Sheet1"_s}));
}

TEST_F(WorkbookExportTest, AFolderThatCannotBeMadeIsNamedWithTheSystemsReason) {
    // A file stands where the documents folder's parent should be.
    QFile blocker(dir.path() + u"/blocked"_s);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString blockedFolder = blocker.fileName() + u"/Documents"_s;
    table.rows = {locRow("1.000", "10.000", "1.000")};
    WorkbookExport blocked(table, view, platform, app, blockedFolder);
    blocked.run();

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              u"Cannot write %1/Lorvane.xlsx\r\n%2"_s.arg(
                  blockedFolder, QString::fromLocal8Bit(strerror(ENOTDIR))));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(app.journal.empty());
    EXPECT_TRUE(view.journal.empty());
}

TEST_F(WorkbookExportTest, AWorkbookThatCannotBeWrittenIsKeptForTheNextPress) {
    table.rows = {locRow("1.000", "10.000", "1.000")};
    workbook.run();
    table.current = gainSetup();
    workbook.run();
    // Something that cannot be replaced by a file now stands at the workbook's place.
    ASSERT_TRUE(QFile::remove(path()));
    ASSERT_TRUE(QDir().mkdir(path()));
    table.current = impedanceSetup();
    table.rows = {locRow("1.000", "11.000", "1.000")};
    workbook.run();

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              u"Cannot write %1\r\n%2"_s.arg(path(), QString::fromLocal8Bit(strerror(EISDIR))));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(app.journal, shown(2));  // nothing is shown after the failure
    EXPECT_EQ(view.journal.size(), 2u);
    // No partial file is left behind.
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // Nothing was lost: the next press writes every sheet, with the values of the last press.
    ASSERT_TRUE(QDir().rmdir(path()));
    table.current = gainSetup();
    workbook.run();
    EXPECT_EQ(platform.messages.size(), 1u);
    const auto read = book();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->sheetNames(), (QStringList{u"Freq_G"_s, u"Freq_Z"_s, u"Sheet1"_s}));
    expectNumber(*read->sheet(u"Freq_Z"_s), u"B2"_s, 11);
}

TEST_F(WorkbookExportTest, AValueThatIsNotANumberIsKeptAsItsText) {
    table.rows = {locRow("1.000", "NaN", "Inf")};
    workbook.run();
    EXPECT_TRUE(platform.messages.empty());
    const auto read = book();
    ASSERT_TRUE(read);
    const XlsxSheet& sheet = read->sheets.front();
    expectNumber(sheet, u"A2"_s, 1);
    EXPECT_FALSE(sheet.cells.value(u"B2"_s).isNumber);
    EXPECT_EQ(sheet.cells.value(u"B2"_s).text, u"NaN");
    EXPECT_EQ(sheet.cells.value(u"C2"_s).text, u"Inf");
}

}  // namespace
}  // namespace lorvane::test
