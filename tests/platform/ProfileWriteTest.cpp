// Writing profile files as WritePrivateProfileStringA does on Windows: edits in place, new text
// in CRLF, everything else byte for byte.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/profile/ProfileRead.h"
#include "platform/profile/ProfileWrite.h"

namespace velmarin::platform::profile {
namespace {

using namespace std::string_literals;

struct Put {
    const char* section;
    const char* key;
    const char* value;
};

// Applies the calls in order to a file (nothing: the file is missing) and gives its bytes.
std::optional<std::string> Apply(std::optional<std::string> file, const std::vector<Put>& calls) {
    for (const auto& call : calls) {
        std::unique_ptr<ProfileText> text;
        if (file) text = std::make_unique<ProfileText>(*file);
        auto next = PutString(text.get(), call.section, call.key, call.value);
        if (!next) return std::nullopt;
        file = std::move(next);
    }
    return file;
}

struct Case {
    std::optional<std::string> start;
    std::vector<Put> calls;
    std::string expected;
};

void Check(const std::vector<Case>& cases) {
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto result = Apply(cases[i].start, cases[i].calls);
        ASSERT_TRUE(result.has_value()) << "case " << i;
        EXPECT_EQ(*result, cases[i].expected) << "case " << i;
    }
}

TEST(ProfileWrite, WhereNewTextGoes) {
    Check({
        {std::nullopt, {{"S", "K", "V"}}, "[S]\r\nK=V\r\n"},
        {"", {{"B", "k", "v"}}, "[B]\r\nk=v\r\n"},
        {"[A]\r\nx=1\r\n", {{"B", "k", "v"}}, "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        {"[A]\r\nx=1", {{"B", "k", "v"}}, "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        {"[A]\r\nx=1\r\n; c\r\n\r\n[B]\r\n",
         {{"A", "y", "2"}},
         "[A]\r\nx=1\r\ny=2\r\n; c\r\n\r\n[B]\r\n"},
        {"[A]\r\n; c\r\n", {{"A", "y", "2"}}, "[A]\r\ny=2\r\n; c\r\n"},
        {"[A]", {{"A", "y", "2"}}, "[A]\r\ny=2\r\n"},
        {"[A]\nx=1\n", {{"A", "y", "2"}}, "[A]\nx=1\ny=2\r\n"},
        {"[s]\r\nbare\r\n", {{"s", "k", "v"}}, "[s]\r\nk=v\r\nbare\r\n"},
        {"[s]\r\n",
         {{"s", "a", "1"}, {"s", "b", "2"}, {"s", "c", "3"}},
         "[s]\r\na=1\r\nb=2\r\nc=3\r\n"},
        // A ';' key is a comment that is never found again: each call adds a line after the
        // last key line, so the copies pile up in reverse order.
        {"[s]\r\n",
         {{"s", "z", ""}, {"s", ";y", ""}, {"s", "a", ""}, {"s", ";b", ""}, {"s", ";c", ""}},
         "[s]\r\nz=\r\na=\r\n;c=\r\n;b=\r\n;y=\r\n"},
    });
}

TEST(ProfileWrite, ReplacesValuesInPlace) {
    Check({
        {"[a]\r\nTestKey=TestValue",
         {{"A", "testkey", "TestValue2"}},
         "[a]\r\nTestKey=TestValue2\r\n"},
        {"[s]\r\n  k = old  \nj=1\n", {{"s", "k", "new"}}, "[s]\r\n  k =new\r\nj=1\n"},
        {"[s]\r\nk=1\r\nk=2\r\n", {{"s", "k", "3"}}, "[s]\r\nk=3\r\nk=2\r\n"},
        {"[s]\r\na=1\r\n[S]\r\nb=1\r\n", {{"s", "b", "2"}}, "[s]\r\na=1\r\nb=2\r\n[S]\r\nb=1\r\n"},
        {"[s]\r\nk=v\r\n", {{"s", "k", "v"}}, "[s]\r\nk=v\r\n"},
    });
}

TEST(ProfileWrite, WorkedExample) {
    const auto result =
        Apply("; settings\r\n[Main]\r\nPath=C:\\old\r\n; end of main\r\n\r\n[Other]\r\nx=1"s,
              {{"MAIN", "PATH", "C:\\new"},
               {"Main", "Mode", "fast"},
               {"New", "k", "v"},
               {"Main", "Path", nullptr},
               {"Other", nullptr, nullptr}});
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result,
              "; settings\r\n[Main]\r\nMode=fast\r\n; end of main\r\n\r\n[New]\r\nk=v\r\n");
}

TEST(ProfileWrite, ParameterText) {
    Check({
        {std::nullopt, {{" sec ", "  key  ", "v"}}, "[sec]\r\nkey=v\r\n"},
        {std::nullopt, {{"s", "k", "  v  "}}, "[s]\r\nk=  v  \r\n"},
        {std::nullopt, {{"s", "", ";x"}}, "[s]\r\n=;x\r\n"},
        {std::nullopt, {{"s", "\tk", "v"}}, "[s]\r\n\tk=v\r\n"},
        {std::nullopt, {{"s", "k", ""}}, "[s]\r\nk=\r\n"},
        {"[s]\r\nk=1\r\n", {{" s", "k ", "2"}}, "[s]\r\nk=2\r\n"},
    });
    const std::string written = *Apply(std::nullopt, {{"s", "k", "  v  "}, {"s", "", ";x"}});
    const ProfileText text(written);
    EXPECT_EQ(*FindValue(text, "s", "k"), "v");
    EXPECT_EQ(*FindValue(text, "s", ""), ";x");
}

TEST(ProfileWrite, Deletion) {
    Check({
        {"[App3]\r\nk=v\r\n", {{"App3", "k", nullptr}}, "[App3]\r\n"},
        {"[App3]\r\nk=v", {{"app3", "K", nullptr}}, "[App3]\r\n"},
        {"[s]\r\nk=v\r\n", {{"s", "absent", nullptr}, {"t", "k", nullptr}}, "[s]\r\nk=v\r\n"},
        {"[s]\r\n;k=v\r\n", {{"s", ";k", nullptr}}, "[s]\r\n;k=v\r\n"},
        {";c0\r\n[s]\r\n;c1\r\nk=1\r\n[t]\r\n;c2\r\nj=2\r\n",
         {{"s", nullptr, "x"}, {"t", nullptr, nullptr}},
         ";c0\r\n;c1\r\n;c2\r\n"},
        {"[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", {{"a", nullptr, nullptr}}, "\r\n[b]\r\ny=2\r\n"},
        {"[a]\r\nx=1\r\n[a]\r\ny=2\r\n", {{"a", nullptr, nullptr}}, "[a]\r\ny=2\r\n"},
        {std::nullopt, {{"s", "k", nullptr}}, ""},  // Windows creates an empty file
        {std::nullopt, {{"s", nullptr, nullptr}}, ""},
    });
    EXPECT_FALSE(Apply("[s]\r\n"s, {{nullptr, "k", "v"}}).has_value());
    EXPECT_FALSE(Apply("\xFF\xFE[\0s\0]\0"s, {{"s", "k", "v"}}).has_value());
    EXPECT_FALSE(Apply(std::nullopt, {{nullptr, nullptr, nullptr}}).has_value());
}

TEST(ProfileWrite, PreservesUntouchedBytes) {
    const std::string nulPrefix = "Data \0 before \0 first \0 section\n"s;
    const std::string gbk = "[\xD6\xD0]\n\xCE\xC4=\xD6\xB5\r\n; \xD7\xA2\r";
    Check({
        {nulPrefix + gbk,
         {{"\xD6\xD0", "k", "v"}},
         nulPrefix + "[\xD6\xD0]\n\xCE\xC4=\xD6\xB5\r\nk=v\r\n; \xD7\xA2\r"},
        {nulPrefix + gbk,
         {{"\xD6\xD0", "\xCE\xC4", "\xD0\xC2"}},
         nulPrefix + "[\xD6\xD0]\n\xCE\xC4=\xD0\xC2\r\n; \xD7\xA2\r"},
        {"\xEF\xBB\xBF[S]\r\nk=v", {{"S", "k", "w"}}, "\xEF\xBB\xBF[S]\r\nk=v\r\n[S]\r\nk=w\r\n"},
        {"[s]\r\nk=a\0b\r\nj=1\r\n"s, {{"s", "j", "2"}}, "[s]\r\nk=a\0b\r\nj=2\r\n"s},
    });
}

}  // namespace
}  // namespace velmarin::platform::profile
