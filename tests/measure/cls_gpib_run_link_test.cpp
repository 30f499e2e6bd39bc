#include "cls_gpib_run_link.h"

#include <gtest/gtest.h>

#include "fake_platform.h"

namespace lorvane {
namespace {

TEST(ClsGpibRunLink, AClosedLinkFailsQuietly) {
    test::FakePlatform platform;
    ClsGPIB gpib(platform);
    ClsGpibRunLink link(gpib);
    EXPECT_FALSE(link.write(QStringLiteral("W0ABEX")));
    EXPECT_EQ(link.query(QStringLiteral("EX"), 50), QString());
    link.purge();
    EXPECT_TRUE(platform.messages.empty());
}

}  // namespace
}  // namespace lorvane
