// Inputs the fuzz targets found faults with, kept so that the faults stay fixed.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "host/Objects.h"
#include "host/sim/DrawingFile.h"
#include "host/sim/dxf/File.h"
#include "host/sim/database/SimDatabase.h"

namespace velmarin::testing::faults {
namespace {

using host::sim::SimDatabase;

std::size_t ModelSpaceSize(const SimDatabase& db) {
    return db.peekAs<host::sim::SimBlockTableRecord>(db.modelSpaceId())->entityIds().size();
}

void AppendText(SimDatabase& db, const std::string& text) {
    host::DbObject* object = nullptr;
    ASSERT_EQ(db.openObject(object, db.modelSpaceId(), host::OpenMode::ForWrite), host::eOk);
    auto* space = dynamic_cast<host::BlockTableRecord*>(object);
    ASSERT_NE(space, nullptr);
    auto* entity = new host::sim::SimText();
    entity->setTextString(text);
    host::ObjectId id = host::kNullId;
    EXPECT_EQ(space->appendEntity(entity, id), host::eOk);
    entity->close();
    space->close();
}

// A drawing file's error is one line: names and values it quotes from the file may hold line
// breaks and other control characters, which are shown escaped.
TEST(FuzzFindings, DrawingFileErrorsStayOnOneLine) {
    struct Case {
        const char* name;
        std::string bytes;
        bool dxf;
    };
    const std::vector<Case> cases = {
        {"JSON member name", "{\"entities\":[{\"type\":\"line\",\"la\\nyer\\u0007\":\"0\"}]}",
         false},
        {"JSON entity type", "{\"entities\":[{\"type\":\"te\\r\\nxt\"}]}", false},
        {"DXF group code", "\n\rt", true},
        {"DXF number", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\n1\r2\n0\nENDSEC\n0\nEOF\n", true},
    };
    for (const Case& c : cases) {
        SimDatabase db;
        std::string error;
        const bool read = c.dxf ? host::sim::ReadDxf(c.bytes, "bad.dwg", db, error)
                                : host::sim::ReadDrawing(c.bytes, "bad.dwg", db, error);
        EXPECT_FALSE(read) << c.name;
        EXPECT_EQ(error.rfind("bad.dwg:", 0), 0u) << c.name << ": " << error;
        EXPECT_EQ(error.find_first_of("\r\n\a"), std::string::npos) << c.name << ": " << error;
    }
}

// Texts stamped into a DXF drawing survive a save whatever sections the file had: none for
// entities, or two of them.
TEST(FuzzFindings, DxfDrawingKeepsAddedTextsWhateverItsEntitySections) {
    const std::vector<std::string> files = {
        "0\nEOF\n",
        "0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n",
    };
    for (const std::string& bytes : files) {
        SimDatabase db;
        std::string error;
        ASSERT_TRUE(host::sim::ReadDxf(bytes, "a.dxf", db, error)) << error;
        AppendText(db, "stamped");
        const std::string written = host::sim::WriteDxf(db);
        SimDatabase again;
        ASSERT_TRUE(host::sim::ReadDxf(written, "a.dxf", again, error)) << error;
        EXPECT_EQ(ModelSpaceSize(again), 1u) << written;
        EXPECT_EQ(host::sim::WriteDxf(again), written);
    }
}

host::Extents FirstEntityExtents(const SimDatabase& db) {
    const auto ids = db.peekAs<host::sim::SimBlockTableRecord>(db.modelSpaceId())->entityIds();
    host::Extents box;
    EXPECT_FALSE(ids.empty());
    if (!ids.empty()) {
        EXPECT_EQ(db.peekAs<host::Entity>(ids.front())->getGeomExtents(box), host::eOk);
    }
    return box;
}

// Block definitions that reference the next one twice, thirty deep: each definition is measured
// once, not 2^30 times, so the extents come back at once (the print flow asks for them whenever
// a drawing is loaded).
TEST(FuzzFindings, ExtentsOfBlocksNestedManyTimesOverTakeLinearTime) {
    constexpr int kLevels = 30;
    std::string blocks;
    for (int k = 0; k < kLevels; ++k) {
        const std::string next = "B" + std::to_string(k + 1);
        blocks += (k == 0 ? "" : ", ") + std::string("\"B") + std::to_string(k) + "\": [";
        if (k + 1 < kLevels) {
            blocks += "{\"type\": \"blockref\", \"block\": \"" + next +
                      "\", \"position\": [0, 0]}, {\"type\": \"blockref\", \"block\": \"" + next +
                      "\", \"position\": [1, 0]}]";
        } else {
            blocks += "{\"type\": \"line\", \"start\": [0, 0], \"end\": [1, 1]}]";
        }
    }
    const std::string json = "{\"blocks\": {" + blocks +
                             "}, \"entities\": [{\"type\": \"blockref\", \"block\": \"B0\"}]}";
    SimDatabase db;
    std::string error;
    ASSERT_TRUE(host::sim::ReadDrawing(json, "deep.dwg", db, error)) << error;
    const host::Extents box = FirstEntityExtents(db);
    EXPECT_EQ(box.minPoint.x, 0.0);
    EXPECT_EQ(box.maxPoint.x, kLevels);  // each level shifts its second copy by 1
    EXPECT_EQ(box.maxPoint.y, 1.0);
}

// A DXF block that inserts itself twice: its extents come back at once, bounded by the nesting
// the host follows, and take in what it draws.
TEST(FuzzFindings, ExtentsOfADxfBlockThatContainsItselfAreFinite) {
    const std::string dxf =
        "0\nSECTION\n2\nBLOCKS\n0\nBLOCK\n2\nX\n10\n0\n20\n0\n"
        "0\nLINE\n10\n0\n20\n0\n11\n1\n21\n1\n"
        "0\nINSERT\n2\nX\n10\n1\n20\n0\n0\nINSERT\n2\nX\n10\n0\n20\n1\n"
        "0\nENDBLK\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nINSERT\n2\nX\n10\n0\n20\n0\n"
        "0\nENDSEC\n0\nEOF\n";
    SimDatabase db;
    std::string error;
    ASSERT_TRUE(host::sim::ReadDxf(dxf, "self.dxf", db, error)) << error;
    const host::Extents box = FirstEntityExtents(db);
    EXPECT_EQ(box.minPoint.x, 0.0);
    EXPECT_EQ(box.minPoint.y, 0.0);
    EXPECT_TRUE(std::isfinite(box.maxPoint.x) && box.maxPoint.x >= 1.0) << box.maxPoint.x;
    EXPECT_TRUE(std::isfinite(box.maxPoint.y) && box.maxPoint.y >= 1.0) << box.maxPoint.y;
}

}  // namespace
}  // namespace velmarin::testing::faults
