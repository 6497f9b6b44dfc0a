#include "platform/ModulePath.h"

#include <dlfcn.h>

#include <filesystem>

namespace velmarin::platform {

std::string ModulePathOf(const void* address) {
    Dl_info info{};
    if (::dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
    std::error_code error;
    const auto absolute = std::filesystem::absolute(info.dli_fname, error);
    return error ? std::string(info.dli_fname) : absolute.lexically_normal().string();
}

}  // namespace velmarin::platform
