#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "util/TdaFunc.h"

namespace velmarin {
namespace {

constexpr std::uint32_t kValueBufferBytes = 2600;

}  // namespace

int TdaFunc::ReadIniString(const std::string& section, const std::string& key, std::string& value,
                           const std::string& file) const {
    if (FileExists(file) == 0) return 0;
    std::vector<char> buffer(kValueBufferBytes, '\0');
    platform::current().getProfileString(section.c_str(), key.c_str(), "", buffer.data(),
                                         kValueBufferBytes, file);
    buffer.back() = '\0';
    value = buffer.data();
    return 1;
}

int TdaFunc::WriteIniString(const std::string& section, const std::string& key,
                            const std::string& value, const std::string& file) const {
    // Never creates the file: callers that need a fresh file make it themselves.
    if (FileExists(file) == 0) return 0;
    platform::current().writeProfileString(section.c_str(), key.c_str(), value.c_str(), file);
    return 1;
}

}  // namespace velmarin
