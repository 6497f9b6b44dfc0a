// The system's own profile functions, GetPrivateProfileStringA and WritePrivateProfileStringA,
// reached through the Win32 platform as the plug-in reaches them. Each case names the Windows
// result. The project follows Windows, not Wine: a case that meets one of Wine's deviations from
// Windows names it and is checked on Windows only.

#include <gtest/gtest.h>

#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "SystemWorld.h"

namespace velmarin::testing {
namespace {

using namespace std::string_literals;

constexpr std::uint32_t kCallerBuffer = 2600;  // what the plug-in's callers pass

// Wine's deviations from Windows that the cases meet.
constexpr const char kWineNeedsBracket[] = "Wine takes no header without ']'";
constexpr const char kWineCutsAtLastBracket[] = "Wine cuts a header at its last ']'";
constexpr const char kWineHonoursByteOrderMark[] = "Wine reads a file with a UTF-8 mark as UTF-8";
constexpr const char kWineTrimsAllBlanks[] = "Wine trims tabs from a name it is given";
constexpr const char kWineHasSectionBeforeHeaders[] =
    "Wine reads the lines before the first header as a section \"\"";
constexpr const char kWineFindsCommentLines[] = "Wine finds a ';' line by its name";
constexpr const char kWineKeepsSpaceDefault[] = "Wine answers one space for an all-space default";
constexpr const char kWineTrimsWrittenValue[] = "Wine drops the leading blanks of a written value";
constexpr const char kWineKeepsTrailingSpaces[] = "Wine trims only leading spaces of new names";
constexpr const char kWineRewritesWholeFile[] =
    "Wine rewrites the whole file on each write, without blank lines, new keys after comments";

// The result on Windows, and the Wine deviation that keeps the case from being checked there.
class Expected {
  public:
    Expected(std::string windows, const char* wineDeviation = nullptr)
        : windows_(std::move(windows)), wineDeviation_(wineDeviation) {}
    Expected(const char* windows) : Expected(std::string(windows)) {}

    // False under Wine for a case that meets a deviation; says so on the test's output.
    bool checkedHere() const {
        if (wineDeviation_ == nullptr || !RunningUnderWine()) return true;
        std::cout << "[ SKIPPED  ] under Wine only: " << wineDeviation_ << '\n';
        return false;
    }
    const std::string& windows() const { return windows_; }

  private:
    std::string windows_;
    const char* wineDeviation_;
};

class ProfileFunctions : public ::testing::Test {
  protected:
    // A new file for each text: no answer can come from a copy the system kept of another.
    std::string file(const std::string& bytes) {
        const std::string name = "p" + std::to_string(++files_) + ".ini";
        folder_.write(name, bytes);
        return folder_ / name;
    }
    std::string get(const std::string& path, const char* section, const char* key,
                    const char* def = "D", std::uint32_t size = kCallerBuffer) {
        std::vector<char> buffer(size + 1, '\x7F');
        const std::uint32_t length =
            world_.platform().getProfileString(section, key, def, buffer.data(), size, path);
        return std::string(buffer.data(), length);
    }

    SystemWorld world_;
    TempFolder folder_;
    int files_ = 0;
};

TEST_F(ProfileFunctions, SectionAndKeyMatching) {
    struct Case {
        std::string file;
        const char* section;
        const char* key;
        Expected value;
    };
    const std::vector<Case> cases = {
        {"[Sec]\r\nk=v", "Sec", "k", {"v"}},
        {"  [ Sec \t]\r\nk=v", "Sec", "k", {"v"}},
        {"[Sec]k=x\r\nk=v", "Sec", "k", {"v"}},
        {"[[x]\r\nk=v", "[x", "k", {"v"}},
        {"[SeC]\r\nKEY=v", "sEc", "key", {"v"}},
        {"[Sec]\r\nk=v", "  Sec ", " k  ", {"v"}},
        {"[S]\r\n[S]\r\nk=v", "S", "k", {"D"}},  // only the first [S] is searched
        {"[s]\r\nk=1\r\nk=2", "s", "k", {"1"}},
        {"[s]\r\n#k=v", "s", "#k", {"v"}},
        {"[s]\r\nthis;is=x", "s", "this;is", {"x"}},
        {"[s]\r\n=val", "s", "", {"val"}},
        {"[s]\r\na=b=c", "s", "a", {"b=c"}},
        {"[S]\rk=cr\r[T]\rk=t", "S", "k", {"cr"}},
        {"[S]\nk=lf\n[T]\nk=t", "T", "k", {"t"}},
        {"[\xB1\x5D]\r\n\xD6\xD0=v", "\xB1\x5D", "\xD6\xD0", {"v"}},  // GBK names, 0x5D a trail
        // A header without ']' is still a header.
        {"[Sec   \r\nk=v", "Sec", "k", {"v", kWineNeedsBracket}},
        // A name ends at its first ']'.
        {"[a]b]\r\nk=v", "a", "k", {"v", kWineCutsAtLastBracket}},
        // A UTF-8 byte-order mark spoils line 1.
        {"\xEF\xBB\xBF[Sec]\r\nk=v", "Sec", "k", {"D", kWineHonoursByteOrderMark}},
        // Only spaces are trimmed from the parameter.
        {"[Sec]\r\nk=v", "\tSec", "k", {"D", kWineTrimsAllBlanks}},
        // Lines before the first header are unreachable; "[]" is a section of its own.
        {"k=a\r\n[]\r\nk=b", "", "k", {"b", kWineHasSectionBeforeHeaders}},
        {"[]\r\nk=v", "", "k", {"v", kWineHasSectionBeforeHeaders}},
        // A ';' line is a comment.
        {"[s]\r\n;k=v", "s", ";k", {"D", kWineFindsCommentLines}},
    };
    for (const Case& c : cases) {
        if (!c.value.checkedHere()) continue;
        EXPECT_EQ(get(file(c.file), c.section, c.key), c.value.windows())
            << "file \"" << c.file << "\" [" << c.section << "] " << c.key;
    }
}

TEST_F(ProfileFunctions, ValuesDefaultsAndBuffer) {
    struct Case {
        std::string valueText;  // after "k="
        Expected value;
    };
    const std::vector<Case> values = {
        {"  value  ", {"value"}},
        {"diet ;gag", {"diet ;gag"}},  // no inline comments
        {"  \"   v   \"  ", {"   v   "}},
        {"'v'", {"v"}},
        {"\"'v'\"", {"'v'"}},
        {"\"v'", {"\"v'"}},
        {"", {""}},  // an empty value is not the default
        {"\xD6\xD0\xCE\xC4 ", {"\xD6\xD0\xCE\xC4"}},
    };
    for (const Case& c : values) {
        if (!c.value.checkedHere()) continue;
        EXPECT_EQ(get(file("[s]\r\nk=" + c.valueText + "\r\n"), "s", "k"), c.value.windows())
            << c.valueText;
    }

    const std::string path = file("[s]\r\nk=val1\r\n");
    const std::string missing = folder_ / "missing.ini";
    struct Default {
        const char* given;
        Expected returned;
    };
    const std::vector<Default> defaults = {
        {"def  ", {"def"}},     {"\tdef\t", {"\tdef\t"}}, {nullptr, {""}},
        {"  lead", {"  lead"}}, {"   ", {"", kWineKeepsSpaceDefault}},  // all spaces: empty
    };
    for (const Default& d : defaults) {
        if (!d.returned.checkedHere()) continue;
        EXPECT_EQ(get(path, "s", "absent", d.given), d.returned.windows()) << d.given;
        EXPECT_EQ(get(missing, "s", "k", d.given), d.returned.windows()) << d.given;
    }

    EXPECT_EQ(get(path, "s", "k", "", 5), "val1");
    EXPECT_EQ(get(path, "s", "k", "", 4), "val");  // cut to the buffer
    EXPECT_EQ(get(path, "s", "k", "", 1), "");
    EXPECT_EQ(get(path, "s", "x", "abcdef", 3), "ab");
    EXPECT_EQ(get(file("[a]\r\nk=1\r\n[b]\r\n[a]\r\n"), nullptr, nullptr), "a\0b\0a\0"s);
}

TEST_F(ProfileFunctions, WritesPlaceTextAsTheSystemDoes) {
    struct Put {
        const char* section;
        const char* key;
        const char* value;
    };
    struct Case {
        std::optional<std::string> start;  // nothing: the file does not exist
        std::vector<Put> calls;
        Expected result;
    };
    const std::vector<Case> cases = {
        {std::nullopt, {{"S", "K", "V"}}, {"[S]\r\nK=V\r\n"}},
        {"[A]\r\nx=1\r\n", {{"B", "k", "v"}}, {"[A]\r\nx=1\r\n[B]\r\nk=v\r\n"}},
        {"[A]\r\nx=1", {{"B", "k", "v"}}, {"[A]\r\nx=1\r\n[B]\r\nk=v\r\n"}},
        {"[A]\r\nPath=old\r\n", {{"a", "PATH", "new"}}, {"[A]\r\nPath=new\r\n"}},
        {"[A]\r\nx=1\r\ny=2\r\n", {{"A", "x", nullptr}}, {"[A]\r\ny=2\r\n"}},
        {"[A]\r\nx=1\r\n[B]\r\ny=2\r\n", {{"A", nullptr, nullptr}}, {"[B]\r\ny=2\r\n"}},
        {"[S]\r\n",
         {{"S", "\xCD\xBC\xC3\xFB", "\xD6\xD0\xCE\xC4"}},
         {"[S]\r\n\xCD\xBC\xC3\xFB=\xD6\xD0\xCE\xC4\r\n"}},
        // The value is written as given.
        {std::nullopt, {{"s", "k", "  v  "}}, {"[s]\r\nk=  v  \r\n", kWineTrimsWrittenValue}},
        // Spaces are trimmed from new names.
        {std::nullopt,
         {{" sec ", "  key  ", "v"}},
         {"[sec]\r\nkey=v\r\n", kWineKeepsTrailingSpaces}},
        // The file is edited in place; blank lines stay.
        {"[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n",
         {{"A", "z", "3"}},
         {"[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n", kWineRewritesWholeFile}},
        // The worked example of a settings file edited five times: a new key goes after the
        // last key line, and the blank line stays.
        {"; settings\r\n[Main]\r\nPath=C:\\old\r\n; end of main\r\n\r\n[Other]\r\nx=1",
         {{"MAIN", "PATH", "C:\\new"},
          {"Main", "Mode", "fast"},
          {"New", "k", "v"},
          {"Main", "Path", nullptr},
          {"Other", nullptr, nullptr}},
         {"; settings\r\n[Main]\r\nMode=fast\r\n; end of main\r\n\r\n[New]\r\nk=v\r\n",
          kWineRewritesWholeFile}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        if (!c.result.checkedHere()) continue;
        const std::string path = folder_ / ("w" + std::to_string(i) + ".ini");
        if (c.start) folder_.write("w" + std::to_string(i) + ".ini", *c.start);
        for (const Put& put : c.calls) {
            EXPECT_TRUE(world_.platform().writeProfileString(put.section, put.key, put.value, path))
                << "case " << i;
        }
        std::string bytes;
        EXPECT_TRUE(folder_.read("w" + std::to_string(i) + ".ini", bytes)) << "case " << i;
        EXPECT_EQ(bytes, c.result.windows()) << "case " << i;
    }
}

TEST_F(ProfileFunctions, WriteIntoMissingFolderFailsAndCreatesNothing) {
    const std::string path = folder_ / "absent\\p.ini";
    EXPECT_FALSE(world_.platform().writeProfileString("S", "K", "V", path));
    EXPECT_FALSE(folder_.exists("absent"));
}

}  // namespace
}  // namespace velmarin::testing
