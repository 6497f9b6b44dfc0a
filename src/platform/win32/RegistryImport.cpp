#include "platform/win32/RegistryImport.h"

#include <windows.h>

#include <fstream>
#include <iterator>

#include "platform/FileText.h"
#include "platform/profile/ProfileText.h"

namespace velmarin::platform::win32 {
namespace {

bool SetValue(const std::string& keyPath, const std::string& name, const std::string& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG status =
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

}  // namespace

bool ImportRegistryFile(const std::string& file, std::string& error) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot read registry file " + file;
        return false;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const profile::ProfileText text(FileTextAsGbk(bytes));
    const auto& lines = text.lines();
    const auto& sections = text.sections();
    for (std::size_t s = 0; s < sections.size(); ++s) {
        if (!sections[s].reachable) continue;  // a repeated key path: its first section counts
        const std::string keyPath(text.name(lines[sections[s].header]));
        for (std::size_t i = sections[s].header + 1; i < sections[s].lineEnd; ++i) {
            if (lines[i].kind != profile::LineKind::Key) continue;
            const std::string name(text.name(lines[i]));
            if (text.findKey(s, name) != i) continue;  // a repeated name: the first one counts
            if (!SetValue(keyPath, name, std::string(text.value(lines[i])))) {
                error = "registry file " + file + ": cannot set HKEY_LOCAL_MACHINE\\" + keyPath +
                        " value " + name;
                return false;
            }
        }
    }
    return true;
}

}  // namespace velmarin::platform::win32
