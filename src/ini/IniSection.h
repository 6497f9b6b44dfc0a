#pragma once
// One section of an INI document: its records in file order, keys unique ignoring the case of
// A-Z. Records are handed out as borrowed pointers that stay valid as long as the section.

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "ini/IniEntry.h"

namespace velmarin {

class IniSection {
  public:
    explicit IniSection(std::string name);
    IniSection(const IniSection&) = delete;
    IniSection& operator=(const IniSection&) = delete;

    int GetRecordCount() const { return static_cast<int>(records_.size()); }
    // Null when the index is outside 0 .. count - 1.
    const IniEntry* GetRecordAt(int index) const;
    // The record whose key equals `key` ignoring the case of A-Z; the argument is taken as given,
    // not trimmed.
    const IniEntry* FindRecord(const std::string& key) const;
    // key = value: both trimmed; a line without "=" or with an empty key is dropped; a key that
    // is present already takes the new value in place and keeps its first spelling.
    void ParseLine(std::string_view line);

    std::string sectionName;  // trimmed when the section was made

  private:
    // An open-addressing table from the case-folded key to the record, so that the repeated-key
    // rule costs the same for the millionth record as for the first. Flat slots keep a large
    // section's load bound by the input size rather than by scattered allocations.
    struct Slot {
        std::size_t hash = 0;
        std::size_t position = 0;  // record index + 1; 0 marks a free slot
    };
    std::size_t FindSlot(const std::string& foldedKey, std::size_t hash) const;
    void Grow();

    // deque: records never move, so pointers handed out stay valid while lines are added.
    std::deque<IniEntry> records_;
    std::vector<Slot> slots_;  // size 0 or a power of two, at most half full
};

}  // namespace velmarin
