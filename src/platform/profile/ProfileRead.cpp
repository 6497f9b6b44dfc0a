#include "platform/profile/ProfileRead.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace velmarin::platform::profile {
namespace {

// Windows carries a value's length in 16 bits: 65,536 bytes read as nothing, 65,537 as one.
constexpr std::size_t kLengthWrap = 0x10000;

ReadResult CopyText(std::string_view text, char* buffer, std::uint32_t size) {
    ReadResult result;
    std::size_t n = text.size();
    if (n > size - 1) {
        n = size - 1;
        result.moreData = true;
    }
    if (n > 0) std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
    result.length = static_cast<std::uint32_t>(n);
    return result;
}

// Names separated by NULs, ending in a second NUL. A list too long for the buffer is cut inside
// its last name and still ends in two NULs.
ReadResult CopyList(const std::vector<std::string_view>& names, char* buffer, std::uint32_t size) {
    std::string list;
    for (std::string_view name : names) {
        list.append(name.data(), name.size());
        list.push_back('\0');
    }
    ReadResult result;
    if (list.size() + 1 <= size) {
        std::memcpy(buffer, list.data(), list.size());
        buffer[list.size()] = '\0';
        if (list.empty() && size > 1) buffer[1] = '\0';
        result.length = static_cast<std::uint32_t>(list.size());
        return result;
    }
    result.moreData = true;
    if (size < 2) {
        buffer[0] = '\0';
        return result;
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = '\0';
    buffer[size - 1] = '\0';
    result.length = size - 2;
    return result;
}

std::string_view DefaultText(const char* defaultValue) {
    std::string_view text = defaultValue == nullptr ? std::string_view() : defaultValue;
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

}  // namespace

ReadResult GetString(const ProfileText* file, const char* section, const char* key,
                     const char* defaultValue, char* buffer, std::uint32_t bufferSize) {
    if (bufferSize == 0 || buffer == nullptr) return {};

    if (section == nullptr) {
        std::vector<std::string_view> names;
        if (file != nullptr) {
            for (const auto& s : file->sections())
                names.push_back(file->name(file->lines()[s.header]));
        }
        return CopyList(names, buffer, bufferSize);
    }

    const std::size_t index = file == nullptr ? kNone : file->findSection(TrimSpaces(section));
    if (key == nullptr) {
        std::vector<std::string_view> keys;
        if (index != kNone) {
            const auto& s = file->sections()[index];
            for (std::size_t i = s.header + 1; i < s.lineEnd; ++i) {
                const Line& line = file->lines()[i];
                if (line.kind == LineKind::Key) keys.push_back(file->name(line));
            }
        }
        if (!keys.empty()) return CopyList(keys, buffer, bufferSize);
        return CopyText(DefaultText(defaultValue), buffer, bufferSize);
    }

    const std::size_t line = index == kNone ? kNone : file->findKey(index, TrimSpaces(key));
    if (line == kNone) return CopyText(DefaultText(defaultValue), buffer, bufferSize);
    std::string_view value = file->value(file->lines()[line]);
    value = value.substr(0, value.size() % kLengthWrap);
    return CopyText(value, buffer, bufferSize);
}

std::optional<std::string> FindValue(const ProfileText& file, const std::string& section,
                                     const std::string& key) {
    const std::size_t index = file.findSection(TrimSpaces(section));
    if (index == kNone) return std::nullopt;
    const std::size_t line = file.findKey(index, TrimSpaces(key));
    if (line == kNone) return std::nullopt;
    return std::string(file.value(file.lines()[line]));
}

}  // namespace velmarin::platform::profile
