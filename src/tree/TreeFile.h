#pragma once
// The assembly tree file (sldTree.ini in the client's temp folder) as an in-memory document.
// Keys are placed exactly as the profile writer would place them in the file, one call after the
// other, so the bytes are the same; but each write costs a look-up, not a pass over the file, and
// the file on disk is replaced once, whole, when the document is saved. The client therefore
// never reads a mixture of two runs or a file cut short.

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/profile/ProfileText.h"
#include "util/FixedTexts.h"

namespace velmarin {

class TreeFile {
  public:
    // Section and key names of the file.
    static constexpr const char* kInfoSection = texts::kTreeInfoSection;
    static constexpr const char* kCountKey = texts::kTreeCountKey;
    static constexpr const char* kChildCountKey = texts::kTreeChildCountKey;
    static constexpr const char* kTextKey = texts::kTreeTextKey;
    // "TreeNode<index>"; the save's single node is "TreeNode0".
    static std::string NodeSection(int index);
    // "childname<index>" of an assembly's node.
    static std::string ChildNameKey(int index);
    // The property keys "config-Value-<name>" and "config-Type-<name>".
    static std::string ValueKey(const std::string& property);
    static std::string TypeKey(const std::string& property);

    // <client folder>temp\sldTree.ini, creating the temp folder when it is missing.
    static std::string PrepareIn(const std::string& clientFolder);

    // An empty document for the file at `path`; the file is not touched until Save().
    explicit TreeFile(std::string path);

    const std::string& path() const { return path_; }

    // Writes a key as WritePrivateProfileString would. Line breaks in the key or the value become
    // blanks, since the profile writer would otherwise let them start keys or sections of their
    // own; a NUL byte ends either, as it ends the C string the writer takes.
    void Set(const std::string& section, const std::string& key, const std::string& value);
    // A value as GetPrivateProfileString reads it into the plug-in's 2,600-byte buffer; "" when
    // the section or key is missing.
    std::string Get(const std::string& section, const std::string& key) const;

    // The file's bytes.
    std::string Bytes() const;
    // Replaces the file on disk with the document. On failure the user is shown the write-failure
    // message naming the file, the old file stays, and false is returned.
    bool Save() const;

  private:
    // A line of the file: `head` runs up to and including the line's first '=', `tail` is the
    // rest; a rewrite of the key keeps the head and replaces the tail, as the writer does.
    struct Line {
        std::string head;
        std::string tail;
        bool isKey = false;  // a key line the reader finds (not a comment)
    };
    using NameIndex = std::unordered_map<std::string, std::size_t, platform::profile::FoldedHash,
                                         platform::profile::FoldedEqual>;
    struct Section {
        std::string name;
        std::vector<Line> lines;
        NameIndex keys;           // the first key line of each name
        std::size_t lastKey = 0;  // one past the last key line
    };

    void AddLine(Section& section, Line line);
    const Line* Find(const std::string& section, const std::string& key) const;

    std::string path_;
    std::vector<Section> sections_;
    NameIndex sectionIndex_;
};

}  // namespace velmarin
