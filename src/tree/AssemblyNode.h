#pragma once
// A drawing's node of the assembly tree: its file name, path and title-block properties, and
// the writers of its section of the tree file.

#include <string>
#include <vector>

#include "drawing/TitleProperties.h"

namespace velmarin {

class TreeFile;

class AssemblyNode {
  public:
    // Writes "config-Value-<name>" and "config-Type-<name>" for each property, in list order.
    void WriteProperties(TreeFile& file, const std::string& section) const;
    // "TreeNode0" with its fixed keys and properties, then "TreeNodeInfo"/"Count" = "1".
    void WriteRootNode(TreeFile& file) const;
    // "TreeNode<i>" with its fixed keys, properties and "ChildCount" = "0".
    void WriteNodeSection(TreeFile& file, int index) const;

    std::string path;
    std::string text;
    std::vector<PropertyRecord> properties;

  private:
    void WriteFixedKeys(TreeFile& file, const std::string& section) const;
};

}  // namespace velmarin
