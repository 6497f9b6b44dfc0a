#pragma once
// HKEY_LOCAL_MACHINE on Linux: an INI file whose sections are key paths and whose entries are
// text values. People write it in UTF-8 or GBK; values come back as GBK.

#include <string>

namespace velmarin::platform::posix {

// RegQueryValueExA into a 260-byte buffer: a value of 260 bytes or more does not fit and gives
// false, as a missing file, key or value does.
bool ReadRegistryValue(const std::string& registryFile, const std::string& keyPath,
                       const std::string& valueName, std::string& value);

}  // namespace velmarin::platform::posix
