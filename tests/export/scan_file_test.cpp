#include "scan_file.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "export_fakes.h"

namespace lorvane::test {
namespace {

using namespace Qt::Literals::StringLiterals;

const QByteArray kHeader = "\"Frequency(Hz)\",\"Transmission Loss(dB)\",\"Phase(deg)\"\r\n";

TEST(ScanNumber, PlainDecimalWithAPointAndNoTrailingZeros) {
    EXPECT_EQ(scanNumber(100000), u"100000");
    EXPECT_EQ(scanNumber(-3.25), u"-3.25");
    EXPECT_EQ(scanNumber(45.5), u"45.5");
    EXPECT_EQ(scanNumber(0.5), u"0.5");
    EXPECT_EQ(scanNumber(-0.05), u"-0.05");
    EXPECT_EQ(scanNumber(0), u"0");
    EXPECT_EQ(scanNumber(-0.0), u"0");
}

TEST(ScanNumber, FifteenSignificantDigitsWithoutAnExponent) {
    // 12.345 kHz times 1000 is 12345.000000000002 in binary arithmetic.
    EXPECT_EQ(scanNumber(12.345 * 1000), u"12345");
    EXPECT_EQ(scanNumber(0.1 + 0.2), u"0.3");
    EXPECT_EQ(scanNumber(1e-7), u"0.0000001");
    EXPECT_EQ(scanNumber(-1.5e20), u"-150000000000000000000");
    EXPECT_EQ(scanNumber(13000000), u"13000000");
    EXPECT_EQ(scanNumber(123456.789012345678), u"123456.789012346");
}

TEST(ScanFile, HeaderThenOneLinePerRowEndedByCrLf) {
    const ExportRows rows{locRow("100.000", "-3.25000", "45.500"),
                          locRow("0.005", "0.00000", "-0.500"),
                          locRow("-20.000", "-0.12500", "-179.500")};
    EXPECT_EQ(scanFileText(rows), kHeader +
                                      "100000,-3.25,45.5\r\n"
                                      "5,0,-0.5\r\n"
                                      "-20000,-0.125,-179.5\r\n");
    EXPECT_EQ(scanFileText({}), kHeader);
}

TEST(ScanFile, ValuesAreReadInTheUsersLocaleAndWrittenWithAPoint) {
    ScopedLocale german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(scanLine({u"12,345"_s, u"-3,25000"_s, u"0,500"_s}), u"12345,-3.25,0.5\r\n");
    // A point is no decimal separator there.
    EXPECT_EQ(scanLine({u"12.345"_s, u"-3,25000"_s, u"0,500"_s}), std::nullopt);
}

TEST(ScanFile, ARowThatIsNotANumberIsLeftOut) {
    const ExportRows rows{locRow("1.000", "NaN", "1.000"), locRow("2.000", "-1.00000", "2.000")};
    EXPECT_EQ(scanFileText(rows), kHeader + "2000,-1,2\r\n");
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
