// The NI-488.2 card transport, against the simulator's stand-in library (found through
// LD_LIBRARY_PATH), whose wire log shows every call the link made.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "cls_gpib.h"
#include "fake_platform.h"

namespace lorvane {
namespace {

using namespace Qt::Literals::StringLiterals;
using test::FakePlatform;

class CardLink : public testing::Test {
  protected:
    CardLink() {
        qputenv("LORVANE_SIM_WIRE_LOG", QFile::encodeName(logPath()));
        qputenv("LORVANE_SIM_ADDRESS", "17");
        qputenv("LORVANE_SIM_DELAY_MS", "0");
        qunsetenv("LORVANE_SIM_FAULT");
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
const QString kFirstReading = QStringLiteral("NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n");

// Each operation's library calls after the open (or those of a failed open), and the pauses.
TEST_F(CardLink, EachOperationMakesItsCallsAndPauses) {
    const struct {
        const char* name;
        std::function<void(ClsGPIB&)> act;
        QStringList calls;
        std::vector<QString> pauses;
    } cases[] = {
        {"open", [](ClsGPIB&) {}, {}, {"sleep:50"}},
        {"write and query",
         [](ClsGPIB& link) {
             EXPECT_TRUE(link.DevWrite(0, QStringLiteral("A1B1C1F1T3")));
             EXPECT_EQ(link.DevQuery(0, QStringLiteral("EX"), link.Del()), kFirstReading);
             EXPECT_EQ(link.DevRead(0, 0), QString());  // nothing more came
         },
         {"> A1B1C1F1T3\\r", "> EX\\r", "< NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n",
          "# ibrd timeout"},
         {"sleep:50", "sleep:5", "sleep:0"}},
        {"purge",
         [](ClsGPIB& link) { link.DevPurge(0); },
         {"# ibtmo 7", "# ibrd timeout", "# ibtmo 12"},
         {"sleep:50", "sleep:0"}},
        {"close",
         [](ClsGPIB& link) {
             EXPECT_TRUE(link.DevClose());
             EXPECT_FALSE(link.DevClose());
             EXPECT_FALSE(link.DevWrite(0, QStringLiteral("EX")));
             link.DevPurge(0);
         },
         kCloseCalls,
         {"sleep:50", "sleep:25", "sleep:25"}},
        {"open again",
         [](ClsGPIB& link) { EXPECT_TRUE(link.DevOpen()); },
         kCloseCalls + kOpenCalls,
         {"sleep:50", "sleep:25", "sleep:25", "sleep:50"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ClsGPIB link{platform};
        link.Initialize(nullptr, nullptr);
        link.setPad(17);
        platform.journal.clear();
        const qsizetype before = wire().size();
        ASSERT_TRUE(link.DevOpen());
        c.act(link);
        EXPECT_EQ(wire().mid(before), kOpenCalls + c.calls);
        EXPECT_EQ(platform.journal, c.pauses);
        EXPECT_TRUE(platform.messages.empty());
        link.DevClose();
    }
}

TEST_F(CardLink, TestSaysOkAndLeavesTheLinkClosed) {
    EXPECT_EQ(link.DevTest(), QStringLiteral("Ok"));
    EXPECT_EQ(link.Hdl(), -1);
    EXPECT_EQ(wire(), kOpenCalls + kCloseCalls);
}

}  // namespace
}  // namespace lorvane
