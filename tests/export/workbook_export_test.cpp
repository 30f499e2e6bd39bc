#include "workbook_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

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
    std::vector<QString> shownAndQuit(int presses) const {
        std::vector<QString> journal;
        for (int i = 0; i < presses; ++i)
            journal.insert(journal.end(), {u"quit"_s, u"show:"_s + path()});
        return journal;
    }

    QTemporaryDir dir;
    // Not there yet: the export creates it.
    QString folder = dir.path() + u"/Documents"_s;
    FakeTable table;
    FakePlatform platform;
    FakeSpreadsheet app;
    WorkbookExport workbook{table, platform, app, folder};
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
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_FALSE(workbook.isOpen());
}

TEST_F(WorkbookExportTest, FirstPressWritesTheSheetOfThePairAndShowsTheWorkbook) {
    table.rows = {locRow("0.500", "123.456", "-45.250"), locRow("12.000", "1234.5678", "0.000")};
    workbook.run();

    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(app.journal, shownAndQuit(1));
    EXPECT_TRUE(workbook.isOpen());
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
    EXPECT_EQ(app.journal, shownAndQuit(2));
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

    // The workbook goes on: the next pair is added to it.
    table.current = gainSetup();
    workbook.run();
    EXPECT_EQ(platform.messages.size(), 2u);
    const auto read = book();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->sheetNames(), (QStringList{u"Freq_G"_s, u"Freq_Z"_s, u"Sheet1"_s}));
}

TEST_F(WorkbookExportTest, FailureBWhenANewWorkbookCannotBeWritten) {
    // The documents folder cannot be made: a file stands where its parent should be.
    QFile blocker(dir.path() + u"/blocked"_s);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    FakeTable blockedTable;
    blockedTable.rows = {locRow("1.000", "10.000", "1.000")};
    WorkbookExport blocked(blockedTable, platform, app, blocker.fileName() + u"/Documents"_s);
    blocked.run();

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              u"Microsoft EXCEL: Cannot access data sheets\r\nEXCEL application error");
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Information);
    EXPECT_TRUE(platform.messages[0].systemModal);
    EXPECT_EQ(app.journal, (std::vector<QString>{u"quit"_s}));
    EXPECT_FALSE(blocked.isOpen());
    EXPECT_FALSE(blocked.sheetMade(SweepParam::Frequency, MeasureMode::Impedance));
}

TEST_F(WorkbookExportTest, FailureCWhenTheWorkbookCannotBeRewrittenAndTheNextPressStartsAnew) {
    table.rows = {locRow("1.000", "10.000", "1.000")};
    workbook.run();
    table.current = gainSetup();
    workbook.run();
    // Something that cannot be replaced by a file now stands at the workbook's place.
    ASSERT_TRUE(QFile::remove(path()));
    ASSERT_TRUE(QDir().mkdir(path()));
    workbook.run();

    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              u"Microsoft EXCEL: Cannot create data sheets\r\nEXCEL application may have been "
              "closed");
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Information);
    EXPECT_TRUE(platform.messages[0].systemModal);
    EXPECT_EQ(app.journal.back(), u"quit");
    EXPECT_FALSE(workbook.isOpen());
    // No partial file is left behind.
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());

    // The next press starts a new workbook in which no pair has a sheet yet, so the pair that
    // had one in the old workbook gets a new one.
    ASSERT_TRUE(QDir().rmdir(path()));
    workbook.run();
    EXPECT_EQ(platform.messages.size(), 1u);
    EXPECT_TRUE(workbook.sheetMade(SweepParam::Frequency, MeasureMode::Gain));
    EXPECT_FALSE(workbook.sheetMade(SweepParam::Frequency, MeasureMode::Impedance));
    const auto read = book();
    ASSERT_TRUE(read);
    EXPECT_EQ(read->sheetNames(), (QStringList{u"Freq_G"_s, u"Sheet1"_s}));
    expectNumber(read->sheets.front(), u"B2"_s, 10);
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
