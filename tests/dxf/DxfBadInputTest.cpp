// Damaged and unusual DXF input: each file loads what it can or is refused with one line that
// names the file and the line of the problem; nothing crashes.

#include <gtest/gtest.h>

#include "DxfSupport.h"
#include "host/sim/dxf/File.h"
#include "host/sim/database/SimEntities.h"

namespace velmarin::dxftest {
namespace {

using host::sim::LoadDxf;

const std::string kLine = Dxf({{0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "5"}, {21, "5"}});
const std::string kHead = Dxf({{0, "SECTION"}, {2, "ENTITIES"}});
const std::string kTail = Dxf({{0, "ENDSEC"}, {0, "EOF"}});

struct Refused {
    const char* what;
    std::string bytes;
    int line;
    const char* says;
};

TEST(DxfBadInput, RefusedWithOneLineNamingFileAndLine) {
    const Refused cases[] = {
        {"an empty file", "", 1, "no DXF data"},
        {"no DXF at all", "hello world\n", 1, "group code must be a whole number"},
        {"a group code that is no number", kHead + kLine + "abc\nLINE\n" + kTail, 17,
         "not \"abc\""},
        {"a group code beyond its range", kHead + "99999\nX\n" + kTail, 5, "whole number"},
        {"a group code without its value", kHead + kLine + "0\n", 17, "without its value"},
        {"a file cut short inside a section", kHead + kLine, 16, "inside the ENTITIES section"},
        {"a coordinate that is no number", kHead + "0\nLINE\n10\n1,5\n" + kTail, 8,
         "group 10 of LINE must be a number, not \"1,5\""},
        {"a polyline vertex that is no number",
         kHead + "0\nPOLYLINE\n66\n1\n0\nVERTEX\n20\nn/a\n0\nSEQEND\n" + kTail, 12,
         "group 20 of VERTEX"},
        {"a text height that is no number", kHead + "0\nTEXT\n1\nA\n40\n\n" + kTail, 10,
         "group 40 of TEXT"},
        {"proxy graphics that are no hexadecimal data",
         kHead + "0\nACAD_PROXY_ENTITY\n92\n4\n310\n0G0000\n" + kTail, 10, "hexadecimal"},
        {"a pair outside every section", "5\nAB\n0\nEOF\n", 1, "outside a section"},
        {"something else where a section belongs", "0\nENTITIES\n0\nEOF\n", 1,
         "SECTION or EOF expected"},
        {"a section without its name", "0\nSECTION\n0\nENDSEC\n", 3, "name in group 2"},
        {"a header that runs into the end marker",
         "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n0\nEOF\n", 9, "without ENDSEC"},
        {"entities without their ENDSEC", kHead + kLine + "0\nEOF\n", 18,
         "inside the ENTITIES section"},
    };
    for (const Refused& c : cases) {
        std::string error;
        EXPECT_EQ(LoadDxf(c.bytes, "D:\\bad.dxf", error), nullptr) << c.what;
        const std::string prefix = "D:\\bad.dxf:" + std::to_string(c.line) + ": ";
        EXPECT_EQ(error.rfind(prefix, 0), 0u) << c.what << ": " << error;
        EXPECT_NE(error.find(c.says), std::string::npos) << c.what << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
    }
}

TEST(DxfBadInput, UnusualButReadableFilesLoad) {
    struct Case {
        const char* what;
        std::string bytes;
        std::size_t entities;
    };
    const std::string invalidUtf8 =
        R2000File({{0, "TEXT"}, {1, "ok\xC3\x28!"}}, "ANSI_1252", {"0"}, "AC1032");
    const Case cases[] = {
        {"no end-of-file marker", kHead + kLine + "0\nENDSEC\n", 1},
        {"odd group codes in an entity", kHead + "0\nLINE\n1234\nx\n-5\ny\n10\n1\n" + kTail, 1},
        {"a number that is none in an entity the emulator does not model",
         kHead + "0\nCIRCLE\n10\nx\n40\nwide\n" + kTail, 1},
        {"a block reference without its block", kHead + "0\nINSERT\n10\n1\n" + kTail, 1},
        {"line ends of carriage returns alone",
         "0\rSECTION\r2\rENTITIES\r0\rLINE\r10\r1\r0\rENDSEC\r0\rEOF\r", 1},
        {"blank lines after the end marker", kHead + kLine + kTail + "\n\n\n", 1},
        {"comments and a byte-order mark",
         "\xEF\xBB\xBF"
         "999\nmade by hand\n" +
             kHead + kLine + kTail,
         1},
        {"invalid UTF-8 in a 2018 file", invalidUtf8, 1},
    };
    for (const Case& c : cases) {
        const auto db = Load(c.bytes, c.what);
        ASSERT_NE(db, nullptr) << c.what;
        EXPECT_EQ(ModelSpace(*db).size(), c.entities) << c.what;
        // Written back, it keeps what it held and reads again.
        const std::string written = host::sim::WriteDxf(*db);
        EXPECT_NE(Load(written, c.what), nullptr) << c.what;
    }
    // The end marker is added; odd group codes stay where they were.
    EXPECT_EQ(host::sim::WriteDxf(*Load(kHead + kLine + "0\nENDSEC\n")),
              kHead + kLine + "0\nENDSEC\n0\nEOF\n");
    const std::string odd = kHead + "0\nLINE\n1234\nx\n-5\ny\n10\n1\n" + kTail;
    EXPECT_EQ(host::sim::WriteDxf(*Load(odd)), odd);
    // What cannot be read of a UTF-8 text becomes '?'.
    const auto utf8 = Load(invalidUtf8);
    const auto* text = dynamic_cast<const host::Text*>(ModelSpace(*utf8).at(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->textString(), "ok?(!");
}

TEST(DxfBadInput, ProxyWhoseGraphicsSizeDisagreesWithItsData) {
    // Size 1000 declared, 68 bytes given: one polyline primitive of two points.
    const std::string graphics =
        "44000000"
        "01000000"
        "3C000000"
        "06000000"
        "02000000"
        "000000000000F03F"
        "0000000000000040"
        "0000000000000000"
        "0000000000000840"
        "0000000000001040"
        "0000000000000000";
    const auto db = Load(kHead + "0\nACAD_PROXY_ENTITY\n100\nAcDbProxyEntity\n92\n1000\n310\n" +
                         graphics + "\n" + kTail);
    ASSERT_NE(db, nullptr);
    const auto* proxy = dynamic_cast<const host::sim::SimProxyEntity*>(ModelSpace(*db).at(0));
    ASSERT_NE(proxy, nullptr);
    ASSERT_EQ(proxy->parts().size(), 1u);
    const auto* polyline = dynamic_cast<const host::Polyline*>(proxy->parts()[0].get());
    ASSERT_NE(polyline, nullptr);
    ASSERT_EQ(polyline->points().size(), 2u);
    EXPECT_DOUBLE_EQ(polyline->points()[1].x, 3);
    EXPECT_DOUBLE_EQ(polyline->points()[1].y, 4);

    // Data cut inside the primitive: the proxy loads without parts.
    const auto cut =
        Load(kHead + "0\nACAD_PROXY_ENTITY\n92\n60\n310\n" + graphics.substr(0, 60) + "\n" + kTail);
    ASSERT_NE(cut, nullptr);
    EXPECT_TRUE(dynamic_cast<const host::sim::SimProxyEntity*>(ModelSpace(*cut).at(0))->parts().empty());
}

TEST(DxfBadInput, DamagedCopiesOfRealFilesNeverCrash) {
    // Cut short anywhere and with bytes overwritten: each copy loads or is refused with one
    // line naming it, and a copy that loads is written and read again.
    for (const char* file :
         {"multi_insert_with_attribs.dxf", "ASCII_R12.dxf", "mtext_columns_R2018.dxf"}) {
        const std::string bytes = Sample(file);
        unsigned seed = 12345;
        for (std::size_t cut = 1; cut < bytes.size(); cut += 97) {
            std::string damaged = bytes.substr(0, cut);
            seed = seed * 1103515245u + 12345u;
            if (!damaged.empty()) damaged[seed % damaged.size()] = static_cast<char>(seed >> 16);
            std::string error;
            const auto db = LoadDxf(damaged, "copy.dxf", error);
            if (db == nullptr) {
                EXPECT_EQ(error.rfind("copy.dxf:", 0), 0u) << error;
                EXPECT_EQ(error.find('\n'), std::string::npos) << error;
                continue;
            }
            std::string again;
            EXPECT_NE(LoadDxf(host::sim::WriteDxf(*db), "copy.dxf", again), nullptr) << again;
        }
    }
}

}  // namespace
}  // namespace velmarin::dxftest
