// velmarin-host.exe on Windows: the emulator loads Velmarin.arx, which finds the client double
// through the registry values of --registry and calls it, as on Linux.

#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "SystemWorld.h"
#include "support/CallCodes.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

class EmulatorRun : public ::testing::Test {
  protected:
    EmulatorRun() {
        folder_.write("VORD\\VORD.ini", "");
        CopyFileA((BinaryDir() + "\\VORDDll.dll").c_str(), (folder_ / "VORD\\VORDDll.dll").c_str(),
                  FALSE);
        registry("AppPath=" + folder_ / "VORD");
    }
    void registry(const std::string& entry) {
        folder_.write("registry.ini", "[SOFTWARE\\TORVEL\\VORD]\r\n" + entry + "\r\n");
    }
    ProgramResult run(const std::string& script, std::vector<std::string> options = {}) {
        folder_.write("script.txt", script);
        options.insert(options.end(), {"--registry", folder_ / "registry.ini", "--script",
                                       folder_ / "script.txt"});
        return Execute("velmarin-host.exe", folder_, options);
    }

    TempFolder folder_;
    // The run writes the registry file's value into the system; it is put back afterwards.
    ScopedRegistryValue appPath_{texts::kClientRegistryKey, texts::kClientRegistryValue};
};

TEST_F(EmulatorRun, LogsInAtLoadRunsACommandAndSendsUnload) {
    folder_.write("VORD\\client-double.ini", "[Code2]\r\nresult=0\r\n");  // nothing to open
    const ProgramResult result = run("openmethod\necho done\n");
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    EXPECT_EQ(result.lines, (std::vector<std::string>{"done"}));
    const std::vector<std::string> calls = folder_.lines("VORD\\client-calls.log");
    EXPECT_EQ(Codes(calls), (std::vector<std::string>{"code=5", "code=2", "code=6"}));
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front(), "code=5\tparam1=0\tparam2=6\tparam3=");
}

TEST_F(EmulatorRun, BatchTimerFiresOnTheHostClock) {
    const ProgramResult result = run("VORD_batchchange\necho waiting\nwait 1000\necho after\n");
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    // The dialog appears only once the host's clock has passed the timer's second.
    EXPECT_EQ(result.lines, (std::vector<std::string>{"waiting", "DIALOG: cancelled", "after"}));
    EXPECT_EQ(Codes(folder_.lines("VORD\\client-calls.log")),
              (std::vector<std::string>{"code=5", "code=6"}));
}

TEST_F(EmulatorRun, RefusedLoginShowsTheGuardMessagesInUtf8) {
    folder_.write("VORD\\client-double.ini", "[Code5]\r\nresult=0\r\n");
    const ProgramResult result = run("openmethod\nVORD_batchchange\n");
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    // The program prints the GBK texts as UTF-8.
    const std::string guard = u8"MESSAGE: 在操作前请先登陆系统!";
    EXPECT_EQ(result.lines,
              (std::vector<std::string>{guard, guard, u8"MESSAGE: 请您先登陆！再进行此操作。"}));
    EXPECT_EQ(Codes(folder_.lines("VORD\\client-calls.log")),
              (std::vector<std::string>{"code=5", "code=5", "code=5", "code=6"}));
}

TEST_F(EmulatorRun, MissingClientLibraryIsShownAtLoadAndUnload) {
    registry("AppPath=" + folder_ / "Elsewhere");
    const ProgramResult result = run("");
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    const std::string shown =
        "MESSAGE: " + std::string(texts::kDllNotExists) + folder_ / "Elsewhere\\VORDDll.dll";
    EXPECT_EQ(result.lines, (std::vector<std::string>{shown, shown}));
}

TEST_F(EmulatorRun, DriveOptionMapsALetterWhereTheSystemCan) {
    registry("AppPath=Q:\\VORD");
    const ProgramResult result = run("", {"--drive", "Q=" + folder_.path()});
    if (RunningUnderWine()) {
        // Wine takes drive definitions but reaches no files through them: refused, exit 2.
        EXPECT_EQ(result.exitCode, 2u);
        EXPECT_NE(result.err.find("drive Q: could not be mapped"), std::string::npos) << result.err;
        EXPECT_FALSE(folder_.exists("VORD\\client-calls.log"));
    } else {
        EXPECT_EQ(result.exitCode, 0u) << result.err;
        EXPECT_EQ(Codes(folder_.lines("VORD\\client-calls.log")),
                  (std::vector<std::string>{"code=5", "code=6"}));
    }
}

}  // namespace
}  // namespace velmarin::testing
