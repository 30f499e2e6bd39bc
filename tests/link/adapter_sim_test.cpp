// The adapter transport against lorvane-sim, the emulated Prologix adapter with a simulated
// HP 4192A behind it, whose wire log shows what reached the adapter and the instrument.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QThread>

#include "cls_gpib.h"
#include "fake_platform.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::FakePlatform;

const QString kReading = QStringLiteral("NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n");

class SimulatedAdapter : public testing::Test {
  protected:
    SimulatedAdapter() {
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        simulator.setProgram(QStringLiteral(LORVANE_SIM_PROGRAM));
        simulator.setArguments({"--port", QString::number(portNumber), "--address", "17", "--delay",
                                "0", "--wire-log", logPath()});
        // Waiting on another process: the link's sleeps must pass for real.
        platform.realSleep = true;
        link.Initialize(nullptr, &port);
        link.setCrd(1);
        link.setBrd(portNumber);
        link.setPad(17);
    }
    ~SimulatedAdapter() override {
        link.DevClose();
        simulator.terminate();
        simulator.waitForFinished(5000);
        qunsetenv("XDG_RUNTIME_DIR");
    }

    void SetUp() override {
        simulator.start();
        ASSERT_TRUE(simulator.waitForReadyRead(10000)) << simulator.readAllStandardError().data();
        // The first line names the port, once it is there to be opened.
        const QByteArray announced = simulator.readLine();
        ASSERT_TRUE(announced.startsWith("COM" + QByteArray::number(portNumber) + " /dev/"))
            << announced.data();
    }

    QString logPath() const { return runtime.filePath(QStringLiteral("wire.log")); }
    // The simulator's log, once it holds at least `lines` lines (it writes what it has
    // received by the time it gets there; give it up to two seconds).
    QStringList wire(qsizetype lines = 0) const {
        QStringList log;
        for (QDeadlineTimer deadline(2000); !deadline.hasExpired(); QThread::msleep(5)) {
            QFile file(logPath());
            if (file.open(QIODevice::ReadOnly))
                log = QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
            if (log.size() >= lines) break;
        }
        return log;
    }

    const int16_t portNumber = 7;  // in this test's own runtime folder
    QTemporaryDir runtime;
    QProcess simulator;
    QSerialPort port;
    FakePlatform platform;
    ClsGPIB link{platform};
};

// The adapter pulled after the first reply and plugged in again 300 ms later, on a new
// pseudo-terminal behind the same COM link.
class UnpluggedAdapter : public SimulatedAdapter {
  protected:
    UnpluggedAdapter() {
        simulator.setArguments(simulator.arguments() << "--fault"
                                                     << "unplug=300@1");
    }
};

TEST_F(UnpluggedAdapter, AQueryFailsAtOnceAndTheNextOneWaitsForTheAdapterToComeBack) {
    ASSERT_TRUE(link.DevOpen());
    EXPECT_EQ(link.DevQuery(0, QStringLiteral("EX")), kReading);
    // The simulator pulls the port once it has seen the reply read (within 500 ms).
    QDeadlineTimer pulled(2000);
    while (!wire().contains(u"! unplugged"_s) && !pulled.hasExpired()) QThread::msleep(5);
    ASSERT_FALSE(pulled.hasExpired());

    QElapsedTimer away;
    away.start();
    EXPECT_EQ(link.DevQuery(0, QStringLiteral("EX")), QString());
    EXPECT_LT(away.elapsed(), 1000);  // at once, not after the read timeout
    EXPECT_EQ(link.Hdl(), portNumber);

    // The next query opens the port again as soon as the adapter is back (300 ms).
    EXPECT_EQ(link.DevQuery(0, QStringLiteral("EX")), kReading);
    EXPECT_LT(away.elapsed(), 3000);
    EXPECT_TRUE(platform.messages.empty());
    // The adapter got its settings again, the instrument no clear.
    EXPECT_EQ(wire().filter(u"++clr"_s).size(), 1);
    EXPECT_EQ(wire().filter(u"++read_tmo_ms 3000"_s).size(), 2);
}

}  // namespace
}  // namespace lorvane
