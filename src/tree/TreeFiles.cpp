#include <string>

#include "bridge/TdaVORD.h"
#include "drawing/TdaAutocad.h"
#include "platform/Platform.h"
#include "tree/AssNode.h"
#include "tree/TreeFileStage.h"
#include "util/TdaFunc.h"
#include "util/Text.h"

namespace velmarin {

// The tree file of a save describes exactly one drawing: whatever an earlier save or batch run
// left in it is replaced, in one step once the node is complete.
std::string TdaAutocad::WriteSaveTreeFile() {
    AssNode node;
    node.path = GetCurrentFileName();
    node.text = text::FileNamePart(node.path);

    const std::string folder = vord_.clientFolder + "temp";
    platform::Platform& os = platform::current();
    if (func_.FileExists(folder) == 0) os.createDirectory(folder);
    const std::string treePath = folder + "\\sldTree.ini";
    TreeFileStage stage(treePath);

    node.treeFilePath = treePath;
    ReadTitleBlock(node);
    node.WriteRootNode();
    // A tree file that could not be written is not named to the caller: the old file still on
    // disk describes another save and must not be handed to the client as this one.
    return stage.commit() ? treePath : std::string();
}

}  // namespace velmarin
