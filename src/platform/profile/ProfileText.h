#pragma once
// The bytes of one profile (INI) file, split into lines and indexed the way Windows' profile
// functions see them: a header is a line whose first blank-free character is '[', its name runs
// to the first ']' (or the end of the line); only the first section of a name counts; lines
// before the first header belong to no section; ';' starts a comment; a key line has an '='.
// The bytes are kept unchanged so that a write can edit them in place.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmarin::platform::profile {

inline constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Blanks as the profile functions skip them around names and values.
inline bool IsBlank(unsigned char c) { return c == ' ' || c == '\t' || c == '\v'; }

// Caller parameters (section and key names) lose spaces only, never tabs.
std::string_view TrimSpaces(std::string_view s);
// A copy with A-Z folded to a-z; a GBK lead byte and the byte after it are never folded.
std::string FoldCase(std::string_view s);

// Hashing and equality of names under that folding, for indexes over the file's own bytes.
struct FoldedHash {
    std::size_t operator()(std::string_view s) const;
};
struct FoldedEqual {
    bool operator()(std::string_view a, std::string_view b) const;
};

// A key line's text after its '=' as the read function returns it: cut at a NUL byte, blanks
// dropped at both ends, one pair of matching quotes removed.
std::string_view ValueAsRead(std::string_view afterEquals);

enum class LineKind : std::uint8_t { Blank, Header, Key, Comment, Other };

struct Line {
    std::size_t begin = 0;  // first byte of the line
    std::size_t end = 0;    // end of its text, before the line end
    std::size_t next = 0;   // first byte after its line end (== end when it has none)
    LineKind kind = LineKind::Blank;
    std::size_t nameBegin = 0;  // header name or key, without the blanks around it
    std::size_t nameEnd = 0;
    std::size_t equals = kNone;  // position of a key line's first '='

    bool hasLineEnd() const { return next > end; }
};

class ProfileText {
  public:
    struct Section {
        std::size_t header = 0;   // line index of the header
        std::size_t lineEnd = 0;  // one past the section's last line
        bool reachable = false;   // the first section of its name
    };

    explicit ProfileText(std::string bytes = {});
    // The indexes point into the object's own strings, so it stays where it was built.
    ProfileText(const ProfileText&) = delete;
    ProfileText& operator=(const ProfileText&) = delete;

    const std::string& bytes() const { return bytes_; }
    const std::vector<Line>& lines() const { return lines_; }
    const std::vector<Section>& sections() const { return sections_; }

    // Index into sections() of the first section named `sectionName` (compared ignoring A-Z case),
    // or kNone. The name is taken as given: callers trim it first.
    std::size_t findSection(std::string_view sectionName) const;
    // Line index of the first key line named `key` in that section, or kNone.
    std::size_t findKey(std::size_t section, std::string_view key) const;

    std::string_view name(const Line& line) const {
        return std::string_view(bytes_).substr(line.nameBegin, line.nameEnd - line.nameBegin);
    }
    // A key line's value as the read function returns it: cut at a NUL byte, blanks dropped at
    // both ends, one pair of matching quotes removed.
    std::string_view value(const Line& line) const;

  private:
    using NameIndex = std::unordered_map<std::string_view, std::size_t, FoldedHash, FoldedEqual>;

    void splitLines();
    void indexSections();

    std::string bytes_;
    std::vector<Line> lines_;
    std::vector<Section> sections_;
    NameIndex sectionIndex_;
    // Per section: key -> line of its first occurrence, built on the first look-up of a large
    // section, so that parsing a file after each write stays cheap.
    mutable std::vector<std::unique_ptr<NameIndex>> keyIndex_;
};

}  // namespace velmarin::platform::profile
