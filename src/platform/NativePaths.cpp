// The system-independent half of NativeFiles.h: path lengths and separators.

#include "platform/DoubleByte.h"
#include "platform/NativeFiles.h"

namespace velmarin::platform {
namespace {

// The position of the last \ or / that is a character of its own, or npos.
std::size_t LastSeparator(const std::string& path) {
    std::size_t last = std::string::npos;
    for (std::size_t i = 0; i < path.size(); i += CharWidth(path, i)) {
        if (path[i] == '\\' || path[i] == '/') last = i;
    }
    return last;
}

}  // namespace

bool ExceedsAnsiPathLimit(const std::string& path) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < path.size(); i += CharWidth(path, i)) ++characters;
    return characters > kMaxAnsiPath;
}

std::string FolderPart(const std::string& path) {
    const std::size_t separator = LastSeparator(path);
    if (separator == std::string::npos) return {};
    return path.substr(0, separator == 0 ? 1 : separator);
}

std::string FileNamePart(const std::string& path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string BesideFile(const std::string& file, const std::string& name) {
    const std::size_t separator = LastSeparator(file);
    if (separator == std::string::npos) return name;
    return file.substr(0, separator + 1) + name;
}

}  // namespace velmarin::platform
