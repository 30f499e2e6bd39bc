// The window program's command line, as the arguments the system hands it.
#include <cstddef>
#include <cstdint>

#include "command_line.h"
#include "fuzz_check.h"

namespace lorvane {
namespace {

bool same(const StartRequest& a, const StartRequest& b) {
    return a.kind == b.kind && a.instanceName == b.instanceName;
}

}  // namespace
}  // namespace lorvane

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace lorvane;
    const QStringList arguments = fuzz::argumentsOf(data, size);
    const QString line = commandLineText(arguments);
    const StartRequest request = AnalyzeCommandLine(line);
    const QString& name = request.instanceName;
    FUZZ_CHECK(name == name.trimmed(), "an instance name has no blanks around it");
    switch (request.kind) {
        case StartKind::Usage:
            FUZZ_CHECK(name.isEmpty(), "the usage request names no instance");
            break;
        case StartKind::Clean:
            FUZZ_CHECK(!name.contains(u'-'), "a clean-up names an instance without a dash");
            FUZZ_CHECK(same(AnalyzeCommandLine(name + QStringLiteral(" -clean")), request),
                       "the clean-up of the named instance asks for the same");
            break;
        case StartKind::Normal:
            FUZZ_CHECK(name == line.trimmed(), "a normal start takes the whole line as the name");
            FUZZ_CHECK(same(AnalyzeCommandLine(name), request),
                       "the instance's own name starts the same instance");
            FUZZ_CHECK(settingsKeyFor(name) == QStringLiteral("Lorvane") + titleSuffix(name) &&
                           windowTitle(name, 1, 0, 0).endsWith(titleSuffix(name)),
                       "the settings key and the title end in the instance's name");
            break;
    }
    return 0;
}
