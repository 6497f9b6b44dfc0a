// Texts of DXF files: which encoding a file's header and bytes select, and how stored texts
// become the GBK texts the plug-in reads and back.

#include <gtest/gtest.h>

#include "DxfSupport.h"
#include "host/sim/dxf/Text.h"

namespace velmarin::dxftest {
namespace {

using host::sim::dxf::CodePageOfName;
using host::sim::dxf::TextCodec;
using host::sim::dxf::TextEncoding;

TEST(DxfCodePage, NamesOfTheHeaderMapToWindowsCodePages) {
    const std::pair<const char*, int> cases[] = {
        {"ANSI_936", 936}, {"ansi_1252", 1252},  {"ANSI_950", 950}, {"dos850", 850},
        {"DOS932", 932},   {"iso8859-2", 28592}, {"big5", 950},     {"gb2312", 936},
        {"UTF8", 0},       {"ascii", 1252},      {"klingon", -1},   {"ANSI_", -1},
        {"ANSI_12x", -1},
    };
    for (const auto& [name, page] : cases) EXPECT_EQ(CodePageOfName(name), page) << name;
}

TEST(DxfCodePage, VersionHeaderAndBytesChooseTheEncoding) {
    struct Case {
        const char* version;
        const char* codePage;
        bool bytesAreUtf8;
        TextEncoding encoding;
        int page;
    };
    const Case cases[] = {
        {"AC1015", "ANSI_936", false, TextEncoding::Gbk, 936},
        {"AC1015", "ANSI_1252", false, TextEncoding::CodePage, 1252},
        {"AC1012", "dos850", false, TextEncoding::CodePage, 850},
        // Unknown or missing code pages are taken as the western one.
        {"AC1015", "ANSI_99999", false, TextEncoding::CodePage, 1252},
        {"AC1009", "", false, TextEncoding::CodePage, 1252},
        // From the 2007 format on the file is UTF-8, whatever the header says.
        {"AC1021", "ANSI_1252", false, TextEncoding::Utf8, 65001},
        {"AC1032", "ANSI_936", false, TextEncoding::Utf8, 65001},
        // A stale header: the bytes are UTF-8.
        {"AC1015", "ANSI_1252", true, TextEncoding::Utf8, 65001},
        {"AC1015", "ANSI_936", true, TextEncoding::Utf8, 65001},
    };
    for (const Case& c : cases) {
        const TextCodec codec = TextCodec::ForFile(c.version, c.codePage, c.bytesAreUtf8);
        EXPECT_EQ(codec.encoding(), c.encoding) << c.version << " " << c.codePage;
        EXPECT_EQ(codec.codePage(), c.page) << c.version << " " << c.codePage;
    }
}

TEST(DxfTextDecoding, StoredTextsBecomeGbk) {
    const TextCodec gbk = TextCodec::ForFile("AC1015", "ANSI_936", false);
    const TextCodec western = TextCodec::ForFile("AC1015", "ANSI_1252", false);
    const TextCodec utf8 = TextCodec::Utf8();
    const TextCodec big5 = TextCodec::ForFile("AC1015", "ANSI_950", false);
    struct Case {
        const TextCodec& codec;
        std::string stored;
        std::string expected;
    };
    const Case cases[] = {
        {gbk, G("图名：ABC"), G("图名：ABC")},
        // A GBK trail byte 0x5E is no caret, 0x5C no backslash.
        {gbk, "\x81\x5EJ\x95\x5CU+0041", "\x81\x5EJ\x95\x5CU+0041"},
        {utf8, "图名", G("图名")},
        {western, "Gr\xFC\xDF", "Gr" + G("ü") + "\\U+00DF"},  // GBK has ü but not ß
        {big5, "\xB9\xCF", G("圖")},
        // Escapes of Unicode characters and of double-byte characters of Asian code pages.
        {western, "\\U+56FE\\U+540D", G("图名")},
        {western, "\\M+5CDBC", G("图")},
        {western, "\\M+1889F", G("亜")},
        {utf8, "\\U+D83D\\U+DE00", "\\U+D83D\\U+DE00"},  // GBK lacks it: the escape stays
        {utf8, "\\U+12", "\\U+12"},                      // not an escape
        // Carets: control characters, the caret itself; others stay as they are.
        {utf8, "a^Jb^Ic^ d^?", "a\nb\tc^d\x7F"},
        {utf8, "abc^adef", "abc^adef"},
        // Invalid UTF-8 in a UTF-8 file: what cannot be read becomes '?'.
        {utf8, "ok\xFF\xC3", "ok??"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.codec.toGbk(c.stored), c.expected) << c.stored;
}

TEST(DxfTextDecoding, MultilineTextKeepsFormatCodesAndEscapedBackslashes) {
    const TextCodec utf8 = TextCodec::Utf8();
    EXPECT_EQ(utf8.toGbk("{\\fSimSun;\\P名称}", true), G("{\\fSimSun;\\P名称}"));
    EXPECT_EQ(utf8.toGbk("\\\\U+0041", true), "\\\\U+0041");
    EXPECT_EQ(utf8.toGbk("\\\\U+0041", false), "\\A");
}

TEST(DxfTextEncoding, GbkTextsGoBackToEachEncodingAndReadTheSame) {
    const TextCodec codecs[] = {TextCodec::ForFile("AC1015", "ANSI_936", false), TextCodec::Utf8(),
                                TextCodec::ForFile("AC1015", "ANSI_1252", false),
                                TextCodec::ForFile("AC1015", "ANSI_932", false)};
    const std::string texts[] = {"plain", G("技术要求：未注倒角C1"), "tab\there^caret\n",
                                 G("Grüße") /* ü in GBK, the rest ASCII */, G("αβ图") + "\\U+00DF"};
    for (const TextCodec& codec : codecs) {
        for (const std::string& text : texts) {
            const std::string stored = codec.fromGbk(text);
            EXPECT_EQ(stored.find_first_of("\r\n"), std::string::npos) << text;
            EXPECT_EQ(codec.toGbk(stored), text) << codec.codePage() << ": " << stored;
        }
    }
    // Where the code page lacks a character it is stored as its escape.
    EXPECT_EQ(TextCodec::ForFile("AC1015", "ANSI_1252", false).fromGbk(G("图A")), "\\U+56FEA");
    EXPECT_EQ(TextCodec().fromGbk("a^b\r"), "a^ b^M");
}

}  // namespace
}  // namespace velmarin::dxftest
