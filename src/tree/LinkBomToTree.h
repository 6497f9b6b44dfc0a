#pragma once

namespace velmarin {

class BomWorkspace;
class TreeFile;

// Links the batch's part drawings to their assemblies: a BOM row whose part name (名称) is the
// 图名 of a drawing of the batch makes that drawing a child of every node of the row's drawing
// and gives it the row's columns. Linked rows leave the BOM, and each drawing's remaining rows
// are written to its BOM detail file. Returns the number of rows linked.
int LinkBomToTree(BomWorkspace& bom, TreeFile& file);

}  // namespace velmarin
