#include "SystemWorld.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "platform/ModulePath.h"

namespace velmarin::testing {
namespace {

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

void CreateParents(const std::string& path) {
    for (std::size_t slash = path.find('\\', 3); slash != std::string::npos;
         slash = path.find('\\', slash + 1)) {
        CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
    }
}

void SetRaw(const std::string& keyPath, const std::string& name, DWORD type, const void* data,
            DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        throw std::runtime_error("cannot create HKLM\\" + keyPath);
    }
    const LONG status =
        RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) throw std::runtime_error("cannot set " + name);
}

}  // namespace

bool RunningUnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::string BinaryDir() {
    const std::string self = platform::ModulePathOf(reinterpret_cast<const void*>(&BinaryDir));
    return self.substr(0, self.find_last_of('\\'));
}

TempFolder::TempFolder() {
    char temp[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    const std::string base(temp, length);  // ends in a backslash
    static unsigned counter = 0;
    for (;;) {
        path_ = base + "velmarin-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        if (CreateDirectoryA(path_.c_str(), nullptr)) break;
        if (GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

void TempFolder::write(const std::string& relative, const std::string& bytes) const {
    const std::string path = *this / relative;
    CreateParents(path);
    std::ofstream(path, std::ios::binary) << bytes;
}

bool TempFolder::read(const std::string& relative, std::string& bytes) const {
    std::ifstream in(*this / relative, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool TempFolder::exists(const std::string& relative) const {
    return GetFileAttributesA((*this / relative).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> TempFolder::lines(const std::string& relative) const {
    std::string bytes;
    std::vector<std::string> lines;
    if (!read(relative, bytes)) return lines;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

SystemWorld::SystemWorld() { platform::install(&platform_); }

SystemWorld::~SystemWorld() { platform::install(nullptr); }

ScopedRegistryValue::ScopedRegistryValue(std::string keyPath, std::string name)
    : keyPath_(std::move(keyPath)), name_(std::move(name)) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath_.c_str(), 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return;
    }
    hadKey_ = true;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key, name_.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        oldData_.resize(size);
        hadValue_ =
            RegQueryValueExA(key, name_.c_str(), nullptr, &type,
                             reinterpret_cast<BYTE*>(oldData_.data()), &size) == ERROR_SUCCESS;
        oldType_ = type;
    }
    RegCloseKey(key);
}

ScopedRegistryValue::~ScopedRegistryValue() {
    if (!hadValue_) {
        remove();
        // A key made for the test goes too, once nothing is left in it.
        if (!hadKey_) RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath_.c_str());
        return;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                        &key, nullptr) == ERROR_SUCCESS) {
        RegSetValueExA(key, name_.c_str(), 0, oldType_,
                       reinterpret_cast<const BYTE*>(oldData_.data()),
                       static_cast<DWORD>(oldData_.size()));
        RegCloseKey(key);
    }
}

void ScopedRegistryValue::setText(const std::string& value) const {
    SetRaw(keyPath_, name_, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void ScopedRegistryValue::setNumber(unsigned long value) const {
    const DWORD number = value;
    SetRaw(keyPath_, name_, REG_DWORD, &number, sizeof number);
}

void ScopedRegistryValue::remove() const {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, keyPath_.c_str(), 0, KEY_SET_VALUE, &key) ==
        ERROR_SUCCESS) {
        RegDeleteValueA(key, name_.c_str());
        RegCloseKey(key);
    }
}

}  // namespace velmarin::testing
