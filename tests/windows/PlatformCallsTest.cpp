// The Win32 platform's registry, file, module, timer and dialog calls over the real system.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "SystemWorld.h"
#include "platform/win32/Win32Notifier.h"
#include "bridge/ClientLibrary.h"
#include "util/Paths.h"

namespace velmarin::testing {
namespace {

using namespace std::string_literals;

const char kTestKey[] = "SOFTWARE\\TORVEL\\VelmarinTest";

TEST(Win32Registry, ReadsTextValuesThatFitTheBuffer) {
    SystemWorld world;
    ScopedRegistryValue value(kTestKey, "AppPath");
    struct Case {
        std::string stored;
        std::string read;
    };
    const std::vector<Case> cases = {
        {"C:\\VORD", "C:\\VORD"},
        {std::string(259, 'x'), std::string(259, 'x')},  // 259 bytes and the zero fit
        {std::string(260, 'x'), ""},                     // one more does not
        {"D:\\\xD6\xD0\xCE\xC4\\VORD", "D:\\\xD6\xD0\xCE\xC4\\VORD"},
        {"", ""},
    };
    for (const Case& c : cases) {
        value.setText(c.stored);
        EXPECT_EQ(bridge::ReadRegistryString(kTestKey, "AppPath"), c.read) << c.stored.size();
    }
    value.setNumber(7);  // not text: no path
    EXPECT_EQ(bridge::ReadRegistryString(kTestKey, "AppPath"), "");
    value.remove();
    EXPECT_EQ(bridge::ReadRegistryString(kTestKey, "AppPath"), "");
    EXPECT_EQ(bridge::ReadRegistryString("SOFTWARE\\TORVEL\\NoSuchKey", "AppPath"), "");
    EXPECT_TRUE(world.notifier().messages().empty());
}

TEST(Win32Files, OutputReachesTheTargetOnlyOnCommit) {
    SystemWorld world;
    TempFolder folder;
    auto& os = world.platform();
    const std::string target = folder / "out.bmf";

    auto file = os.createFile(target);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->write("new \xD6\xD0\r\n"));
    EXPECT_FALSE(folder.exists("out.bmf"));
    EXPECT_TRUE(file->commit());
    std::string bytes;
    ASSERT_TRUE(folder.read("out.bmf", bytes));
    EXPECT_EQ(bytes, "new \xD6\xD0\r\n");

    // An abandoned write leaves the old file as it was and no temporary behind.
    file = os.createFile(target);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->write("half"));
    file.reset();
    ASSERT_TRUE(folder.read("out.bmf", bytes));
    EXPECT_EQ(bytes, "new \xD6\xD0\r\n");
    EXPECT_FALSE(os.findFirstFile(platform::win32::TemporaryNameFor(target)));

    // A committed write replaces it.
    file = os.createFile(target);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->write("second"));
    EXPECT_TRUE(file->commit());
    ASSERT_TRUE(folder.read("out.bmf", bytes));
    EXPECT_EQ(bytes, "second");

    EXPECT_EQ(os.createFile(folder / "absent\\out.bmf"), nullptr);
}

TEST(Win32Files, ExistenceFoldersAndDeletion) {
    SystemWorld world;
    TempFolder folder;
    folder.write("a.ini", "[s]\r\n");

    struct Case {
        std::string path;
        int exists;
    };
    for (const Case& c : std::vector<Case>{{folder / "a.ini", 1},
                                           {folder.path(), 1},  // a folder counts
                                           {folder / "*.ini", 1},
                                           {folder / "?.ini", 1},
                                           {folder / "b.ini", 0},
                                           {"", 0}}) {
        EXPECT_EQ(util::FileExists(c.path), c.exists != 0) << c.path;
    }

    util::CreateFolders(folder / "x\\y\\c.ini", 3);
    EXPECT_TRUE(folder.exists("x\\y"));
    EXPECT_FALSE(folder.exists("x\\y\\c.ini"));

    EXPECT_TRUE(world.platform().deleteFile(folder / "a.ini"));
    EXPECT_FALSE(util::FileExists(folder / "a.ini"));
    EXPECT_FALSE(world.platform().deleteFile(folder / "a.ini"));
}

TEST(Win32Modules, ModuleFolderOfLoadedAndUnloadedNames) {
    SystemWorld world;
    char self[MAX_PATH];
    const std::string program(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
    const std::string programFolder = program.substr(0, program.find_last_of('\\') + 1);

    // A name that is not loaded names the program the module runs in.
    EXPECT_EQ(util::ModuleFolder("Velmarin.arx"), programFolder);

    const std::string module = BinaryDir() + "\\Velmarin.arx";
    HMODULE loaded = LoadLibraryA(module.c_str());
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(world.platform().moduleFileName("Velmarin.arx"), module);
    EXPECT_EQ(util::ModuleFolder("velmarin.ARX"), BinaryDir() + "\\");

    // The exports the CAD host looks up, and the handle the loader routine keeps for it.
    EXPECT_NE(GetProcAddress(loaded, "zcrxEntryPoint"), nullptr);
    auto* instance = reinterpret_cast<void**>(GetProcAddress(loaded, "_hdllInstance"));
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(*instance, static_cast<void*>(loaded));
    FreeLibrary(loaded);
}

// The batch command's timer without a window, dispatched by the thread's message loop.
int g_fired = 0;
platform::Platform* g_os = nullptr;

void OneShot(void* window, unsigned message, std::uintptr_t id, std::uint32_t) {
    ++g_fired;
    EXPECT_EQ(message, static_cast<unsigned>(WM_TIMER));
    g_os->killTimer(window, id);
}

TEST(Win32Timers, WindowlessTimerFiresOnceFromTheMessageLoop) {
    platform::win32::Win32Platform os;  // no shim: the system's timers
    g_os = &os;
    g_fired = 0;
    ASSERT_NE(os.setTimer(1, 10, &OneShot), 0u);
    EXPECT_EQ(g_fired, 0);  // nothing runs before the loop dispatches it

    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < 600) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        Sleep(5);
    }
    EXPECT_EQ(g_fired, 1);
}

TEST(Win32Dialog, SelectionBufferBecomesFullPaths) {
    using platform::win32::SplitDialogSelection;
    struct Case {
        std::string buffer;
        std::vector<std::string> paths;
    };
    const std::vector<Case> cases = {
        {"C:\\d\\a.dwg\0\0"s, {"C:\\d\\a.dwg"}},
        {"C:\\d\0a.dwg\0b.dwg\0\0"s, {"C:\\d\\a.dwg", "C:\\d\\b.dwg"}},
        {"C:\\\0a.dwg\0b.dwg\0\0"s, {"C:\\a.dwg", "C:\\b.dwg"}},  // a drive root has its '\'
        {"C:\\\xD6\xD0\0\xCE\xC4.dwg\0\0"s, {"C:\\\xD6\xD0\\\xCE\xC4.dwg"}},
        // A folder ending in a character whose second byte is 0x5C has no '\' at its end.
        {"C:\\\x81\x5C\0a.dwg\0\0"s, {"C:\\\x81\x5C\\a.dwg"}},
        {"\0\0"s, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SplitDialogSelection(c.buffer.data(), c.buffer.size()), c.paths) << c.buffer;
    }
    // A buffer filled to its end without the closing NULs does not run past it.
    const std::string full = "C:\\d\0abc"s;
    EXPECT_EQ(SplitDialogSelection(full.data(), full.size()),
              (std::vector<std::string>{"C:\\d\\abc"}));

    EXPECT_EQ(platform::win32::DialogFilter("dwg(*.dwg)|*.dwg|all(*.*)|*.*||"),
              "dwg(*.dwg)\0*.dwg\0all(*.*)\0*.*\0\0\0\0"s);
    // 0x7C as the second byte of a GBK character is no separator.
    EXPECT_EQ(platform::win32::DialogFilter("\x81\x7C(*.x)|*.x||"), "\x81\x7C(*.x)\0*.x\0\0\0\0"s);
}

}  // namespace
}  // namespace velmarin::testing
