#include <cstddef>
#include <string>

#include "platform/Platform.h"
#include "util/TdaFunc.h"
#include "util/Text.h"

namespace velmarin {
namespace {

// The path buffers of the system hold 2,600 bytes with the terminating zero.
constexpr std::size_t kPathBufferBytes = 2600;

}  // namespace

std::string TdaFunc::GetModuleFolder(std::string moduleName) const {
    std::string fileName = platform::current().moduleFileName(moduleName);
    if (fileName.size() >= kPathBufferBytes) fileName.resize(kPathBufferBytes - 1);
    const std::size_t slash = text::FindLast(fileName, '\\');
    return slash == text::npos ? std::string() : fileName.substr(0, slash + 1);
}

std::string TdaFunc::GetDrive(std::string path) const {
    // Only the first two bytes decide; a longer path is not copied anywhere.
    if (path.size() >= 2 && path[1] == ':' &&
        !text::IsLeadByte(static_cast<unsigned char>(path[0]))) {
        return path.substr(0, 2);
    }
    return std::string();
}

int TdaFunc::FileExists(std::string path) const {
    if (path.empty()) return 0;
    return platform::current().findFirstFile(path) ? 1 : 0;
}

int TdaFunc::CreateFolders(std::string path, int start) const {
    std::size_t from = start < 0 ? 0 : static_cast<std::size_t>(start);
    while (from <= path.size()) {
        const std::size_t slash = text::Find(path, '\\', from);
        if (slash == text::npos) break;
        const std::string folder = path.substr(0, slash);
        // A failed creation is left for the caller's file creation to meet.
        if (!folder.empty() && FileExists(folder) == 0) platform::current().createDirectory(folder);
        from = slash + 1;
    }
    return 1;
}

std::string TdaFunc::AddBackslash(std::string folder) const {
    // An empty folder stays empty: the client loader passes "" for a missing AppPath, and a lone
    // backslash would turn every client file into a path at the root of the current drive.
    if (folder.empty()) return folder;
    if (text::FindLast(folder, '\\') != folder.size() - 1) folder += '\\';
    return folder;
}

}  // namespace velmarin
