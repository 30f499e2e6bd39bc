// The card transport on a system without any NI-488.2 library.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "cls_gpib.h"
#include "fake_platform.h"

namespace lorvane {
namespace {

using test::FakePlatform;

bool systemHasNi488Library() {
    for (const char* name : {"libgpib.so.0", "libgpibapi.so", "libni4882.so"}) {
        if (void* library = dlopen(name, RTLD_LAZY | RTLD_NOLOAD)) {
            dlclose(library);
            return true;
        }
        if (void* library = dlopen(name, RTLD_LAZY)) {
            dlclose(library);
            return true;
        }
    }
    return false;
}

TEST(NoNi488Library, EveryOpenExplainsWhatToInstallAndFails) {
    ASSERT_FALSE(systemHasNi488Library())
        << "this test needs a system without an NI-488.2 library (libgpib.so.0, libgpibapi.so, "
           "libni4882.so)";
    FakePlatform platform;
    ClsGPIB link(platform);
    link.Initialize(nullptr, nullptr);
    link.setCrd(0);

    EXPECT_FALSE(link.DevOpen());
    EXPECT_EQ(link.Hdl(), -1);
    ASSERT_EQ(platform.messages.size(), 1u);
    EXPECT_EQ(platform.messages[0].text,
              QStringLiteral("File not found: libgpib.so.0, libgpibapi.so, libni4882.so\r"
                             "Install linux-gpib or National Instruments drivers"));
    EXPECT_EQ(platform.messages[0].icon, MsgIcon::Critical);
    EXPECT_EQ(platform.messages[0].title, QStringLiteral("Lorvane"));

    // The link stays closed and quiet; the next open tries again and says so again.
    EXPECT_FALSE(link.DevWrite(0, QStringLiteral("EX")));
    EXPECT_FALSE(link.DevClose());
    EXPECT_EQ(link.DevTest(), QString());
    EXPECT_EQ(platform.messages.size(), 2u);
}

}  // namespace
}  // namespace lorvane
