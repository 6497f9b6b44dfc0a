#include "platform/NativeFiles.h"

#include <windows.h>

#include "platform/DoubleByte.h"
#include "platform/Encoding.h"
#include "platform/win32/PathSpelling.h"

namespace velmarin::platform {

PathKind KindOfPath(const std::string& nativePath) {
    if (nativePath.empty()) return PathKind::Missing;
    const DWORD attributes = GetFileAttributesA(nativePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const bool tooLong =
            GetLastError() == ERROR_FILENAME_EXCED_RANGE || ExceedsAnsiPathLimit(nativePath);
        return tooLong ? PathKind::TooLong : PathKind::Missing;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return PathKind::Folder;
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) return PathKind::ReadOnlyFile;
    return PathKind::File;
}

std::string AbsolutePath(const std::string& nativePath) {
    if (nativePath.empty()) return nativePath;
    std::string full(MAX_PATH, '\0');
    DWORD length =
        GetFullPathNameA(nativePath.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size()) {  // the size it needs, with the terminating zero
        full.assign(length, '\0');
        length = GetFullPathNameA(nativePath.c_str(), length, full.data(), nullptr);
    }
    if (length == 0 || length >= full.size()) return nativePath;
    full.resize(length);
    return full;
}

// The ANSI code page of the programs is GBK, as on a Chinese Windows.
std::string NativeTextToUtf8(const std::string& native) { return GbkToUtf8(native); }

std::string NativeTextToGbk(const std::string& native) { return native; }

}  // namespace velmarin::platform

namespace velmarin::platform::win32 {
namespace {

bool HasWildcard(const std::string& component) {
    return component.find_first_of("*?") != std::string::npos;
}

// Where the components after the root start: "C:\", "\\server\share\" or "\\?\C:\".
std::size_t RootLength(const std::string& full) {
    if (full.size() >= 3 && full[1] == ':' && full[2] == '\\') return 3;
    if (full.compare(0, 2, "\\\\") != 0) return 0;
    std::size_t position = 2;
    for (int part = 0; part < 2 && position != std::string::npos; ++part) {
        position = full.find('\\', position);
        if (position != std::string::npos) ++position;
    }
    return position == std::string::npos ? full.size() : position;
}

}  // namespace

std::string SpelledAsOnDisk(const std::string& path) {
    const std::string full = AbsolutePath(path);
    const std::size_t root = RootLength(full);
    std::string spelled = full.substr(0, root);
    // A drive letter names one drive in either case.
    if (root == 3 && spelled[0] >= 'a' && spelled[0] <= 'z') spelled[0] = spelled[0] - 'a' + 'A';
    std::size_t start = root;
    bool onDisk = true;  // the folders so far exist
    while (start < full.size()) {
        std::size_t end = start;
        while (end < full.size() && full[end] != '\\') end += CharWidth(full, end);
        const std::string component = full.substr(start, end - start);
        std::string name = component;
        if (onDisk && !component.empty() && !HasWildcard(component)) {
            WIN32_FIND_DATAA found{};
            HANDLE search = FindFirstFileA((spelled + component).c_str(), &found);
            if (search != INVALID_HANDLE_VALUE) {
                FindClose(search);
                name = found.cFileName;
            } else {
                onDisk = false;  // what is missing keeps its spelling
            }
        }
        spelled += name;
        if (end < full.size()) spelled += '\\';
        start = end + 1;
    }
    return spelled;
}

}  // namespace velmarin::platform::win32
