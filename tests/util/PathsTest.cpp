#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/MemoryPlatform.h"
#include "util/IniValues.h"
#include "util/Paths.h"

namespace velmarin {
namespace {

using Texts = std::vector<std::string>;

// One GBK character whose trail byte is 0x5C, the byte of a backslash.
const std::string kTrail5C = "\x95\x5C";

TEST(Paths, ModuleFolderEndsAtTheLastRealBackslash) {
    testing::MemoryPlatform os;
    os.modules = {{"Velmarin.arx", "D:\\App\\Velmarin.arx"},
                  {"bare.arx", "bare.arx"},
                  {"gbk.arx", "D:\\" + kTrail5C + "x.arx"}};
    EXPECT_EQ(util::ModuleFolder("Velmarin.arx"), "D:\\App\\");
    EXPECT_EQ(util::ModuleFolder("not-loaded.arx"), "C:\\Host\\");  // the host's folder
    EXPECT_EQ(util::ModuleFolder("bare.arx"), "");
    EXPECT_EQ(util::ModuleFolder("gbk.arx"), "D:\\");
}

TEST(Paths, DriveAndBackslash) {
    const std::vector<std::pair<std::string, std::string>> drives = {
        {"D:\\x\\y.dwg", "D:"},
        {"c:\\a", "c:"},
        {"temp\\Operate.ini", ""},
        {"\\\\srv\\s\\a", ""},
        {"D", ""},
        {"\xB1:\\a", ""},  // colon is a trail
        {"", ""},
        {"E:" + std::string(5000, 'a'), "E:"}};
    for (const auto& [path, drive] : drives) EXPECT_EQ(util::DriveOf(path), drive) << path;

    const std::vector<std::pair<std::string, std::string>> folders = {
        {"C:\\x\\", "C:\\x\\"},
        {"C:\\x", "C:\\x\\"},
        {"", ""},  // a missing AppPath must not turn into the drive root
        {"D:\\" + kTrail5C, "D:\\" + kTrail5C + "\\"}};
    for (const auto& [in, out] : folders) EXPECT_EQ(util::WithTrailingBackslash(in), out) << in;
}

TEST(Paths, FileExistsNeverSearchesForAnEmptyPath) {
    testing::MemoryPlatform os;
    os.folders.insert("D:\\W");
    EXPECT_FALSE(util::FileExists(""));
    EXPECT_EQ(os.searches, 0);
    EXPECT_TRUE(util::FileExists("D:\\W"));
    EXPECT_FALSE(util::FileExists("D:\\X"));
}

TEST(Paths, CreateFoldersMakesEachMissingPrefixAfterStart) {
    struct Case {
        std::string path;
        int start;
        Texts created;
    };
    const std::vector<Case> cases = {
        {"D:\\a\\b\\c\\f.ini", 3, {"D:\\a\\b", "D:\\a\\b\\c"}},  // D:\a exists already
        {"top\\sub\\f.ini", -4, {"top", "top\\sub"}},
        {"D:\\" + kTrail5C + "\\f.ini", 3, {"D:\\" + kTrail5C}},
        {"f.ini", 0, {}},
        {"D:\\a\\f.ini", 500, {}},
    };
    for (const auto& c : cases) {
        testing::MemoryPlatform os;
        os.folders.insert("D:\\a");
        util::CreateFolders(c.path, c.start);
        EXPECT_EQ(os.createdFolders, c.created) << c.path;
    }
}

TEST(IniValues, OnlyAMissingFileFails) {
    testing::MemoryPlatform os;
    os.files["D:\\a.ini"] = "";
    os.profileAnswer = std::string(5000, 'v');
    std::string value = "caller default";
    EXPECT_FALSE(util::ReadIniString("S", "k", value, "D:\\none.ini"));
    EXPECT_EQ(value, "caller default");
    EXPECT_TRUE(os.profileCalls.empty());

    EXPECT_TRUE(util::ReadIniString("S", "k", value, "D:\\a.ini"));
    EXPECT_EQ(value, std::string(2599, 'v'));
    EXPECT_EQ(os.profileCalls, (Texts{"read S/k default= size=2600 D:\\a.ini"}));
}

}  // namespace
}  // namespace velmarin
