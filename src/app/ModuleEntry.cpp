// The module's two exports: the host's single entry and the module-handle variable.

#include "app/Application.h"
#include "app/Export.h"

#if defined(_WIN32)
#include "app/HostLink.h"
#include "platform/win32/Win32Platform.h"

namespace {

// Inside the real CAD host no HostLink arrives: the module then works on the system itself, with
// real message boxes, the real file dialog and real timers.
void InstallSystemPlatformUnlessLinked(int message, const void* packet) {
    if (message != velmarin::app::kInitAppMsg || velmarin::platform::installed()) return;
    if (velmarin::IsHostLink(packet)) return;
    static velmarin::platform::win32::Win32Platform system;
    velmarin::platform::install(&system);
}

}  // namespace
#endif

extern "C" {

// Set when the library is attached (on Windows by the loader routine below); the application
// only reads it.
VELMARIN_EXPORT void* _hdllInstance = nullptr;

VELMARIN_EXPORT int zcrxEntryPoint(int message, void* packet) {
#if defined(_WIN32)
    InstallSystemPlatformUnlessLinked(message, packet);
#endif
    return velmarin::app::HandleEntryMessage(message, packet, _hdllInstance);
}

#if defined(_WIN32)
// The library's start-up routine: keep the module handle for the host. Declared without the
// system header; the signature is the loader's.
int __stdcall DllMain(void* instance, unsigned long reason, void* reserved) {
    constexpr unsigned long kProcessAttach = 1;
    if (reason == kProcessAttach) _hdllInstance = instance;
    return 1;
}
#endif

}  // extern "C"
