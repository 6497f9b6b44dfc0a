#include "bridge/ClientLibrary.h"

#include "bridge/VordInvoke.h"
#include "util/FixedTexts.h"
#include "util/Messages.h"
#include "util/Paths.h"

namespace velmarin::bridge {

std::string ReadRegistryString(const std::string& keyPath, const std::string& valueName) {
    std::string value;
    if (!platform::current().readRegistryString(keyPath, valueName, value)) return "";
    return value;
}

platform::LibraryHandle LoadClientLibrary(const std::string& path) {
    if (!util::FileExists(path)) {
        util::ShowMessage(std::string(texts::kDllNotExists) + path);
        return nullptr;
    }
    std::string errorText;
    platform::LibraryHandle library = platform::current().loadLibrary(path, errorText);
    if (library == nullptr) {
        util::ShowMessage(errorText, texts::kErrorTitle, platform::MessageIcon::Information);
    }
    return library;
}

void* ClientProc(const std::string& path, const std::string& name) {
    platform::LibraryHandle library = LoadClientLibrary(path);
    if (library == nullptr) return nullptr;
    return platform::current().getProcAddress(library, name.c_str());
}

int CallClientEntry(const std::string& path, const std::string& name, int argument) {
    void* address = ClientProc(path, name);
    if (address == nullptr) return 0;
    auto entry = reinterpret_cast<VordInvokeProc>(address);
    return entry(argument);
}

}  // namespace velmarin::bridge
