#include "tree/AssemblyNode.h"

#include "tree/TreeFile.h"
#include "util/FixedTexts.h"

namespace velmarin {

void AssemblyNode::WriteProperties(TreeFile& file, const std::string& section) const {
    for (const PropertyRecord& property : properties) {
        file.Set(section, TreeFile::ValueKey(property.name), property.value);
        file.Set(section, TreeFile::TypeKey(property.name), property.type);
    }
}

void AssemblyNode::WriteFixedKeys(TreeFile& file, const std::string& section) const {
    file.Set(section, texts::kTreeLevelKey, texts::kTreeRootLevel);
    file.Set(section, TreeFile::kTextKey, text);
    file.Set(section, texts::kTreePathKey, path);
    file.Set(section, texts::kTreeNodeCountKey, texts::kTreeOneNode);
    file.Set(section, texts::kTreeRelationKey, texts::kTreeRelationType);
}

void AssemblyNode::WriteRootNode(TreeFile& file) const {
    const std::string section = TreeFile::NodeSection(0);
    WriteFixedKeys(file, section);
    WriteProperties(file, section);
    file.Set(TreeFile::kInfoSection, TreeFile::kCountKey, texts::kTreeOneNode);
}

void AssemblyNode::WriteNodeSection(TreeFile& file, int index) const {
    const std::string section = TreeFile::NodeSection(index);
    WriteFixedKeys(file, section);
    WriteProperties(file, section);
    // Children come with the linking.
    file.Set(section, TreeFile::kChildCountKey, texts::kTreeNoChildren);
}

}  // namespace velmarin
