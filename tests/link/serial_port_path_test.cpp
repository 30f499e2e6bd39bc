// Which device a COM port number opens.
#include <gtest/gtest.h>

#include <QSet>

#include "serial_port_path.h"

namespace lorvane {
namespace {

TEST(SerialPortPath, TheRuntimeFolderAndTheFirstExistingCandidateInTheirOrder) {
    EXPECT_EQ(runtimeDirectory(QStringLiteral("/run/user/1000"), 1000), "/run/user/1000");
    EXPECT_EQ(runtimeDirectory(QString(), 1000), "/tmp/lorvane-1000");
    const struct {
        int number;
        QStringList existing;
        const char* found;
    } cases[] = {
        {1,
         {"/run/user/1000/lorvane/COM1", "/dev/ttyUSB1", "/dev/ttyS1"},
         "/run/user/1000/lorvane/COM1"},
        {1, {"/dev/ttyS1", "/dev/ttyUSB1"}, "/dev/ttyUSB1"},
        {1, {"/dev/ttyACM1", "/dev/ttyS1"}, "/dev/ttyACM1"},
        {1, {"/dev/ttyS1"}, "/dev/ttyS1"},
        {2, {"/dev/ttyUSB1", "/dev/ttyS12"}, ""},
        {1, {}, ""},
    };
    for (const auto& c : cases) {
        const QSet<QString> existing(c.existing.begin(), c.existing.end());
        EXPECT_EQ(findSerialPort(c.number, QStringLiteral("/run/user/1000"),
                                 [&](const QString& path) { return existing.contains(path); }),
                  QString::fromLatin1(c.found))
            << c.existing.join(u' ').toStdString();
    }
}

}  // namespace
}  // namespace lorvane
