// A DXF drawing as CAD administrators export them: a frame, a title block (a block reference
// with attributes) and a parts list kept in a proxy entity. savebom and savemethod run on it
// through the emulator program and write the BOM detail file and the tree file the plug-in
// writes for any drawing; the drawing saved in place stays a DXF file, with the print
// information stamped on load in it under new handles.

#include <gtest/gtest.h>

#include <algorithm>

#include "DxfSupport.h"
#include "host/sim/dxf/File.h"
#include "host/sim/dxf/Out.h"
#include "host/sim/dxf/Pairs.h"
#include "host/sim/dxf/ProxyGraphics.h"
#include "host/sim/database/SimEntities.h"
#include "support/BomTables.h"
#include "support/HostRun.h"
#include "support/TreeFileNames.h"
#include "support/World.h"
#include "util/FixedTexts.h"

namespace velmarin::dxftest {
namespace {

constexpr const char kDrawing[] = "D:\\w\\A.dxf";

// The parts list: a grid of polylines and multiline-text cells under the titles 序号, 名称 and
// 数量.
std::vector<std::unique_ptr<host::Entity>> PartsList() {
    std::vector<std::unique_ptr<host::Entity>> parts;
    const auto polyline = [&](std::vector<host::Point3> points) {
        auto part = std::make_unique<host::sim::SimPolyline>();
        part->setPoints(std::move(points));
        parts.push_back(std::move(part));
    };
    const auto cell = [&](const std::string& utf8, double x, double y) {
        auto part = std::make_unique<host::sim::SimMText>();
        part->setContents(G(utf8));
        part->setLocation({x, y, 0});
        parts.push_back(std::move(part));
    };
    polyline({{0, 0, 0}, {40, 0, 0}, {40, 24, 0}, {0, 24, 0}, {0, 0, 0}});
    polyline({{0, 8, 0}, {40, 8, 0}});
    polyline({{0, 16, 0}, {40, 16, 0}});
    polyline({{10, 0, 0}, {10, 24, 0}});
    polyline({{30, 0, 0}, {30, 24, 0}});
    cell("\\P序号", 1, 1);
    cell("\\P名称", 11, 1);
    cell("\\P数量", 31, 1);
    cell("1", 1, 9);
    cell("{\\fSimSun;\\P螺栓", 11, 9);
    cell("\\P4", 31, 9);
    cell("2", 1, 17);
    cell("O'", 11, 17);
    cell("Ring", 12, 18);
    cell("8", 31, 17);
    return parts;
}

// The drawing as a DXF file of the 2000 format in code page 936.
std::string DrawingFile() {
    const std::string graphics =
        host::sim::dxf::EncodeProxyGraphics(PartsList(), [](const std::string&) { return -1; });
    std::string chunks;
    host::sim::dxf::DxfFormat format;
    format.lineEnd = "\n";
    host::sim::dxf::DxfOut(chunks, format).binary(310, graphics);
    Pairs entities = {{0, "LWPOLYLINE"},
                      {5, "40"},
                      {100, "AcDbEntity"},
                      {8, G("图框层")},
                      {100, "AcDbPolyline"},
                      {90, "4"},
                      {70, "1"},
                      {10, "0"},
                      {20, "0"},
                      {10, "420"},
                      {20, "0"},
                      {10, "420"},
                      {20, "297"},
                      {10, "0"},
                      {20, "297"},
                      {0, "INSERT"},
                      {5, "41"},
                      {100, "AcDbEntity"},
                      {8, G("图框层")},
                      {100, "AcDbBlockReference"},
                      {66, "1"},
                      {2, "TK-A3"},
                      {10, "240"},
                      {20, "0"},
                      {0, "ATTRIB"},
                      {5, "42"},
                      {100, "AcDbEntity"},
                      {8, "0"},
                      {100, "AcDbText"},
                      {10, "250"},
                      {20, "10"},
                      {40, "5"},
                      {1, G("总装图")},
                      {100, "AcDbAttribute"},
                      {2, "TM"},
                      {70, "0"},
                      {0, "ATTRIB"},
                      {5, "43"},
                      {100, "AcDbEntity"},
                      {8, "0"},
                      {100, "AcDbText"},
                      {10, "250"},
                      {20, "20"},
                      {40, "5"},
                      {1, "A-00"},
                      {100, "AcDbAttribute"},
                      {2, "TH"},
                      {70, "0"},
                      {0, "SEQEND"},
                      {5, "44"},
                      {100, "AcDbEntity"},
                      {8, G("图框层")},
                      {0, "ACAD_PROXY_ENTITY"},
                      {5, "45"},
                      {100, "AcDbEntity"},
                      {8, "0"},
                      {100, "AcDbProxyEntity"},
                      {90, "498"},
                      {91, "500"},
                      {92, std::to_string(graphics.size())}};
    for (const std::string& hex : ValuesOf(chunks, 310)) entities.push_back({310, hex});
    entities.insert(entities.end(), {{93, "0"}, {94, "0"}});
    return R2000File(entities, "ANSI_936", {"0", G("图框层")});
}

const std::string kTemplate = testing::ColumnTitles({G("序号"), G("名称"), G("数量")});

const std::string kExpectedBomFile =
    testing::BomFileHeader() + testing::BomFileLine({{3, "1"}, {4, "4"}, {9, G("螺栓")}}) +
    testing::BomFileLine({{3, "2"}, {4, "8"}, {9, "O'Ring"}});

void Prepare(testing::World& world) {
    world.writeFile(kDrawing, DrawingFile());
    world.writeFile(texts::kColumnTitleTemplate, kTemplate);
    world.writeFile("D:\\VORD\\VORD.ini", "[BPT]\r\nBPT_NAME=title.bpt\r\n");
    world.writeFile("D:\\VORD\\source\\BPT\\title.bpt",
                    testing::TitleBlockTemplate(G("TH=图号\r\n")));
}

TEST(DxfEndToEnd, SaveBomReadsThePartsListOfADxfDrawing) {
    testing::World world;
    Prepare(world);
    testing::HostRun run = testing::HostRun::For(world);
    run.script = std::string("open ") + kDrawing + "\npick all\nsavebom\n";
    const testing::HostResult result = run.execute();
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.count("MESSAGE: " + testing::Utf8(texts::kBomExtracted)), 1) << result.out;
    EXPECT_EQ(world.readFile("D:\\w\\A.bmf"), kExpectedBomFile);
}

TEST(DxfEndToEnd, SaveMethodDescribesTheDrawingAndSavesItAsDxf) {
    testing::World world;
    Prepare(world);
    // Print information waiting beside the drawing is stamped when it is opened.
    world.writeFile(std::string(kDrawing) + ".print.ini",
                    "[CheckField]\r\n" + G("设计=50,10,3,0,设计：张三\r\n"));
    const std::string before = world.readFile(kDrawing);

    testing::HostRun run = testing::HostRun::For(world);
    run.script = std::string("open ") + kDrawing + "\nsavemethod\n";
    const testing::HostResult result = run.execute();
    ASSERT_EQ(result.exitStatus, 0) << result.err;

    EXPECT_EQ(world.readFile(testing::kTreeFile),
              G("[TreeNode0]\r\nLevel=0\r\nText=A.dxf\r\nPath=D:\\w\\A.dxf\r\ncount=1\r\n"
                "relatype=6\r\nconfig-Value-图名=总装图\r\nconfig-Type-图名=0\r\n"
                "config-Value-图号=A-00\r\nconfig-Type-图号=0\r\n[TreeNodeInfo]\r\nCount=1\r\n"));
    EXPECT_EQ(world.readFile("D:\\w\\A.bmf"), kExpectedBomFile);
    const std::vector<std::string> calls = world.clientCalls();
    EXPECT_NE(std::find(calls.begin(), calls.end(),
                        "code=3\tparam1=D:\\VORD\\temp\\sldTree.ini\tparam2=6\tparam3="),
              calls.end());

    // Saved in place: still DXF, everything read kept, the stamped text added with a handle
    // above the old $HANDSEED (100), which now names the next free handle.
    const std::string saved = world.readFile(kDrawing);
    ASSERT_TRUE(host::sim::LooksLikeDxf(saved));
    const std::size_t entities = before.find("ENTITIES\n");
    const std::size_t endOfEntities = before.find("0\nENDSEC", entities);
    EXPECT_NE(saved.find(before.substr(entities, endOfEntities - entities)), std::string::npos);
    const auto db = Load(saved);
    ASSERT_NE(db, nullptr);
    const auto read = ModelSpace(*db);
    ASSERT_EQ(read.size(), 4u);
    const auto* stamped = dynamic_cast<const host::Text*>(read[3]);
    ASSERT_NE(stamped, nullptr);
    EXPECT_EQ(stamped->textString(), G("设计：张三"));
    EXPECT_EQ(stamped->layer(), texts::kPrintInfoLayer);
    EXPECT_DOUBLE_EQ(stamped->position().x, 370);
    EXPECT_TRUE(db->layerTable().has(texts::kPrintInfoLayer));
    const std::size_t textAt = saved.find("0\nTEXT\n5\n");
    ASSERT_NE(textAt, std::string::npos);
    std::uint64_t handle = 0;
    ASSERT_TRUE(host::sim::dxf::ParseHandle(
        saved.substr(textAt + 9, saved.find('\n', textAt + 9) - textAt - 9), handle));
    EXPECT_GE(handle, 0x100u);
    EXPECT_NE(saved.find("$HANDSEED\n5\n" + host::sim::dxf::HandleText(handle + 1) + "\n"),
              std::string::npos);
}

}  // namespace
}  // namespace velmarin::dxftest
