#include <string>

#include "bridge/TdaVORD.h"
#include "drawing/TdaAutocad.h"
#include "host/Host.h"
#include "platform/Platform.h"
#include "tree/AssNode.h"
#include "util/TdaFunc.h"
#include "util/Text.h"

namespace velmarin {
namespace {

// The drawing frame, and the BOM table in it, lie within this window around the origin.
constexpr double kBomWindowHalfSize = 5000.0;

}  // namespace

std::string TdaAutocad::WriteBatchTreeNode(int index) {
    AssNode node;
    node.path = GetCurrentFileName();
    node.text = text::FileNamePart(node.path);

    platform::Platform& os = platform::current();
    const std::string folder = vord_.clientFolder + "temp";
    if (!os.findFirstFile(folder)) os.createDirectory(folder);
    // Not cut here: the file already holds the nodes written before this one.
    const std::string treeFile = folder + "\\sldTree.ini";
    node.treeFilePath = treeFile;

    ReadDrawingInfo(node);
    node.WriteNodeSection(index);
    CollectDrawingBom();
    return treeFile;
}

std::string TdaAutocad::CollectDrawingBom() {
    const std::string bomPath = text::ReplaceExtension(GetCurrentFileName(), ".bmf");
    const host::Point3 lowerLeft{-kBomWindowHalfSize, -kBomWindowHalfSize, 0.0};
    const host::Point3 upperRight{kBomWindowHalfSize, kBomWindowHalfSize, 0.0};
    host::SelectionSet selection;
    if (host::current().ssget("W", &lowerLeft, &upperRight, selection) != host::RTNORM) return "";
    // The block of this drawing starts where the rows of the drawings before it end.
    func_.drawingStarts.push_back(static_cast<int>(func_.bomRows.size()));
    func_.ExtractBomTable(selection, bomPath);
    return bomPath;
}

}  // namespace velmarin
