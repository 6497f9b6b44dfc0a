#pragma once
// The plug-in's own INI document: a whole file parsed into sections and records, looked up by
// name and walked in file order. Operation scripts are read only this way.
//
// Grammar: a line that starts with "[" and ends with "]" (nothing trimmed first) opens a
// section, named by what lies between, trimmed; names may repeat. Other non-empty lines go to
// the current section as key = value records; lines before the first section are ignored. There
// is no comment syntax.

#include <deque>
#include <string>
#include <string_view>

#include "ini/IniSection.h"

namespace velmarin {

class IniDocument {
  public:
    IniDocument() = default;
    IniDocument(const IniDocument&) = delete;
    IniDocument& operator=(const IniDocument&) = delete;

    // False, leaving the document as it was, when the file does not exist. A file that exists but
    // cannot be read gives an empty document and true.
    bool Load(const std::string& path);
    // Replaces the document with the parse of a file's bytes.
    void ParseText(const std::string& contents);

    // The first section, in file order, whose name equals TrimText(name) ignoring the case of A-Z.
    IniSection* FindSection(const std::string& name);
    const IniSection* FindSection(const std::string& name) const;

    int GetSectionCount() const { return static_cast<int>(sections_.size()); }
    // Null when the index is outside 0 .. count - 1.
    const IniSection* GetSectionAt(int index) const;

    // Whether the line opens a section.
    static bool IsSectionHeader(std::string_view line);

  private:
    void ParseOneLine(std::string_view line, IniSection*& current);

    std::deque<IniSection> sections_;
};

}  // namespace velmarin
