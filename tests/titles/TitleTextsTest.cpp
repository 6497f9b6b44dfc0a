// Title texts: splitting labels from values, format codes, and text-mode readings of model space.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "drawing/TitleTextReader.h"
#include "support/DrawingWorld.h"

namespace velmarin::testing {
namespace {

TEST(StripTextFormatting, RemovesParagraphCodesAndFormatGroupsOnly) {
    const struct {
        std::string in;
        std::string out;
    } cases[] = {
        {"{\\fSimSun\\|b0\\|i0\\|c134\\|p2;" + G("图名") + "}", G("图名")},
        {"\\P " + G("名称") + " ", G("名称")},
        {"A{\\H0.7x;B}C", "ABC"},
        {"PUMP", "PUMP"},
        {"\\PPUMP\\P", "PUMP"},
        {" \\P \\P x \\P\\P ", "x"},
        {"P\\", "P\\"},
        {"{\\fA;{\\fB;X}}", "X"},  // nested groups unwrap over two passes
        {"{\\L}", "\\L"},          // a group without ";" keeps its code
        {"{\\fA;open", "{\\fA;open"},
        // 0x84 0x5C is one double-byte character: its trail byte and the P are no code.
        {std::string("A\x84\\P"), std::string("A\x84\\P")},
    };
    for (const auto& c : cases) EXPECT_EQ(TitleTextReader::StripTextFormatting(c.in), c.out) << c.in;
}

TEST(SplitColonText, FollowsTheColonRule) {
    const struct {
        std::string text;
        std::string name;
        std::string value;
    } cases[] = {
        {G("图名：ABC-01"), G("图名"), "ABC-01"},
        {"{\\fSimSun;" + G("图名") + "}:{\\fSimSun;ABC}", G("图名"), "ABC"},
        {G("比例") + ":1:5", G("比例"), "1:5"},
        {"{\\fSimSun;" + G("比例") + ":1:2}", G("比例"), "1:2"},  // a scale in a format group
        {G("比例：1：5"), "", G("比例：1：5")},  // a scale without an ASCII colon
        {G("图号") + ":A:B", "", ""},
        {":ABC", "", ""},
        {"a:b:c:d", "", ""},
        // B0 A3 | BA C3: the bytes A3 BA straddle two characters and are no colon.
        {G("埃好") + ":X", G("埃好"), "X"},
    };
    for (const auto& c : cases) {
        std::string name = "old";
        std::string value = "old";
        TitleTextReader::SplitColonText(c.text, name, value);
        EXPECT_EQ(name, c.name) << c.text;
        EXPECT_EQ(value, c.value) << c.text;
    }
}

TEST(SplitAtSeparator, SplitsAtTheFirstWholeSeparator) {
    std::string left;
    std::string right;
    TitleTextReader::SplitAtSeparator(G("图号：GB/T-1：2"), G("："), left, right);
    EXPECT_EQ(left, G("图号"));
    EXPECT_EQ(right, G("GB/T-1：2"));
    TitleTextReader::SplitAtSeparator("abc", "", left, right);
    EXPECT_EQ(left, "");
    EXPECT_EQ(right, "abc");
}

class TitleTextsTest : public DrawingWorld {
  protected:
    std::vector<PropertyRecord> readDrawingInfo() {
        return ReadDrawingInfo(templatePath());
    }
};

TEST_F(TitleTextsTest, FullWidthSeparatorWithPropertyNames) {
    useTemplate("[Info]\nBlockPty=false\nTextChar=：\n[PtyNames]\n图名=DWGNAME\n");
    openDrawing("D:\\work\\A.dwg", Drawing({R"({"type": "text", "text": "图名：ABC-01"})",
                                            R"({"type": "text", "text": "无分隔"})",
                                            R"({"type": "mtext", "contents": "材料：\\PQ235"})",
                                            BlockRef("TK", {{"TM", "图号：不是文字"}}),
                                            R"({"type": "text", "text": "图号：GB/T-1"})"}));
    const std::vector<PropertyRecord> expected = {
        {"DWGNAME", "ABC-01", "0"}, {G("材料"), "\\PQ235", "0"}, {G("图号"), "GB/T-1", "0"}};
    EXPECT_EQ(readDrawingInfo(), expected);
}

TEST_F(TitleTextsTest, ColonSeparatorUsesTheColonRuleForMultilineTextsOnly) {
    useTemplate("[Info]\nBlockPty=false\nTextChar=:\n");
    openDrawing("D:\\work\\A.dwg",
                Drawing({R"({"type": "mtext", "contents": "{\\fSimSun;图名}:{\\fSimSun;ABC}"})",
                         R"({"type": "mtext", "contents": "比例:1:5"})",
                         R"({"type": "mtext", "contents": "图号:A:B"})",
                         R"({"type": "mtext", "contents": "无冒号"})",
                         R"({"type": "mtext", "contents": "重量：5kg"})",
                         R"({"type": "text", "text": "{\\fSimSun;名称}: ABC "})"}));
    const std::vector<PropertyRecord> expected = {
        {G("图名"), "ABC", "0"},
        {G("比例"), "1:5", "0"},
        {"", "", "0"},
        {G("重量"), "5kg", "0"},
        {"{\\fSimSun;" + G("名称") + "}", " ABC ", "0"},
    };
    EXPECT_EQ(readDrawingInfo(), expected);
}

TEST_F(TitleTextsTest, WithoutSeparatorEveryTextIsAValue) {
    useTemplate("[Info]\nBlockPty=false\n");
    openDrawing("D:\\work\\A.dwg", Drawing({R"({"type": "text", "text": "A"})",
                                            R"({"type": "mtext", "contents": "B:C"})"}));
    const std::vector<PropertyRecord> expected = {{"", "A", "0"}, {"", "B:C", "0"}};
    EXPECT_EQ(readDrawingInfo(), expected);
}

TEST_F(TitleTextsTest, AnyOtherBlockPtyReadsAttributes) {
    for (const char* mode : {"FALSE", "", "true"}) {
        useTemplate(
            std::string("[COUNT]\nBLOCKCOUNT=1\n[BLOCK1]\nBLOCK_NAME=TK\nTM=图名\n[Info]\n") +
            "BlockPty=" + mode + "\nTextChar=：\n");
        openDrawing("D:\\work\\A.dwg", Drawing({R"({"type": "text", "text": "图号：X"})",
                                                BlockRef("TK", {{"TM", "总装图"}})}));
        const std::vector<PropertyRecord> expected = {{G("图名"), G("总装图"), "0"}};
        EXPECT_EQ(readDrawingInfo(), expected) << mode;
        world.host().closeCurrent();
    }
}

}  // namespace
}  // namespace velmarin::testing
