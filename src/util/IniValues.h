#pragma once
// Single values of INI files through the platform's profile functions.

#include <string>
#include <vector>

namespace velmarin::util {

// Reads a value (at most 2,599 bytes) into `value`. False, with `value` untouched, when the file
// does not exist; a missing section or key reads as "".
bool ReadIniString(const std::string& section, const std::string& key, std::string& value,
                   const std::string& file);

// The section names of a file (`section` null) or the key names of one section, in file order,
// through the profile reader's enumeration; empty when the file does not exist.
std::vector<std::string> ReadIniNames(const char* section, const std::string& file);

}  // namespace velmarin::util
