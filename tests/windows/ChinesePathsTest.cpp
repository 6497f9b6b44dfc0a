// The programs built for Windows with Chinese paths, as nearly every path is on a Chinese Windows:
// the drawings, the script, the registry file, the client folder and the module all lie in a
// folder named 图纸, and what the programs print about them is UTF-8.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ProgramRun.h"
#include "SystemWorld.h"
#include "support/Gbk.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

struct ChinesePathCase {
    const char* what;
    const char* program;
    // Texts in UTF-8; "{D}" stands for the folder 图纸. Arguments go after --registry.
    std::vector<std::string> arguments;
    std::string script;  // written to {D}\脚本.txt and passed with --script, unless empty
    DWORD exitCode;
    std::string outHolds;
    std::string errHolds;
    std::string leftFile;  // a file the run leaves in {D}, and a text it holds
    std::string leftFileHolds;
};

void PrintTo(const ChinesePathCase& c, std::ostream* os) { *os << c.what; }

const std::string kLongName(300, 'a');

const ChinesePathCase kChinesePathCases[] = {
    {"a drawing given on the command line", "velmarin-host.exe", {u8"{D}\\零件.dwg"},
     u8"export {D}\\导出.dwg\n", 0, "", "", u8"导出.dwg", "\"entities\""},
    {"open and export in a script", "velmarin-host.exe", {},
     u8"open {D}\\零件.dwg\nexport {D}\\导出.dwg\n", 0, "", "", u8"导出.dwg", "\"entities\""},
    {"the batch reads the drawing and names it in the tree file", "velmarin-host.exe", {},
     u8"VORD_batchchange\ndialog {D}\\零件.dwg\nwait 1000\n", 0,
     u8"正在读取第 1/1 张图纸: {D}\\零件.dwg", "", "VORD\\temp\\sldTree.ini",
     u8"Text=零件.dwg\r\n"},
    {"one file under two spellings is one document", "velmarin-host.exe", {},
     u8"open {D}\\零件.dwg\nVORD_batchchange\ndialog {D}/零件.DWG\nwait 1000\n", 0, "", "",
     "VORD\\temp\\sldTree.ini", u8"Text=零件.dwg\r\n"},
    {"the module loaded from a Chinese folder", "velmarin-host.exe",
     {"--module", u8"{D}\\模块\\Velmarin.arx"}, "echo done\n", 0, "done", "",
     "VORD\\client-calls.log", "code=5\t"},
    {"the inspector reads the drawing", "velmarin-inspect.exe", {u8"{D}\\零件.dwg"}, "", 0,
     u8"零件.dwg", "", "", ""},
    {"a missing drawing is named in UTF-8", "velmarin-host.exe", {}, u8"open {D}\\缺少.dwg\n", 1,
     "", u8"{D}\\脚本.txt:1: {D}\\缺少.dwg: no such drawing file", "", ""},
    {"a missing script is named in UTF-8", "velmarin-host.exe",
     {"--script", u8"{D}\\缺少.txt"}, "", 2, "", u8"script not found: {D}\\缺少.txt", "", ""},
    {"a script beyond Windows' path limit is reported", "velmarin-host.exe",
     {"--script", "{D}\\" + kLongName}, "", 2, "",
     "longer than the 259 characters Windows' file functions take", "", ""},
};

class ChinesePaths : public ::testing::TestWithParam<ChinesePathCase> {
  protected:
    ChinesePaths() {
        folder_.write(relative("VORD\\VORD.ini"), "");
        copy("VORDDll.dll", "VORD\\VORDDll.dll");
        copy("Velmarin.arx", u8"模块\\Velmarin.arx");
        folder_.write(relative(u8"零件.dwg"), R"({"entities": []})");
        folder_.write(relative(u8"注册表.ini"),
                      "[SOFTWARE\\TORVEL\\VORD]\r\nAppPath=" + chinese() + "\\VORD\r\n");
    }
    // The folder 图纸 as a Windows path in GBK.
    std::string chinese() const { return folder_ / G(u8"图纸"); }
    std::string relative(const std::string& utf8) const { return G(u8"图纸\\" + utf8); }
    // A text of the case with {D} put in: GBK for the program, or UTF-8 as it prints paths.
    std::string expanded(std::string utf8) const {
        const std::string folder = Utf8(chinese());
        for (std::size_t at = utf8.find("{D}"); at != std::string::npos;
             at = utf8.find("{D}", at + folder.size())) {
            utf8.replace(at, 3, folder);
        }
        return utf8;
    }
    void copy(const std::string& built, const std::string& to) const {
        folder_.write(relative(to), "");
        CopyFileA((BinaryDir() + "\\" + built).c_str(), (folder_ / relative(to)).c_str(), FALSE);
    }

    TempFolder folder_;
    ScopedRegistryValue appPath_{texts::kClientRegistryKey, texts::kClientRegistryValue};
};

TEST_P(ChinesePaths, ReachTheirFilesAndAreShownInUtf8) {
    const ChinesePathCase& c = GetParam();
    std::vector<std::string> arguments = {"--registry", G(expanded(u8"{D}\\注册表.ini"))};
    for (const std::string& argument : c.arguments) arguments.push_back(G(expanded(argument)));
    if (!c.script.empty()) {
        folder_.write(relative(u8"脚本.txt"), expanded(c.script));  // a UTF-8 script
        arguments.insert(arguments.end(), {"--script", G(expanded(u8"{D}\\脚本.txt"))});
    }

    const ProgramResult result = Execute(c.program, folder_, arguments);

    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    EXPECT_NE(result.out.find(expanded(c.outHolds)), std::string::npos) << result.out;
    EXPECT_NE(result.err.find(expanded(c.errHolds)), std::string::npos) << result.err;
    if (c.errHolds.empty()) {
        EXPECT_EQ(result.err, "");
    }
    if (!c.leftFile.empty()) {
        std::string left;
        ASSERT_TRUE(folder_.read(relative(c.leftFile), left)) << c.leftFile;
        EXPECT_NE(left.find(G(c.leftFileHolds)), std::string::npos) << left;
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, ChinesePaths, ::testing::ValuesIn(kChinesePathCases));

}  // namespace
}  // namespace velmarin::testing
