#include "tree/TreeFile.h"

#include <memory>
#include <string_view>

#include "platform/Platform.h"
#include "util/FixedTexts.h"
#include "util/Messages.h"
#include "util/Paths.h"

namespace velmarin {
namespace {

namespace profile = platform::profile;

// The reader's buffer: a value is cut to 2,599 bytes.
constexpr std::size_t kValueBufferBytes = 2600;
// The reader carries a value's length in 16 bits.
constexpr std::size_t kLengthWrap = 0x10000;

// What the writer receives of a parameter: the C string up to a NUL, on one line.
std::string AsWritten(const std::string& s) {
    std::string out = s.substr(0, s.find('\0'));
    for (char& c : out) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return out;
}

// The name the reader sees in a key line (`head` holds its first '='): from the first non-blank
// character to the '=', blanks trimmed.
std::string_view KeyName(std::string_view head) {
    std::size_t begin = 0;
    std::size_t end = head.size() - 1;
    while (begin < end && profile::IsBlank(static_cast<unsigned char>(head[begin]))) ++begin;
    while (end > begin && profile::IsBlank(static_cast<unsigned char>(head[end - 1]))) --end;
    return head.substr(begin, end - begin);
}

}  // namespace

std::string TreeFile::NodeSection(int index) {
    return texts::kTreeNodeSectionPrefix + std::to_string(index);
}
std::string TreeFile::ChildNameKey(int index) {
    return texts::kTreeChildNamePrefix + std::to_string(index);
}
std::string TreeFile::ValueKey(const std::string& property) {
    return texts::kConfigValuePrefix + property;
}
std::string TreeFile::TypeKey(const std::string& property) {
    return texts::kConfigTypePrefix + property;
}

std::string TreeFile::PrepareIn(const std::string& clientFolder) {
    const std::string folder = clientFolder + texts::kClientTempFolder;
    if (!util::FileExists(folder)) platform::current().createDirectory(folder);
    return folder + "\\" + texts::kTreeFileName;
}

TreeFile::TreeFile(std::string path) : path_(std::move(path)) {}

void TreeFile::Set(const std::string& sectionName, const std::string& key,
                   const std::string& value) {
    const std::string name(profile::TrimSpaces(AsWritten(sectionName)));
    const std::string keyText(profile::TrimSpaces(AsWritten(key)));
    const std::string valueText = AsWritten(value);

    auto found = sectionIndex_.find(name);
    if (found == sectionIndex_.end()) {
        found = sectionIndex_.emplace(name, sections_.size()).first;
        sections_.push_back(Section{name, {}, {}, 0});
    }
    Section& section = sections_[found->second];

    const auto existing = section.keys.find(keyText);
    if (existing != section.keys.end()) {
        section.lines[existing->second].tail = valueText;
        return;
    }
    // The written line "key=value" splits at its first '=', which may lie inside the key.
    const std::string text = keyText + "=" + valueText;
    const std::size_t equals = text.find('=');
    Line line{text.substr(0, equals + 1), text.substr(equals + 1), true};
    // A line whose first character is ';' is a comment to the reader. The callers' keys all start
    // with a fixed name, so a written line never reads as a section header.
    const std::size_t first = line.head.find_first_not_of(" \t\v");
    line.isKey = !(first != std::string::npos && line.head[first] == ';');
    AddLine(section, std::move(line));
}

void TreeFile::AddLine(Section& section, Line line) {
    // New keys go right after the section's last key line, as the writer places them: comment
    // lines that close the section stay below.
    const bool isKey = line.isKey;
    const std::string name(isKey ? KeyName(line.head) : std::string_view());
    const std::size_t at = section.lastKey;
    if (at == section.lines.size()) {
        section.lines.push_back(std::move(line));
    } else {
        section.lines.insert(section.lines.begin() + static_cast<std::ptrdiff_t>(at),
                             std::move(line));
        for (auto& entry : section.keys) {
            if (entry.second >= at) ++entry.second;
        }
    }
    if (isKey) {
        section.keys.emplace(name, at);
        section.lastKey = at + 1;
    }
}

const TreeFile::Line* TreeFile::Find(const std::string& sectionName, const std::string& key) const {
    const auto section = sectionIndex_.find(std::string(profile::TrimSpaces(sectionName)));
    if (section == sectionIndex_.end()) return nullptr;
    const Section& s = sections_[section->second];
    const auto line = s.keys.find(std::string(profile::TrimSpaces(key)));
    return line == s.keys.end() ? nullptr : &s.lines[line->second];
}

std::string TreeFile::Get(const std::string& section, const std::string& key) const {
    const Line* line = Find(section, key);
    if (line == nullptr) return std::string();
    std::string_view value = profile::ValueAsRead(line->tail);
    value = value.substr(0, value.size() % kLengthWrap);
    value = value.substr(0, kValueBufferBytes - 1);
    return std::string(value);
}

std::string TreeFile::Bytes() const {
    std::string out;
    for (const Section& section : sections_) {
        out.append("[").append(section.name).append("]\r\n");
        for (const Line& line : section.lines)
            out.append(line.head).append(line.tail).append("\r\n");
    }
    return out;
}

bool TreeFile::Save() const {
    std::unique_ptr<platform::OutputFile> file = platform::current().createFile(path_);
    if (file && file->write(Bytes()) && file->commit()) return true;
    util::ShowMessage(texts::kWriteFileFailed + path_);
    return false;
}

}  // namespace velmarin
