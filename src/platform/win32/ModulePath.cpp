#include "platform/ModulePath.h"

#include <windows.h>

namespace velmarin::platform {

std::string ModulePathOf(const void* address) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            static_cast<LPCSTR>(address), &module)) {
        return {};
    }
    char buffer[2600] = {};
    const DWORD length = GetModuleFileNameA(module, buffer, sizeof buffer);
    return std::string(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
}

}  // namespace velmarin::platform
