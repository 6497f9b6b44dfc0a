// Title-block reading by attributes through the template named in vord.ini.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/DrawingWorld.h"

namespace velmarin::testing {
namespace {

class TitleBlockTest : public DrawingWorld {
  protected:
    std::vector<PropertyRecord> readTitleBlock() {
        return ReadTitleBlock(templatePath());
    }
};

TEST_F(TitleBlockTest, CollectsWantedAttributesOfEveryTitleBlockInStoredOrder) {
    // [Info] asks for text mode, which the save commands ignore: they always read attributes.
    useTemplate(
        "[COUNT]\nBLOCKCOUNT=2\n[BLOCK1]\nBLOCK_NAME=TK-A3\nTH=图号\nTM=图名\nCL=材料\nZZ=\n"
        "[BLOCK2]\nBLOCK_NAME=TK-A4\nTM=名称\n[Info]\nBlockPty=false\nTextChar=：\n");
    openDrawing("D:\\work\\A.dwg",
                Drawing({BlockRef("OTHER", {{"TM", "不要"}}),
                         BlockRef("TK-A3", {{"th", "A-00"},
                                            {"TM", "总装图"},
                                            {"ZZ", "unwanted"},
                                            {"XX", "unlisted"},
                                            {"CL", ""}}),
                         R"({"type": "text", "text": "图名：文字"})",
                         R"({"type": "blockref", "block": "TK-A4", "attributes": [
                              {"tag": "TM", "text": "erased", "erased": true},
                              {"tag": "TM", "text": "第二"}]})"}));
    const std::vector<PropertyRecord> expected = {{G("图号"), "A-00", "0"},
                                                  {G("图名"), G("总装图"), "0"},
                                                  {G("材料"), "", "0"},
                                                  {G("名称"), G("第二"), "0"}};
    EXPECT_EQ(readTitleBlock(), expected);
}

TEST_F(TitleBlockTest, BlockNameMatchesExactlyAndTheLowerEntryWins) {
    useTemplate(
        "[COUNT]\nBLOCKCOUNT=3\n[BLOCK1]\nBLOCK_NAME=tk-a3\nTM=小写\n[BLOCK2]\nBLOCK_NAME=TK\n"
        "TM=第二节\n[BLOCK3]\nBLOCK_NAME=TK\nTM=第三节\n");
    openDrawing("D:\\work\\A.dwg", Drawing({BlockRef("TK-A3", {{"TM", "x"}})}));
    EXPECT_TRUE(readTitleBlock().empty());

    std::string section = "untouched";
    EXPECT_FALSE(findTitleBlockSection("TK-A3", section));
    EXPECT_EQ(section, "untouched");
    EXPECT_TRUE(findTitleBlockSection("TK", section));
    EXPECT_EQ(section, "BLOCK2");

    // The template is read afresh: an edit counts at once.
    useTemplate("[COUNT]\nBLOCKCOUNT=1\n[BLOCK1]\nBLOCK_NAME=TK-A3\nTM=图名\n");
    EXPECT_TRUE(findTitleBlockSection("TK-A3", section));
    EXPECT_EQ(section, "BLOCK1");
}

TEST_F(TitleBlockTest, BlockCountIsALeadingNumber) {
    struct Case {
        const char* countLines;
        bool found;
    };
    const Case cases[] = {
        {"[COUNT]\nBLOCKCOUNT=0\n", false},  {"", false},
        {"[COUNT]\nBLOCKCOUNT=x1\n", false}, {"[COUNT]\nBLOCKCOUNT=\n", false},
        {"[COUNT]\nBLOCKCOUNT=-3\n", false}, {"[COUNT]\nBLOCKCOUNT=1x\n", true},
        {"[COUNT]\nBLOCKCOUNT= 2\n", true},
    };
    openDrawing("D:\\work\\A.dwg", Drawing({BlockRef("TK", {{"TM", "x"}})}));
    for (const Case& c : cases) {
        useTemplate(std::string(c.countLines) + "[BLOCK1]\nBLOCK_NAME=TK\nTM=图名\n");
        EXPECT_EQ(readTitleBlock().size(), c.found ? 1u : 0u) << c.countLines;
    }
}

TEST_F(TitleBlockTest, OnlyEntriesUpToTheCountAreLookedAtHoweverLargeItIs) {
    useTemplate(
        "[COUNT]\nBLOCKCOUNT=2000000000\n[block1999999999]\nBLOCK_NAME=FAR\n[BLOCK07]\n"
        "BLOCK_NAME=PADDED\n");
    std::string section;
    EXPECT_TRUE(findTitleBlockSection("FAR", section));
    EXPECT_EQ(section, "BLOCK1999999999");
    // "BLOCK07" is not the section of entry 7.
    EXPECT_FALSE(findTitleBlockSection("PADDED", section));
    // An entry without a section has an empty name.
    EXPECT_TRUE(findTitleBlockSection("", section));
    EXPECT_EQ(section, "BLOCK1");

    useTemplate("[COUNT]\nBLOCKCOUNT=1\n[BLOCK2]\nBLOCK_NAME=FAR\n");
    EXPECT_FALSE(findTitleBlockSection("FAR", section));
}

TEST_F(TitleBlockTest, NoLimitOnTheNumberOfProperties) {
    std::string ini = "[COUNT]\nBLOCKCOUNT=1\n[BLOCK1]\nBLOCK_NAME=BIG\n";
    std::vector<std::pair<std::string, std::string>> attributes;
    for (int i = 0; i < 700; ++i) {
        ini += "T" + std::to_string(i) + "=P" + std::to_string(i) + "\n";
        attributes.push_back({"T" + std::to_string(i), "v" + std::to_string(i)});
    }
    useTemplate(ini);
    openDrawing("D:\\work\\Big.dwg", Drawing({BlockRef("BIG", attributes)}));
    const std::vector<PropertyRecord> read = readTitleBlock();
    ASSERT_EQ(read.size(), 700u);
    EXPECT_EQ(read[699], (PropertyRecord{"P699", "v699", "0"}));
}

TEST_F(TitleBlockTest, TemplatePathComesFromTheBptSection) {
    useTemplate("[COUNT]\nBLOCKCOUNT=1\n[BLOCK1]\nBLOCK_NAME=TK\nTM=图名\n");
    EXPECT_EQ(templatePath(), "D:\\VORD\\source\\BPT\\title.bpt");

    // Without a template name nothing names a file, and nothing is read.
    world.writeFile("D:\\VORD\\VORD.ini", "[DllReturn]\r\nreturn1=x\r\n");
    EXPECT_EQ(templatePath(), "D:\\VORD\\source\\BPT\\");
    openDrawing("D:\\work\\A.dwg", Drawing({BlockRef("TK", {{"TM", "x"}})}));
    EXPECT_TRUE(readTitleBlock().empty());
}

}  // namespace
}  // namespace velmarin::testing
