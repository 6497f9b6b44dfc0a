// Finding the client: the registry value, the paths built from it, and the library calls with
// their reports.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "BridgeFixture.h"
#include "bridge/ClientLibrary.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

namespace fs = std::filesystem;

struct LocatorCase {
    const char* name;
    bool registered;
    std::string appPath;
    std::string folder;
};

// Failures name the case rather than dump its bytes.
void PrintTo(const LocatorCase& c, std::ostream* os) { *os << c.name; }

class BridgeLocator : public ::testing::TestWithParam<LocatorCase> {};

TEST_P(BridgeLocator, BuildsPathsByConcatenation) {
    const LocatorCase& c = GetParam();
    WorldOptions options;
    options.registerClient = c.registered;
    options.appPath = c.appPath;
    BridgeWorld bridge(options);
    EXPECT_EQ(bridge.vord.clientFolder, c.folder);
    EXPECT_EQ(bridge.vord.libraryPath, c.folder + "VORDDll.dll");
    EXPECT_EQ(bridge.vord.exchangeFilePath, c.folder + "VORD.ini");
        EXPECT_EQ(bridge.vord.firstLoginArgument, 0);
    EXPECT_EQ(bridge.vord.secondLoginArgument, 6);
    EXPECT_FALSE(bridge.vord.loggedIn());
    EXPECT_TRUE(bridge.spy.journal.empty());  // construction calls nothing
}

INSTANTIATE_TEST_SUITE_P(
    AppPath, BridgeLocator,
    ::testing::Values(LocatorCase{"Plain", true, "D:\\VORD", "D:\\VORD\\"},
                      LocatorCase{"TrailingBackslash", true, "D:\\VORD\\", "D:\\VORD\\"},
                      LocatorCase{"Gbk", true, "D:\\\xB3\xCC\xD0\xF2", "D:\\\xB3\xCC\xD0\xF2\\"},
                      LocatorCase{"Empty", true, "", ""}, LocatorCase{"Missing", false, "", ""}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST(ClientCalls, RegistryValueWithinTheBufferOnly) {
    World world(WorldOptions{});
    const std::string fits(259, 'a');
    const std::string tooLong(260, 'b');
    std::ofstream(world.root() + "/registry.ini", std::ios::binary)
        << "[SOFTWARE\\TORVEL\\VORD]\r\nAppPath=D:\\VORD\r\nFits=" << fits
        << "\r\nTooLong=" << tooLong << "\r\n";
    EXPECT_EQ(bridge::ReadRegistryString("SOFTWARE\\TORVEL\\VORD", "AppPath"), "D:\\VORD");
    EXPECT_EQ(bridge::ReadRegistryString("SOFTWARE\\TORVEL\\VORD", "Fits"), fits);
    EXPECT_EQ(bridge::ReadRegistryString("SOFTWARE\\TORVEL\\VORD", "TooLong"), "");
    EXPECT_EQ(bridge::ReadRegistryString("SOFTWARE\\TORVEL\\VORD", "Absent"), "");
    EXPECT_EQ(bridge::ReadRegistryString("SOFTWARE\\ELSEWHERE", "AppPath"), "");
    EXPECT_TRUE(world.messages().empty());
}

TEST(ClientCalls, MissingLibraryReportedAtEveryCall) {
    WorldOptions options;
    options.installClient = false;
    BridgeWorld bridge(options);
    EXPECT_FALSE(bridge.vord.Login());
    EXPECT_EQ(bridge.vord.GetOpenScript(), "");
    const std::string expected = std::string(texts::kDllNotExists) + "D:\\VORD\\VORDDll.dll";
    EXPECT_EQ(bridge.world.messages(), (std::vector<std::string>{expected, expected}));
    EXPECT_TRUE(bridge.spy.entries({"load", "lookup", "call"}).empty());
}

TEST(ClientCalls, MissingAppPathNamesTheBareLibrary) {
    WorldOptions options;
    options.registerClient = false;
    BridgeWorld bridge(options);
    EXPECT_FALSE(bridge.vord.Login());
    EXPECT_EQ(bridge.world.messages(),
              (std::vector<std::string>{std::string(texts::kDllNotExists) + "VORDDll.dll"}));
}

TEST(ClientCalls, AlternativeLibraryIsNeverLoaded) {
    WorldOptions options;
    options.installClient = false;
    BridgeWorld bridge(options);
    fs::copy_file(BinaryDir() + "/VORDDll.dll", bridge.world.resolve("D:\\VORD") + "/Swvord.dll");
    EXPECT_FALSE(bridge.vord.Login());
    EXPECT_TRUE(bridge.spy.entries({"load"}).empty());
    EXPECT_TRUE(bridge.world.clientCalls().empty());
}

TEST(ClientCalls, FileThatIsNoLibraryShowsTheSystemText) {
    WorldOptions options;
    options.installClient = false;
    BridgeWorld bridge(options);
    bridge.world.writeFile("D:\\VORD\\VORDDll.dll", "MZ this is not a library");
    EXPECT_FALSE(bridge.vord.Login());
    const auto& shown = bridge.world.notifier().messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, texts::kErrorTitle);
    EXPECT_EQ(shown[0].icon, platform::MessageIcon::Information);
    EXPECT_FALSE(shown[0].text.empty());
    EXPECT_EQ(shown[0].text.find(texts::kDllNotExists), std::string::npos);
}

TEST(ClientCalls, LibraryWithoutTheEntryFailsSilently) {
    WorldOptions options;
    options.installClient = false;
    BridgeWorld bridge(options);
    fs::copy_file(NO_ENTRY_LIBRARY, bridge.world.resolve("D:\\VORD") + "/VORDDll.dll");
    EXPECT_FALSE(bridge.vord.Login());
    EXPECT_FALSE(bridge.vord.loggedIn());
    EXPECT_TRUE(bridge.world.messages().empty());
    EXPECT_EQ(bridge.spy.countOf("lookup VORD_Invoke"), 1);
    EXPECT_EQ(bridge.spy.countOf("call 5"), 0);
}

TEST(ClientCalls, EveryCallLoadsAndLooksUpAgain) {
    BridgeWorld bridge;
    bridge.vord.Login();
    bridge.vord.NotifyUnload();
    bridge.vord.CancelSave();
    EXPECT_EQ(
        bridge.spy.entries({"load", "lookup", "call"}),
        (std::vector<std::string>{"load D:\\VORD\\VORDDll.dll", "lookup VORD_Invoke", "call 5",
                                  "load D:\\VORD\\VORDDll.dll", "lookup VORD_Invoke", "call 6",
                                  "load D:\\VORD\\VORDDll.dll", "lookup VORD_Invoke", "call 11"}));
}

TEST(ClientCalls, ArgumentAndResultPassUnchanged) {
    BridgeWorld bridge;
    bridge.world.setClientBehaviour("[Code42]\nresult=-7\n");
    EXPECT_EQ(bridge::CallClientEntry(bridge.vord.libraryPath, "VORD_Invoke", 42), -7);
    EXPECT_EQ(bridge::CallClientEntry(bridge.vord.libraryPath, "NoSuchEntry", 42), 0);
    ASSERT_EQ(bridge.world.clientCalls().size(), 1u);
    EXPECT_EQ(bridge.world.clientCalls()[0].rfind("code=42\t", 0), 0u);
    EXPECT_TRUE(bridge.world.messages().empty());
}

}  // namespace
}  // namespace velmarin::testing
