#include <memory>
#include <string>

#include "bridge/TdaVORD.h"
#include "drawing/TdaAutocad.h"
#include "platform/Platform.h"
#include "tree/AssNode.h"
#include "util/TdaFunc.h"
#include "util/Text.h"

namespace velmarin {

// The tree file of a save describes exactly one drawing: whatever an earlier save or batch run
// left in it is cut away before the node is written.
std::string TdaAutocad::WriteSaveTreeFile() {
    AssNode node;
    node.path = GetCurrentFileName();
    node.text = text::FileNamePart(node.path);

    const std::string folder = vord_.clientFolder + "temp";
    platform::Platform& os = platform::current();
    if (func_.FileExists(folder) == 0) os.createDirectory(folder);
    const std::string treePath = folder + "\\sldTree.ini";
    if (std::unique_ptr<platform::OutputFile> file = os.createFile(treePath)) file->commit();

    node.treeFilePath = treePath;
    ReadTitleBlock(node);
    node.WriteRootNode();
    return treePath;
}

}  // namespace velmarin
