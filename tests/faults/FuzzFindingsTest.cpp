// Inputs the fuzz targets found faults with, kept so that the faults stay fixed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/Objects.h"
#include "host/sim/DrawingFile.h"
#include "host/sim/DxfFile.h"
#include "host/sim/SimDatabase.h"

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
    auto* entity = new host::Text();
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

}  // namespace
}  // namespace velmarin::testing::faults
