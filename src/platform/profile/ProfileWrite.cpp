#include "platform/profile/ProfileWrite.h"

#include <string_view>

namespace velmarin::platform::profile {
namespace {

constexpr std::string_view kCrLf = "\r\n";

std::string KeyLine(std::string_view key, std::string_view value) {
    std::string line;
    line.reserve(key.size() + value.size() + 3);
    line.append(key).append("=").append(value).append(kCrLf);
    return line;
}

std::string DeleteSection(const ProfileText& file, const ProfileText::Section& section) {
    const std::string& bytes = file.bytes();
    std::string out;
    out.reserve(bytes.size());
    const Line& header = file.lines()[section.header];
    out.append(bytes, 0, header.begin);
    for (std::size_t i = section.header + 1; i < section.lineEnd; ++i) {
        const Line& line = file.lines()[i];
        if (line.kind == LineKind::Comment || line.kind == LineKind::Blank) {
            out.append(bytes, line.begin, line.next - line.begin);
        }
    }
    const std::size_t tail =
        section.lineEnd < file.lines().size() ? file.lines()[section.lineEnd].begin : bytes.size();
    out.append(bytes, tail, std::string::npos);
    return out;
}

std::string InsertKey(const ProfileText& file, const ProfileText::Section& section,
                      std::string_view key, std::string_view value) {
    // New keys go right after the section's last key line (its header when it has none), so
    // comments and blank lines that close the section stay below them.
    std::size_t anchor = section.header;
    for (std::size_t i = section.header + 1; i < section.lineEnd; ++i) {
        if (file.lines()[i].kind == LineKind::Key) anchor = i;
    }
    const Line& line = file.lines()[anchor];
    const std::string& bytes = file.bytes();
    std::string out;
    out.reserve(bytes.size() + key.size() + value.size() + 5);
    out.append(bytes, 0, line.next);
    if (!line.hasLineEnd()) out.append(kCrLf);
    out.append(KeyLine(key, value));
    out.append(bytes, line.next, std::string::npos);
    return out;
}

}  // namespace

std::optional<std::string> PutString(const ProfileText* file, const char* section, const char* key,
                                     const char* value) {
    if (section == nullptr) return std::nullopt;
    const std::string_view name = TrimSpaces(section);
    if (file == nullptr) {
        if (key == nullptr || value == nullptr) return std::string();
        return "[" + std::string(name) + "]\r\n" + KeyLine(TrimSpaces(key), value);
    }

    const std::string& bytes = file->bytes();
    if (bytes.compare(0, 2, "\xFF\xFE") == 0) return std::nullopt;
    const std::size_t index = file->findSection(name);
    if (key == nullptr) {
        if (index == kNone) return bytes;
        return DeleteSection(*file, file->sections()[index]);
    }

    const std::string_view keyName = TrimSpaces(key);
    if (index == kNone) {
        if (value == nullptr) return bytes;
        std::string out = bytes;
        if (!out.empty() && out.back() != '\n' && out.back() != '\r') out.append(kCrLf);
        out.append("[").append(name).append("]\r\n").append(KeyLine(keyName, value));
        return out;
    }

    const ProfileText::Section& found = file->sections()[index];
    const std::size_t lineIndex = file->findKey(index, keyName);
    if (lineIndex == kNone) {
        if (value == nullptr) return bytes;
        return InsertKey(*file, found, keyName, value);
    }

    const Line& line = file->lines()[lineIndex];
    std::string out;
    out.reserve(bytes.size() + (value == nullptr ? 0 : std::string_view(value).size() + 2));
    if (value == nullptr) {
        out.append(bytes, 0, line.begin);
    } else {
        // The line keeps its bytes up to and including '=' (the key's own spelling and any
        // blanks); the rest of it, line end included, is the new value and a CRLF.
        out.append(bytes, 0, line.equals + 1);
        out.append(value).append(kCrLf);
    }
    out.append(bytes, line.next, std::string::npos);
    return out;
}

}  // namespace velmarin::platform::profile
