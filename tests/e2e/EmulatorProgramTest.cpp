// The emulator program's own contract: its options, exit statuses, script verbs and output.

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "support/HostRun.h"
#include "support/World.h"

namespace velmarin::testing {
namespace {

struct BadStart {
    const char* name;
    std::vector<std::string> options;
    bool passScript;
};

// Failures name the case rather than dump its bytes.
void PrintTo(const BadStart& c, std::ostream* os) { *os << c.name; }

class EmulatorBadStart : public ::testing::TestWithParam<BadStart> {};

TEST_P(EmulatorBadStart, OneLineOnStderrAndStatusTwo) {
    World world;
    HostRun run = HostRun::For(world);
    run.options = GetParam().options;
    run.passScript = GetParam().passScript;
    const HostResult result = run.execute();
    EXPECT_EQ(result.exitStatus, 2);
    EXPECT_EQ(result.out, "");
    ASSERT_FALSE(result.err.empty());
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    // Nothing was loaded, so the client never heard of it.
    EXPECT_TRUE(world.clientCalls().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Options, EmulatorBadStart,
    ::testing::Values(BadStart{"UnknownOption", {"--frobnicate"}, true},
                      BadStart{"DriveWithoutValue", {"--drive"}, true},
                      BadStart{"DriveNotALetter", {"--drive", "1=/tmp"}, true},
                      BadStart{"DriveWithoutFolder", {"--drive", "E"}, true},
                      BadStart{"DriveFolderMissing", {"--drive", "E=/nonexistent/velmarin"}, true},
                      BadStart{"MissingModule", {"--module", "/nonexistent/Velmarin.arx"}, true},
                      BadStart{"ModuleIsNoLibrary", {"--module", "/etc/hostname"}, true},
                      BadStart{"MissingScript", {"--script", "/nonexistent/script.txt"}, false},
                      BadStart{
                          "MissingRegistry", {"--registry", "/nonexistent/registry.ini"}, true}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST(EmulatorProgram, HelpAndVersion) {
    HostRun run;
    run.passScript = false;
    run.options = {"--help"};
    HostResult help = run.execute();
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("--drive L=DIR"), std::string::npos);
    run.options = {"--version"};
    HostResult version = run.execute();
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out.rfind("velmarin-host ", 0), 0u);
}

TEST(EmulatorProgram, EchoConvertsAndVerbsIgnoreCase) {
    World world;
    HostRun run = HostRun::For(world);
    // UTF-8 and GBK spellings of 图纸 print alike.
    run.script = "  ECHO hello world  \necho \xE5\x9B\xBE\xE7\xBA\xB8\necho \xCD\xBC\xD6\xBD\n";
    const HostResult result = run.execute();
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.lines, (std::vector<std::string>{"hello world", "\xE5\x9B\xBE\xE7\xBA\xB8",
                                                      "\xE5\x9B\xBE\xE7\xBA\xB8"}));
}

TEST(EmulatorProgram, ScriptFailuresAreReportedAndTheRunCompletes) {
    World world;
    HostRun run = HostRun::For(world);
    run.script = "open D:\\missing.dwg\nwait soon\npick some\necho still running\n";
    const HostResult result = run.execute();
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.lines, (std::vector<std::string>{"still running"}));
    // One line per failing script line, each naming the line.
    EXPECT_NE(result.err.find(":1: "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(":2: "), std::string::npos) << result.err;
    EXPECT_NE(result.err.find(":3: "), std::string::npos) << result.err;
    // The module was still unloaded properly.
    EXPECT_EQ(world.clientCalls().back().substr(0, 7), "code=6\t");
}

TEST(EmulatorProgram, DrawingArgumentsOpenAndExportRoundTrips) {
    World world;
    const std::string drawing =
        "{\"layers\": [\"0\"], \"entities\": [{\"type\": \"text\", \"text\": \"\xE5\x9B\xBE\", "
        "\"position\": [1, 2, 0]}]}";
    world.writeFile("D:\\dwg\\A.dwg", drawing);
    HostRun run = HostRun::For(world);
    run.drawings = {"D:\\dwg\\a.dwg"};  // letter case of file names does not matter
    run.script = "export D:\\dwg\\copy.dwg\nclose\nclose\nopen D:\\dwg\\copy.dwg\n";
    const HostResult result = run.execute();
    EXPECT_EQ(result.exitStatus, 1);  // the second close had nothing to close
    // Only the second close failed: opening by another letter case and the export worked.
    EXPECT_NE(result.err.find(":3: close"), std::string::npos) << result.err;
    EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
    EXPECT_TRUE(world.exists("D:\\dwg\\copy.dwg"));
    EXPECT_NE(world.readFile("D:\\dwg\\copy.dwg").find("\xE5\x9B\xBE"), std::string::npos);
}

}  // namespace
}  // namespace velmarin::testing
