#include "batch/BatchFixture.h"

#include <filesystem>
#include <sstream>

#include "util/FixedTexts.h"

namespace velmarin::testing::batch {
namespace {

BomInfo EmptyRow(const std::string& drawingPath) {
    BomInfo row;
    const std::string name = drawingPath.substr(drawingPath.rfind('\\') + 1);
    row.drawingName = name.substr(0, name.rfind('.')) + ".dwg";
    row.bomPath = drawingPath.substr(0, drawingPath.rfind('.')) + ".bmf";
    return row;
}

}  // namespace

BomInfo Row(const std::string& drawingPath, const std::string& itemNo, const std::string& partName,
            const std::string& quantity, const std::string& remark) {
    BomInfo row = EmptyRow(drawingPath);
    row.itemNo = itemNo;
    row.partName = partName;
    row.quantity = quantity;
    row.remark = remark;
    return row;
}

BomInfo TitleRow(const std::string& drawingPath) {
    return Row(drawingPath, kItemNo, kPartName, kQuantity, kRemark);
}

std::string TreeFileText(const std::vector<NodeSpec>& nodes) {
    std::string text;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const std::string& path = nodes[i].path;
        text += "[TreeNode" + std::to_string(i) +
                "]\r\nLevel=0\r\nText=" + path.substr(path.rfind('\\') + 1) + "\r\nPath=" + path +
                "\r\ncount=1\r\nrelatype=6\r\n";
        if (!nodes[i].drawingName.empty()) {
            text += "config-Value-" + kDrawingName + "=" + nodes[i].drawingName +
                    "\r\nconfig-Type-" + kDrawingName + "=0\r\n";
        }
        text += "ChildCount=0\r\n";
    }
    return text + "[TreeNodeInfo]\r\nCount=" + std::to_string(nodes.size()) + "\r\n";
}

void BatchTest::SetUp() {
    world_ = std::make_unique<World>();
    world_->createServices();
    std::filesystem::create_directories(world_->resolve("D:\\w"));  // the drawings' folder
    world_->writeFile("D:\\VORD\\VORD.ini", "[BPT]\r\nBPT_NAME=GB-A3.bpt\r\n");
    world_->writeFile("D:\\VORD\\source\\BPT\\GB-A3.bpt",
                      TitleBlockTemplate("[Info]\r\nBlockPty=true\r\n"));
    world_->writeFile(texts::kColumnTitleTemplate,
                      ColumnTitles({kItemNo, kQuantity, kPartName, kRemark}));
}

void BatchTest::WriteDrawing(const std::string& path, const DrawingSpec& drawing) const {
    world_->writeFile(path, DrawingJson(drawing));
}

void BatchTest::WriteExampleDrawings() const {
    WriteDrawing("D:\\w\\A.dwg",
                 {kAssembly, {{kItemNo, kPartName, kQuantity}, {"1", kShaft, "2"}}});
    WriteDrawing("D:\\w\\B.dwg", {kShaft, {}});
}

std::string BatchTest::ExampleTreeFile() {
    const std::string& name = kDrawingName;
    return "[TreeNode0]\r\nLevel=0\r\nText=A.dwg\r\nPath=D:\\w\\A.dwg\r\ncount=1\r\n"
           "relatype=6\r\nconfig-Value-" +
           name + "=" + kAssembly + "\r\nconfig-Type-" + name +
           "=0\r\nChildCount=1\r\nchildname0=B.dwg\r\n"
           "[TreeNode1]\r\nLevel=0\r\nText=B.dwg\r\nPath=D:\\w\\B.dwg\r\ncount=1\r\n"
           "relatype=6\r\nconfig-Value-" +
           name + "=" + kShaft + "\r\nconfig-Type-" + name + "=0\r\nChildCount=0\r\nconfig-Value-" +
           kItemNo + "=1\r\nconfig-Type-" + kItemNo + "=0\r\nconfig-Value-" +
           kQuantity + "=2\r\nconfig-Type-" + kQuantity +
           "=0\r\n"
           "[TreeNodeInfo]\r\nCount=2\r\n";
}

void BatchTest::WriteTree(const std::vector<NodeSpec>& nodes) const {
    world_->writeFile(kTreeFile, TreeFileText(nodes));
}

std::vector<std::string> BatchTest::BomFileRows(const std::string& path) const {
    std::vector<std::string> rows;
    std::istringstream in(world_->readFile(path));
    int line = 0;
    for (std::string text; std::getline(in, text); ++line) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (line >= 3) rows.push_back(text);
    }
    return rows;
}

}  // namespace velmarin::testing::batch
