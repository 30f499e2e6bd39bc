// The NI-488.2 card transport, against the simulator's stand-in library (found through
// LD_LIBRARY_PATH), whose wire log shows every call the link made.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "cls_gpib.h"
#include "fake_platform.h"

namespace lorvane {
namespace {

using test::FakePlatform;

class CardLink : public testing::Test {
  protected:
    CardLink() {
        qputenv("LORVANE_SIM_WIRE_LOG", QFile::encodeName(logPath()));
        qputenv("LORVANE_SIM_ADDRESS", "17");
        qputenv("LORVANE_SIM_DELAY_MS", "0");
        qunsetenv("LORVANE_SIM_FAULT");
        qunsetenv("LORVANE_SIM_REPLY_SIZE");
        link.Initialize(nullptr, nullptr);
        link.setCrd(0);
        link.setBrd(0);
        link.setPad(17);
    }
    ~CardLink() override {
        link.DevClose();  // the stand-in's bus outlives the test
        qunsetenv("LORVANE_SIM_WIRE_LOG");
    }

    QString logPath() const { return folder.filePath(QStringLiteral("wire.log")); }
    // The wire log's lines so far.
    QStringList wire() const {
        QFile file(logPath());
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QTemporaryDir folder;
    FakePlatform platform;
    ClsGPIB link{platform};
};

const QStringList kOpenCalls = {"# ibconfig 23 1", "# ibdev 0 17 96 12 1 0", "# ibclr", "# ibsic"};
const QStringList kCloseCalls = {"# ibloc", "# ibonl 0"};

TEST_F(CardLink, OpenSendsLocalLockoutClearsTheDeviceAndTheInterface) {
    ASSERT_TRUE(link.DevOpen());
    EXPECT_NE(link.Hdl(), -1);
    EXPECT_EQ(wire(), kOpenCalls);
    EXPECT_EQ(platform.journal, std::vector<QString>({"sleep:50"}));
    EXPECT_TRUE(platform.messages.empty());
}

TEST_F(CardLink, WritesEndInACarriageReturnAndAQueryReadsOneReading) {
    ASSERT_TRUE(link.DevOpen());
    EXPECT_TRUE(link.DevWrite(0, QStringLiteral("A1B1C1F1T3")));
    EXPECT_EQ(link.DevQuery(0, QStringLiteral("EX"), link.Del()),
              QStringLiteral("NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n"));
    EXPECT_EQ(wire().mid(4), QStringList({"> A1B1C1F1T3\\r", "> EX\\r",
                                          "< NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n"}));
    EXPECT_EQ(platform.journal, std::vector<QString>({"sleep:50", "sleep:5"}));
}

TEST_F(CardLink, PurgeReadsWithAShortTimeoutAndRestoresIt) {
    ASSERT_TRUE(link.DevOpen());
    link.DevPurge(0);
    EXPECT_EQ(wire().mid(4), QStringList({"# ibtmo 7", "# ibrd timeout", "# ibtmo 12"}));
    EXPECT_EQ(platform.journal, std::vector<QString>({"sleep:50", "sleep:0"}));
}

TEST_F(CardLink, CloseReturnsTheInstrumentToLocalAndTakesTheDescriptorOffline) {
    ASSERT_TRUE(link.DevOpen());
    EXPECT_TRUE(link.DevClose());
    EXPECT_EQ(link.Hdl(), -1);
    EXPECT_EQ(wire().mid(4), kCloseCalls);
    EXPECT_EQ(platform.journal, std::vector<QString>({"sleep:50", "sleep:25", "sleep:25"}));
    EXPECT_FALSE(link.DevClose());
    EXPECT_FALSE(link.DevWrite(0, QStringLiteral("EX")));
    EXPECT_EQ(wire().size(), 6);  // nothing more reached the library
}

TEST_F(CardLink, OpeningTwiceClosesTheFirstDescriptorFirst) {
    ASSERT_TRUE(link.DevOpen());
    ASSERT_TRUE(link.DevOpen());
    EXPECT_EQ(wire(), kOpenCalls + kCloseCalls + kOpenCalls);
}

TEST_F(CardLink, TestSaysOkAndLeavesTheLinkClosed) {
    EXPECT_EQ(link.DevTest(), QStringLiteral("Ok"));
    EXPECT_EQ(link.Hdl(), -1);
    EXPECT_EQ(wire(), kOpenCalls + kCloseCalls);
}

TEST_F(CardLink, ALongResponseIsCutAt10000Characters) {
    qputenv("LORVANE_SIM_REPLY_SIZE", "12000");
    ASSERT_TRUE(link.DevOpen());
    const QString reading = link.DevQuery(0, QStringLiteral("EX"));
    EXPECT_EQ(reading.size(), 10000);
    EXPECT_TRUE(reading.startsWith(QStringLiteral("NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000")));
}

TEST_F(CardLink, NoInstrumentAtTheAddressFailsTheOpenWithoutAMessage) {
    qputenv("LORVANE_SIM_ADDRESS", "5");
    EXPECT_FALSE(link.DevOpen());
    EXPECT_EQ(wire(), QStringList({"# ibconfig 23 1", "# ibdev 0 17 96 12 1 0", "# ibonl 0"}));
    EXPECT_TRUE(platform.messages.empty());
    EXPECT_EQ(link.Hdl(), -1);  // what ibdev returned
    EXPECT_FALSE(link.DevWrite(0, QStringLiteral("EX")));
}

TEST_F(CardLink, ABoardThatDoesNotExistFailsTheOpen) {
    link.setBrd(3);
    EXPECT_FALSE(link.DevOpen());
    EXPECT_EQ(wire(), QStringList({"# ibconfig 23 1", "# ibdev 3 17 96 12 1 0", "# ibonl 0"}));
    EXPECT_EQ(link.Hdl(), -1);
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace lorvane
