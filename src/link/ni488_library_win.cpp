// Loading the NI-488.2 library on Windows.
#include "ni488_library.h"

#include <windows.h>

namespace lorvane {

std::optional<Ni488Entries> loadNi488Library(QString& failure) {
    // gpib-32.dll keeps its status in words registered per thread (RegisterGpibGlobalsForThread);
    // ni4882.dll keeps it per thread by itself. Either is found through the normal DLL search.
    const LibraryLoader loader{
        [](const char* name) { return static_cast<void*>(LoadLibraryA(name)); },
        [](void* library, const char* symbol) {
            return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), symbol));
        },
        [](void* library) { FreeLibrary(static_cast<HMODULE>(library)); }};
    return loadFirstNi488Library({"gpib-32.dll", "ni4882.dll"}, loader,
                                 QStringLiteral("Install National Instruments drivers"), failure);
}

}  // namespace lorvane
