// The workbook (E) and the ZPlots scan file (Z), written into folders of the test's own.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>

#include "export_rig.h"
#include "scan_file.h"
#include "workbook_export.h"
#include "zplots_export.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

const QString kNotFound = u"Microsoft EXCEL: Not found on this machine\r\nCannot display results"_s;

struct WorkbookExportTest : ::testing::Test {
    void press(const ExportSetup& setup, ExportRows rows) {
        table.current = setup;
        table.rows = std::move(rows);
        workbook.run();
    }
    QTemporaryDir dir;
    QString folder = dir.path() + u"/Documents"_s;  // not there yet: the export makes it
    QString path = folder + u"/Lorvane.xlsx"_s;
    FakeTable table;
    FakePlatform platform;
    FakeView view;
    FakeSpreadsheet app;
    WorkbookExport workbook{table, view, platform, app, folder};
};

TEST_F(WorkbookExportTest, EachPairGetsItsSheetBeforeTheOthersAndAPressRewritesItsValues) {
    workbook.run();  // an empty table does nothing
    EXPECT_FALSE(QFile::exists(path));
    press(sweepSetup(), {locRow("0.500", "123.456", "-45.250"),
                         locRow("12.000", "1234.5678", "0.000"), locRow("3.000", "3", "3")});
    press(sweepSetup(), {locRow("1.000", "11.000", "NaN"), locRow("2.000", "22.000", "-2")});
    EXPECT_FALSE(workbook.sheetMade(SweepParam::Bias, MeasureMode::Impedance));
    press(sweepSetup(true, true), {locRow("-20.000", "-3.25000", "45.500")});
    press(sweepSetup(true), {locRow("1.000", "2.000", "3.000")});
    press(sweepSetup(false, true), {locRow("1.000", "2.000", "3.000")});
    press(sweepSetup(true, true), {locRow("-20.000", "-1.00000", "45.500")});
    QString made;
    for (const SweepParam sweep : {SweepParam::Frequency, SweepParam::Bias})
        for (int mode = 0; mode <= static_cast<int>(MeasureMode::Delay); ++mode)
            made += workbook.sheetMade(sweep, static_cast<MeasureMode>(mode)) ? u'1' : u'0';
    EXPECT_EQ(made, u"100010100010");
    // Every press shows the file; a program an earlier one started is the operator's.
    EXPECT_EQ(app.journal, std::vector<QString>(6, u"show:"_s + path));
    // Numbers with a point in every locale; a value that is no number stays its text; the row
    // below the last one exported keeps what the earlier press wrote.
    EXPECT_EQ(readXlsx(path).toStdString(),
              "Lorvane|Measurement|Generated from Lorvane\n"
              "Bias_Z*: A1 \"Bias (mV)\" bold right B1 \"Z (Ohm)\" bold right "
              "C1 \"Phi (°)\" bold right A2 1 0.00 B2 2 0.00 C2 3 0.00\n"
              "Freq_G: A1 \"Freq. (kHz)\" bold right B1 \"A (dB)\" bold right "
              "C1 \"B (°)\" bold right A2 1 0.00 B2 2 0.00 C2 3 0.00\n"
              "Bias_G: A1 \"Bias (mV)\" bold right B1 \"A (dB)\" bold right "
              "C1 \"B (°)\" bold right A2 -20 0.00 B2 -1 0.00 C2 45.5 0.00\n"
              "Freq_Z: A1 \"Freq. (kHz)\" bold right B1 \"Z (Ohm)\" bold right "
              "C1 \"Phi (°)\" bold right A2 1 0.00 B2 11 0.00 C2 \"NaN\" 0.00 A3 2 0.00 B3 22 0.00 "
              "C3 -2 0.00 A4 3 0.00 B4 3 0.00 C4 3 0.00\n"
              "Sheet1:");
    // Nothing but the workbook is left in the folder.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{u"Lorvane.xlsx"_s});
}

TEST_F(WorkbookExportTest, AFileThatCannotBeWrittenIsNamedWithTheReasonAndNothingIsLost) {
    // Failure A: nothing shows the file, which is written anyway.
    app.installed = false;
    press(sweepSetup(true), {locRow("1.000", "10.000", "1.000")});
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text, kNotFound);
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Exclamation);
    app.installed = true;
    // A folder stands where the workbook should go: the next press writes every sheet, with
    // the values of the failed one.
    ASSERT_TRUE(QFile::remove(path) && QDir().mkdir(path));
    press(sweepSetup(), {locRow("1.000", "11.000", "1.000")});
    ASSERT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(platform.messages[1].text, u"Cannot write %1\r\n%2"_s.arg(path, strerror(EISDIR)));
    EXPECT_TRUE(app.journal.empty());
    EXPECT_EQ(view.journal, std::vector<QString>{u"message:Sheet Freq_G written to "_s + path});
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
    ASSERT_TRUE(QDir().rmdir(path));
    press(sweepSetup(true), {locRow("1.000", "10.000", "1.000")});
    EXPECT_EQ(platform.messages.size(), 2u);
    EXPECT_EQ(readXlsx(path).section(u'\n', 1, 1),
              u"Freq_Z*: A1 \"Freq. (kHz)\" bold right B1 \"Z (Ohm)\" bold right C1 \"Phi (°)\" "
              u"bold right A2 1 0.00 B2 11 0.00 C2 1 0.00"_s);
    // A file stands where the documents folder's parent should be.
    QFile blocker(dir.filePath(u"blocked"_s));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    WorkbookExport(table, view, platform, app, blocker.fileName() + u"/Documents"_s).run();
    EXPECT_EQ(platform.messages.back().text, u"Cannot write %1/Documents/Lorvane.xlsx\r\n%2"_s.arg(
                                                 blocker.fileName(), strerror(ENOTDIR)));
}

TEST(ScanFile, PlainDecimalNumbersWithAPointInEveryLocaleWithoutRowsThatAreNoNumbers) {
    const std::pair<double, const char*> numbers[] = {
        {100000, "100000"},
        {-0.05, "-0.05"},
        {-0.0, "0"},
        {12.345 * 1000, "12345"},  // 12345.000000000002 in binary arithmetic
        {0.1 + 0.2, "0.3"},
        {1e-7, "0.0000001"},
        {-1.5e20, "-150000000000000000000"},
        {123456.789012345678, "123456.789012346"},
    };
    for (const auto& [value, text] : numbers) EXPECT_EQ(scanNumber(value), text) << text;
    EXPECT_EQ(scanFileText({locRow("100.000", "-3.25000", "45.500"), locRow("1.000", "NaN", "1"),
                            locRow("0.005", "0.00000", "-0.500")}),
              "\"Frequency(Hz)\",\"Transmission Loss(dB)\",\"Phase(deg)\"\r\n"
              "100000,-3.25,45.5\r\n5,0,-0.5\r\n");
    const ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(scanLine({u"12,345"_s, u"-3,25000"_s, u"0,500"_s}), u"12345,-3.25,0.5\r\n");
    EXPECT_EQ(scanLine({u"12.345"_s, u"-3,25000"_s, u"0,500"_s}), std::nullopt);
}

TEST(ZPlotsExport, WritesTheScanFileAndShowsZPlotsOrSaysWhyNot) {
    const QByteArray scan =
        "\"Frequency(Hz)\",\"Transmission Loss(dB)\",\"Phase(deg)\"\r\n"
        "100000,-3.25,45.5\r\n500,0.125,-0.5\r\n";
    const QString noZPlots =
        u"Microsoft EXCEL: Cannot open Zplots.xls\r\nYou'll need to open it manually"_s;
    const QString gainOnly = u"Gain mode only\r\nPlease change configuration"_s;
    // g gain, r rows, z ZPlots.xls there, i a program installed, f ZPlots.xls fails to show, b a
    // folder blocks the scan file; shown: z ZPlots.xls, s the scan file; message, icon, modal.
    const std::tuple<const char*, bool, const char*, QString> cases[] = {
        {"grzi", true, "z", ""},
        {"gzi", false, "", ""},
        {"rzi", false, "", gainOnly + " !"},
        {"zi", false, "", gainOnly + " !"},
        {"gri", true, "s", noZPlots + " i modal"},
        {"grzif", true, "zs", noZPlots + " i modal"},
        {"grz", true, "", kNotFound + " !"},
        {"grzib", false, "", "Cannot write %1\r\nFilename refers to a directory !"},
    };
    for (const auto& [given, written, shown, message] : cases) {
        SCOPED_TRACE(given);
        QTemporaryDir dir;
        const QString set(given);
        FakeTable table;
        table.current = sweepSetup(set.contains(u'g'));
        if (set.contains(u'r'))
            table.rows = {locRow("100.000", "-3.25000", "45.500"), locRow("0.5", "0.125", "-0.5")};
        if (set.contains(u'z')) QFile(dir.filePath(u"ZPlots.xls"_s)).open(QIODevice::WriteOnly);
        if (set.contains(u'b')) QDir(dir.path()).mkdir(u"$Zplots$Scan.csv"_s);
        FakePlatform platform;
        FakeSpreadsheet app;
        app.installed = set.contains(u'i');
        if (set.contains(u'f')) app.failingPaths = {dir.filePath(u"ZPlots.xls"_s)};
        ZPlotsExport(table, platform, app, [&] { return dir.path(); }).run();
        QFile file(dir.filePath(u"$Zplots$Scan.csv"_s));
        EXPECT_EQ(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(),
                  written ? scan : QByteArray());
        QString showings;
        for (const QString& show : app.journal) showings += show.endsWith(u".xls") ? u'z' : u's';
        EXPECT_EQ(showings, QString::fromLatin1(shown));
        QStringList messages;
        for (const MessageRequest& box : platform.messages)
            messages << box.text + (box.icon == MsgIcon::Exclamation ? " !" : " i") +
                            (box.systemModal ? " modal" : "");
        EXPECT_EQ(messages, message.isEmpty()
                                ? QStringList()
                                : QStringList{QString(message).replace("%1", file.fileName())});
    }
    // By default the files are in the current folder.
    FakeTable table;
    FakePlatform platform;
    FakeSpreadsheet app;
    EXPECT_EQ(ZPlotsExport(table, platform, app).scanFilePath(),
              QDir::current().filePath(u"$Zplots$Scan.csv"_s));
}

}  // namespace
}  // namespace lorvane::test
