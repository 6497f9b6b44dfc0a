// Windows paths onto the Linux file system.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <thread>

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

// The resolver keeps an index of each folder's names; what another program changes afterwards
// is still seen.
TEST_F(PathResolverTest, SeesWhatAnotherProgramChanges) {
    namespace fs = std::filesystem;
    const std::string r = root();
    const std::string utf8Folder = r + "/\xE5\x9B\xBE\xE7\xBA\xB8";  // 图纸
    struct Case {
        const char* what;
        std::string path;                  // resolved before and after the change
        std::function<void()> change;      // what the other program does
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"creates", "D:\\VORD\\other.ini", [&] { folder_.write("VORD/Other.INI", ""); },
         r + "/VORD/Other.INI"},
        {"renames away", "D:\\vord\\vord.ini",
         [&] { fs::rename(r + "/VORD/VORD.ini", r + "/VORD/Kept.ini"); }, r + "/VORD/vord.ini"},
        {"renames to", "D:\\vord\\NEW.INI",
         [&] { fs::rename(r + "/VORD/Kept.ini", r + "/VORD/New.ini"); }, r + "/VORD/New.ini"},
        {"deletes", "D:\\App\\temp\\X.TXT", [&] { fs::remove(r + "/App/Temp/x.txt"); },
         r + "/App/Temp/X.TXT"},
        {"adds a GBK spelling", "D:\\\xCD\xBC\xD6\xBD\\\xC9\xE8\xBC\xC6.dwg",
         [&] { folder_.write(utf8Folder + "/\xC9\xE8\xBC\xC6.DWG", ""); },
         utf8Folder + "/\xC9\xE8\xBC\xC6.DWG"},
        {"replaces the folder", "D:\\case\\DUP",
         [&] {
             fs::remove_all(r + "/Case");
             folder_.write("Case/dup", "");
         },
         r + "/Case/dup"},
    };
    for (const auto& c : cases) {
        resolver_.resolve(c.path);
        c.change();
        EXPECT_EQ(resolver_.resolve(c.path), c.expected) << c.what;
    }
    // Later: the changes then fall in another tick of the folder's times.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    folder_.write("VORD/Late.ini", "");
    EXPECT_EQ(resolver_.resolve("D:\\vord\\LATE.INI"), r + "/VORD/Late.ini");
}

// The platform's own creations and removals keep the index current without reading the folder.
TEST_F(PathResolverTest, OwnChangesNeedNoFolderRead) {
    const std::string folder = root() + "/App/Temp";
    EXPECT_EQ(resolver_.resolve("D:\\app\\temp\\X.TXT"), folder + "/x.txt");
    const std::size_t reads = resolver_.folderReads();
    for (int i = 0; i < 50; ++i) {
        const std::string name = "F" + std::to_string(i) + ".txt";
        testing::WriteBytes(folder + "/" + name, "");
        resolver_.created(folder + "/" + name);
        EXPECT_EQ(resolver_.resolve("D:\\App\\Temp\\f" + std::to_string(i) + ".TXT"),
                  folder + "/" + name);
        const std::string missing = "g" + std::to_string(i);
        EXPECT_EQ(resolver_.resolve("D:\\App\\Temp\\" + missing), folder + "/" + missing);
    }
    std::filesystem::remove(folder + "/F7.txt");
    resolver_.removed(folder + "/F7.txt");
    EXPECT_EQ(resolver_.resolve("D:\\App\\Temp\\f7.txt"), folder + "/f7.txt");
    EXPECT_EQ(resolver_.folderReads(), reads);
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
