// The link's own rules, the same for both transports: properties and the closed link.
#include <gtest/gtest.h>

#include "cls_gpib.h"
#include "fake_platform.h"

namespace lorvane {
namespace {

using test::FakePlatform;

class ClosedLink : public testing::TestWithParam<int16_t> {
  protected:
    ClosedLink() {
        link.Initialize(nullptr, nullptr);
        link.setCrd(GetParam());
    }

    FakePlatform platform;
    ClsGPIB link{platform};
};

TEST_P(ClosedLink, StartsClosedWithTheSecondaryAddressSet) {
    EXPECT_EQ(link.Hdl(), -1);
    EXPECT_EQ(link.sad(), 96);
}

TEST_P(ClosedLink, RefusesEveryOperationWithoutWaitingOrShowingAnything) {
    EXPECT_FALSE(link.DevWrite(0, QStringLiteral("ABEX")));
    EXPECT_EQ(link.DevRead(0, 3010), QString());
    EXPECT_EQ(link.DevQuery(0, QStringLiteral("EX"), 3010), QString());
    link.DevPurge(0);
    EXPECT_FALSE(link.DevClose());
    EXPECT_EQ(link.Hdl(), -1);
    EXPECT_TRUE(platform.journal.empty());
}

INSTANTIATE_TEST_SUITE_P(BothTransports, ClosedLink, testing::Values(0, 1));

TEST(LinkProperties, SuggestedReadDelayFollowsTheTransport) {
    FakePlatform platform;
    ClsGPIB link(platform);
    link.setCrd(0);
    EXPECT_EQ(link.Del(), 5);
    link.setCrd(1);
    EXPECT_EQ(link.Del(), 3010);
    link.setCrd(2);  // any nonzero value means the adapter
    EXPECT_EQ(link.Del(), 3010);
}

}  // namespace
}  // namespace lorvane
