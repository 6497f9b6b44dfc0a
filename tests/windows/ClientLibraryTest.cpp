// Finding and calling the VORD client on the real system: the client folder comes from the
// registry, the library is loaded with LoadLibraryA, and failures show the system's texts.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "SystemWorld.h"
#include "bridge/VordClient.h"
#include "util/FixedTexts.h"
#include "bridge/ClientLibrary.h"

namespace velmarin::testing {
namespace {

class ClientLibrary : public ::testing::Test {
  protected:
    ClientLibrary() { appPath_.setText(folder_ / "VORD"); }
    ~ClientLibrary() override {
        // The plug-in never unloads the client and loads it once per call; the test must unload
        // it as often, to remove its folder.
        for (int i = 0; i < 100; ++i) {
            HMODULE loaded = GetModuleHandleA(library().c_str());
            if (loaded == nullptr || !FreeLibrary(loaded)) break;
        }
    }

    std::string library() const { return folder_ / "VORD\\VORDDll.dll"; }
    void installClient(const std::string& builtLibrary) {
        folder_.write("VORD\\VORD.ini", "");
        ASSERT_TRUE(
            CopyFileA((BinaryDir() + "\\" + builtLibrary).c_str(), library().c_str(), FALSE));
    }
    const std::vector<platform::ShownMessage>& messages() { return world_.notifier().messages(); }

    SystemWorld world_;
    TempFolder folder_;
    ScopedRegistryValue appPath_{texts::kClientRegistryKey, texts::kClientRegistryValue};
};

TEST_F(ClientLibrary, LoadsTheClientFromTheRegisteredFolder) {
    installClient("VORDDll.dll");
    folder_.write("VORD\\client-double.ini", "[Code5]\r\nresult=1\r\n[Code6]\r\nresult=4\r\n");
    VordClient vord(0, 6);
    EXPECT_EQ(vord.clientFolder, folder_ / "VORD\\");
    EXPECT_EQ(vord.libraryPath, library());

    EXPECT_TRUE(vord.Login());
    EXPECT_TRUE(vord.loggedIn());
    EXPECT_FALSE(vord.NotifyUnload());  // the client answered 4
    EXPECT_EQ(folder_.lines("VORD\\client-calls.log"),
              (std::vector<std::string>{"code=5\tparam1=0\tparam2=6\tparam3=",
                                        "code=6\tparam1=0\tparam2=6\tparam3="}));
    // Loaded from there, once: the second call found the same library.
    EXPECT_TRUE(CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE,
                               world_.platform().moduleFileName("VORDDll.dll").c_str(), -1,
                               library().c_str(), -1) == CSTR_EQUAL);
    EXPECT_TRUE(messages().empty());
}

TEST_F(ClientLibrary, MissingLibraryIsReportedOnEveryCall) {
    folder_.write("VORD\\VORD.ini", "");
    VordClient vord(0, 6);
    EXPECT_FALSE(vord.Login());
    EXPECT_FALSE(vord.NotifyUnload());
    ASSERT_EQ(messages().size(), 2u);
    for (const auto& shown : messages()) {
        EXPECT_EQ(shown.text, std::string(texts::kDllNotExists) + library());
        EXPECT_EQ(shown.title, "");
    }
}

TEST_F(ClientLibrary, FileThatIsNoLibraryShowsTheSystemText) {
    folder_.write("VORD\\VORD.ini", "");
    folder_.write("VORD\\VORDDll.dll", "this is not a library\r\n");
    EXPECT_EQ(bridge::CallClientEntry(library(), texts::kClientEntryName, 5), 0);
    ASSERT_EQ(messages().size(), 1u);
    const platform::ShownMessage& shown = messages().front();
    EXPECT_EQ(shown.title, texts::kErrorTitle);
    EXPECT_EQ(shown.icon, platform::MessageIcon::Information);
    EXPECT_EQ(shown.text, platform::win32::SystemErrorText(ERROR_BAD_EXE_FORMAT));
    EXPECT_FALSE(shown.text.empty());
}

TEST_F(ClientLibrary, LibraryWithoutTheEntryGivesZeroSilently) {
    installClient("Velmarin.arx");  // a library, but not the client's
    EXPECT_EQ(bridge::CallClientEntry(library(), texts::kClientEntryName, 5), 0);
    EXPECT_TRUE(messages().empty());
}

}  // namespace
}  // namespace velmarin::testing
