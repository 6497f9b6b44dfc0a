#include <gtest/gtest.h>

#include "host/sim/DrawingFile.h"
#include "host/sim/database/SimDatabase.h"

namespace velmarin::host::sim {
namespace {

// 图框层, 总装图, 图名：ABC-01 and \P序号 in GBK and UTF-8.
const std::string kFrameLayerGbk = "\xCD\xBC\xBF\xF2\xB2\xE3";
const std::string kFrameLayerUtf8 = "\xE5\x9B\xBE\xE6\xA1\x86\xE5\xB1\x82";
const std::string kAssemblyGbk = "\xD7\xDC\xD7\xB0\xCD\xBC";
const std::string kAssemblyUtf8 = "\xE6\x80\xBB\xE8\xA3\x85\xE5\x9B\xBE";
const std::string kTitleGbk =
    "\xCD\xBC\xC3\xFB\xA3\xBA"
    "ABC-01";
const std::string kTitleUtf8 =
    "\xE5\x9B\xBE\xE5\x90\x8D\xEF\xBC\x9A"
    "ABC-01";

std::vector<ObjectId> ModelSpace(const SimDatabase& db) {
    return db.peekAs<SimBlockTableRecord>(db.modelSpaceId())->allEntityIds();
}

std::string Drawing(const std::string& entities, const std::string& rest = "") {
    return "{\"entities\": [" + entities + "]" + rest + "}";
}

bool Read(const std::string& text, SimDatabase& db, std::string& error) {
    return ReadDrawing(text, "D:\\w\\a.dwg", db, error);
}

TEST(DrawingFile, ReadsEveryKindOfEntityWithGbkTexts) {
    const std::string text =
        "{\"layers\": [\"0\", \"" + kFrameLayerUtf8 +
        "\"],\n\"entities\": [\n"
        "{\"type\": \"text\", \"text\": \"" +
        kTitleUtf8 +
        "\", \"position\": [10, 20, 0], \"height\": 3.5, \"widthFactor\": 0.7},\n"
        "{\"type\": \"mtext\", \"contents\": \"\\\\P\xE5\xBA\x8F\xE5\x8F\xB7\", \"position\": "
        "[0.5, 0.5]},\n"
        "{\"type\": \"polyline\", \"points\": [[0, 0], [10, 0], [10, 5]], \"layer\": \"" +
        kFrameLayerUtf8 +
        "\"},\n"
        "{\"type\": \"line\", \"start\": [0, 0, 0], \"end\": [420, 0, 0], \"erased\": true},\n"
        "{\"type\": \"blockref\", \"block\": \"TK-A3\", \"position\": [5, 5, 0],\n"
        " \"attributes\": [{\"tag\": \"TM\", \"text\": \"" +
        kAssemblyUtf8 +
        "\"}, {\"tag\": \"TH\"}]},\n"
        "{\"type\": \"proxy\", \"className\": \"XAcDbZombieEntity\", \"layer\": \"L2\", \"parts\": "
        "[\n"
        "  {\"type\": \"line\", \"start\": [0, 0], \"end\": [1, 1]}]}\n"
        "],\n\"blocks\": {\"TK-A3\": [{\"type\": \"attdef\", \"tag\": \"TM\", \"position\": [1, "
        "1]}]}}";
    SimDatabase db;
    std::string error;
    ASSERT_TRUE(Read(text, db, error)) << error;
    const auto ids = ModelSpace(db);
    ASSERT_EQ(ids.size(), 6u);

    const auto* title = db.peekAs<Text>(ids[0]);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->className(), "AcDbText");
    EXPECT_EQ(title->textString(), kTitleGbk);
    EXPECT_EQ(title->height(), 3.5);
    EXPECT_EQ(title->widthFactor(), 0.7);

    const auto* mtext = db.peekAs<MText>(ids[1]);
    ASSERT_NE(mtext, nullptr);
    EXPECT_EQ(mtext->contents(), "\\P\xD0\xF2\xBA\xC5");
    EXPECT_EQ(mtext->textHeight(), 2.5);

    EXPECT_EQ(db.peekAs<Polyline>(ids[2])->layer(), kFrameLayerGbk);
    EXPECT_TRUE(db.peekAs<Line>(ids[3])->isErased());

    const auto* reference = db.peekAs<BlockReference>(ids[4]);
    ASSERT_NE(reference, nullptr);
    const auto* definition = db.peekAs<BlockTableRecord>(reference->blockTableRecord());
    ASSERT_NE(definition, nullptr);
    EXPECT_EQ(definition->getName(), "TK-A3");
    ASSERT_EQ(definition->entityIds().size(), 1u);
    EXPECT_EQ(db.peek(definition->entityIds()[0])->className(), "AcDbAttributeDefinition");
    ASSERT_EQ(reference->attributeIds().size(), 2u);
    const auto* tm = db.peekAs<Attribute>(reference->attributeIds()[0]);
    EXPECT_EQ(tm->className(), "AcDbAttribute");
    EXPECT_EQ(tm->tag(), "TM");
    EXPECT_EQ(tm->textString(), kAssemblyGbk);
    EXPECT_EQ(tm->position().x, 5.0);  // at its reference without a position of its own
    EXPECT_EQ(db.peekAs<Attribute>(reference->attributeIds()[1])->textString(), "");

    const auto* proxy = db.peekAs<SimProxyEntity>(ids[5]);
    ASSERT_NE(proxy, nullptr);
    EXPECT_EQ(proxy->className(), "XAcDbZombieEntity");
    ASSERT_EQ(proxy->parts().size(), 1u);
    EXPECT_FALSE(proxy->parts()[0]->isDatabaseResident());

    // Every layer used exists, listed or not.
    EXPECT_TRUE(db.layerTable().has(kFrameLayerGbk));
    EXPECT_TRUE(db.layerTable().has("l2"));
    EXPECT_EQ(db.layerTable().recordIds().size(), 3u);
}

TEST(DrawingFile, SavingThenLoadingKeepsEverything) {
    const std::string text =
        "{\"layers\": [\"0\", \"" + kFrameLayerUtf8 +
        "\", \"Empty\"], \"entities\": [\n"
        "{\"type\": \"text\", \"text\": \"" +
        kTitleUtf8 +
        "\\r\\n\\\"q\\\"\", \"position\": [0.1, "
        "-2e-7, 3], \"height\": 3.5, \"widthFactor\": 1},\n"
        "{\"type\": \"text\", \"text\": \"no factor\"},\n"
        "{\"type\": \"mtext\", \"contents\": \"{\\\\fSimSun;" +
        kAssemblyUtf8 +
        "}\", \"height\": 1e3},\n"
        "{\"type\": \"polyline\", \"points\": [], \"extents\": [[0, 0, 0], [1, 2, 3]]},\n"
        "{\"type\": \"line\", \"start\": [1, 2], \"end\": [3, 4], \"erased\": true},\n"
        "{\"type\": \"blockref\", \"block\": \"" +
        kAssemblyUtf8 +
        "\", \"position\": [1, 1], "
        "\"attributes\": [{\"tag\": \"TM\", \"text\": \"" +
        kTitleUtf8 + "\", \"layer\": \"" + kFrameLayerUtf8 +
        "\", \"erased\": true}]},\n"
        "{\"type\": \"blockref\", \"block\": \"Nowhere\"},\n"
        "{\"type\": \"proxy\", \"parts\": [{\"type\": \"mtext\", \"contents\": \"\\\\P" +
        kAssemblyUtf8 +
        "\"}, {\"type\": \"proxy\", \"className\": \"Inner\", \"parts\": []}]}\n"
        "], \"blocks\": {\"" +
        kAssemblyUtf8 +
        "\": [{\"type\": \"blockref\", \"block\": \"Leaf\"}], "
        "\"Leaf\": [{\"type\": \"line\"}], \"Unused\": []}}";
    SimDatabase first;
    std::string error;
    ASSERT_TRUE(Read(text, first, error)) << error;
    const std::string saved = WriteDrawing(first);

    SimDatabase second;
    ASSERT_TRUE(Read(saved, second, error)) << error << "\n" << saved;
    // The same drawing writes the same bytes: nothing was lost or changed on the way.
    EXPECT_EQ(WriteDrawing(second), saved);
    // And the bytes carry the texts in UTF-8, the unknown definition not invented.
    EXPECT_NE(saved.find(kTitleUtf8), std::string::npos);
    EXPECT_EQ(saved.find("\"Nowhere\": ["), std::string::npos);
    EXPECT_NE(saved.find("\"Unused\": []"), std::string::npos);

    const auto ids = ModelSpace(second);
    ASSERT_EQ(ids.size(), 8u);
    EXPECT_EQ(second.peekAs<Text>(ids[0])->textString(), kTitleGbk + "\r\n\"q\"");
    EXPECT_FALSE(second.peekAs<Text>(ids[1])->widthFactor().has_value());
    EXPECT_EQ(second.peekAs<Text>(ids[0])->position().y, -2e-7);
    const auto* reference = second.peekAs<BlockReference>(ids[5]);
    const auto* attribute = second.peekAs<Attribute>(reference->attributeIds().at(0));
    EXPECT_TRUE(attribute->isErased());
    EXPECT_EQ(attribute->layer(), kFrameLayerGbk);
    EXPECT_TRUE(second.layerTable().has("EMPTY"));
}

struct ExtentsCase {
    const char* name;
    std::string entity;
    Extents expected;
};

// The boxes the selection and the frame corner rely on.
TEST(DrawingFile, ComputesExtentsByTheRulesOfEachKind) {
    const ExtentsCase cases[] = {
        {"polyline spans its points",
         R"({"type": "polyline", "points": [[10, 0], [0, 5], [4, -1]]})",
         {{0, -1, 0}, {10, 5, 0}}},
        {"line spans its ends",
         R"({"type": "line", "start": [5, 6, 1], "end": [1, 2, 3]})",
         {{1, 2, 1}, {5, 6, 3}}},
        // 6 bytes x 0.7 x 2.5 wide, 2.5 high (the default height)
        {"text",
         R"({"type": "text", "text": "ABCDEF", "position": [1, 2, 0]})",
         {{1, 2, 0}, {1 + 6 * 0.7 * 2.5, 4.5, 0}}},
        // a Chinese character counts its two bytes
        {"text counts bytes",
         "{\"type\": \"text\", \"text\": \"" + kTitleUtf8 + "\", \"height\": 10}",
         {{0, 0, 0}, {12 * 0.7 * 10, 10, 0}}},
        {"mtext",
         R"({"type": "mtext", "contents": "\\PAB", "position": [0, 0], "height": 2})",
         {{0, 0, 0}, {4 * 0.7 * 2, 2, 0}}},
        {"blockref spans its definition placed at its position",
         R"({"type": "blockref", "block": "B", "position": [100, 200, 0]})",
         {{100, 195, 0}, {110, 200, 0}}},
        {"blockref of an unknown definition is its position",
         R"({"type": "blockref", "block": "Missing", "position": [7, 8, 9]})",
         {{7, 8, 9}, {7, 8, 9}}},
        {"blockref of an empty definition is its position",
         R"({"type": "blockref", "block": "Empty", "position": [7, 8, 0]})",
         {{7, 8, 0}, {7, 8, 0}}},
        {"proxy spans its parts",
         R"({"type": "proxy", "parts": [{"type": "line", "start": [0, 0], "end": [1, 1]},
             {"type": "polyline", "points": [[-3, 4], [2, 9]]}]})",
         {{-3, 0, 0}, {2, 9, 0}}},
        {"given extents win",
         R"({"type": "line", "start": [0, 0], "end": [1, 1], "extents": [[-1, -2, 0], [3, 4, 0]]})",
         {{-1, -2, 0}, {3, 4, 0}}},
    };
    const std::string blocks =
        R"(, "blocks": {"B": [{"type": "line", "start": [0, 0], "end": [10, -5]},
                              {"type": "line", "start": [90, 90], "end": [99, 99], "erased": true}],
                        "Empty": []})";
    for (const ExtentsCase& c : cases) {
        SimDatabase db;
        std::string error;
        ASSERT_TRUE(Read(Drawing(c.entity, blocks), db, error)) << c.name << ": " << error;
        Extents box;
        ASSERT_EQ(db.peekAs<Entity>(ModelSpace(db).at(0))->getGeomExtents(box), eOk) << c.name;
        EXPECT_DOUBLE_EQ(box.minPoint.x, c.expected.minPoint.x) << c.name;
        EXPECT_DOUBLE_EQ(box.minPoint.y, c.expected.minPoint.y) << c.name;
        EXPECT_DOUBLE_EQ(box.minPoint.z, c.expected.minPoint.z) << c.name;
        EXPECT_DOUBLE_EQ(box.maxPoint.x, c.expected.maxPoint.x) << c.name;
        EXPECT_DOUBLE_EQ(box.maxPoint.y, c.expected.maxPoint.y) << c.name;
        EXPECT_DOUBLE_EQ(box.maxPoint.z, c.expected.maxPoint.z) << c.name;
    }
}

TEST(DrawingFile, ExplodingAProxyGivesCopiesOfItsPartsInFileOrder) {
    SimDatabase db;
    std::string error;
    ASSERT_TRUE(Read(Drawing(R"({"type": "proxy", "parts": [
        {"type": "polyline", "points": [[10, 0], [0, 0], [10, 5], [0, 5]]},
        {"type": "mtext", "contents": "\\PA", "position": [12, 3]},
        {"type": "text", "text": "T"}]})"),
                     db, error))
        << error;
    const auto* proxy = db.peekAs<SimProxyEntity>(ModelSpace(db).at(0));
    std::vector<Entity*> parts;
    ASSERT_EQ(proxy->explode(parts), eOk);
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0]->className(), "AcDbPolyline");
    EXPECT_EQ(parts[1]->className(), "AcDbMText");
    EXPECT_EQ(parts[2]->className(), "AcDbText");
    std::vector<Point3> grips;
    ASSERT_EQ(parts[0]->getGripPoints(grips), eOk);
    ASSERT_EQ(grips.size(), 4u);
    EXPECT_EQ(grips[0].x, 10.0);
    EXPECT_EQ(grips[2].y, 5.0);
    EXPECT_EQ(static_cast<MText*>(parts[1])->location().x, 12.0);
    // The copies are the caller's: changing one leaves the proxy alone, closing deletes it.
    static_cast<SimMText*>(parts[1])->setContents("changed");
    EXPECT_EQ(static_cast<const MText&>(*proxy->parts()[1]).contents(), "\\PA");
    for (Entity* part : parts) {
        EXPECT_FALSE(part->isDatabaseResident());
        EXPECT_EQ(part->close(), eOk);
    }
    EXPECT_EQ(db.openObjectCount(), 0);
}

struct Malformed {
    std::string text;
    const char* expected;  // the whole message after the file name
};

TEST(DrawingFile, MalformedFilesGiveOneErrorNamingFileLineAndColumn) {
    const Malformed cases[] = {
        {"[]", "1:1: a drawing file holds one object"},
        {"{\"entities\": [], \"Layers\": []}", "1:18: the drawing has no member \"Layers\""},
        {"{\"entities\": {}}", "1:14: \"entities\" must be a list, not an object"},
        {"{\"entities\": [\n  {\"type\": \"circle\"}]}",
         "2:12: unknown entity type \"circle\" (known: text, mtext, polyline, line, blockref, "
         "proxy, attdef)"},
        {"{\"entities\": [{\"text\": \"x\"}]}", "1:15: an entity needs \"type\""},
        {"{\"entities\": [{\"type\": \"text\", \"posiiton\": [0, 0]}]}",
         "1:32: a text has no member \"posiiton\""},
        {"{\"entities\": [{\"type\": \"text\", \"position\": [0]}]}",
         "1:44: \"position\" must be a point: a list of 2 or 3 numbers"},
        {"{\"entities\": [{\"type\": \"line\", \"end\": [0, \"1\"]}]}",
         "1:43: a coordinate must be a number, not a text"},
        {"{\"entities\": [{\"type\": \"text\", \"height\": \"3\"}]}",
         "1:42: \"height\" must be a number, not a text"},
        {"{\"entities\": [{\"type\": \"text\", \"erased\": 1}]}",
         "1:42: \"erased\" must be true or false, not a number"},
        {"{\"entities\": [{\"type\": \"text\", \"extents\": [[0, 0]]}]}",
         "1:43: \"extents\" must be a list of two points"},
        {"{\"entities\": [{\"type\": \"blockref\"}]}", "1:15: a block reference needs \"block\""},
        {"{\"entities\": [{\"type\": \"text\", \"layer\": \"\"}]}", "1:41: a layer name is empty"},
        {"{\"entities\": [{\"type\": \"proxy\", \"parts\": [{\"type\": \"blockref\", \"block\": "
         "\"B\", "
         "\"attributes\": [{}]}]}]}",
         "1:92: a block reference inside a proxy cannot have attributes"},
        {"{\"blocks\": {\"A\": [{\"type\": \"blockref\", \"block\": \"B\"}],\n"
         "\"B\": [{\"type\": \"blockref\", \"block\": \"a\"}]}}",
         "2:37: the block \"a\" contains itself"},
        {"{\"blocks\": {\"A\": [], \"a\": []}}", "1:22: the block \"a\" is defined twice"},
        {"{\"blocks\": {\"*MODEL_SPACE\": []}}", "1:13: model space is no block definition"},
        {"{\"entities\": [{\"type\": \"text\", \"text\": \"a\"}",
         "1:44: expected ',' or ']', found the end of the file"},
        {"{\"entities\": [{\"type\": \"text\", \"text\": \"\xCD\xBC\xC3\xFB\"}]}",
         "1:42: the file is not valid UTF-8"},
    };
    for (const Malformed& bad : cases) {
        SimDatabase db;
        std::string error;
        EXPECT_FALSE(Read(bad.text, db, error)) << bad.text;
        EXPECT_EQ(error, std::string("D:\\w\\a.dwg:") + bad.expected) << bad.text;
    }
}

TEST(DrawingFile, TruncatedFilesFailAtTheirEnd) {
    // Every prefix of a valid file is refused cleanly (the sanitizer build checks the reads).
    const std::string text = Drawing("{\"type\": \"text\", \"text\": \"" + kTitleUtf8 +
                                     "\\u00e9\", \"position\": [1.5e2, -3]}");
    for (std::size_t size = 0; size < text.size(); ++size) {
        SimDatabase db;
        std::string error;
        EXPECT_FALSE(Read(text.substr(0, size), db, error)) << size;
        EXPECT_EQ(error.rfind("D:\\w\\a.dwg:", 0), 0u) << error;
    }
    SimDatabase db;
    std::string error;
    EXPECT_TRUE(Read("\xEF\xBB\xBF" + text, db, error)) << error;
}

}  // namespace
}  // namespace velmarin::host::sim
