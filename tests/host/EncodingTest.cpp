#include <gtest/gtest.h>

#include "platform/Encoding.h"

namespace velmarin::platform {
namespace {

struct Pair {
    const char* gbk;
    const char* utf8;
};

// Texts that exist in both encodings convert exactly, both ways.
TEST(Encoding, ConvertsBothWays) {
    const Pair pairs[] = {
        {"", ""},
        {"ABC-01 x=1", "ABC-01 x=1"},
        {"\xCD\xBC\xC3\xFB", "\xE5\x9B\xBE\xE5\x90\x8D"},  // 图名
        {"\xCD\xBC\xC3\xFB\xA3\xBA"
         "ABC",
         "\xE5\x9B\xBE\xE5\x90\x8D\xEF\xBC\x9A"
         "ABC"},                       // 图名：ABC
        {"\x81\x40", "\xE4\xB8\x82"},  // 丂, a trail byte that is an ASCII '@'
        {"\x81\x5C", "\xE4\xB9\x97"},  // a trail byte that is a backslash
    };
    for (const Pair& pair : pairs) {
        EXPECT_EQ(GbkToUtf8(pair.gbk), pair.utf8);
        std::string gbk;
        ASSERT_TRUE(Utf8ToGbk(pair.utf8, gbk)) << pair.utf8;
        EXPECT_EQ(gbk, pair.gbk);
    }
}

TEST(Encoding, KeepsNulBytes) {
    const std::string text("a\0b", 3);
    std::string gbk;
    ASSERT_TRUE(Utf8ToGbk(text, gbk));
    EXPECT_EQ(gbk, text);
    EXPECT_EQ(GbkToUtf8(text), text);
}

TEST(Encoding, InvalidGbkBecomesReplacementCharacter) {
    const std::string replacement = "\xEF\xBF\xBD";
    // A lead byte with a trail that cannot follow it: the ASCII byte after it survives.
    EXPECT_EQ(GbkToUtf8("A\x81 B"), "A" + replacement + " B");
    // A lead byte cut off at the end.
    EXPECT_EQ(GbkToUtf8("AB\xCD"), "AB" + replacement);
    // 0xFF is no GBK byte at all.
    EXPECT_EQ(GbkToUtf8("\xFF\xCD\xBC"), replacement + "\xE5\x9B\xBE");
}

TEST(Encoding, CharactersGbkLacksBecomeQuestionMarks) {
    std::string gbk;
    // An emoji (4 bytes) and a Hangul syllable: one '?' each, the rest kept.
    ASSERT_TRUE(
        Utf8ToGbk("a\xF0\x9F\x98\x80"
                  "b\xED\x95\x9C"
                  "c\xE5\x9B\xBE",
                  gbk));
    EXPECT_EQ(gbk, "a?b?c\xCD\xBC");
}

TEST(Encoding, RejectsInvalidUtf8) {
    const char* invalid[] = {
        "\x80",              // a lone continuation byte
        "\xE5\x9B",          // cut off
        "\xC0\xAF",          // overlong '/'
        "\xED\xA0\x80",      // a surrogate
        "\xF4\x90\x80\x80",  // above U+10FFFF
        "\xFE",
    };
    for (const char* text : invalid) {
        std::string gbk = "unchanged";
        EXPECT_FALSE(IsValidUtf8(text)) << testing::PrintToString(text);
        EXPECT_FALSE(Utf8ToGbk(text, gbk));
        EXPECT_EQ(gbk, "unchanged");
    }
    EXPECT_TRUE(IsValidUtf8("\xF0\x9F\x98\x80\xE5\x9B\xBE"));
}

}  // namespace
}  // namespace velmarin::platform
