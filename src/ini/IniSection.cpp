#include "ini/IniSection.h"

#include <functional>
#include <utility>

#include "util/Text.h"

namespace velmarin {
namespace {

// line[begin, end) without white space at either end, copied once.
std::string TrimmedPart(std::string_view line, std::size_t begin, std::size_t end) {
    while (begin < end && text::IsWhite(static_cast<unsigned char>(line[begin]))) ++begin;
    while (end > begin && text::IsWhite(static_cast<unsigned char>(line[end - 1]))) --end;
    return std::string(line.substr(begin, end - begin));
}

// The first "=" that is a character of its own (a trail byte never is), or npos.
std::size_t FindEquals(std::string_view line) {
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == '=') return i;
        i += text::CharWidth(line, i);
    }
    return std::string_view::npos;
}

std::size_t HashOf(const std::string& foldedKey) { return std::hash<std::string>{}(foldedKey); }

}  // namespace

IniSection::IniSection(std::string name) : sectionName(text::Trim(name)) {}

const IniEntry* IniSection::GetRecordAt(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= records_.size()) return nullptr;
    return &records_[static_cast<std::size_t>(index)];
}

std::size_t IniSection::FindSlot(const std::string& foldedKey, std::size_t hash) const {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.position == 0) return i;
        if (slot.hash == hash && text::ToUpperAscii(records_[slot.position - 1].key) == foldedKey) {
            return i;
        }
    }
}

void IniSection::Grow() {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{});
    const std::size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.position == 0) continue;
        std::size_t i = slot.hash & mask;
        while (slots_[i].position != 0) i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

const IniEntry* IniSection::FindRecord(const std::string& key) const {
    if (slots_.empty()) return nullptr;
    const std::string folded = text::ToUpperAscii(key);
    const Slot& slot = slots_[FindSlot(folded, HashOf(folded))];
    return slot.position == 0 ? nullptr : &records_[slot.position - 1];
}

void IniSection::ParseLine(std::string_view line) {
    const std::size_t equals = FindEquals(line);
    if (equals == std::string_view::npos) return;
    std::string key = TrimmedPart(line, 0, equals);
    if (key.empty()) return;
    std::string value = TrimmedPart(line, equals + 1, line.size());

    if ((records_.size() + 1) * 2 > slots_.size()) Grow();
    const std::string folded = text::ToUpperAscii(key);
    const std::size_t hash = HashOf(folded);
    Slot& slot = slots_[FindSlot(folded, hash)];
    if (slot.position != 0) {
        records_[slot.position - 1].value = std::move(value);
        return;
    }
    records_.push_back(IniEntry{std::move(key), std::move(value)});
    slot = Slot{hash, records_.size()};
}

}  // namespace velmarin
