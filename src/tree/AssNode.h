#pragma once
// A drawing's node of the assembly tree: its file name, path and title-block properties, and
// the writers of its section of the tree file.

#include <string>
#include <vector>

namespace velmarin {

struct PropertyRecord {
    std::string name;
    std::string value;
    std::string type;  // always "0" for what the plug-in reads
};

class AssNode {
public:
    // Writes "config-Value-<name>" and "config-Type-<name>" for each property, in list order.
    void WriteProperties(const std::string& section) const;
    // "TreeNode0" with its fixed keys and properties, then "TreeNodeInfo"/"Count" = "1".
    void WriteRootNode() const;
    // "TreeNode<i>" with its fixed keys, properties and "ChildCount" = "0".
    void WriteNodeSection(int index) const;

    std::string path;
    std::string text;
    int childCount = 0;
    int level = 0;
    std::string relatedText;
    std::string relatedPath;
    AssNode* firstChild = nullptr;
    AssNode* nextSibling = nullptr;
    std::vector<PropertyRecord> properties;
    std::string treeFilePath;

private:
    void WriteFixedKeys(const std::string& section) const;
};

}  // namespace velmarin
