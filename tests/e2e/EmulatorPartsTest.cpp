// Pieces of the emulator program on their own: how it reads its command line and how it shows
// the plug-in's texts.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "Console.h"
#include "Options.h"
#include "ScriptRunner.h"

namespace velmarin::emulator {
namespace {

TEST(EmulatorOptions, ReadsEveryOptionInBothSpellings) {
    HostOptions options;
    std::string error;
    const std::vector<std::string> args = {"--drive", "d=/a",  "--drive=E=/b/c=d", "--registry",
                                           "r.ini",   "a.dwg", "--module=m.arx",   "--script",
                                           "s.txt",   "b.dwg"};
    ASSERT_EQ(ParseOptions(args, options, error), ParseResult::Run) << error;
    EXPECT_EQ(options.drives, (std::map<char, std::string>{{'D', "/a"}, {'E', "/b/c=d"}}));
    EXPECT_EQ(options.registryFile, "r.ini");
    EXPECT_EQ(options.moduleFile, "m.arx");
    EXPECT_EQ(options.scriptFile, "s.txt");
    EXPECT_EQ(options.drawings, (std::vector<std::string>{"a.dwg", "b.dwg"}));
}

TEST(EmulatorOptions, LaterDriveMappingWins) {
    HostOptions options;
    std::string error;
    ASSERT_EQ(ParseOptions({"--drive", "D=/a", "--drive", "d=/b"}, options, error),
              ParseResult::Run);
    EXPECT_EQ(options.drives.at('D'), "/b");
}

TEST(EmulatorOptions, HelpAndVersionWinOverTheRest) {
    HostOptions options;
    std::string error;
    EXPECT_EQ(ParseOptions({"a.dwg", "--help", "--bogus"}, options, error), ParseResult::Help);
    EXPECT_EQ(ParseOptions({"--version"}, options, error), ParseResult::Version);
}

TEST(EmulatorConsole, LinesAreUtf8WithLineBreaksEscaped) {
    std::ostringstream out, err;
    Console console(out, err);
    // 保存文件失败!\r\n新的文件名: as the plug-in shows it, in GBK.
    console.messageBox("\xB1\xA3\xB4\xE6!\r\n\xD0\xC2:", "");
    console.messageBox("text", "Error");
    console.commandLine("\n\xB6\xC1\xC8\xA1");
    console.dialog(std::vector<std::string>{"D:\\a.dwg", "D:\\b.dwg"});
    console.dialog(std::nullopt);
    console.unknownCommand("\xCD\xBC");
    EXPECT_EQ(out.str(),
              "MESSAGE: \xE4\xBF\x9D\xE5\xAD\x98!\\r\\n\xE6\x96\xB0:\n"
              "MESSAGE[Error]: text\n"
              "CMDLINE: \\n\xE8\xAF\xBB\xE5\x8F\x96\n"
              "DIALOG: 2 file(s)\n"
              "DIALOG: cancelled\n"
              "Unknown command \"\xE5\x9B\xBE\".\n");
    EXPECT_EQ(err.str(), "");
}

TEST(EmulatorScript, DialogWordsKeepQuotedBlanks) {
    EXPECT_EQ(SplitWords("  D:\\a.dwg  \"D:\\my files\\b.dwg\"\tc  "),
              (std::vector<std::string>{"D:\\a.dwg", "D:\\my files\\b.dwg", "c"}));
    EXPECT_TRUE(SplitWords(" \t ").empty());
}

}  // namespace
}  // namespace velmarin::emulator
