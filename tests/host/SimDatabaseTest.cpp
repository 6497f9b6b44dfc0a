#include <gtest/gtest.h>

#include "host/sim/DrawingFile.h"
#include "host/sim/database/SimDatabase.h"

namespace velmarin::host::sim {
namespace {

class SimDatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(ReadDrawing(R"({"entities": [
            {"type": "text", "text": "A"},
            {"type": "line", "erased": true},
            {"type": "blockref", "block": "TK", "attributes": [{"tag": "TM", "text": "x"}]},
            {"type": "mtext", "contents": "M"}]})",
                                "t.dwg", db, error))
            << error;
        ids = db.peekAs<SimBlockTableRecord>(db.modelSpaceId())->entityIds();
        ASSERT_EQ(ids.size(), 3u);
    }

    SimDatabase db;
    std::vector<ObjectId> ids;  // model space, erased entity skipped
};

TEST_F(SimDatabaseTest, OpensFollowTheHostDiscipline) {
    DbObject* reader1 = nullptr;
    DbObject* reader2 = nullptr;
    DbObject* writer = nullptr;
    ASSERT_EQ(db.openObject(reader1, ids[0], OpenMode::ForRead), eOk);
    ASSERT_EQ(db.openObject(reader2, ids[0], OpenMode::ForRead), eOk);  // several readers
    EXPECT_EQ(reader1, reader2);
    EXPECT_EQ(db.openObject(writer, ids[0], OpenMode::ForWrite), eWasOpenedForRead);
    EXPECT_EQ(writer, nullptr);
    EXPECT_EQ(db.openObjectCount(), 2);
    EXPECT_EQ(reader1->close(), eOk);
    EXPECT_EQ(reader2->close(), eOk);

    ASSERT_EQ(db.openObject(writer, ids[0], OpenMode::ForWrite), eOk);
    EXPECT_TRUE(writer->isWriteEnabled());
    DbObject* second = nullptr;
    EXPECT_EQ(db.openObject(second, ids[0], OpenMode::ForWrite), eWasOpenedForWrite);
    EXPECT_EQ(db.openObject(second, ids[0], OpenMode::ForRead), eWasOpenedForWrite);
    EXPECT_EQ(db.openObjectCount(), 1);
    EXPECT_EQ(writer->close(), eOk);
    EXPECT_FALSE(writer->isWriteEnabled());
    EXPECT_EQ(db.openObjectCount(), 0);
    // A close with nothing open is an error and does not drive the count below zero.
    EXPECT_NE(writer->close(), eOk);
    EXPECT_EQ(db.openObjectCount(), 0);
}

TEST_F(SimDatabaseTest, RefusesIdsItCannotOpen) {
    DbObject* object = nullptr;
    EXPECT_EQ(db.openObject(object, kNullId, OpenMode::ForRead), eNullObjectId);
    EXPECT_EQ(db.openObject(object, 0xFFFFFFFFFFull, OpenMode::ForRead), eKeyNotFound);
    const ObjectId erased = db.peekAs<SimBlockTableRecord>(db.modelSpaceId())->allEntityIds()[1];
    EXPECT_EQ(db.openObject(object, erased, OpenMode::ForRead), eWasErased);
    // An id of another drawing does not open an object of this one.
    SimDatabase other;
    EXPECT_EQ(other.openObject(object, ids[0], OpenMode::ForRead), eKeyNotFound);
    EXPECT_EQ(db.openObjectCount(), 0);
}

TEST_F(SimDatabaseTest, ReadsModelSpaceThroughTheTables) {
    BlockTable* table = nullptr;
    ASSERT_EQ(db.getBlockTable(table, OpenMode::ForRead), eOk);
    ObjectId modelSpace = kNullId;
    EXPECT_EQ(table->getAt("*model_space", modelSpace), eOk);
    ObjectId missing = kNullId;
    EXPECT_EQ(table->getAt("NOPE", missing), eKeyNotFound);
    table->close();
    auto* record = openAs<BlockTableRecord>(db, modelSpace, OpenMode::ForRead);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->getName(), "*Model_Space");
    EXPECT_EQ(record->entityIds(), ids);
    record->close();

    Opened<BlockReference> reference(openAs<BlockReference>(db, ids[1], OpenMode::ForRead));
    ASSERT_TRUE(reference);
    Opened<BlockTableRecord> definition(
        openAs<BlockTableRecord>(db, reference->blockTableRecord(), OpenMode::ForRead));
    ASSERT_TRUE(definition);
    EXPECT_EQ(definition->getName(), "TK");
    Opened<Attribute> attribute(
        openAs<Attribute>(db, reference->attributeIds().at(0), OpenMode::ForRead));
    ASSERT_TRUE(attribute);
    EXPECT_EQ(attribute->tag(), "TM");
    // A class test that fails closes what it opened.
    EXPECT_EQ(openAs<Text>(db, ids[2], OpenMode::ForRead), nullptr);
    EXPECT_EQ(db.openObjectCount(), 3);
    reference.reset();
    definition.reset();
    attribute.reset();
    EXPECT_EQ(db.openObjectCount(), 0);
}

TEST_F(SimDatabaseTest, AppendsTextsAndLayersOnlyWhenOpenForWrite) {
    BlockTable* blocks = nullptr;
    ASSERT_EQ(db.getBlockTable(blocks, OpenMode::ForRead), eOk);
    ObjectId modelSpaceId = kNullId;
    blocks->getAt(kModelSpace, modelSpaceId);
    blocks->close();

    auto* text = new SimText();
    text->setTextString("new");
    ObjectId textId = kNullId;
    {
        Opened<BlockTableRecord> readOnly(
            openAs<BlockTableRecord>(db, modelSpaceId, OpenMode::ForRead));
        EXPECT_EQ(readOnly->appendEntity(text, textId), eNotOpenForWrite);
    }
    {
        Opened<BlockTableRecord> space(
            openAs<BlockTableRecord>(db, modelSpaceId, OpenMode::ForWrite));
        ASSERT_EQ(space->appendEntity(text, textId), eOk);
        EXPECT_TRUE(text->isDatabaseResident());
        EXPECT_EQ(space->appendEntity(text, textId), eInvalidInput);  // already resident
        EXPECT_EQ(db.openObjectCount(), 2);                           // the record and the text
        EXPECT_EQ(text->close(), eOk);
    }
    EXPECT_EQ(db.peekAs<SimBlockTableRecord>(modelSpaceId)->entityIds().back(), textId);

    LayerTable* layers = nullptr;
    auto* layer = new LayerTableRecord();
    layer->setName("ASDK_VORD");
    ObjectId layerId = kNullId;
    ASSERT_EQ(db.getLayerTable(layers, OpenMode::ForRead), eOk);
    EXPECT_EQ(layers->add(layer, layerId), eNotOpenForWrite);
    layers->close();
    ASSERT_EQ(db.getLayerTable(layers, OpenMode::ForWrite), eOk);
    ASSERT_EQ(layers->add(layer, layerId), eOk);
    layer->close();
    auto* again = new LayerTableRecord();
    again->setName("asdk_vord");
    EXPECT_EQ(layers->add(again, layerId), eDuplicateRecordName);
    again->close();  // not resident: deleted
    EXPECT_TRUE(layers->has("Asdk_Vord"));
    layers->close();
    EXPECT_EQ(db.openObjectCount(), 0);
}

TEST_F(SimDatabaseTest, ACloneOfAResidentEntityIsANewObject) {
    Opened<Text> text(openAs<Text>(db, ids[0], OpenMode::ForWrite));
    ASSERT_TRUE(text);
    std::unique_ptr<Entity> copy = Clone(*text);
    EXPECT_FALSE(copy->isDatabaseResident());
    EXPECT_FALSE(copy->isWriteEnabled());
    EXPECT_EQ(copy->objectId(), kNullId);
    EXPECT_EQ(static_cast<Text&>(*copy).textString(), "A");
    // It can be appended as a new entity, and closing it leaves the original open.
    Opened<BlockTableRecord> space(
        openAs<BlockTableRecord>(db, db.modelSpaceId(), OpenMode::ForWrite));
    ObjectId id = kNullId;
    Entity* appended = copy.release();
    ASSERT_EQ(space->appendEntity(appended, id), eOk);
    EXPECT_NE(id, ids[0]);
    EXPECT_EQ(appended->close(), eOk);
    EXPECT_TRUE(text->isWriteEnabled());
    EXPECT_EQ(db.openObjectCount(), 2);
}

// A text of another host: the emulator could not compute its geometry, so it never takes it.
class ForeignText : public Text {
  public:
    ErrorStatus getGeomExtents(Extents&) const override { return eNotApplicable; }
    ErrorStatus explode(std::vector<Entity*>&) const override { return eNotApplicable; }
    ErrorStatus getGripPoints(std::vector<Point3>&) const override { return eNotApplicable; }
};

TEST_F(SimDatabaseTest, RefusesAnEntityItDidNotMake) {
    Opened<BlockTableRecord> space(
        openAs<BlockTableRecord>(db, db.modelSpaceId(), OpenMode::ForWrite));
    const std::size_t before = space->entityIds().size();
    Entity* foreign = new ForeignText();
    ObjectId id = kNullId;
    EXPECT_EQ(space->appendEntity(foreign, id), eInvalidInput);
    EXPECT_FALSE(foreign->isDatabaseResident());
    EXPECT_EQ(foreign->close(), eOk);  // not resident: deleted
    EXPECT_EQ(space->entityIds().size(), before);
}

TEST(SimDatabase, NamesIgnoreTheCaseOfSingleByteLettersOnly) {
    SimDatabase db;
    // 0x81 0x41 and 0x81 0x61 are two different characters whose trail bytes are 'A' and 'a'.
    db.ensureLayer("\x81\x41");
    EXPECT_FALSE(db.layerTable().has("\x81\x61"));
    EXPECT_TRUE(db.layerTable().has("\x81\x41"));
    EXPECT_NE(db.ensureBlock("\x81\x41"), db.ensureBlock("\x81\x61"));
    EXPECT_EQ(db.ensureBlock("Frame"), db.ensureBlock("FRAME"));
}

TEST(SimDatabase, BlockThatContainsItselfHasBoundedExtents) {
    // A definition can come to contain itself through an append after loading.
    SimDatabase db;
    const ObjectId block = db.ensureBlock("B");
    auto line = std::make_unique<SimLine>();
    line->setPoints({0, 0, 0}, {1, 1, 0});
    db.addEntity(block, std::move(line));
    auto inner = std::make_unique<SimBlockReference>();
    inner->setBlockTableRecord(block);
    inner->setPosition({10, 0, 0});
    db.addEntity(block, std::move(inner));
    auto outer = std::make_unique<SimBlockReference>();
    outer->setBlockTableRecord(block);
    const ObjectId id = db.addEntity(db.modelSpaceId(), std::move(outer));
    Extents box;
    ASSERT_EQ(db.peekAs<Entity>(id)->getGeomExtents(box), eOk);
    EXPECT_EQ(box.minPoint.x, 0.0);
    EXPECT_GT(box.maxPoint.x, 10.0);
}

}  // namespace
}  // namespace velmarin::host::sim
