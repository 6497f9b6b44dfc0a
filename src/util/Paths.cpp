#include "util/Paths.h"

#include <cstddef>

#include "platform/Platform.h"
#include "util/Text.h"

namespace velmarin::util {
namespace {

// The path buffers of the system hold 2,600 bytes with the terminating zero.
constexpr std::size_t kPathBufferBytes = 2600;

}  // namespace

std::string ModuleFolder(const std::string& moduleName) {
    std::string fileName = platform::current().moduleFileName(moduleName);
    if (fileName.size() >= kPathBufferBytes) fileName.resize(kPathBufferBytes - 1);
    const std::size_t slash = text::FindLast(fileName, '\\');
    return slash == text::npos ? std::string() : fileName.substr(0, slash + 1);
}

std::string DriveOf(const std::string& path) {
    // Only the first two bytes decide; a longer path is not copied anywhere.
    if (path.size() >= 2 && path[1] == ':' &&
        !text::IsLeadByte(static_cast<unsigned char>(path[0]))) {
        return path.substr(0, 2);
    }
    return std::string();
}

bool FileExists(const std::string& path) {
    return !path.empty() && platform::current().findFirstFile(path);
}

void CreateFolders(const std::string& path, int start) {
    std::size_t from = start < 0 ? 0 : static_cast<std::size_t>(start);
    while (from <= path.size()) {
        const std::size_t slash = text::Find(path, '\\', from);
        if (slash == text::npos) break;
        const std::string folder = path.substr(0, slash);
        if (!folder.empty() && !FileExists(folder)) platform::current().createDirectory(folder);
        from = slash + 1;
    }
}

std::string WithTrailingBackslash(std::string folder) {
    // An empty folder stays empty: the client loader passes "" for a missing AppPath, and a lone
    // backslash would turn every client file into a path at the root of the current drive.
    if (folder.empty()) return folder;
    if (text::FindLast(folder, '\\') != folder.size() - 1) folder += '\\';
    return folder;
}

}  // namespace velmarin::util
