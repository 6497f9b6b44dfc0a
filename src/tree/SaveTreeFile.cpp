#include "tree/SaveTreeFile.h"

#include "drawing/Drawings.h"
#include "drawing/TitleProperties.h"
#include "tree/AssemblyNode.h"
#include "tree/TreeFile.h"
#include "util/Text.h"

namespace velmarin {

std::string WriteSaveTreeFile(const std::string& clientFolder, Drawings& drawings) {
    AssemblyNode node;
    node.path = drawings.GetCurrentFileName();
    node.text = text::FileNamePart(node.path);

    TreeFile file(TreeFile::PrepareIn(clientFolder));
    node.properties = ReadTitleBlock(TitleTemplatePath(clientFolder));
    node.WriteRootNode(file);
    return file.Save() ? file.path() : std::string();
}

}  // namespace velmarin
