#include "ProfileReading.h"

#include <algorithm>
#include <cstdint>

#include "platform/Encoding.h"

namespace velmarin::inspect {
namespace {

constexpr std::uint32_t kValueBufferBytes = 2600;
constexpr std::size_t kLargestList = std::size_t{16} << 20;

// A double-null-terminated list from the profile reader, with the buffer grown until it fits
// (a list that did not fit comes back cut at size - 2).
std::vector<std::string> NameList(platform::Platform& os, const char* section,
                                  const std::string& file) {
    std::vector<std::string> names;
    if (!Exists(os, file)) return names;
    std::vector<char> buffer(4096);
    for (;;) {
        const auto size = static_cast<std::uint32_t>(buffer.size());
        const std::uint32_t length =
            os.getProfileString(section, nullptr, "", buffer.data(), size, file);
        if (length + 2 < size || buffer.size() >= kLargestList) {
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

}  // namespace

bool Exists(platform::Platform& os, const std::string& path) {
    return !path.empty() && os.findFirstFile(path);
}

std::string ProfileValue(platform::Platform& os, const std::string& section,
                         const std::string& key, const std::string& file) {
    if (!Exists(os, file)) return {};
    std::vector<char> buffer(kValueBufferBytes, '\0');
    os.getProfileString(section.c_str(), key.c_str(), "", buffer.data(), kValueBufferBytes, file);
    buffer.back() = '\0';
    return buffer.data();
}

std::vector<std::string> SectionNames(platform::Platform& os, const std::string& file) {
    return NameList(os, nullptr, file);
}

std::vector<std::string> KeyNames(platform::Platform& os, const std::string& section,
                                  const std::string& file) {
    return NameList(os, section.c_str(), file);
}

std::string WithBackslash(const std::string& folder) {
    if (folder.empty()) return folder;
    bool endsInBackslash = false;
    for (std::size_t i = 0; i < folder.size();) {
        const auto byte = static_cast<unsigned char>(folder[i]);
        const bool lead = byte >= 0x81 && byte <= 0xFE && i + 1 < folder.size();
        endsInBackslash = !lead && byte == '\\';
        i += lead ? 2 : 1;
    }
    return endsInBackslash ? folder : folder + '\\';
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    auto fold = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto byte = static_cast<unsigned char>(a[i]);
        if (byte >= 0x81 && byte <= 0xFE && i + 1 < a.size()) {  // a double-byte character
            if (a.compare(i, 2, b, i, 2) != 0) return false;
            ++i;
        } else if (fold(a[i]) != fold(b[i])) {
            return false;
        }
    }
    return true;
}

std::string Shown(const std::string& gbk) { return platform::GbkToUtf8(gbk); }

}  // namespace velmarin::inspect
