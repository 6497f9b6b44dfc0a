// Windows paths onto the Linux file system.

#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDrive.h"
#include "platform/posix/PathResolver.h"

namespace velmarin::platform::posix {
namespace {

class PathResolverTest : public ::testing::Test {
  protected:
    PathResolverTest() : resolver_({{'d', folder_.root()}}) {
        folder_.write("VORD/VORD.ini", "");
        folder_.write("App/Temp/x.txt", "");
        folder_.write("\xD6\xD0/\xCE\xC4.ini", "");
        folder_.write("\x81\x5C.txt", "");  // 0x5C here is the trail of a GBK character
        folder_.write("Case/Dup", "");
        folder_.write("Case/DUP", "");
        // Named in UTF-8, as Linux users create them: 图纸/设计.DWG, and 图纸 in both spellings.
        folder_.write("\xE5\x9B\xBE\xE7\xBA\xB8/\xE8\xAE\xBE\xE8\xAE\xA1.DWG", "");
        folder_.write("Both/\xE5\x9B\xBE\xE7\xBA\xB8", "");
        folder_.write("Both/\xCD\xBC\xD6\xBD", "");
    }
    std::string root() const { return folder_.root(); }

    testing::TempDrive folder_;
    PathResolver resolver_;
};

TEST_F(PathResolverTest, ResolvesWindowsPaths) {
    const std::string r = root();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"D:\\VORD\\vord.ini", r + "/VORD/VORD.ini"},
        {"d:/vord/VORD.INI", r + "/VORD/VORD.ini"},
        {"D:\\App\\temp\\X.TXT", r + "/App/Temp/x.txt"},
        {"D:\\app\\NEW\\File.ini", r + "/App/NEW/File.ini"},  // what is missing keeps its spelling
        {"D:\\vord\\..\\..\\..\\app", r + "/App"},            // ".." stops at the drive
        {"D:\\.\\VORD\\.\\\\", r + "/VORD"},
        {"D:", r},
        {"D:\\", r},
        {"D:vord", r + "/VORD"},
        {"D:\\\xD6\xD0\\\xCE\xC4.INI", r + "/\xD6\xD0/\xCE\xC4.ini"},
        {"D:\\\x81\x5C.TXT", r + "/\x81\x5C.txt"},
        {"D:\\case\\Dup", r + "/Case/Dup"},  // the exact spelling wins
        {"D:\\case\\dup", r + "/Case/DUP"},  // else the smallest of the spellings
        // GBK names find UTF-8 entries; a GBK entry wins over a UTF-8 one; new names stay GBK.
        {"D:\\\xCD\xBC\xD6\xBD\\\xC9\xE8\xBC\xC6.dwg",
         r + "/\xE5\x9B\xBE\xE7\xBA\xB8/\xE8\xAE\xBE\xE8\xAE\xA1.DWG"},
        {"D:\\both\\\xCD\xBC\xD6\xBD", r + "/Both/\xCD\xBC\xD6\xBD"},
        {"D:\\\xCD\xBC\xD6\xBD\\\xD0\xC2.bmf",
         r + "/\xE5\x9B\xBE\xE7\xBA\xB8/\xD0\xC2.bmf"},
        {r + "/VORD/VORD.ini", r + "/VORD/VORD.ini"},
        {"E:\\x", ""},
        {"\\\\server\\share\\x", ""},
        {"", ""},
    };
    for (const auto& [windows, posix] : cases)
        EXPECT_EQ(resolver_.resolve(windows), posix) << windows;

    const std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(resolver_.resolve("no-such\\file.ini"), cwd + "/no-such/file.ini");
}

TEST_F(PathResolverTest, LongPathsStayWhole) {
    const std::string name(3000, 'a');
    EXPECT_EQ(resolver_.resolve("D:\\VORD\\" + name + "\\x"), root() + "/VORD/" + name + "/x");
}

TEST_F(PathResolverTest, WindowsSpellingRoundTrips) {
    EXPECT_EQ(resolver_.toWindows(root() + "/App/Temp"), "D:\\App\\Temp");
    EXPECT_EQ(resolver_.toWindows(root()), "D:\\");
    std::string beside = root() + "x/y";  // a sibling folder whose name extends the drive's
    const std::string posix = beside;
    for (char& c : beside) c = c == '/' ? '\\' : c;
    EXPECT_EQ(resolver_.toWindows(posix), beside);
    const std::string outside = std::filesystem::temp_directory_path().string();
    EXPECT_EQ(resolver_.resolve(resolver_.toWindows(outside)), outside);
    EXPECT_EQ(resolver_.toWindows("D:\\already"), "D:\\already");
}

TEST(Wildcard, MatchesAsWindowsDoes) {
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    for (const auto& c : std::vector<Case>{
             {"*", "anything", true},
             {"*.ini", "VORD.INI", true},
             {"*.ini", "VORD.ini.bak", false},
             {"?ORD.ini", "vord.ini", true},
             {"?ORD.ini", "ORD.ini", false},
             {"*.*", "noextension", true},
             {"a*b*c", "aXbYbZc", true},
             {"a*b*c", "aXbYbZ", false},
             {"?.txt", "\xD6\xD0.txt", true},  // '?' takes a whole double-byte character
             {"??.txt", "\xD6\xD0.txt", false},
             {"\x81\x41*", "\x81\x61x", false},
             {"", "", true},
             {"", "x", false},
         }) {
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " ~ " << c.name;
    }
}

}  // namespace
}  // namespace velmarin::platform::posix
