#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MemoryPlatform.h"
#include "util/TdaFunc.h"

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
    const TdaFunc func;
    EXPECT_EQ(func.GetModuleFolder("Velmarin.arx"), "D:\\App\\");
    EXPECT_EQ(func.GetModuleFolder("not-loaded.arx"), "C:\\Host\\");  // the host's folder
    EXPECT_EQ(func.GetModuleFolder("bare.arx"), "");
    EXPECT_EQ(func.GetModuleFolder("gbk.arx"), "D:\\");
}

TEST(Paths, DriveAndBackslash) {
    const TdaFunc func;
    const std::vector<std::pair<std::string, std::string>> drives = {
        {"D:\\x\\y.dwg", "D:"},
        {"c:\\a", "c:"},
        {"temp\\Operate.ini", ""},
        {"\\\\srv\\s\\a", ""},
        {"D", ""},
        {"\xB1:\\a", ""},  // colon is a trail
        {"", ""},
        {"E:" + std::string(5000, 'a'), "E:"}};
    for (const auto& [path, drive] : drives) EXPECT_EQ(func.GetDrive(path), drive) << path;

    const std::vector<std::pair<std::string, std::string>> folders = {
        {"C:\\x\\", "C:\\x\\"},
        {"C:\\x", "C:\\x\\"},
        {"", ""},  // a missing AppPath must not turn into the drive root
        {"D:\\" + kTrail5C, "D:\\" + kTrail5C + "\\"}};
    for (const auto& [in, out] : folders) EXPECT_EQ(func.AddBackslash(in), out) << in;
}

TEST(Paths, FileExistsNeverSearchesForAnEmptyPath) {
    testing::MemoryPlatform os;
    os.folders.insert("D:\\W");
    const TdaFunc func;
    EXPECT_EQ(func.FileExists(""), 0);
    EXPECT_EQ(os.searches, 0);
    EXPECT_EQ(func.FileExists("D:\\W"), 1);
    EXPECT_EQ(func.FileExists("D:\\X"), 0);
}

TEST(Paths, CreateFoldersMakesEachMissingPrefixAfterStart) {
    const TdaFunc func;
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
        EXPECT_EQ(func.CreateFolders(c.path, c.start), 1);
        EXPECT_EQ(os.createdFolders, c.created) << c.path;
    }
}

TEST(IniValues, OnlyAMissingFileFails) {
    testing::MemoryPlatform os;
    os.files["D:\\a.ini"] = "";
    os.profileAnswer = std::string(5000, 'v');
    const TdaFunc func;
    std::string value = "caller default";
    EXPECT_EQ(func.ReadIniString("S", "k", value, "D:\\none.ini"), 0);
    EXPECT_EQ(value, "caller default");
    EXPECT_EQ(func.WriteIniString("S", "k", "v", "D:\\none.ini"), 0);  // and is not created
    EXPECT_TRUE(os.profileCalls.empty());

    EXPECT_EQ(func.ReadIniString("S", "k", value, "D:\\a.ini"), 1);
    EXPECT_EQ(value, std::string(2599, 'v'));
    EXPECT_EQ(func.WriteIniString("S", "k", "v", "D:\\a.ini"), 1);
    EXPECT_EQ(os.profileCalls,
              (Texts{"read S/k default= size=2600 D:\\a.ini", "write S/k=v D:\\a.ini"}));
}

}  // namespace
}  // namespace velmarin
