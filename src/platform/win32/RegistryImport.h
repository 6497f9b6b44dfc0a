#pragma once
// The emulator program's --registry FILE on Windows: the file's values are written into
// HKEY_LOCAL_MACHINE, where the plug-in reads them through the system (RegOpenKeyA). The file
// is the one the Linux emulator reads: each section a key path, each entry a text value, in
// UTF-8 or GBK, stored as GBK.

#include <string>

namespace velmarin::platform::win32 {

// Creates the keys and sets the values (REG_SZ). Values already in the registry that the file
// does not name stay. On failure `error` names the file and the key or value that failed.
bool ImportRegistryFile(const std::string& file, std::string& error);

}  // namespace velmarin::platform::win32
