#include "zplots_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "export_fakes.h"
#include "fake_platform.h"
#include "scan_file.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

const QByteArray kScan =
    "\"Frequency(Hz)\",\"Transmission Loss(dB)\",\"Phase(deg)\"\r\n"
    "100000,-3.25,45.5\r\n500,0.125,-0.5\r\n";
const QString kNotFound = u"Microsoft EXCEL: Not found on this machine\r\nCannot display results"_s;
const QString kNoZPlots =
    u"Microsoft EXCEL: Cannot open Zplots.xls\r\nYou'll need to open it manually"_s;

TEST(ScanNumber, PlainDecimalWithAPointFifteenDigitsAndNoTrailingZeros) {
    const std::pair<double, const char*> cases[] = {
        {100000, "100000"},
        {-3.25, "-3.25"},
        {0.5, "0.5"},
        {-0.05, "-0.05"},
        {0, "0"},
        {-0.0, "0"},
        {12.345 * 1000, "12345"},  // 12345.000000000002 in binary arithmetic
        {0.1 + 0.2, "0.3"},
        {1e-7, "0.0000001"},
        {-1.5e20, "-150000000000000000000"},
        {13000000, "13000000"},
        {123456.789012345678, "123456.789012346"},
    };
    for (const auto& [value, text] : cases) EXPECT_EQ(scanNumber(value), text) << text;
}

TEST(ScanFile, HeaderThenALinePerRowReadInTheUsersLocaleWithoutRowsThatAreNoNumbers) {
    const QByteArray header = "\"Frequency(Hz)\",\"Transmission Loss(dB)\",\"Phase(deg)\"\r\n";
    EXPECT_EQ(scanFileText({}), header);
    EXPECT_EQ(scanFileText({locRow("100.000", "-3.25000", "45.500"),
                            locRow("1.000", "NaN", "1.000"), locRow("0.005", "0.00000", "-0.500"),
                            locRow("-20.000", "-0.12500", "-179.500")}),
              header + "100000,-3.25,45.5\r\n5,0,-0.5\r\n-20000,-0.125,-179.5\r\n");
    ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(scanLine({u"12,345"_s, u"-3,25000"_s, u"0,500"_s}), u"12345,-3.25,0.5\r\n");
    // A point is no decimal separator there.
    EXPECT_EQ(scanLine({u"12.345"_s, u"-3,25000"_s, u"0,500"_s}), std::nullopt);
}

struct ZPlotsRig {
    ZPlotsRig() {
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

    QTemporaryDir dir;
    FakeTable table;
    FakePlatform platform;
    FakeSpreadsheet app;
    ZPlotsExport zplots{table, platform, app, [this] { return dir.path(); }};
};

TEST(ZPlotsExport, WritesTheScanFileAndShowsZPlotsOrSaysWhyNot) {
    struct Case {
        const char* what;
        bool gain, rows, zplots, installed, zplotsFails, scanBlocked;
        QByteArray scan;
        QString message;  // "" for none
        MsgIcon icon;
        bool systemModal;
        std::vector<const char*> shown;  // "z": ZPlots.xls, "s": the scan file
    };
    const QString gainOnly = u"Gain mode only\r\nPlease change configuration"_s;
    const MsgIcon info = MsgIcon::Information;
    const MsgIcon warn = MsgIcon::Exclamation;
    // clang-format off
    const Case cases[] = {
        //                                           gain   rows   zplots installed fails blocked
        {"ZPlots shown",                             true,  true,  true,  true,  false, false, kScan, {}, {}, false, {"z"}},
        {"empty table",                              true,  false, true,  true,  false, false, {}, {}, {}, false, {}},
        {"not gain",                                 false, true,  true,  true,  false, false, {}, gainOnly, warn, false, {}},
        {"empty, not gain",                          false, false, true,  true,  false, false, {}, gainOnly, warn, false, {}},
        {"no ZPlots: failure M shows the scan file", true,  true,  false, true,  false, false, kScan, kNoZPlots, info, true, {"s"}},
        {"ZPlots cannot be shown: failure M",        true,  true,  true,  true,  true,  false, kScan, kNoZPlots, info, true, {"z", "s"}},
        {"no spreadsheet program: failure N",        true,  true,  true,  false, false, false, kScan, kNotFound, warn, false, {}},
        {"scan file blocked",                        true,  true,  true,  true,  false, true,  {}, u"Cannot write "_s, warn, false, {}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ZPlotsRig rig;
        if (!c.gain) rig.table.current = impedanceSetup();
        if (!c.rows) rig.table.rows.clear();
        if (c.zplots) QFile(rig.zplotsPath()).open(QIODevice::WriteOnly);
        rig.app.installed = c.installed;
        if (c.zplotsFails) rig.app.failingPaths = {rig.zplotsPath()};
        // A folder in the scan file's place cannot be replaced by the file.
        if (c.scanBlocked) {
            ASSERT_TRUE(QDir().mkdir(rig.scanPath()));
        }
        rig.zplots.run();
        EXPECT_EQ(rig.scanFile(), c.scan);
        std::vector<QString> shown;
        for (const char* which : c.shown)
            shown.push_back(u"show:"_s + (*which == 'z' ? rig.zplotsPath() : rig.scanPath()));
        EXPECT_EQ(rig.app.journal, shown);
        if (c.message.isEmpty()) {
            EXPECT_TRUE(rig.platform.messages.empty());
            continue;
        }
        ASSERT_EQ(rig.platform.messages.size(), 1u);
        const QString& text = rig.platform.messages[0].text;
        if (c.scanBlocked) {  // the path and the system's reason
            EXPECT_TRUE(text.startsWith(c.message + rig.scanPath() + u"\r\n"_s));
            EXPECT_GT(text.size(), c.message.size() + rig.scanPath().size() + 2);
        } else {
            EXPECT_EQ(text, c.message);
        }
        EXPECT_EQ(rig.platform.messages[0].icon, c.icon);
        EXPECT_EQ(rig.platform.messages[0].systemModal, c.systemModal);
    }
}

TEST(ZPlotsExport, TheNextExportRewritesTheFileAndTheFilesAreInTheCurrentFolder) {
    ZPlotsRig rig;
    rig.zplots.run();
    rig.table.rows = {locRow("-20.000", "-1.00000", "2.000")};
    rig.zplots.run();
    EXPECT_EQ(rig.scanFile(), kScan.first(kScan.indexOf('\n') + 1) + "-20000,-1,2\r\n");

    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(rig.dir.path()));
    const ZPlotsExport here(rig.table, rig.platform, rig.app);
    const QString scan = here.scanFilePath();
    const QString book = here.zplotsPath();
    QDir::setCurrent(before);
    EXPECT_EQ(scan, QDir(rig.dir.path()).canonicalPath() + u"/$Zplots$Scan.csv"_s);
    EXPECT_EQ(book, QDir(rig.dir.path()).canonicalPath() + u"/ZPlots.xls"_s);
}

}  // namespace
}  // namespace lorvane::test
