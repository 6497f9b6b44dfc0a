#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "util/TdaFunc.h"

namespace velmarin {
namespace {

TEST(TextOps, FindNoCaseMatchesWholeCharacters) {
    const TdaFunc func;
    const std::vector<std::tuple<std::string, std::string, int>> cases = {
        {"=", "key=a=b", 3},
        {"=", "none", -1},
        {"openfile", "[OPENFILE]", 1},
        {"A", "\x81\x61", -1},  // 0x61 is the trail of a GBK character, not an "a"
        {"A",
         "\x81\x61"
         "a",
         2},
        {"\xB1\xED", "x\xB1\xED", 1}};
    for (const auto& [needle, haystack, at] : cases) {
        EXPECT_EQ(func.FindNoCase(needle, haystack), at) << haystack;
    }
    EXPECT_EQ(func.CompareNoCase("OpenFile", "openfile"), 0);
    EXPECT_NE(func.CompareNoCase("\x81\x61", "\x81\x41"), 0);
}

TEST(TextOps, PlanePointMirrorsXAndAddsY) {
    const TdaFunc func;
    const std::vector<std::tuple<std::string, double, double>> cases = {
        {"10,20,30", 90, 70}, {"10,20", 90, 50},  // y needs a comma after it
        {"10", 100, 50},      {" 1.5 , 2.5,", 98.5, 52.5},
        {"abc,5,", 100, 55},  {"-10,-20,", 110, 30}};
    for (const auto& [text, x, y] : cases) {
        host::Point3 result{-1, -1, -1};
        func.ParsePlanePoint(text, result, host::Point3{100, 50, 7});
        EXPECT_DOUBLE_EQ(result.x, x) << text;
        EXPECT_DOUBLE_EQ(result.y, y) << text;
        EXPECT_DOUBLE_EQ(result.z, 7) << text;
    }
}

TEST(TextOps, LeadingIntNeedsAComma) {
    const TdaFunc func;
    const std::vector<std::pair<std::string, int>> cases = {
        {"12,34", 12}, {"12", 0}, {" -7,x", -7}, {"x,1", 0}, {"99999999999999999999,", INT_MAX}};
    for (const auto& [text, value] : cases) EXPECT_EQ(func.ParseLeadingInt(text), value) << text;
}

}  // namespace
}  // namespace velmarin
