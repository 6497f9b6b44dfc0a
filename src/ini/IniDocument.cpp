#include "ini/IniDocument.h"

#include "platform/Platform.h"
#include "util/Lines.h"
#include "util/Paths.h"
#include "util/Text.h"

namespace velmarin {

bool IniDocument::Load(const std::string& path) {
    if (!util::FileExists(path)) return false;
    // The lines are walked straight out of the file's bytes, as a string list would hand them
    // over, without a copy of each line: a large file costs its size once.
    std::string contents;
    if (!platform::current().readFile(path, contents)) contents.clear();  // unreadable: empty
    ParseText(contents);
    return true;
}

void IniDocument::ParseText(const std::string& contents) {
    sections_.clear();
    IniSection* current = nullptr;
    text::ForEachLine(contents, [&](std::string_view line) { ParseOneLine(line, current); });
}

void IniDocument::ParseOneLine(std::string_view line, IniSection*& current) {
    if (line.empty()) return;
    if (IsSectionHeader(line)) {
        current = &sections_.emplace_back(std::string(line.substr(1, line.size() - 2)));
    } else if (current != nullptr) {
        current->ParseLine(line);
    }
}

bool IniDocument::IsSectionHeader(std::string_view line) {
    if (line.size() < 2 || line.front() != '[') return false;
    // The closing bracket must be a character of its own, not the trail byte of a double-byte
    // character that ends the line.
    std::size_t last = 0;
    for (std::size_t i = 0; i < line.size();) {
        last = i;
        i += text::CharWidth(line, i);
    }
    return last == line.size() - 1 && line[last] == ']';
}

IniSection* IniDocument::FindSection(const std::string& name) {
    const std::string wanted = text::Trim(name);
    for (IniSection& section : sections_) {
        if (text::EqualsNoCase(section.sectionName, wanted)) return &section;
    }
    return nullptr;
}

const IniSection* IniDocument::FindSection(const std::string& name) const {
    return const_cast<IniDocument*>(this)->FindSection(name);
}

const IniSection* IniDocument::GetSectionAt(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= sections_.size()) return nullptr;
    return &sections_[static_cast<std::size_t>(index)];
}

}  // namespace velmarin
