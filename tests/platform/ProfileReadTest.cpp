// Reading profile files as GetPrivateProfileStringA does on Windows.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/profile/ProfileRead.h"

namespace velmarin::platform::profile {
namespace {

using namespace std::string_literals;

struct Read {
    std::string text;  // the buffer up to the returned length
    ReadResult result;
};

// Reads into a buffer of `size` bytes followed by guard bytes that must stay untouched.
Read Get(const std::string* file, const char* section, const char* key, const char* def,
         std::uint32_t size = 4096) {
    std::vector<char> buffer(size + 8, '\x7F');
    Read read;
    if (file == nullptr) {
        read.result = GetString(nullptr, section, key, def, buffer.data(), size);
    } else {
        const ProfileText text(*file);
        read.result = GetString(&text, section, key, def, buffer.data(), size);
    }
    for (std::size_t i = size; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], '\x7F') << "overrun";
    if (size > 0) {
        EXPECT_EQ(buffer[read.result.length], '\0');
    }
    read.text.assign(buffer.data(), read.result.length);
    return read;
}

std::string Value(const std::string& file, const char* section, const char* key) {
    return Get(&file, section, key, "D").text;
}

struct Case {
    std::string file;
    const char* section;
    const char* key;
    std::string expected;  // "D" is the default
};

void Check(const std::vector<Case>& cases) {
    for (const auto& c : cases) {
        EXPECT_EQ(Value(c.file, c.section, c.key), c.expected)
            << "file \"" << c.file << "\" section \"" << c.section << "\" key \"" << c.key << "\"";
    }
}

TEST(ProfileRead, SectionHeadersAndMatching) {
    Check({
        {"[Sec]\r\nk=v", "Sec", "k", "v"},
        {"  [ Sec \t]\r\nk=v", "Sec", "k", "v"},
        {"[Sec   \r\nk=v", "Sec", "k", "v"},  // no ']': the name runs to the line end
        {"[Sec]k=x\r\nk=v", "Sec", "k", "v"},
        {"[a]b]\r\nk=v", "a", "k", "v"},
        {"[a]b]\r\nk=v", "a]b", "k", "D"},
        {"[[x]\r\nk=v", "[x", "k", "v"},
        {"['x']\r\nk=v", "'x'", "k", "v"},
        {"[]\r\nk=v", "", "k", "v"},
        {"Sec]\r\nk=v", "Sec", "k", "D"},
        {"\xEF\xBB\xBF[Sec]\r\nk=v", "Sec", "k", "D"},  // a UTF-8 BOM spoils line 1
        {"[Sec]\r\nk=v", "  Sec ", "k", "v"},
        {"[Sec]\r\nk=v", "\tSec", "k", "D"},  // only spaces are trimmed from the parameter
        {"[SeC]\r\nk=v", "sEc", "k", "v"},
        {"[\x81\x41]\r\nk=v", "\x81\x61", "k", "D"},  // a trail byte is never folded
        {"[\x81\x41]\r\nk=v", "\x81\x41", "k", "v"},
        {"[\xB1\x5D]\r\nk=v", "\xB1\x5D", "k", "v"},  // 0x5D as a trail byte is no ']'
        {"[S]\r\n[S]\r\nk=v", "S", "k", "D"},         // only the first [S] is searched
        {"[S]\r\nk=1\r\n[T]\r\n[s]\r\nk=2\r\nj=3", "S", "j", "D"},
        {"k=a\r\n[]\r\nk=b", "", "k", "b"},  // lines before the first header are unreachable
        {"k=a\r\n[S]\r\nk=b", "", "k", "D"},
        {"[S]\rk=cr\r[T]\rk=t", "S", "k", "cr"},
        {"[S]\nk=lf\n[T]\nk=t", "T", "k", "t"},
        {"[S]\r\r\nk=v", "S", "k", "v"},
    });
}

TEST(ProfileRead, KeyAndCommentLines) {
    Check({
        {"[s]\r\n;k=v", "s", ";k", "D"},
        {"[s]\r\n ;k=v", "s", ";k", "D"},
        {"[s]\r\n\t;k=v", "s", "\t;k", "D"},
        {"[s]\r\n#k=v", "s", "#k", "v"},
        {"[s]\r\n  k  =v", "s", "k", "v"},
        {"[s]\r\nthis;is=x", "s", "this;is", "x"},
        {"[s]\r\n\"q\"=x", "s", "\"q\"", "x"},
        {"[s]\r\nk\r\nj=1", "s", "k", "D"},  // a line without '=' is no key
        {"[s]\r\n=val", "s", "", "val"},
        {"[s]\r\nk=1\r\nk=2", "s", "k", "1"},
        {"[s]\r\nk=v", "s", " k  ", "v"},
        {"[s]\r\nk=v", "s", "\tk", "D"},
        {"[s]\r\na=b=c", "s", "a", "b=c"},
        {"[s]\r\nKEY=v", "s", "key", "v"},
        {"[s]\r\n\xD6\xD0=v", "s", "\xD6\xD0", "v"},
    });
}

TEST(ProfileRead, ValueTrimmingAndQuotes) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"  value  ", "value"},
        {"\t v \v", "v"},
        {"diet ;gag", "diet ;gag"},  // no inline comments
        {";x", ";x"},
        {"  \"   v   \"  ", "   v   "},
        {"'v'", "v"},
        {"\"'v'\"", "'v'"},
        {"\"v'", "\"v'"},
        {"'\"v'\"", "'\"v'\""},
        {"\"\"", ""},
        {"\"", "\""},
        {"", ""},  // an empty value is not the default
        {"ab\0cd"s, "ab"},
        {"\xD6\xD0\xCE\xC4 ", "\xD6\xD0\xCE\xC4"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(Value("[s]\r\nk=" + text + "\r\n", "s", "k"), expected) << text;
    }
}

TEST(ProfileRead, DefaultValueAndMissingFile) {
    const std::string file = "[s]\r\nk=v\r\n";
    const std::vector<std::pair<const char*, std::string>> defaults = {
        {"def  ", "def"}, {"one two  ", "one two"}, {"\tdef\t", "\tdef\t"}, {"   ", ""},
        {nullptr, ""},    {"  lead", "  lead"},     {"x\r\n", "x\r\n"},
    };
    for (const auto& [def, expected] : defaults) {
        EXPECT_EQ(Get(nullptr, "s", "k", def).text, expected);
        EXPECT_EQ(Get(&file, "s", "missing", def).text, expected);
        EXPECT_EQ(Get(&file, "missing", "k", def).text, expected);
    }
}

TEST(ProfileRead, BufferLimitsAndLengthWrap) {
    const std::string file = "[s]\r\nk=val1\r\n";
    struct Limit {
        std::uint32_t size;
        std::string text;
        bool more;
    };
    for (const auto& [size, text, more] :
         std::vector<Limit>{{5, "val1", false}, {4, "val", true}, {2, "v", true}, {1, "", true}}) {
        const Read read = Get(&file, "s", "k", "", size);
        EXPECT_EQ(read.text, text) << size;
        EXPECT_EQ(read.result.moreData, more) << size;
    }
    EXPECT_EQ(Get(&file, "s", "x", "abcdef", 3).text, "ab");

    char untouched[4] = {'a', 'b', 'c', 'd'};
    const ProfileText text(file);
    EXPECT_EQ(GetString(&text, "s", "k", "", untouched, 0).length, 0u);
    EXPECT_EQ(std::string(untouched, 4), "abcd");

    for (const auto& [length, returned] : std::vector<std::pair<std::size_t, std::size_t>>{
             {65535, 65535}, {65536, 0}, {65537, 1}, {70000, 70000 - 65536}}) {
        const std::string big = "[s]\r\nk=" + std::string(length, 'x') + "\r\n";
        EXPECT_EQ(Get(&big, "s", "k", "D", 200000).result.length, returned) << length;
    }
}

TEST(ProfileRead, EnumeratesSectionsAndKeys) {
    const std::string file =
        "x=0\r\n[a]\r\nk1=1\r\n;c=2\r\nno equals\r\nk1=3\r\nk2=\r\n[b]\r\n[a]\r\nk9=9";
    struct Enumeration {
        const char* section;
        std::uint32_t size;
        std::string text;
        std::uint32_t length;
    };
    for (const auto& e : std::vector<Enumeration>{
             {nullptr, 100, "a\0b\0a\0\0"s, 6},
             {nullptr, 5, "a\0b\0\0"s, 3},
             {nullptr, 4, "a\0\0\0"s, 2},
             {nullptr, 1, "\0"s, 0},
             {"A", 100, "k1\0k1\0k2\0\0"s, 9},  // duplicates twice, no comments or bare lines
             {"a", 6, "k1\0k\0\0"s, 4},
         }) {
        std::vector<char> buffer(e.size, '\x7F');
        const ProfileText text(file);
        const ReadResult result = GetString(&text, e.section, nullptr, "D", buffer.data(), e.size);
        EXPECT_EQ(result.length, e.length) << e.size;
        EXPECT_EQ(std::string(buffer.data(), std::min<std::size_t>(e.text.size(), e.size)), e.text);
    }
    EXPECT_EQ(Get(&file, "b", nullptr, "none").text, "none");  // a section without keys
    EXPECT_EQ(Get(&file, "zz", nullptr, "none").text, "none");
}

TEST(ProfileRead, ByteOrderMarksAndRawBytes) {
    Check({
        {"\xEF\xBB\xBFk=v\r\n[S]\r\nk=w", "S", "k", "w"},  // later sections still work
        {"\xEF\xBB\xBFk=v\r\n[S]\r\nk=w", "", "k", "D"},
        {"\xFF\xFE[\0S\0]\0\r\0\n\0k\0=\0v\0"s, "S", "k", "D"},           // UTF-16LE is not read
        {"[S]\r\nk=\xE4\xB8\xAD\x81\r\n", "S", "k", "\xE4\xB8\xAD\x81"},  // bytes as they are
        {"[S]\r\n\x81\r\nk=v", "S", "k", "v"},  // a lone lead byte does not swallow a line end
    });
}

TEST(ProfileRead, FindValueHasNoBufferLimit) {
    const ProfileText text("[Key\\Path]\r\nName = \"" + std::string(70000, 'y') + "\"\r\n");
    const auto value = FindValue(text, "key\\path", "NAME");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->size(), 70000u);
    EXPECT_FALSE(FindValue(text, "key\\path", "other").has_value());
    EXPECT_FALSE(FindValue(text, "key", "Name").has_value());
}

}  // namespace
}  // namespace velmarin::platform::profile
