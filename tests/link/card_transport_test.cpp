// The NI-488.2 card transport, against the simulator's stand-in library (found through
// LD_LIBRARY_PATH), whose wire log shows every call the link made.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "cls_gpib.h"
#include "fake_platform.h"
#include "scoped_env.h"

namespace lorvane {
namespace {

using test::ScopedEnv;

TEST(CardLink, EachOperationMakesItsCallsAndPauses) {
    QTemporaryDir folder;
    const QString logPath = folder.filePath(QStringLiteral("wire.log"));
    ScopedEnv log("LORVANE_SIM_WIRE_LOG", QFile::encodeName(logPath));
    ScopedEnv address("LORVANE_SIM_ADDRESS", "17");
    ScopedEnv delay("LORVANE_SIM_DELAY_MS", "0");
    qunsetenv("LORVANE_SIM_FAULT");
    test::FakePlatform platform;
    ClsGPIB link(platform);
    link.Initialize(nullptr, nullptr);
    link.setPad(17);

    ASSERT_TRUE(link.DevOpen());
    EXPECT_TRUE(link.DevWrite(0, QStringLiteral("A1B1C1F1T3")));
    EXPECT_EQ(link.DevQuery(0, QStringLiteral("EX"), link.Del()),
              QStringLiteral("NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\r\n"));
    EXPECT_EQ(link.DevRead(0, 0), QString());  // nothing more came
    link.DevPurge(0);
    EXPECT_TRUE(link.DevClose());
    EXPECT_FALSE(link.DevClose());
    EXPECT_FALSE(link.DevWrite(0, QStringLiteral("EX")));
    link.DevPurge(0);
    EXPECT_EQ(link.DevTest(), QStringLiteral("Ok"));
    EXPECT_EQ(link.Hdl(), -1);
    ASSERT_TRUE(link.DevOpen());
    ASSERT_TRUE(link.DevOpen());  // an open link is closed first
    link.DevClose();              // the stand-in's bus outlives the test

    const QStringList open = {"# ibconfig 23 1", "# ibdev 0 17 96 12 1 0", "# ibclr", "# ibsic"};
    const QStringList close = {"# ibloc", "# ibonl 0"};
    QStringList expected = open;
    expected << "> A1B1C1F1T3\\r"
             << "> EX\\r"
             << "< NZFN+96.841E+00,NTDN-84.073E+00,K+0100.0000\\r\\n"
             << "# ibrd timeout"
             << "# ibtmo 7"
             << "# ibrd timeout"
             << "# ibtmo 12";
    expected << close << open << close << open << close << open << close;
    QFile wire(logPath);
    ASSERT_TRUE(wire.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromLatin1(wire.readAll()).split(u'\n', Qt::SkipEmptyParts), expected);
    const std::vector<QString> pauses = {"sleep:50", "sleep:5",  "sleep:0",  "sleep:0",
                                         "sleep:25", "sleep:25", "sleep:50", "sleep:25",
                                         "sleep:25", "sleep:50", "sleep:25", "sleep:25",
                                         "sleep:50", "sleep:25", "sleep:25"};
    EXPECT_EQ(platform.journal, pauses);
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace lorvane
