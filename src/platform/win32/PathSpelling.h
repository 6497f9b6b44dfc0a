#pragma once
#include <string>

namespace velmarin::platform::win32 {

// One spelling for every path that reaches the same file: the system's full path name, the drive
// letter in capitals and each existing component spelled as its entry on disk, ignoring letter
// case as Windows does. What does not exist yet keeps the spelling it was given. Two spellings of
// one file ("D:/w/a.DWG" and "D:\w\A.dwg") give the same text, which still names the file.
std::string SpelledAsOnDisk(const std::string& path);

}  // namespace velmarin::platform::win32
