#include "scan_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "export_fakes.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

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

TEST(ScanFile, WritingReplacesTheWholeFileOrReportsWhyNot) {
    QTemporaryDir dir;
    const QString path = dir.filePath(u"$Zplots$Scan.csv"_s);
    QString error;
    ASSERT_TRUE(writeScanFile(path, "a much longer old text\r\n", &error));
    ASSERT_TRUE(writeScanFile(path, "new\r\n", &error));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "new\r\n");
    EXPECT_FALSE(writeScanFile(dir.filePath(u"missing/$Zplots$Scan.csv"_s), "new\r\n", &error));
    EXPECT_FALSE(error.isEmpty());
}

}  // namespace
}  // namespace lorvane::test
