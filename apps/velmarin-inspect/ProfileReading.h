#pragma once
// Reading the installation's INI files as the plug-in does: through the platform's profile
// functions, so that the same rules (letter case, blanks, quotes, the 2,600-byte value buffer)
// apply. Texts stay GBK bytes.

#include <string>
#include <vector>

#include "platform/Platform.h"

namespace velmarin::inspect {

// A file or folder exists (the plug-in's own test: a directory entry matches the path).
bool Exists(platform::Platform& os, const std::string& path);
// One value; empty when the key, the section or the file is missing.
std::string ProfileValue(platform::Platform& os, const std::string& section,
                         const std::string& key, const std::string& file);
// The section names of a file, or the key names of one section, in file order.
std::vector<std::string> SectionNames(platform::Platform& os, const std::string& file);
std::vector<std::string> KeyNames(platform::Platform& os, const std::string& section,
                                  const std::string& file);

// GBK helpers: the folder with one backslash at its end (a trail byte 0x5C is no backslash;
// an empty folder stays empty); letter case folded for A-Z only.
std::string WithBackslash(const std::string& folder);
bool EqualsIgnoringCase(const std::string& a, const std::string& b);
// The GBK text as UTF-8, for the person reading the report.
std::string Shown(const std::string& gbk);

}  // namespace velmarin::inspect
