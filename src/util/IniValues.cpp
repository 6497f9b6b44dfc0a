#include "util/IniValues.h"

#include <cstdint>
#include <vector>

#include "platform/Platform.h"
#include "util/Paths.h"

namespace velmarin::util {
namespace {

constexpr std::uint32_t kValueBufferBytes = 2600;

}  // namespace

bool ReadIniString(const std::string& section, const std::string& key, std::string& value,
                   const std::string& file) {
    if (!FileExists(file)) return false;
    std::vector<char> buffer(kValueBufferBytes, '\0');
    platform::current().getProfileString(section.c_str(), key.c_str(), "", buffer.data(),
                                         kValueBufferBytes, file);
    buffer.back() = '\0';
    value = buffer.data();
    return true;
}

}  // namespace velmarin::util
