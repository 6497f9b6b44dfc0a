#include "platform/profile/ProfileText.h"

#include <algorithm>
#include <cstring>

#include "platform/DoubleByte.h"

namespace velmarin::platform::profile {
namespace {

using platform::IsLeadByte;
bool IsLineEnd(unsigned char c) { return c == '\r' || c == '\n'; }

// Folds `n` bytes. A lead byte keeps the byte after it as its trail unless that is a line end,
// the same pairing as the name hash and comparison below.
void FoldInto(const char* in, std::size_t n, char* out) {
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(in[i]);
        if (IsLeadByte(c) && i + 1 < n && !IsLineEnd(static_cast<unsigned char>(in[i + 1]))) {
            out[i] = in[i];
            out[i + 1] = in[i + 1];
            ++i;
        } else {
            out[i] = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : in[i];
        }
    }
}

unsigned char FoldByte(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c; }

// Sections up to this many lines are searched line by line instead of through an index.
constexpr std::size_t kScanLimit = 24;

// The first ']' from `from` up to `end` that is not the trail byte of a double-byte character.
std::size_t FindCloseBracket(const std::string& s, std::size_t from, std::size_t end) {
    for (std::size_t i = from; i < end; ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c == ']') return i;
        if (IsLeadByte(c) && i + 1 < end) ++i;
    }
    return kNone;
}

}  // namespace

std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

std::string FoldCase(std::string_view s) {
    std::string out(s.size(), '\0');
    FoldInto(s.data(), s.size(), out.data());
    return out;
}

std::size_t FoldedHash::operator()(std::string_view s) const {
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a
    for (std::size_t i = 0; i < s.size(); ++i) {
        auto c = static_cast<unsigned char>(s[i]);
        if (IsLeadByte(c) && i + 1 < s.size() && !IsLineEnd(static_cast<unsigned char>(s[i + 1]))) {
            hash = (hash ^ c) * 1099511628211ull;
            c = static_cast<unsigned char>(s[++i]);
        } else {
            c = FoldByte(c);
        }
        hash = (hash ^ c) * 1099511628211ull;
    }
    return static_cast<std::size_t>(hash);
}

bool FoldedEqual::operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[i]);
        if (IsLeadByte(ca) && i + 1 < a.size() &&
            !IsLineEnd(static_cast<unsigned char>(a[i + 1]))) {
            // A double-byte character compares exactly, and only with the same character.
            if (ca != cb || a[i + 1] != b[i + 1]) return false;
            ++i;
        } else if (FoldByte(ca) != FoldByte(cb)) {
            return false;
        }
    }
    return true;
}

ProfileText::ProfileText(std::string bytes) : bytes_(std::move(bytes)) {
    splitLines();
    indexSections();
}

void ProfileText::splitLines() {
    const std::size_t size = bytes_.size();
    const char* data = bytes_.data();
    lines_.reserve(size / 32 + 8);
    // The next CR and LF at or after the current line; each is searched again only once the
    // scan has passed it.
    const auto next = [&](char c, std::size_t from) {
        const void* found = std::memchr(data + from, c, size - from);
        return found == nullptr ? size
                                : static_cast<std::size_t>(static_cast<const char*>(found) - data);
    };
    std::size_t nextCr = 0;
    std::size_t nextLf = 0;
    bool scanned = false;
    std::size_t pos = 0;
    while (pos < size) {
        Line line;
        line.begin = pos;
        if (!scanned || (nextCr < pos && nextCr < size)) nextCr = next('\r', pos);
        if (!scanned || (nextLf < pos && nextLf < size)) nextLf = next('\n', pos);
        scanned = true;
        const std::size_t end = std::min(nextCr, nextLf);
        line.end = end;
        line.next = end;
        if (end < size) {
            line.next =
                (data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') ? end + 2 : end + 1;
        }

        std::size_t first = pos;
        while (first < end && IsBlank(static_cast<unsigned char>(data[first]))) ++first;
        if (first == end) {
            line.kind = LineKind::Blank;
        } else if (data[first] == '[') {
            line.kind = LineKind::Header;
            std::size_t nameBegin = first + 1;
            std::size_t nameEnd = FindCloseBracket(bytes_, nameBegin, end);
            if (nameEnd == kNone) nameEnd = end;
            while (nameBegin < nameEnd && IsBlank(static_cast<unsigned char>(data[nameBegin])))
                ++nameBegin;
            while (nameEnd > nameBegin && IsBlank(static_cast<unsigned char>(data[nameEnd - 1])))
                --nameEnd;
            line.nameBegin = nameBegin;
            line.nameEnd = nameEnd;
        } else if (data[first] == ';') {
            line.kind = LineKind::Comment;
        } else {
            const void* eq = std::memchr(data + first, '=', end - first);
            if (eq == nullptr) {
                line.kind = LineKind::Other;
            } else {
                line.kind = LineKind::Key;
                line.equals = static_cast<std::size_t>(static_cast<const char*>(eq) - data);
                std::size_t nameEnd = line.equals;
                while (nameEnd > first && IsBlank(static_cast<unsigned char>(data[nameEnd - 1])))
                    --nameEnd;
                line.nameBegin = first;
                line.nameEnd = nameEnd;
            }
        }
        lines_.push_back(line);
        pos = line.next;
    }
}

void ProfileText::indexSections() {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind != LineKind::Header) continue;
        if (!sections_.empty()) sections_.back().lineEnd = i;
        Section section;
        section.header = i;
        section.lineEnd = lines_.size();
        section.reachable = sectionIndex_.emplace(name(line), sections_.size()).second;
        sections_.push_back(section);
    }
    keyIndex_.resize(sections_.size());
}

std::size_t ProfileText::findSection(std::string_view sectionName) const {
    const auto found = sectionIndex_.find(sectionName);
    return found == sectionIndex_.end() ? kNone : found->second;
}

std::size_t ProfileText::findKey(std::size_t section, std::string_view key) const {
    if (section >= sections_.size() || !sections_[section].reachable) return kNone;
    const Section& s = sections_[section];
    if (s.lineEnd - s.header <= kScanLimit) {
        for (std::size_t i = s.header + 1; i < s.lineEnd; ++i) {
            if (lines_[i].kind == LineKind::Key && FoldedEqual()(name(lines_[i]), key)) return i;
        }
        return kNone;
    }
    auto& index = keyIndex_[section];
    if (!index) {
        index = std::make_unique<NameIndex>();
        for (std::size_t i = s.header + 1; i < s.lineEnd; ++i) {
            if (lines_[i].kind == LineKind::Key) index->emplace(name(lines_[i]), i);
        }
    }
    const auto found = index->find(key);
    return found == index->end() ? kNone : found->second;
}

std::string_view ValueAsRead(std::string_view v) {
    const std::size_t nul = v.find('\0');
    if (nul != std::string_view::npos) v = v.substr(0, nul);
    while (!v.empty() && IsBlank(static_cast<unsigned char>(v.front()))) v.remove_prefix(1);
    while (!v.empty() && IsBlank(static_cast<unsigned char>(v.back()))) v.remove_suffix(1);
    if (v.size() >= 2 && v.front() == v.back() && (v.front() == '"' || v.front() == '\'')) {
        v = v.substr(1, v.size() - 2);
    }
    return v;
}

std::string_view ProfileText::value(const Line& line) const {
    if (line.kind != LineKind::Key) return {};
    return ValueAsRead(
        std::string_view(bytes_).substr(line.equals + 1, line.end - line.equals - 1));
}

}  // namespace velmarin::platform::profile
