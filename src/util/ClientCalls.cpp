// Registry and library calls: how the bridge finds the VORD client and reaches its one entry.
// Nothing is cached: every call checks the file, loads (or finds the already loaded) library and
// looks the entry up again, so a client installed while the editor runs is found at the next call.

#include "bridge/VordInvoke.h"
#include "platform/Platform.h"
#include "util/FixedTexts.h"
#include "util/TdaFunc.h"

namespace velmarin {

std::string TdaFunc::ReadRegistryString(const std::string& keyPath,
                                        const std::string& valueName) const {
    std::string value;
    if (!platform::current().readRegistryString(keyPath, valueName, value)) return "";
    return value;
}

platform::LibraryHandle TdaFunc::LoadClientLibrary(const std::string& path) const {
    platform::Platform& os = platform::current();
    if (!FileExists(path)) {
        os.notifier().messageBox(std::string(texts::kDllNotExists) + path, "",
                                 platform::MessageIcon::None);
        return nullptr;
    }
    std::string errorText;
    platform::LibraryHandle library = os.loadLibrary(path, errorText);
    if (library == nullptr) {
        os.notifier().messageBox(errorText, texts::kErrorTitle, platform::MessageIcon::Information);
    }
    return library;
}

void* TdaFunc::GetClientProc(const std::string& path, const std::string& name) const {
    platform::LibraryHandle library = LoadClientLibrary(path);
    if (library == nullptr) return nullptr;
    return platform::current().getProcAddress(library, name.c_str());
}

int TdaFunc::CallClientEntry(const std::string& path, const std::string& name, int argument) const {
    void* address = GetClientProc(path, name);
    if (address == nullptr) return 0;
    auto entry = reinterpret_cast<VordInvokeProc>(address);
    return entry(argument);
}

}  // namespace velmarin
