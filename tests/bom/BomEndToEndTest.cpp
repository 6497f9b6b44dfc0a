// savebom on a drawing file with a proxy table, through the emulator program as a user runs it.

#include <gtest/gtest.h>

#include <string>

#include "support/GbkTexts.h"
#include "support/BomTables.h"
#include "support/HostRun.h"
#include "support/World.h"
#include "util/FixedTexts.h"

namespace velmarin::bomtest {
namespace {

using namespace testing::gbk;

constexpr const char kDrawing[] = "D:\\w\\A.dwg";
constexpr const char kBomFile[] = "D:\\w\\A.bmf";

// A BOM table of two parts under its title row (UTF-8, as drawing files are).
const char kDrawingFile[] = R"({
  "entities": [
    {"type": "text", "text": "名称", "position": [100, 100, 0]},
    {"type": "proxy", "className": "AcDbZombieEntity", "parts": [
      {"type": "polyline", "points": [[0, 0], [40, 0], [40, 24], [0, 24], [0, 0]]},
      {"type": "polyline", "points": [[0, 8], [40, 8]]},
      {"type": "polyline", "points": [[0, 16], [40, 16]]},
      {"type": "polyline", "points": [[10, 0], [10, 24]]},
      {"type": "polyline", "points": [[30, 0], [30, 24]]},
      {"type": "mtext", "contents": "\\P序号", "position": [1, 1, 0]},
      {"type": "mtext", "contents": "\\P名称", "position": [11, 1, 0]},
      {"type": "mtext", "contents": "\\P数量", "position": [31, 1, 0]},
      {"type": "mtext", "contents": "1", "position": [1, 9, 0]},
      {"type": "mtext", "contents": "{\\fSimSun;\\P螺栓", "position": [11, 9, 0]},
      {"type": "mtext", "contents": "\\P4", "position": [31, 9, 0]},
      {"type": "text", "text": "x", "position": [32, 10, 0]},
      {"type": "mtext", "contents": "2", "position": [1, 17, 0]},
      {"type": "mtext", "contents": "O'", "position": [11, 17, 0]},
      {"type": "mtext", "contents": "Ring", "position": [12, 18, 0]},
      {"type": "mtext", "contents": "8", "position": [31, 17, 0]}
    ]}
  ]
})";

// 序号, 名称 and 数量 configured as themselves; the other keys are missing.
const std::string kTemplate = testing::ColumnTitles({kItemNo, kPartName, kQuantity});

const std::string kExpectedBomFile = testing::BomFileHeader() +
                                     testing::BomFileLine({{3, "1"}, {4, "4"}, {9, kBolt}}) +
                                     testing::BomFileLine({{3, "2"}, {4, "8"}, {9, "O'Ring"}});

TEST(SaveBomThroughTheHostProgram, PickAllThenSaveBom) {
    testing::World world;
    world.writeFile(kDrawing, kDrawingFile);
    world.writeFile(texts::kColumnTitleTemplate, kTemplate);
    testing::HostRun run = testing::HostRun::For(world);
    run.drawings = {kDrawing};
    run.script = "pick cancel\nsavebom\npick all\nsavebom\n";
    const testing::HostResult result = run.execute();
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.count("MESSAGE: " + testing::Utf8(texts::kBomExtracted)), 1) << result.out;
    EXPECT_EQ(world.readFile(kBomFile), kExpectedBomFile);
}

}  // namespace
}  // namespace velmarin::bomtest
