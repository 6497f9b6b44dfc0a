// What the emulator makes of each kind of DXF entity, table entry and block.

#include <gtest/gtest.h>

#include "DxfSupport.h"
#include "host/sim/dxf/Entities.h"
#include "host/sim/dxf/Out.h"
#include "host/sim/dxf/ProxyGraphics.h"

namespace velmarin::dxftest {
namespace {

using host::Extents;
using host::MText;
using host::Point3;
using host::Polyline;
using host::Text;

// The pairs of a proxy whose graphics draw `parts`, the size in group `sizeCode`.
Pairs ProxyPairs(const std::vector<std::unique_ptr<host::Entity>>& parts, int sizeCode,
                 const std::string& layer = "0") {
    const std::string graphics =
        host::sim::dxf::EncodeProxyGraphics(parts, [](const std::string&) { return -1; });
    std::string chunks;
    host::sim::dxf::DxfFormat format;
    format.lineEnd = "\n";
    host::sim::dxf::DxfOut out(chunks, format);
    out.binary(310, graphics);
    Pairs pairs = {{0, "ACAD_PROXY_ENTITY"},
                   {5, "50"},
                   {100, "AcDbEntity"},
                   {8, layer},
                   {100, "AcDbProxyEntity"},
                   {90, "498"},
                   {91, "500"},
                   {sizeCode, std::to_string(graphics.size())}};
    for (const std::string& hex : ValuesOf(chunks, 310)) pairs.push_back({310, hex});
    pairs.insert(pairs.end(), {{93, "8"}, {310, "FF"}, {94, "0"}});  // entity data: not graphics
    return pairs;
}

std::vector<std::unique_ptr<host::Entity>> TableParts() {
    std::vector<std::unique_ptr<host::Entity>> parts;
    auto grid = std::make_unique<host::sim::SimPolyline>();
    grid->setPoints({{0, 0, 0}, {40, 0, 0}, {40, 8, 0}});
    parts.push_back(std::move(grid));
    auto cell = std::make_unique<host::sim::SimMText>();
    cell->setContents(G("\\P名称"));
    cell->setLocation({11, 1, 0});
    parts.push_back(std::move(cell));
    return parts;
}

TEST(DxfRead, EntitiesOfEveryModelledKind) {
    const std::string file =
        R2000File({{0, "TEXT"},       {5, "20"},         {8, "T"},        {10, "1.5"},
                   {20, "2"},         {30, "0"},         {40, "3.5"},     {1, G("图名：A-01")},
                   {41, "0.8"},       {0, "MTEXT"},      {5, "21"},       {8, "0"},
                   {10, "5"},         {20, "6"},         {40, "2"},       {3, "abc"},
                   {3, "def"},        {1, "\\Pghi"},     {0, "LINE"},     {5, "22"},
                   {8, G("图框层")},  {10, "0"},         {20, "0"},       {11, "420"},
                   {21, "0"},         {0, "LWPOLYLINE"}, {5, "23"},       {90, "2"},
                   {38, "7"},         {10, "1"},         {20, "2"},       {10, "3"},
                   {20, "4"},         {0, "POLYLINE"},   {5, "24"},       {66, "1"},
                   {10, "0"},         {20, "0"},         {30, "9"},       {70, "1"},
                   {0, "VERTEX"},     {5, "25"},         {10, "1"},       {20, "1"},
                   {0, "VERTEX"},     {5, "26"},         {10, "2"},       {20, "2"},
                   {0, "SEQEND"},     {5, "27"},         {0, "POLYLINE"}, {5, "28"},
                   {70, "8"},         {0, "VERTEX"},     {10, "1"},       {20, "2"},
                   {30, "3"},         {70, "32"},        {0, "SEQEND"},   {0, "POLYLINE"},
                   {5, "29"},         {70, "64"},        {0, "VERTEX"},   {10, "-1"},
                   {20, "-2"},        {30, "0"},         {70, "192"},     {0, "VERTEX"},
                   {10, "0"},         {20, "0"},         {30, "0"},       {70, "128"},
                   {0, "SEQEND"},     {0, "CIRCLE"},     {8, "C"},        {10, "10"},
                   {20, "10"},        {40, "2"},         {0, "TEXT"},     {67, "1"},
                   {1, "paper space"}},
                  "ANSI_936", {"0", "T", G("图框层")});
    const auto db = Load(file);
    ASSERT_NE(db, nullptr);
    const auto entities = ModelSpace(*db);
    ASSERT_EQ(entities.size(), 8u);  // the paper-space text is not in model space

    const auto* text = dynamic_cast<const Text*>(entities[0]);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->textString(), G("图名：A-01"));
    EXPECT_DOUBLE_EQ(text->position().x, 1.5);
    EXPECT_DOUBLE_EQ(text->height(), 3.5);
    EXPECT_EQ(text->widthFactor(), std::optional<double>(0.8));
    EXPECT_EQ(text->layer(), "T");

    const auto* mtext = dynamic_cast<const MText*>(entities[1]);
    ASSERT_NE(mtext, nullptr);
    EXPECT_EQ(mtext->contents(), "abcdef\\Pghi");
    EXPECT_DOUBLE_EQ(mtext->location().y, 6);

    EXPECT_EQ(entities[2]->className(), "AcDbLine");
    EXPECT_EQ(entities[2]->layer(), G("图框层"));

    const auto* light = dynamic_cast<const Polyline*>(entities[3]);
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(light->className(), "AcDbPolyline");
    ASSERT_EQ(light->points().size(), 2u);
    EXPECT_DOUBLE_EQ(light->points()[1].x, 3);
    EXPECT_DOUBLE_EQ(light->points()[1].z, 7);  // the elevation

    const auto* flat = dynamic_cast<const Polyline*>(entities[4]);
    ASSERT_NE(flat, nullptr);
    EXPECT_EQ(flat->className(), "AcDb2dPolyline");
    ASSERT_EQ(flat->points().size(), 2u);
    EXPECT_DOUBLE_EQ(flat->points()[0].z, 9);

    const auto* spatial = dynamic_cast<const Polyline*>(entities[5]);
    ASSERT_NE(spatial, nullptr);
    EXPECT_EQ(spatial->className(), "AcDb3dPolyline");
    EXPECT_DOUBLE_EQ(spatial->points().at(0).z, 3);

    EXPECT_EQ(entities[6]->className(), "AcDbPolyFaceMesh");
    EXPECT_EQ(dynamic_cast<const Polyline*>(entities[6]), nullptr);
    Extents box;
    ASSERT_EQ(entities[6]->getGeomExtents(box), host::eOk);
    EXPECT_DOUBLE_EQ(box.minPoint.x, -1);  // the face record at the origin is no point

    EXPECT_EQ(entities[7]->className(), "AcDbCircle");
    ASSERT_EQ(entities[7]->getGeomExtents(box), host::eOk);
    EXPECT_DOUBLE_EQ(box.minPoint.x, 8);
    EXPECT_DOUBLE_EQ(box.maxPoint.y, 12);
    EXPECT_TRUE(db->layerTable().has("C"));  // a layer the table lacks is created
}

TEST(DxfRead, LayersOfTheTableWithTheirStates) {
    std::string file = R2000File({}, "ANSI_936", {"0", "Frozen", "Off"});
    const std::string frozen = "2\nFrozen\n70\n0\n62\n7\n";
    const std::string off = "2\nOff\n70\n0\n62\n7\n";
    file.replace(file.find(frozen), frozen.size(), "2\nFrozen\n70\n5\n62\n7\n");
    file.replace(file.find(off), off.size(), "2\nOff\n70\n0\n62\n-7\n");
    const auto db = Load(file);
    ASSERT_NE(db, nullptr);
    std::vector<std::string> names;
    for (host::ObjectId id : db->layerTable().recordIds()) {
        const auto* layer = db->peekAs<host::LayerTableRecord>(id);
        names.push_back(layer->getName());
        EXPECT_EQ(layer->isFrozen(), layer->getName() == "Frozen");
        EXPECT_EQ(layer->isLocked(), layer->getName() == "Frozen");
        EXPECT_EQ(layer->isOff(), layer->getName() == "Off");
    }
    EXPECT_EQ(names, (std::vector<std::string>{"0", "Frozen", "Off"}));
}

TEST(DxfRead, BlockReferencePlacesItsDefinitionScaledAndRotated) {
    const std::string file = Dxf({
        {0, "SECTION"}, {2, "BLOCKS"},   {0, "BLOCK"},  {2, "TK"},     {70, "0"},
        {10, "10"},     {20, "0"},       {30, "0"},     {0, "LINE"},   {10, "10"},
        {20, "0"},      {11, "30"},      {21, "5"},     {0, "ENDBLK"}, {0, "ENDSEC"},
        {0, "SECTION"}, {2, "ENTITIES"}, {0, "INSERT"}, {2, "TK"},     {10, "100"},
        {20, "100"},    {41, "2"},       {42, "2"},     {50, "90"},    {0, "INSERT"},
        {2, "TK"},      {10, "0"},       {20, "0"},     {0, "ENDSEC"}, {0, "EOF"},
    });
    const auto db = Load(file);
    ASSERT_NE(db, nullptr);
    const auto entities = ModelSpace(*db);
    ASSERT_EQ(entities.size(), 2u);
    // The definition spans (0, 0)-(20, 5) from its base point; twice as large and turned a
    // quarter: (-10, 0)-(0, 40) around the insertion point.
    Extents box;
    ASSERT_EQ(entities[0]->getGeomExtents(box), host::eOk);
    EXPECT_NEAR(box.minPoint.x, 90, 1e-9);
    EXPECT_NEAR(box.minPoint.y, 100, 1e-9);
    EXPECT_NEAR(box.maxPoint.x, 100, 1e-9);
    EXPECT_NEAR(box.maxPoint.y, 140, 1e-9);
    ASSERT_EQ(entities[1]->getGeomExtents(box), host::eOk);
    EXPECT_NEAR(box.minPoint.x, 0, 1e-9);
    EXPECT_NEAR(box.maxPoint.x, 20, 1e-9);
    EXPECT_EQ(entities[1]->className(), "AcDbBlockReference");
}

TEST(DxfRead, ProxyExplodesIntoItsGraphics) {
    for (const auto& [version, sizeCode] :
         {std::pair<std::string, int>{"AC1015", 92}, std::pair<std::string, int>{"AC1027", 160}}) {
        SCOPED_TRACE(version);
        const auto db =
            Load(R2000File(ProxyPairs(TableParts(), sizeCode), "ANSI_936", {"0"}, version));
        ASSERT_NE(db, nullptr);
        const auto entities = ModelSpace(*db);
        ASSERT_EQ(entities.size(), 1u);
        const auto* proxy = dynamic_cast<const host::ProxyEntity*>(entities[0]);
        ASSERT_NE(proxy, nullptr);
        EXPECT_EQ(proxy->className(), "AcDbZombieEntity");
        std::vector<host::Entity*> parts;
        ASSERT_EQ(proxy->explode(parts), host::eOk);
        ASSERT_EQ(parts.size(), 2u);  // the entity data after group 93 is no graphics
        EXPECT_EQ(parts[0]->className(), "AcDbPolyline");
        std::vector<Point3> grips;
        parts[0]->getGripPoints(grips);
        ASSERT_EQ(grips.size(), 3u);
        EXPECT_DOUBLE_EQ(grips[2].y, 8);
        const auto* cell = dynamic_cast<const MText*>(parts[1]);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->contents(), G("\\P名称"));
        for (host::Entity* part : parts) part->close();
    }
}

}  // namespace
}  // namespace velmarin::dxftest
