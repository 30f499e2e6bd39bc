// The link's own rules, the same for both transports: the closed link and the read delay.
#include <gtest/gtest.h>

#include "cls_gpib.h"
#include "fake_platform.h"

namespace lorvane {
namespace {

using test::FakePlatform;

TEST(ClosedLink, RefusesEveryOperationWithoutWaitingOrShowingAnything) {
    // Any nonzero transport number means the adapter.
    for (const auto& [transport, delay] : {std::pair{0, 5}, {1, 3010}, {2, 3010}}) {
        SCOPED_TRACE(transport);
        FakePlatform platform;
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
        if (transport == 0) continue;  // opening a card would load a library
        // An adapter without a serial port: the open fails, and nothing passes.
        EXPECT_FALSE(link.DevOpen());
        EXPECT_FALSE(link.DevWrite(0, QStringLiteral("EX")));
        EXPECT_EQ(link.DevRead(0, 0), QString());
        EXPECT_EQ(platform.messages.size(), 1u);
    }
}

}  // namespace
}  // namespace lorvane
