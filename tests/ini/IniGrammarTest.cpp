#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "support/MemoryPlatform.h"
#include "ini/IniDocument.h"
#include "util/Text.h"

namespace velmarin {
namespace {

using Texts = std::vector<std::string>;
using Records = std::vector<std::pair<std::string, std::string>>;

Records RecordsOf(const IniSection* section) {
    Records records;
    for (int i = 0; section != nullptr && i < section->GetRecordCount(); ++i) {
        records.emplace_back(section->GetRecordAt(i)->key,
                             section->GetRecordAt(i)->value);
    }
    return records;
}

class IniGrammar : public ::testing::Test {
  protected:
    IniDocument& load(const std::string& text) {
        os.files["D:\\s.ini"] = text;
        EXPECT_TRUE(ini.Load("D:\\s.ini"));
        return ini;
    }
    Texts sections() const {
        Texts names;
        for (int i = 0; i < ini.GetSectionCount(); ++i)
            names.push_back(ini.GetSectionAt(i)->sectionName);
        return names;
    }
    testing::MemoryPlatform os;
    IniDocument ini;
};

TEST_F(IniGrammar, HeadersNeedBracketsAtBothEndsOfTheUntrimmedLine) {
    const std::vector<std::pair<std::string, Texts>> cases = {
        {"[  a b \t]\n", {"a b"}},
        {"[]\n[a]b]\n[[x]]", {"", "a]b", "[x]"}},
        {" [a]\n[b] \n[c]", {"c"}},
        {"\xEF\xBB\xBF[a]\r\nk=v\r\n[b]\r\n", {"b"}},  // a byte-order mark hides the first header
        {"[\xB1\xED]\n[s\x81]\n", {"\xB1\xED"}},       // in the second, "]" is a GBK trail byte
        {"[a]\r\r\n[\n]\n", {}},                       // only the CR of CR LF ends a line
    };
    for (const auto& [file, names] : cases) {
        load(file);
        EXPECT_EQ(sections(), names) << file;
    }
}

TEST_F(IniGrammar, RecordsSplitAtTheFirstEqualsAndAreTrimmed) {
    const std::vector<std::pair<std::string, Records>> cases = {
        {"Key = a = b\nk=", {{"Key", "a = b"}, {"k", ""}}},
        {"before=section\n[s]\n=v\n   \nno equals\n\t=\t", {}},
        {";comment=1", {{";comment", "1"}}},
        {"A=1\nb=2\na=3", {{"A", "3"}, {"b", "2"}}},  // replaced in place, first spelling kept
        {"\x81\x61=1\n\x81\x41=2", {{"\x81\x61", "1"}, {"\x81\x41", "2"}}},  // two GBK keys
        {" \tk\v = \fv\r\nx=a\rb", {{"k", "v"}, {"x", "a\rb"}}},
        {"k=v\x81", {{"k", "v\x81"}}},  // a lone lead byte at the very end
        {std::string("k\0=v\0w", 6), {{std::string("k\0", 2), std::string("v\0w", 3)}}},
    };
    for (const auto& [body, records] : cases) {
        const std::string file = body.compare(0, 6, "before") == 0 ? body : "[s]\n" + body;
        EXPECT_EQ(RecordsOf(load(file).FindSection("s")), records) << body;
    }
}

TEST_F(IniGrammar, LookupsFollowTheFirstSectionAndTheStoredKey) {
    load("[Open]\n  File1 = x\n[other]\n[ OPEN ]\nb=2\n");
    EXPECT_EQ(sections(), (Texts{"Open", "other", "OPEN"}));
    const IniSection* open = ini.FindSection("  open\t");
    EXPECT_EQ(RecordsOf(open), (Records{{"File1", "x"}}));
    ASSERT_NE(open->FindRecord("FILE1"), nullptr);
    EXPECT_EQ(open->FindRecord(" File1"), nullptr);  // the argument is not trimmed
    EXPECT_EQ(open->GetRecordAt(-1), nullptr);
    EXPECT_EQ(open->GetRecordAt(1), nullptr);
    EXPECT_EQ(ini.FindSection("missing"), nullptr);
}

TEST_F(IniGrammar, MissingFileKeepsTheDocumentUnreadableEmptiesIt) {
    load("[first]\nk=v\n");
    EXPECT_FALSE(ini.Load("D:\\absent.ini"));
    EXPECT_EQ(sections(), (Texts{"first"}));
    os.folders.insert("D:\\folder");
    EXPECT_TRUE(ini.Load("D:\\folder"));
    EXPECT_EQ(ini.GetSectionCount(), 0);
}

TEST_F(IniGrammar, LargeInputs) {
    const std::string big(10 * 1024 * 1024, 'x');
    EXPECT_EQ(RecordsOf(load("[s]\nk=" + big + "\n" + big + "\nafter=1").FindSection("s")),
              (Records{{"k", big}, {"after", "1"}}));
    std::string many;
    for (int i = 0; i < 5000; ++i)
        many += "[S" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n";
    EXPECT_EQ(RecordsOf(load(many).FindSection("s4999")), (Records{{"k", "4999"}}));
    EXPECT_EQ(ini.GetSectionCount(), 5000);
}

// Whatever the bytes, keys stay non-empty, trimmed and unique up to case within a section.
TEST_F(IniGrammar, BinaryGarbageKeepsTheInvariants) {
    unsigned state = 12345;
    auto next = [&state] { return (state = state * 1103515245u + 12345u) >> 16; };
    const char alphabet[] = "[]=\r\n \tAaBb\x81\xB1\xED";
    int records = 0;
    for (int round = 0; round < 50; ++round) {
        std::string file;
        for (int i = 0; i < 4000; ++i) {
            file += (next() % 3 == 0) ? static_cast<char>(next() & 0xFF)
                                      : alphabet[next() % (sizeof alphabet - 1)];
        }
        load(file);
        for (int s = 0; s < ini.GetSectionCount(); ++s) {
            const IniSection& section = *ini.GetSectionAt(s);
            for (int r = 0; r < section.GetRecordCount(); ++r, ++records) {
                const IniEntry& record = *section.GetRecordAt(r);
                ASSERT_FALSE(record.key.empty());
                ASSERT_EQ(record.key, text::Trim(record.key));
                ASSERT_EQ(section.FindRecord(record.key), &record);
            }
        }
    }
    EXPECT_GT(records, 100);  // the garbage did reach the record parser
}

}  // namespace
}  // namespace velmarin
