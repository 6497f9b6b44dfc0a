#pragma once
// WritePrivateProfileStringA over a parsed file, editing its bytes in place as Windows does:
// every line the call does not touch keeps its bytes (NULs, GBK, a BOM, its own line end), and
// every line it writes ends in CRLF.

#include <optional>
#include <string>

#include "platform/profile/ProfileText.h"

namespace velmarin::platform::profile {

// The file's new bytes, or nothing when the call fails: a null section, or a file in UTF-16LE
// (it starts with FF FE), which Windows edits as Unicode text and which byte edits would ruin.
// `file` is null when the file does not exist; deleting from a missing file gives an empty file, as
// on Windows. A null key deletes the section (its comment and blank lines stay), a null value
// deletes the key.
std::optional<std::string> PutString(const ProfileText* file, const char* section, const char* key,
                                     const char* value);

}  // namespace velmarin::platform::profile
