// Which device a COM port number opens.
#include <gtest/gtest.h>

#include <QSet>

#include "serial_port_path.h"

namespace lorvane {
namespace {

QString findAmong(int number, const QSet<QString>& existing) {
    return findSerialPort(number, QStringLiteral("/run/user/1000"),
                          [&](const QString& path) { return existing.contains(path); });
}

TEST(SerialPortPath, RuntimeFolderFallsBackToAFolderPerUser) {
    EXPECT_EQ(runtimeDirectory(QStringLiteral("/run/user/1000"), 1000),
              QStringLiteral("/run/user/1000"));
    EXPECT_EQ(runtimeDirectory(QString(), 1000), QStringLiteral("/tmp/lorvane-1000"));
    EXPECT_EQ(runtimeDirectory(QString(), 0), QStringLiteral("/tmp/lorvane-0"));
}

TEST(SerialPortPath, CandidatesComeInTheirOrder) {
    EXPECT_EQ(
        serialPortCandidates(3, QStringLiteral("/tmp/lorvane-0")),
        QStringList({QStringLiteral("/tmp/lorvane-0/lorvane/COM3"), QStringLiteral("/dev/ttyUSB3"),
                     QStringLiteral("/dev/ttyACM3"), QStringLiteral("/dev/ttyS3")}));
}

TEST(SerialPortPath, TheFirstExistingCandidateWins) {
    const QString simulator = QStringLiteral("/run/user/1000/lorvane/COM1");
    EXPECT_EQ(
        findAmong(1, {simulator, QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/ttyS1")}),
        simulator);
    EXPECT_EQ(findAmong(1, {QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/ttyS1")}),
              QStringLiteral("/dev/ttyUSB1"));
    EXPECT_EQ(findAmong(1, {QStringLiteral("/dev/ttyACM1"), QStringLiteral("/dev/ttyS1")}),
              QStringLiteral("/dev/ttyACM1"));
    EXPECT_EQ(findAmong(1, {QStringLiteral("/dev/ttyS1")}), QStringLiteral("/dev/ttyS1"));
}

TEST(SerialPortPath, OtherNumbersAndNothingAtAllGiveNoPort) {
    EXPECT_EQ(findAmong(2, {QStringLiteral("/dev/ttyUSB1"), QStringLiteral("/dev/ttyS12")}),
              QString());
    EXPECT_EQ(findAmong(1, {}), QString());
}

}  // namespace
}  // namespace lorvane
