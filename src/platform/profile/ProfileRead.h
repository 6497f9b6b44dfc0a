#pragma once
// GetPrivateProfileStringA over a parsed file, with Windows' results: the default when the file,
// section or key is missing (trailing spaces dropped), values cut to the buffer, the 16-bit length
// of a value wrapping, and NUL-separated lists when the section or key is null.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/profile/ProfileText.h"

namespace velmarin::platform::profile {

struct ReadResult {
    std::uint32_t length = 0;  // what the Windows function returns
    bool moreData = false;     // the text was cut to the buffer (ERROR_MORE_DATA)
};

// `file` is null when the file does not exist. With `bufferSize` 0 the buffer is not touched.
ReadResult GetString(const ProfileText* file, const char* section, const char* key,
                     const char* defaultValue, char* buffer, std::uint32_t bufferSize);

// The value of a key exactly as the file holds it after trimming and quote removal, without any
// buffer or length limit; nothing when the section or key is missing.
std::optional<std::string> FindValue(const ProfileText& file, const std::string& section,
                                     const std::string& key);

}  // namespace velmarin::platform::profile
