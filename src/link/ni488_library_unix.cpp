// Loading the NI-488.2 library on Linux and other Unix systems.
#include <dlfcn.h>

#include "ni488_library.h"

namespace lorvane {

std::optional<Ni488Entries> loadNi488Library(QString& failure) {
    // linux-gpib first, then National Instruments' older and newer Linux libraries. Bare names,
    // so that the system's library search (and LD_LIBRARY_PATH) decides where they come from.
    const LibraryLoader loader{
        [](const char* name) { return dlopen(name, RTLD_NOW | RTLD_LOCAL); },
        [](void* library, const char* symbol) { return dlsym(library, symbol); },
        [](void* library) { dlclose(library); }};
    return loadFirstNi488Library(
        {"libgpib.so.0", "libgpibapi.so", "libni4882.so"}, loader,
        QStringLiteral("Install linux-gpib or National Instruments drivers"), failure);
}

}  // namespace lorvane
