#include "platform/win32/DriveMappings.h"

#include <windows.h>

namespace velmarin::platform::win32 {
namespace {

void Remove(const std::string& drive, const std::string& target) {
    DefineDosDeviceA(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, drive.c_str(),
                     target.c_str());
}

bool Reachable(const std::string& drive) {
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((drive + "\\*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

}  // namespace

DriveMappings::~DriveMappings() {
    for (auto it = defined_.rbegin(); it != defined_.rend(); ++it) Remove(it->drive, it->target);
}

bool DriveMappings::map(char letter, const std::string& folder, std::string& error) {
    const char upper =
        (letter >= 'a' && letter <= 'z') ? static_cast<char>(letter - 'a' + 'A') : letter;
    const std::string drive = std::string(1, upper) + ":";
    char existing[MAX_PATH];
    if (QueryDosDeviceA(drive.c_str(), existing, MAX_PATH) != 0) {
        error = "drive " + drive + " is already in use";
        return false;
    }
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(folder.c_str(), MAX_PATH, full, nullptr);
    if (length == 0 || length >= MAX_PATH) {
        error = "drive " + drive + ": folder name too long or invalid: " + folder;
        return false;
    }
    std::string target(full, length);
    // "D:\" would give "D:\\" below; a drive root names itself without the separator.
    if (target.size() > 3 && (target.back() == '\\' || target.back() == '/')) target.pop_back();
    if (!DefineDosDeviceA(0, drive.c_str(), target.c_str())) {
        error = "drive " + drive + " could not be defined for " + target;
        return false;
    }
    if (!Reachable(drive)) {
        Remove(drive, target);
        error = "drive " + drive + " could not be mapped to " + target +
                ": this system does not reach files through defined drives (Wine does not); "
                "use the folder's own path instead";
        return false;
    }
    defined_.push_back({drive, target});
    return true;
}

}  // namespace velmarin::platform::win32
