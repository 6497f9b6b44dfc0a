#include "util/IniValues.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/Platform.h"
#include "util/Paths.h"

namespace velmarin::util {
namespace {

constexpr std::uint32_t kValueBufferBytes = 2600;
constexpr std::size_t kLargestNameList = std::size_t{64} << 20;

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

std::vector<std::string> ReadIniNames(const char* section, const std::string& file) {
    std::vector<std::string> names;
    if (!FileExists(file)) return names;
    platform::Platform& os = platform::current();
    std::vector<char> buffer(4096);
    for (;;) {
        const auto size = static_cast<std::uint32_t>(buffer.size());
        const std::uint32_t length =
            os.getProfileString(section, nullptr, "", buffer.data(), size, file);
        // A list that did not fit comes back cut at size - 2.
        if (length + 2 < size || buffer.size() >= kLargestNameList) {
            const char* cursor = buffer.data();
            const char* end = buffer.data() + std::min<std::size_t>(length, buffer.size());
            while (cursor < end && *cursor != '\0') {
                names.emplace_back(cursor);
                cursor += names.back().size() + 1;
            }
            return names;
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace velmarin::util
