#pragma once

#include <vector>

#include "bom/BomTypes.h"

namespace velmarin {

class AssemblyNode;
class TreeFile;

// Links the batch's part drawings to their assemblies. `nodes` are the drawings written to
// `file` as TreeNode0, 1, ... (each with no child yet); `drawingRows` holds each drawing's parts
// list, its title row first. A row whose part name (名称) is the 图名 of a drawing of the batch
// makes that drawing a child of every node of the row's drawing and gives it the row's columns
// under the titles; such rows leave their list (a title row stays). Returns the rows linked.
int LinkBomToTree(const std::vector<AssemblyNode>& nodes,
                  std::vector<std::vector<BomInfo>>& drawingRows, TreeFile& file);

}  // namespace velmarin
