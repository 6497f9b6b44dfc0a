#include "platform/NativeFiles.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/FileText.h"

namespace velmarin::platform {

PathKind KindOfPath(const std::string& nativePath) {
    struct stat status {};
    if (nativePath.empty() || ::stat(nativePath.c_str(), &status) != 0) return PathKind::Missing;
    if (S_ISDIR(status.st_mode)) return PathKind::Folder;
    // As the user would find it: a file without write permission for anyone (root still writes
    // through such a file, the system never does).
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return PathKind::ReadOnlyFile;
    return PathKind::File;
}

// File names on Linux are UTF-8 bytes, which std::filesystem takes as they are.
std::string AbsolutePath(const std::string& nativePath) {
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(nativePath, ignored);
    return absolute.empty() ? nativePath : absolute.lexically_normal().string();
}

std::string NativeTextToUtf8(const std::string& native) { return native; }

std::string NativeTextToGbk(const std::string& native) { return LineAsGbk(native); }

}  // namespace velmarin::platform
