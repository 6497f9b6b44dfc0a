#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <tuple>
#include <vector>

#include "print/PrintFlowFile.h"

namespace velmarin::print {
namespace {

TEST(SectionCodeOfTest, OnlyTheExactHeaderLinesCount) {
    EXPECT_EQ(SectionCodeOf("[workflow]"), 1);
    EXPECT_EQ(SectionCodeOf("[PrintFlow]"), 2);
    EXPECT_EQ(SectionCodeOf("[CheckField]"), 3);
    for (const char* entry : {"[Workflow]", " [workflow]", "[workflow] ", "[printflow]",
                              "[CHECKFIELD]", "[workflow]x", "", "[]"}) {
        EXPECT_EQ(SectionCodeOf(entry), -1) << entry;
    }
}

struct EntryCase {
    const char* name;
    std::string line;
    int section;
    std::string text;
    double x, y;
    int height, fit;
};

class EntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EntryTest, IsPlacedFromTheFrameCorner) {
    const EntryCase& c = GetParam();
    const PrintFlowEntry entry = ParsePrintFlowEntry(c.line, {420, 0, 0}, c.section);
    EXPECT_EQ(entry.text, c.text);
    EXPECT_DOUBLE_EQ(entry.position.x, c.x);
    EXPECT_DOUBLE_EQ(entry.position.y, c.y);
    EXPECT_DOUBLE_EQ(entry.position.z, 0.0);
    EXPECT_EQ(entry.height, c.height);
    EXPECT_EQ(entry.fitLength, c.fit);
}

// 设计 and 已审 in GBK.
const std::string kDesign = "\xC9\xE8\xBC\xC6";
const std::string kChecked = "\xD2\xD1\xC9\xF3";

INSTANTIATE_TEST_SUITE_P(
    Lines, EntryTest,
    ::testing::Values(
        EntryCase{"Full", kDesign + "=100,20,5,0," + kChecked, 3, kChecked, 320, 20, 5, 0},
        EntryCase{"FourParts", "k=1,2,3,4", 0, "4", 419, 2, 3, 0},
        EntryCase{"WorkflowCommas", "w=1,2,3,4,A,B", 1, "A B", 419, 2, 3, 4},
        EntryCase{"OtherCommasStay", "w=1,2,3,4,A,B", 2, "A,B", 419, 2, 3, 4},
        EntryCase{"Empty", "", 1, "", 420, 0, 0, 0},
        EntryCase{"NoKey", "1,2,3,4,t", 0, "t", 419, 2, 3, 4},
        EntryCase{"FirstEqualsOnly", "k=5,6,0,0,x=y", 0, "x=y", 415, 6, 0, 0},
        EntryCase{"NegativeOffsets", "k=-10,-5,2,0,t", 0, "t", 430, -5, 2, 0},
        // Numbers that are no finite offset leave the text at the corner.
        EntryCase{"Overflow", "k=1e400,-1e400,2,0,t", 0, "t", 420, 0, 2, 0},
        EntryCase{"NotANumber", "k=-nan,nan,2,0,t", 0, "t", 420, 0, 2, 0},
        EntryCase{"HugeInts", "k=0,0,99999999999,-99999999999,t", 0, "t", 420, 0, 2147483647,
                  -2147483647 - 1},
        EntryCase{"LoneLeadByteAtEnd", "k=1,2,3,4,AB\x81", 0, "AB\x81", 419, 2, 3, 4}),
    [](const ::testing::TestParamInfo<EntryCase>& p) { return p.param.name; });

TEST(EntryTest, AnOffsetThatOverflowsAtTheCornerLeavesTheCorner) {
    const PrintFlowEntry entry =
        ParsePrintFlowEntry("k=-1.7e308,1.7e308,0,0,t", {1.7e308, 1.7e308, 0}, 0);
    EXPECT_DOUBLE_EQ(entry.position.x, 1.7e308);
    EXPECT_DOUBLE_EQ(entry.position.y, 1.7e308);
}

TEST(PrintFlowNumbers, PlanePointMirrorsXAndAddsY) {
    const std::vector<std::tuple<std::string, double, double>> cases = {
        {"10,20,30", 90, 70}, {"10,20", 90, 50},  // y needs a comma after it
        {"10", 100, 50},      {" 1.5 , 2.5,", 98.5, 52.5},
        {"abc,5,", 100, 55},  {"-10,-20,", 110, 30},
        {"0x10,0x1p4,", 100, 50}};  // decimal only: no hexadecimal numbers
    for (const auto& [text, x, y] : cases) {
        host::Point3 result{-1, -1, -1};
        ParsePlanePoint(text, result, host::Point3{100, 50, 7});
        EXPECT_DOUBLE_EQ(result.x, x) << text;
        EXPECT_DOUBLE_EQ(result.y, y) << text;
        EXPECT_DOUBLE_EQ(result.z, 7) << text;
    }
}

TEST(PrintFlowNumbers, LeadingIntNeedsAComma) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"12,34", 12}, {"12", 0}, {" -7,x", -7}, {"x,1", 0}, {"99999999999999999999,", INT_MAX},
        {"0x10,", 0}};
    for (const auto& [text, value] : cases) EXPECT_EQ(ParseLeadingInt(text), value) << text;
}

}  // namespace
}  // namespace velmarin::print
