#pragma once
// The one way this system replaces a file by a path of the machine's own file system (a path
// the platform has already resolved): the bytes go to a temporary file in the target's folder,
// which is flushed to the disk and then moved over the target; destroying the file before its
// commit leaves the target as it was. A read-only target is never replaced.

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace velmarin::platform {

// Null when the temporary file cannot be created (a missing folder, no permission) or the
// target is read-only.
std::unique_ptr<OutputFile> CreateReplacingFile(const std::string& nativePath);

}  // namespace velmarin::platform
