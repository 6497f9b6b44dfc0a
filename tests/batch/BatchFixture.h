#pragma once
// Drawings, templates and tree files for the batch tests: a client installation whose title
// block TK-A3 hands its TM attribute on as 图名, column titles 序号, 名称, 数量 and 备注, and
// drawing files with such a title block and, when asked, a BOM table.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "bom/BomTypes.h"
#include "support/BomTables.h"
#include "support/GbkTexts.h"
#include "support/TreeFileNames.h"
#include "support/World.h"

namespace velmarin::testing::batch {

using namespace gbk;

// A BOM row of the column layout 序号, 名称, 数量 (and 备注 when given).
BomInfo Row(const std::string& drawingPath, const std::string& itemNo, const std::string& partName,
            const std::string& quantity, const std::string& remark = "");
// The title band of that layout.
BomInfo TitleRow(const std::string& drawingPath);

// One node of a tree file as the batch writes it before linking.
struct NodeSpec {
    std::string path;
    std::string drawingName;  // 图名; none when empty
};
std::string TreeFileText(const std::vector<NodeSpec>& nodes);

class BatchTest : public ::testing::Test {
  protected:
    void SetUp() override;

    void WriteDrawing(const std::string& path, const DrawingSpec& drawing) const;
    // D:\\w\\A.dwg, the assembly 总装图 whose BOM holds 1, 轴, 2, and D:\\w\\B.dwg, the shaft 轴
    // without a table; and the tree file a batch of the two leaves.
    void WriteExampleDrawings() const;
    static std::string ExampleTreeFile();
    void WriteTree(const std::vector<NodeSpec>& nodes) const;
    std::string Tree() const { return world_->readFile(kTreeFile); }
    // The lines of the BOM detail file after its three header lines.
    std::vector<std::string> BomFileRows(const std::string& path) const;
    // Documents open in the host, by file name.
    std::vector<std::string> OpenDocuments() { return world_->openDocuments(); }

    std::unique_ptr<World> world_;
};

}  // namespace velmarin::testing::batch
