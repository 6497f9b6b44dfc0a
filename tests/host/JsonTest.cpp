#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "host/sim/Json.h"

namespace velmarin::host::sim::json {
namespace {

TEST(Json, ReadsNestedValuesWithTheirPlaces) {
    Value root;
    ParseError error;
    ASSERT_TRUE(
        Parse("\xEF\xBB\xBF{\"a\": [1, -2.5e1, true, null],\n \"b\": {\"c\": "
              "\"x\\u00e9\\ud83d\\ude00\"}}",
              root, error))
        << error.message;
    ASSERT_TRUE(root.is(Kind::Object));
    const Value* a = root.find("a");
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->items.size(), 4u);
    EXPECT_EQ(a->items[1].number, -25.0);
    EXPECT_TRUE(a->items[2].boolean);
    EXPECT_TRUE(a->items[3].is(Kind::Null));
    const Value* c = root.find("b")->find("c");
    EXPECT_EQ(c->string, "x\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(c->line, 2);
    EXPECT_EQ(c->column, 13);
}

struct BadInput {
    std::string text;
    int line;
    int column;
    const char* message;  // part of the message
};

TEST(Json, ReportsTheFirstProblemWithItsPlace) {
    const BadInput cases[] = {
        {"", 1, 1, "expected a value, found the end of the file"},
        {"{\"a\": [1, 2", 1, 12, "expected ',' or ']'"},
        {"{\"a\": 1,\n  \"a\": 2}", 2, 3, "duplicate member \"a\""},
        {"[1 2]", 1, 4, "expected ',' or ']', found '2'"},
        {"{\"a\": \"\xE5\x9B\xBE\n\"}", 1, 9, "byte 0x0A"},
        {std::string("[1, \0]", 6), 1, 5, "a NUL byte"},
        {"[\"abc", 1, 6, "not closed"},
        {"[\"\\x\"]", 1, 4, "unknown escape"},
        {"[\"\\ud83d\"]", 1, 9, "low surrogate"},
        {"[01]", 1, 3, "expected ',' or ']'"},
        {"[1.]", 1, 4, "a digit after the decimal point"},
        {"[1e999]", 1, 2, "too large"},
        {"{} x", 1, 4, "after the end"},
        {"[tru]", 1, 2, "expected a value"},
        {"{\"a\" 1}", 1, 6, "expected ':'"},
        {"{1: 2}", 1, 2, "member name"},
        {"[\n\"\xE5\x9B\xBE\" , \"\xE5\x9B\"]", 2, 8, "not valid UTF-8"},
        {"\xEF\xBB\xBF[\xFF]", 1, 2, "not valid UTF-8"},
    };
    for (const BadInput& bad : cases) {
        Value root;
        ParseError error;
        EXPECT_FALSE(Parse(bad.text, root, error)) << bad.text;
        EXPECT_EQ(error.line, bad.line) << bad.text << ": " << error.message;
        EXPECT_EQ(error.column, bad.column) << bad.text << ": " << error.message;
        EXPECT_NE(error.message.find(bad.message), std::string::npos)
            << bad.text << ": " << error.message;
    }
}

TEST(Json, NumbersTooSmallToRepresentReadAsZero) {
    Value root;
    ParseError error;
    ASSERT_TRUE(Parse("[1e-999, -0.000001e-400, 0e999]", root, error)) << error.message;
    for (const Value& item : root.items) EXPECT_EQ(item.number, 0.0);
    EXPECT_FALSE(Parse("[0.5e310]", root, error));
    EXPECT_NE(error.message.find("too large"), std::string::npos);
}

TEST(Json, RefusesNestingBeyondItsLimitWithoutCrashing) {
    Value root;
    ParseError error;
    EXPECT_TRUE(Parse(std::string(150, '[') + std::string(150, ']'), root, error));
    EXPECT_FALSE(Parse(std::string(100000, '['), root, error));
    EXPECT_NE(error.message.find("nested too deeply"), std::string::npos);
}

TEST(Json, WritesNumbersThatReadBackExactly) {
    const double values[] = {0.0,
                             -0.0,
                             1.0,
                             -2.5,
                             0.1,
                             1.0 / 3.0,
                             1e-300,
                             123456789012345.0,
                             std::numeric_limits<double>::infinity(),
                             std::nan("")};
    for (double value : values) {
        std::string out;
        Writer(out).number(value);
        Value read;
        ParseError error;
        ASSERT_TRUE(Parse(out, read, error)) << out;
        if (std::isnan(value)) {
            EXPECT_EQ(read.number, 0.0);
        } else if (std::isinf(value)) {
            EXPECT_EQ(read.number, std::numeric_limits<double>::max());
        } else {
            EXPECT_EQ(read.number, value) << out;
        }
    }
    std::string whole;
    Writer(whole).number(420.0);
    EXPECT_EQ(whole, "420");
}

TEST(Json, WritesStringsThatReadBackExactly) {
    const std::string text = std::string("q\"b\\s/\r\n\t\x01\x1F", 12) + "\xE5\x9B\xBE";
    std::string out;
    Writer(out).string(text);
    Value read;
    ParseError error;
    ASSERT_TRUE(Parse(out, read, error)) << out;
    EXPECT_EQ(read.string, text);
}

}  // namespace
}  // namespace velmarin::host::sim::json
