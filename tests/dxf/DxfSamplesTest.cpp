// Real DXF files written by other programs (tests/data/dxf): each loads or is refused with one
// line, yields what the plug-in reads from it, and is written back without losing anything.

#include <gtest/gtest.h>

#include <algorithm>

#include "DxfSupport.h"
#include "host/sim/dxf/File.h"
#include "host/sim/database/SimEntities.h"

namespace velmarin::dxftest {
namespace {

using host::Attribute;
using host::BlockReference;
using host::MText;
using host::Text;
using host::sim::SimBlockTableRecord;
using host::sim::SimDatabase;

struct SampleCase {
    const char* file;
    int modelSpaceEntities;
};

const SampleCase kLoadable[] = {
    {"ASCII_R12.dxf", 3},           {"Minimal_DXF_AC1009.dxf", 0},
    {"Minimal_DXF_AC1021.dxf", 0},  {"R12_with_trash_beyond_EOF.dxf", 1},
    {"acad_table_simple.dxf", 1},   {"caret_encoding.dxf", 61},
    {"cc_dxflib.dxf", 1},           {"duplicate_handles.dxf", 145},
    {"dxf_unicode.dxf", 0},         {"empty_handles.dxf", 8},
    {"mtext_columns_R2000.dxf", 9}, {"mtext_columns_R2007.dxf", 9},
    {"mtext_columns_R2018.dxf", 3}, {"multi_insert_with_attribs.dxf", 1},
    {"small_r14.dxf", 0},           {"text_alignments.dxf", 58},
    {"real_layout_r2010.dxf", 3},
};

std::vector<std::string> MTextContents(const SimDatabase& db) {
    std::vector<std::string> contents;
    for (const host::Entity* entity : ModelSpace(db)) {
        if (const auto* mtext = dynamic_cast<const MText*>(entity)) {
            contents.push_back(mtext->contents());
        }
    }
    return contents;
}

TEST(DxfSamples, EachLoadsAndIsWrittenBackUnchanged) {
    for (const SampleCase& sample : kLoadable) {
        SCOPED_TRACE(sample.file);
        const std::string bytes = Sample(sample.file);
        ASSERT_TRUE(host::sim::LooksLikeDxf(bytes));
        const auto db = Load(bytes, sample.file);
        ASSERT_NE(db, nullptr);
        EXPECT_EQ(static_cast<int>(ModelSpace(*db).size()), sample.modelSpaceEntities);
        EXPECT_EQ(db->openObjectCount(), 0);

        // Nothing the emulator changed: the very bytes, up to the end-of-file marker.
        const std::string written = host::sim::WriteDxf(*db);
        // What follows the end-of-file marker is no part of the drawing.
        const std::size_t eof = bytes.find("\nEOF\n");
        const bool trailing = eof != std::string::npos && eof + 5 < bytes.size();
        EXPECT_EQ(written, trailing ? bytes.substr(0, eof + 5) : bytes);

        // And the file written reads as the same drawing.
        const auto again = Load(written, sample.file);
        ASSERT_NE(again, nullptr);
        EXPECT_EQ(Described(*again), Described(*db));
    }
}

// A drawing as editors write them (tests/data/dxf/real_layout.py): a parts list whose proxy
// graphics hold lightweight polyline records, border first, and a frame left mirrored.
TEST(DxfSamples, RealLayoutProxyAndMirroredFrameInWorldCoordinates) {
    const auto db = Load(Sample("real_layout_r2010.dxf"), "real_layout_r2010.dxf");
    ASSERT_NE(db, nullptr);
    const std::vector<const host::Entity*> entities = ModelSpace(*db);
    ASSERT_EQ(entities.size(), 3u);

    const auto* proxy = dynamic_cast<const host::sim::SimProxyEntity*>(entities[0]);
    ASSERT_NE(proxy, nullptr);
    std::vector<std::string> parts;
    for (const auto& part : proxy->parts()) {
        std::string line = part->layer() + " ";
        if (const auto* polyline = dynamic_cast<const host::Polyline*>(part.get())) {
            for (const host::Point3& p : polyline->points()) {
                line += "(" + std::to_string(p.x) + "," + std::to_string(p.y) + "," +
                        std::to_string(p.z) + ")";
            }
        } else if (const auto* mtext = dynamic_cast<const MText*>(part.get())) {
            line += mtext->contents() + " at " + std::to_string(mtext->location().x);
        }
        parts.push_back(line);
    }
    const std::vector<std::string> expected = {
        "BOM (0.000000,0.000000,0.000000)(180.000000,0.000000,0.000000)"
        "(180.000000,24.000000,0.000000)(0.000000,24.000000,0.000000)",
        "BOM (0.000000,8.000000,0.000000)(180.000000,8.000000,0.000000)",
        "BOM (0.000000,16.000000,0.500000)(180.000000,16.000000,0.500000)",
        "BOM (15.000000,0.000000,0.000000)(15.000000,24.000000,0.000000)",
        "BOM " + G("序号") + " at 2.000000",
        "BOM " + G("名称") + " at 17.000000",
        "BOM 1 at 2.000000",
        "BOM " + G("轴承座 O'Ring") + " at 17.000000",
    };
    EXPECT_EQ(parts, expected);

    // The mirrored frame and its text: extents and position in world coordinates.
    host::Extents frame;
    ASSERT_EQ(entities[1]->getGeomExtents(frame), host::eOk);
    EXPECT_DOUBLE_EQ(frame.minPoint.x, 100);
    EXPECT_DOUBLE_EQ(frame.minPoint.y, 50);
    EXPECT_DOUBLE_EQ(frame.maxPoint.x, 520);
    EXPECT_DOUBLE_EQ(frame.maxPoint.y, 347);
    const auto* label = dynamic_cast<const Text*>(entities[2]);
    ASSERT_NE(label, nullptr);
    EXPECT_DOUBLE_EQ(label->position().x, 510);
    EXPECT_DOUBLE_EQ(label->position().y, 60);
}

TEST(DxfSamples, BinaryFileIsRefusedWithOneLineNamingIt) {
    std::string error;
    EXPECT_TRUE(host::sim::LooksLikeDxf(Sample("bin_dxf_r2000.dxf")));
    EXPECT_EQ(host::sim::LoadDxf(Sample("bin_dxf_r2000.dxf"), "D:\\in\\bin.dxf", error), nullptr);
    EXPECT_EQ(error.rfind("D:\\in\\bin.dxf: ", 0), 0u) << error;
    EXPECT_NE(error.find("binary DXF"), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
}

TEST(DxfSamples, BlockReferenceWithAttributesAsATitleBlock) {
    const auto db = Load(Sample("multi_insert_with_attribs.dxf"));
    ASSERT_NE(db, nullptr);
    const auto entities = ModelSpace(*db);
    ASSERT_EQ(entities.size(), 1u);
    const auto* reference = dynamic_cast<const BlockReference*>(entities[0]);
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(reference->className(), "AcDbMInsertBlock");  // derived from block reference
    EXPECT_EQ(reference->layer(), "FLAGS");
    const auto* block = db->peekAs<SimBlockTableRecord>(reference->blockTableRecord());
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->getName(), "FLAG");

    std::vector<std::pair<std::string, std::string>> attributes;
    for (host::ObjectId id : reference->attributeIds()) {
        const auto* attribute = db->peekAs<Attribute>(id);
        ASSERT_NE(attribute, nullptr);
        attributes.emplace_back(attribute->tag(), attribute->textString());
    }
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"NAME", "Flag"}, {"XPOS", "x = 0.000"}, {"YPOS", "y = 0.000"}};
    EXPECT_EQ(attributes, expected);

    // The definition: a polyline, a circle and the attribute definitions.
    std::vector<std::string> classes;
    for (host::ObjectId id : block->entityIds()) {
        classes.push_back(db->peekAs<host::Entity>(id)->className());
    }
    const std::vector<std::string> definition = {
        "AcDb2dPolyline", "AcDbCircle", "AcDbAttributeDefinition", "AcDbAttributeDefinition",
        "AcDbAttributeDefinition"};
    EXPECT_EQ(classes, definition);
    const auto* tagged = db->peekAs<host::AttributeDefinition>(block->entityIds()[3]);
    EXPECT_EQ(tagged->tag(), "XPOS");
}

TEST(DxfSamples, MultilineTextsYieldTheirContentsInEveryVersion) {
    const auto r2000 = Load(Sample("mtext_columns_R2000.dxf"));
    const auto r2007 = Load(Sample("mtext_columns_R2007.dxf"));
    const auto r2018 = Load(Sample("mtext_columns_R2018.dxf"));
    ASSERT_TRUE(r2000 && r2007 && r2018);
    const auto old = MTextContents(*r2000);
    const auto newer = MTextContents(*r2018);
    EXPECT_EQ(MTextContents(*r2007), old);
    ASSERT_EQ(old.size(), 9u);
    ASSERT_EQ(newer.size(), 3u);
    // Up to 2013 each column of a text is a text of its own; the 2018 format keeps them in one
    // (its column data after group 101 is no part of the contents).
    EXPECT_EQ(old[0] + old[1] + old[2], newer[0]);
    EXPECT_EQ(old[3], newer[1]);
    EXPECT_EQ(newer[0].rfind("Lorem ipsum dolor sit amet", 0), 0u);
    EXPECT_NE(newer[0].find("amet.\\NLorem"), std::string::npos);  // format codes kept
    EXPECT_EQ(newer[0].size(), 1316u);  // chunks of group 3 joined before group 1
}

TEST(DxfSamples, CaretsAndUnicodeEscapesAreResolved) {
    const auto caret = Load(Sample("caret_encoding.dxf"));
    ASSERT_NE(caret, nullptr);
    const std::vector<std::string> contents = MTextContents(*caret);
    const auto has = [&](const std::string& text) {
        return std::find(contents.begin(), contents.end(), text) != contents.end();
    };
    EXPECT_TRUE(has("J: abc\ndef"));
    EXPECT_TRUE(has("I: abc\tdef"));
    EXPECT_TRUE(has(" : abc^def"));  // "^ " is the caret itself
    EXPECT_TRUE(
        has("^: abc\x1E"
            "def"));                  // "^^" is the control character 0x1E
    EXPECT_TRUE(has("a: abc^adef"));  // no caret escape: kept as it is
    EXPECT_FALSE(has("J: abc^Jdef"));

    // The layer "Tschüss mit \U+00FC" of a UTF-8 file: both become the GBK ü.
    const auto unicode = Load(Sample("dxf_unicode.dxf"));
    ASSERT_NE(unicode, nullptr);
    EXPECT_TRUE(unicode->layerTable().has(G("Tschüss mit ü")));

    // A release 12 file without a code page: western; GBK lacks Ä, Ü, Ö but has α, β, γ.
    const auto r12 = Load(Sample("ASCII_R12.dxf"));
    ASSERT_NE(r12, nullptr);
    const auto* block = r12->peekAs<SimBlockTableRecord>(r12->findBlock("*U1"));
    ASSERT_NE(block, nullptr);
    const auto* text = r12->peekAs<Text>(block->entityIds().at(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->textString(), "ABC\\U+00C4\\U+00DC\\U+00D6" + G("αβγ"));
}

}  // namespace
}  // namespace velmarin::dxftest
