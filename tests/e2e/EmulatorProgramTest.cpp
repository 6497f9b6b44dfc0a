// The emulator program's own contract: its options, exit statuses, script verbs and output.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
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
    // Every option and every script verb has a line of its own.
    for (const char* start : {"  --drive L=DIR ", "  --registry FILE ", "  --module FILE ",
                              "  --script FILE ", "  --help ", "  --version ", "  open PATH ",
                              "  new NAME ", "  activate PATH ", "  close ", "  pick ",
                              "  dialog ", "  wait MS ", "  export PATH ", "  echo TEXT ",
                              "  COMMAND "}) {
        EXPECT_EQ(help.linesStartingWith(start).size(), 1u) << start;
    }
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

// What the user gets from drawings and scripts as people make them: a script saved with a
// byte-order mark, a file named in UTF-8, and one line saying what to do for each drawing that
// cannot be read or written (exit status 1).
TEST(EmulatorProgram, DrawingsAndScriptsAsPeopleMakeThem) {
    const std::string drawing = "{\"entities\": [{\"type\": \"line\", \"start\": [0, 0, 0], "
                                "\"end\": [1, 1, 0]}]}";
    struct Case {
        const char* what;
        std::string script;
        int exitStatus;
        std::string error;  // a part of the one line on stderr; "" for none
        std::vector<std::string> lines = {};  // standard output, when it matters
    };
    const Case cases[] = {
        {"byte-order mark", "\xEF\xBB\xBF" "echo first\n", 0, "", {"first"}},
        {"UTF-8 file name", "open D:\\\xE5\x9B\xBE\xE7\xBA\xB8.dwg\nexport D:\\copy.dwg\n", 0, ""},
        {"DWG file", "open D:\\old.dwg\n", 1, "DWG file, which the emulator does not read; save"},
        {"plain text", "open D:\\notes.dwg\n", 1, "neither a JSON nor a DXF drawing"},
        {"unmapped drive", "open Q:\\x.dwg\n", 1, "drive Q: is not mapped to a folder; map it with --drive Q=DIR"},
        {"missing folder", "export D:\\none\\x.dwg\n", 1, "the folder D:\\none does not exist"},
        {"read-only", "export D:\\locked.dwg\n", 1, "read-only"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        World world;
        world.writeFile("D:\\old.dwg", std::string("AC1032\0\0\0\0\0\x1F\x01", 13));
        world.writeFile("D:\\notes.dwg", "meeting at ten\n");
        world.writeFile("D:\\locked.dwg", drawing);
        const std::string locked = world.resolve("D:\\locked.dwg");
        std::filesystem::permissions(locked, std::filesystem::perms::owner_read);
        std::ofstream(world.root() + "/\xE5\x9B\xBE\xE7\xBA\xB8.dwg") << drawing;
        HostRun run = HostRun::For(world);
        run.script = c.script;
        const HostResult result = run.execute();
        EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
        if (c.error.empty()) {
            EXPECT_EQ(result.err, "");
        } else {
            EXPECT_NE(result.err.find(c.error), std::string::npos) << result.err;
            EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << result.err;
        }
        if (!c.lines.empty()) {
            EXPECT_EQ(result.lines, c.lines);
        }
        EXPECT_EQ(world.readFile("D:\\locked.dwg"), drawing);  // never written over
    }
}

}  // namespace
}  // namespace velmarin::testing
