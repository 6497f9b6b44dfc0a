#pragma once
// Single values of INI files through the platform's profile functions.

#include <string>

namespace velmarin::util {

// Reads a value (at most 2,599 bytes) into `value`. False, with `value` untouched, when the file
// does not exist; a missing section or key reads as "".
bool ReadIniString(const std::string& section, const std::string& key, std::string& value,
                   const std::string& file);
}  // namespace velmarin::util
