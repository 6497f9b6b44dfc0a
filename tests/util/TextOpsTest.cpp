#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "util/Text.h"

namespace velmarin {
namespace {

TEST(TextOps, CaseFoldedSearchMatchesWholeCharacters) {
    const std::vector<std::tuple<std::string, std::string, std::size_t>> cases = {
        {"=", "key=a=b", 3},
        {"=", "none", text::npos},
        {"openfile", "[OPENFILE]", 1},
        {"A", "\x81\x61", text::npos},  // 0x61 is the trail of a GBK character, not an "a"
        {"A",
         "\x81\x61"
         "a",
         2},
        {"\xB1\xED", "x\xB1\xED", 1}};
    for (const auto& [needle, haystack, at] : cases) {
        EXPECT_EQ(text::Find(text::ToUpperAscii(haystack), text::ToUpperAscii(needle)), at)
            << haystack;
    }
    EXPECT_EQ(text::CompareNoCase("OpenFile", "openfile"), 0);
    EXPECT_NE(text::CompareNoCase("\x81\x61", "\x81\x41"), 0);
}

TEST(TextOps, LeadingDecimalReadsSignDigitsPointAndExponentOnly) {
    const double kInf = HUGE_VAL;
    const std::vector<std::pair<std::string, double>> cases = {
        {"0x10", 0},        {"0x1p4", 0},     {"inf", 0},       {"nan", 0},    {"", 0},
        {".", 0},           {"-", 0},         {"1e3", 1000},    {"1e", 1},     {"2E+2x", 200},
        {" -.5", -0.5},     {"+7.", 7},       {"1.5e-1,2", 0.15}, {"12abc", 12}, {"1e400", kInf},
        {"-1e400", -kInf},  {"1e-400", 0},    {"\t3", 3},       {"1.2.3", 1.2}};
    for (const auto& [input, value] : cases) {
        EXPECT_DOUBLE_EQ(text::LeadingDecimal(input), value) << input;
    }
}

}  // namespace
}  // namespace velmarin
