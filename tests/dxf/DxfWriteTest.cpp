// Writing drawings as DXF: a file that was read comes back with the emulator's changes in their
// places (new entities and layers with new handles, changed entities written anew, erased ones
// gone), in the file's own version and code page; any other drawing becomes a new file.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "DxfSupport.h"
#include "host/sim/DrawingFile.h"
#include "host/sim/dxf/File.h"
#include "host/sim/dxf/Pairs.h"
#include "host/sim/database/SimEntities.h"

namespace velmarin::dxftest {
namespace {

using host::DbObject;
using host::ObjectId;
using host::OpenMode;
using host::Point3;
using host::sim::SimDatabase;
using host::sim::WriteDxf;

// Adds a text and its layer as the print flow does: through the host's tables.
ObjectId AppendText(SimDatabase& db, const std::string& text, const std::string& layer) {
    host::LayerTable* layers = nullptr;
    EXPECT_EQ(db.getLayerTable(layers, OpenMode::ForWrite), host::eOk);
    if (!layers->has(layer)) {
        auto* record = new host::LayerTableRecord;
        record->setName(layer);
        ObjectId id = host::kNullId;
        EXPECT_EQ(layers->add(record, id), host::eOk);
        record->close();
    }
    layers->close();
    DbObject* object = nullptr;
    EXPECT_EQ(db.openObject(object, db.modelSpaceId(), OpenMode::ForWrite), host::eOk);
    auto* space = static_cast<host::BlockTableRecord*>(object);
    auto* entity = new host::sim::SimText;
    entity->setTextString(text);
    entity->setPosition({420, -10, 0});
    entity->setHeight(3);
    entity->setLayer(layer);
    ObjectId id = host::kNullId;
    EXPECT_EQ(space->appendEntity(entity, id), host::eOk);
    entity->close();
    space->close();
    return id;
}

template <typename T>
T* OpenForWrite(SimDatabase& db, ObjectId id) {
    return host::openAs<T>(db, id, OpenMode::ForWrite);
}

// Every handle the file gives an object (groups 5 and 105), the $HANDSEED value aside.
std::vector<std::uint64_t> Handles(const std::string& dxf) {
    std::vector<std::uint64_t> handles;
    host::sim::dxf::PairScanner scanner(dxf);
    host::sim::dxf::Pair pair;
    std::string variable;
    while (scanner.next(pair)) {
        std::uint64_t handle = 0;
        if (pair.code == 9) variable = std::string(pair.value);
        if (pair.code == 0) variable.clear();
        if ((pair.code == 5 || pair.code == 105) && variable != "$HANDSEED" &&
            host::sim::dxf::ParseHandle(pair.value, handle)) {
            handles.push_back(handle);
        }
    }
    return handles;
}

std::uint64_t HandSeed(const std::string& dxf) {
    const std::size_t at = dxf.find("$HANDSEED");
    std::uint64_t seed = 0;
    const std::string value = dxf.substr(at + 9, 40);
    host::sim::dxf::PairScanner scanner(value);
    host::sim::dxf::Pair pair;
    while (scanner.next(pair)) {
        if (pair.code == 5) host::sim::dxf::ParseHandle(pair.value, seed);
    }
    return seed;
}

void ExpectUniqueHandlesBelowTheSeed(const std::string& dxf) {
    const std::vector<std::uint64_t> handles = Handles(dxf);
    const std::set<std::uint64_t> unique(handles.begin(), handles.end());
    EXPECT_EQ(unique.size(), handles.size());
    ASSERT_FALSE(handles.empty());
    EXPECT_LT(*std::max_element(handles.begin(), handles.end()), HandSeed(dxf));
}

TEST(DxfWrite, DrawingFromElsewhereReadsBackAsTheSameDrawing) {
    std::string longText;
    for (int k = 0; k < 40; ++k) longText += "明细表第" + std::to_string(k) + "行\\\\P";
    const std::string json = R"({
      "layers": ["0", "图框层", "明细"],
      "blocks": {"TK-A3": [
        {"type": "polyline", "points": [[0, 0], [180, 0], [180, 56]], "layer": "图框层"},
        {"type": "attdef", "tag": "TM", "text": "", "position": [10, 10, 0], "height": 5}]},
      "entities": [
        {"type": "blockref", "block": "TK-A3", "position": [240, 0, 0],
         "attributes": [{"tag": "TM", "text": "总装图", "position": [250, 10, 0]},
                        {"tag": "TH", "text": "GB-1000^x"}]},
        {"type": "text", "text": "技术要求：未注倒角C1", "position": [40, 80, 0], "height": 3.5,
         "widthFactor": 0.7},
        {"type": "mtext", "contents": ")" +
                             longText + R"(", "position": [5, 5, 0]},
        {"type": "line", "start": [0, 0, 0], "end": [420, 0, 0], "layer": "图框层"},
        {"type": "proxy", "parts": [
          {"type": "polyline", "points": [[0, 0], [40, 0], [40, 24]], "layer": "明细"},
          {"type": "mtext", "contents": "\\P名称", "position": [11, 1, 0], "height": 3}]}
      ]
    })";
    SimDatabase original;
    std::string error;
    ASSERT_TRUE(host::sim::ReadDrawing(json, "a.dwg", original, error)) << error;
    const std::string dxf = WriteDxf(original);
    EXPECT_EQ(ValuesOf(dxf, 1).front(), "AC1015");
    EXPECT_EQ(ValuesOf(dxf, 3).front(), "ANSI_936");
    ExpectUniqueHandlesBelowTheSeed(dxf);
    for (const std::string& value : ValuesOf(dxf, 3)) EXPECT_LE(value.size(), 250u);

    const auto read = Load(dxf, "a.dxf");
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(Described(*read), Described(original));
}

const Pairs kEntities = {
    {0, "TEXT"},   {5, "20"},   {8, "0"},    {7, "Standard"}, {10, "1"},   {20, "2"},
    {40, "2.5"},   {1, "kept"}, {0, "TEXT"}, {5, "21"},       {8, "0"},    {7, "Standard"},
    {10, "1"},     {20, "6"},   {40, "2.5"}, {1, "old"},      {0, "LINE"}, {5, "22"},
    {8, "0"},      {10, "0"},   {20, "0"},   {11, "9"},       {21, "9"},   {0, "INSERT"},
    {5, "30"},     {8, "0"},    {66, "1"},   {2, "TK"},       {10, "0"},   {20, "0"},
    {0, "ATTRIB"}, {5, "31"},   {8, "0"},    {10, "0"},       {20, "0"},   {40, "2.5"},
    {1, "A-01"},   {2, "TH"},   {70, "0"},   {0, "SEQEND"},   {5, "32"},   {8, "0"},
};

TEST(DxfWrite, AddedTextAndLayerGetNewHandlesAboveTheSeed) {
    const std::string file = R2000File(kEntities);
    const auto db = Load(file);
    ASSERT_NE(db, nullptr);
    AppendText(*db, G("打印：张三 2024-05-01"), "ASDK_VORD");
    const std::string written = WriteDxf(*db);

    // The header up to $HANDSEED and the entities read are given back byte for byte.
    const std::size_t seedAt = file.find("$HANDSEED\n5\n") + 12;
    EXPECT_EQ(written.substr(0, seedAt), file.substr(0, seedAt));
    const std::size_t entitiesAt = file.find("ENTITIES\n");
    const std::string readEntities =
        file.substr(entitiesAt, file.find("0\nENDSEC", entitiesAt) - entitiesAt);
    EXPECT_NE(written.find(readEntities), std::string::npos);

    // The new layer closes the layer table, the new text the entities.
    EXPECT_NE(written.find("0\nLAYER\n5\n100\n330\n2\n100\nAcDbSymbolTableRecord\n100\n"
                           "AcDbLayerTableRecord\n2\nASDK_VORD\n"),
              std::string::npos);
    const std::string text =
        "0\nTEXT\n5\n101\n100\nAcDbEntity\n8\nASDK_VORD\n100\nAcDbText\n"
        "10\n420.0\n20\n-10.0\n30\n0.0\n40\n3.0\n1\n" +
        G("打印：张三 2024-05-01") + "\n100\nAcDbText\n";
    EXPECT_NE(written.find(text + "0\nENDSEC\n"), std::string::npos) << written;
    EXPECT_EQ(HandSeed(written), 0x102u);
    ExpectUniqueHandlesBelowTheSeed(written);

    const auto again = Load(written);
    ASSERT_NE(again, nullptr);
    const auto entities = ModelSpace(*again);
    ASSERT_EQ(entities.size(), 5u);
    const auto* stamped = dynamic_cast<const host::Text*>(entities.back());
    ASSERT_NE(stamped, nullptr);
    EXPECT_EQ(stamped->textString(), G("打印：张三 2024-05-01"));
    EXPECT_EQ(stamped->layer(), "ASDK_VORD");
    EXPECT_TRUE(again->layerTable().has("ASDK_VORD"));

    // A second save gives the same file: the new objects keep their handles.
    EXPECT_EQ(WriteDxf(*db), written);
}

TEST(DxfWrite, OnlyEntitiesThatChangedAreWrittenAnew) {
    const std::string file = R2000File(kEntities);
    const auto db = Load(file);
    ASSERT_NE(db, nullptr);
    const auto ids = db->peekAs<host::sim::SimBlockTableRecord>(db->modelSpaceId())->entityIds();
    ASSERT_EQ(ids.size(), 4u);
    // Opened for write, but left as it was.
    OpenForWrite<host::Text>(*db, ids[0])->close();
    auto* changed = OpenForWrite<host::Text>(*db, ids[1]);
    changed->setTextString("new");
    changed->close();
    auto* erased = OpenForWrite<host::Line>(*db, ids[2]);
    erased->setErased(true);
    erased->close();
    const auto* reference = db->peekAs<host::BlockReference>(ids[3]);
    auto* attribute = OpenForWrite<host::Attribute>(*db, reference->attributeIds().at(0));
    attribute->setTextString("A-02");
    attribute->close();

    const std::string written = WriteDxf(*db);
    // The untouched text keeps its text style, which the emulator does not model.
    EXPECT_NE(written.find("0\nTEXT\n5\n20\n8\n0\n7\nStandard\n"), std::string::npos);
    // The changed text keeps its handle.
    EXPECT_NE(written.find("0\nTEXT\n5\n21\n100\nAcDbEntity\n8\n0\n100\nAcDbText\n10\n1.0\n20\n"
                           "6.0\n30\n0.0\n40\n2.5\n1\nnew\n"),
              std::string::npos)
        << written;
    EXPECT_EQ(written.find("\nLINE\n"), std::string::npos);
    EXPECT_EQ(written.find("\nold\n"), std::string::npos);
    // The block reference is written anew with its attribute, all handles kept.
    EXPECT_NE(written.find("0\nINSERT\n5\n30\n"), std::string::npos);
    EXPECT_NE(written.find("0\nATTRIB\n5\n31\n330\n30\n"), std::string::npos);
    EXPECT_NE(written.find("1\nA-02\n"), std::string::npos);
    EXPECT_NE(written.find("0\nSEQEND\n5\n32\n330\n30\n"), std::string::npos);
    EXPECT_EQ(HandSeed(written), 0x100u);  // no new handle was needed

    const auto again = Load(written);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(ModelSpace(*again).size(), 3u);
}

TEST(DxfWrite, FileWithoutEntitiesSectionGetsOneBeforeItsObjects) {
    const std::string file = Dxf({{0, "SECTION"},
                                  {2, "HEADER"},
                                  {9, "$ACADVER"},
                                  {1, "AC1015"},
                                  {0, "ENDSEC"},
                                  {0, "SECTION"},
                                  {2, "OBJECTS"},
                                  {0, "DICTIONARY"},
                                  {5, "C"},
                                  {0, "ENDSEC"},
                                  {0, "EOF"}});
    const auto db = Load(file);
    ASSERT_NE(db, nullptr);
    EXPECT_EQ(WriteDxf(*db), file);  // nothing new: nothing added
    AppendText(*db, "stamp", "0");
    const std::string written = WriteDxf(*db);
    const std::size_t section = written.find("0\nSECTION\n2\nENTITIES\n0\nTEXT\n");
    ASSERT_NE(section, std::string::npos) << written;
    EXPECT_LT(section, written.find("OBJECTS"));
    const auto again = Load(written);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(ModelSpace(*again).size(), 1u);
    EXPECT_EQ(WriteDxf(*again), written);
}

TEST(DxfWrite, TextsAreStoredInTheEncodingOfTheFile) {
    struct Case {
        const char* version;
        const char* codePage;
        std::string stored;
    };
    const Case cases[] = {
        {"AC1015", "ANSI_936", G("图名")},
        {"AC1015", "ANSI_1252", "\\U+56FE\\U+540D"},
        {"AC1032", "ANSI_1252", "图名"},  // UTF-8 from the 2007 format on
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        const auto db = Load(R2000File({}, c.codePage, {"0"}, c.version));
        ASSERT_NE(db, nullptr);
        AppendText(*db, G("图名"), "0");
        const std::string written = WriteDxf(*db);
        const std::vector<std::string> texts = ValuesOf(written, 1);
        EXPECT_EQ(texts.back(), c.stored);
        const auto again = Load(written);
        ASSERT_NE(again, nullptr);
        const auto* text = dynamic_cast<const host::Text*>(ModelSpace(*again).at(0));
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->textString(), G("图名"));
    }
}

TEST(DxfWrite, Release12FileGetsEntitiesRelease12Knows) {
    const std::string file = Dxf({{0, "SECTION"},
                                  {2, "HEADER"},
                                  {9, "$ACADVER"},
                                  {1, "AC1009"},
                                  {0, "ENDSEC"},
                                  {0, "SECTION"},
                                  {2, "ENTITIES"},
                                  {0, "LINE"},
                                  {8, "0"},
                                  {10, "0"},
                                  {20, "0"},
                                  {11, "1"},
                                  {21, "1"},
                                  {0, "ENDSEC"},
                                  {0, "EOF"}},
                                 "\r\n");
    const auto db = Load(file);
    ASSERT_NE(db, nullptr);
    AppendText(*db, "stamp", "0");
    DbObject* object = nullptr;
    ASSERT_EQ(db->openObject(object, db->modelSpaceId(), OpenMode::ForWrite), host::eOk);
    auto* mtext = new host::sim::SimMText;
    mtext->setContents("multi");
    ObjectId id = host::kNullId;
    static_cast<host::BlockTableRecord*>(object)->appendEntity(mtext, id);
    mtext->close();
    object->close();

    const std::string written = WriteDxf(*db);
    // No handles (the file has none), no subclass markers, no multiline text; the file's
    // line ends.
    EXPECT_NE(
        written.find("\r\nLINE\r\n8\r\n0\r\n10\r\n0\r\n20\r\n0\r\n11\r\n1\r\n21\r\n1\r\n"
                     "0\r\nTEXT\r\n8\r\n0\r\n10\r\n420.0\r\n20\r\n-10.0\r\n30\r\n0.0\r\n40\r\n"
                     "3.0\r\n1\r\nstamp\r\n0\r\nTEXT\r\n8\r\n0\r\n"),
        std::string::npos)
        << written;
    EXPECT_EQ(written.find("$HANDSEED"), std::string::npos);
    EXPECT_EQ(written.find("AcDb"), std::string::npos);
}

}  // namespace
}  // namespace velmarin::dxftest
