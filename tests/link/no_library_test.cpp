// The link's own rules, the same for both transports, on a system without any NI-488.2
// library: a closed link refuses everything, and a failed open says why once per try.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "cls_gpib.h"
#include "fake_platform.h"

namespace lorvane {
namespace {

TEST(ClosedLink, RefusesEveryOperationQuietlyAndAFailedOpenSaysWhyEachTime) {
    for (const char* name : {"libgpib.so.0", "libgpibapi.so", "libni4882.so"})
        ASSERT_EQ(dlopen(name, RTLD_LAZY), nullptr)
            << "this test needs a system without an NI-488.2 library (" << name << " loads)";
    const QString kNoLibrary = QStringLiteral(
        "File not found: libgpib.so.0, libgpibapi.so, libni4882.so\r"
        "Install linux-gpib or National Instruments drivers");
    // Any nonzero transport number means the adapter (here without a serial port).
    for (const auto& [transport, delay] : {std::pair{0, 5}, {1, 3010}, {2, 3010}}) {
        SCOPED_TRACE(transport);
        test::FakePlatform platform;
        ClsGPIB link(platform);
        link.Initialize(nullptr, nullptr);
        link.setCrd(static_cast<int16_t>(transport));
        EXPECT_EQ(link.Del(), delay);
        EXPECT_EQ(link.sad(), 96);
        EXPECT_FALSE(link.DevWrite(0, QStringLiteral("ABEX")));
        EXPECT_EQ(link.DevRead(0, 3010), QString());
        EXPECT_EQ(link.DevQuery(0, QStringLiteral("EX"), 3010), QString());
        link.DevPurge(0);
        EXPECT_FALSE(link.DevClose());
        EXPECT_EQ(link.Hdl(), -1);
        EXPECT_TRUE(platform.journal.empty());

        EXPECT_FALSE(link.DevOpen());
        EXPECT_FALSE(link.DevWrite(0, QStringLiteral("EX")));
        EXPECT_EQ(link.DevRead(0, 0), QString());
        EXPECT_EQ(link.DevTest(), QString());
        ASSERT_EQ(platform.messages.size(), 2u);
        EXPECT_EQ(platform.messages[0].text,
                  transport == 0 ? kNoLibrary : QStringLiteral("Serial port open error"));
        EXPECT_EQ(platform.messages[0].icon, MsgIcon::Critical);
        EXPECT_EQ(platform.messages[0].title, QStringLiteral("Lorvane"));
        EXPECT_EQ(platform.messages[1].text, platform.messages[0].text);
    }
}

}  // namespace
}  // namespace lorvane
