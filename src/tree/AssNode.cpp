#include "tree/AssNode.h"

#include <string>

#include "platform/Platform.h"
#include "util/FixedTexts.h"

namespace velmarin {
namespace {

constexpr const char kRootSection[] = "TreeNode0";
constexpr const char kInfoSection[] = "TreeNodeInfo";

// The profile writer puts a value on its line as it is, so a line break inside a title-block
// text would start new keys or sections in the client's file. Breaks become blanks.
std::string OnOneLine(std::string value) {
    for (char& c : value) {
        if (c == '\r' || c == '\n') c = ' ';
    }
    return value;
}

void WriteKey(const std::string& section, const std::string& key, const std::string& value,
              const std::string& file) {
    platform::current().writeProfileString(section.c_str(), OnOneLine(key).c_str(),
                                           OnOneLine(value).c_str(), file);
}

}  // namespace

void AssNode::WriteProperties(const std::string& section) const {
    for (const PropertyRecord& property : properties) {
        WriteKey(section, texts::kConfigValuePrefix + property.name, property.value, treeFilePath);
        WriteKey(section, texts::kConfigTypePrefix + property.name, property.type, treeFilePath);
    }
}

void AssNode::WriteFixedKeys(const std::string& section) const {
    WriteKey(section, "Level", "0", treeFilePath);
    WriteKey(section, "Text", text, treeFilePath);
    WriteKey(section, "Path", path, treeFilePath);
    WriteKey(section, "count", "1", treeFilePath);
    WriteKey(section, "relatype", "6", treeFilePath);
}

void AssNode::WriteRootNode() const {
    WriteFixedKeys(kRootSection);
    WriteProperties(kRootSection);
    WriteKey(kInfoSection, "Count", "1", treeFilePath);
}

void AssNode::WriteNodeSection(int index) const {
    const std::string section = "TreeNode" + std::to_string(index);
    WriteFixedKeys(section);
    WriteProperties(section);
    WriteKey(section, "ChildCount", "0", treeFilePath);
}

}  // namespace velmarin
