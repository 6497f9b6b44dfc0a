#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "util/Lines.h"

namespace velmarin {
namespace {

using Texts = std::vector<std::string>;

Texts Lines(const std::string& contents) {
    Texts lines;
    text::ForEachLine(contents, [&](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

TEST(Lines, EndInLfOrCrLfAndTheLastNeedsNone) {
    const std::vector<std::pair<std::string, Texts>> cases = {
        {"", {}},
        {"\n", {""}},
        {"a", {"a"}},
        {"a\n", {"a"}},
        {"a\r\nb", {"a", "b"}},
        {"a\n\n", {"a", ""}},
        {"x\r\n\r\ny\r\n", {"x", "", "y"}},
        {"a\rb\r", {"a\rb\r"}},  // a carriage return not ending a line stays in it
        {"a\rb\n", {"a\rb"}},
        {"a\r\r\nb\r\n", {"a\r", "b"}},
        {std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
    };
    for (const auto& [contents, lines] : cases) EXPECT_EQ(Lines(contents), lines) << contents;
}

}  // namespace
}  // namespace velmarin
