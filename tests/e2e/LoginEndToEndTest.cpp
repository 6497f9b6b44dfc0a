// The plug-in in the emulator program with the client double: loading, login, the guard and
// unloading, as a user would meet them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/CallCodes.h"
#include "support/HostRun.h"
#include "support/World.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

const std::string kLoginLine = "code=5\tparam1=0\tparam2=6\tparam3=";
const std::string kUnloadLine = "code=6\tparam1=0\tparam2=6\tparam3=";

std::string Message(const char* gbk) { return "MESSAGE: " + Utf8(gbk); }

TEST(LoginEndToEnd, LogsInOnceAtLoadAndNotifiesAtUnload) {
    World world;
    HostRun run = HostRun::For(world);
    run.script = "# nothing typed\n\n   \n";
    const HostResult result = run.execute();
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.err, "");
    EXPECT_TRUE(result.lines.empty()) << result.out;
    EXPECT_EQ(world.clientCalls(), (std::vector<std::string>{kLoginLine, kUnloadLine}));
}

TEST(LoginEndToEnd, EveryCommandIsRegisteredAndGuarded) {
    World world;
    // Every login is refused: each guarded command asks, tries once and gives up.
    world.setClientBehaviour("[Code5]\nresult=0\n");
    HostRun run = HostRun::For(world);
    run.script = "openmethod\nSAVEMETHOD\nsaveasmethod\nvord_batchchange\nsavebom\nprintmethod\n";
    const HostResult result = run.execute();
    EXPECT_EQ(result.exitStatus, 0) << result.err;

    const std::string guard = Message(texts::kLoginFirst);
    const std::vector<std::string> expected = {
        guard, guard, guard, guard, Message(texts::kLoginBeforeBatch), guard, guard};
    EXPECT_EQ(result.lines, expected);
    // The load's login, one per command, and the unload: nothing else reached the client.
    EXPECT_EQ(Codes(world.clientCalls()),
              (std::vector<std::string>{"code=5", "code=5", "code=5", "code=5", "code=5", "code=5",
                                        "code=5", "code=6"}));
}

TEST(LoginEndToEnd, GuardPassesSilentlyWhenLoggedIn) {
    World world;
    world.setClientBehaviour("[Code2]\nresult=0\n");  // the client offers nothing to open
    HostRun run = HostRun::For(world);
    run.script = "openmethod\n";
    const HostResult result = run.execute();
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_TRUE(result.lines.empty()) << result.out;
    EXPECT_EQ(Codes(world.clientCalls()), (std::vector<std::string>{"code=5", "code=2", "code=6"}));
}

TEST(LoginEndToEnd, LoginCommandWithResultTwoLogsOut) {
    World world;
    world.setClientBehaviour(
        "[Code5#1]\nresult=1\n[Code5#2]\nresult=2\n[Code5#3]\nresult=1\n[Code2]\nresult=0\n");
    HostRun run = HostRun::For(world);
    run.script = "loginmethod\nopenmethod\nopenmethod\n";
    const HostResult result = run.execute();
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    // Logged out by the second login, so the first open asks; the third login succeeds, so
    // the second open does not.
    EXPECT_EQ(result.lines, (std::vector<std::string>{Message(texts::kLoginFirst)}));
    EXPECT_EQ(Codes(world.clientCalls()), (std::vector<std::string>{"code=5", "code=5", "code=5",
                                                                    "code=2", "code=2", "code=6"}));
}

TEST(LoginEndToEnd, MissingClientIsReportedAtLoadAndAtEveryCall) {
    WorldOptions options;
    options.installClient = false;
    World world(options);
    HostRun run = HostRun::For(world);
    run.script = "loginmethod\n";
    const HostResult result = run.execute();
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    const std::string missing = "MESSAGE: dll not exists !D:\\VORD\\VORDDll.dll";
    // Load, the command, and the unload notice each try the library.
    EXPECT_EQ(result.lines, (std::vector<std::string>{missing, missing, missing}));
}

TEST(LoginEndToEnd, UnknownCommandIsNamed) {
    World world;
    HostRun run = HostRun::For(world);
    run.script = "frobnicate now\n\xE5\x9B\xBE\xE7\xBA\xB8\n";  // 图纸 in UTF-8
    const HostResult result = run.execute();
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.lines,
              (std::vector<std::string>{"Unknown command \"frobnicate\".",
                                        "Unknown command \"\xE5\x9B\xBE\xE7\xBA\xB8\"."}));
}

}  // namespace
}  // namespace velmarin::testing
