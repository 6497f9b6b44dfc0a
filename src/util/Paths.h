#pragma once
// Windows paths as the plug-in builds them: the module's folder, drive letters, existence checks
// and folder creation, all through the platform.

#include <string>

namespace velmarin::util {

// The folder of the loaded module `moduleName`, ending in a backslash; "" when it is not loaded.
std::string ModuleFolder(const std::string& moduleName);
// "D:" for a path that starts with a drive letter, "" otherwise.
std::string DriveOf(const std::string& path);
// Whether a file or folder matches `path` (wildcards allowed); an empty path matches nothing.
bool FileExists(const std::string& path);
// Creates every missing folder of `path` up to its last backslash, scanning from byte `start`.
// A folder that cannot be created is left for the caller's file creation to meet.
void CreateFolders(const std::string& path, int start);
// The folder with a backslash at its end; "" stays "".
std::string WithTrailingBackslash(std::string folder);

}  // namespace velmarin::util
