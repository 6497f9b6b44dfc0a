// The posix platform over a temporary drive D.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/ModulePath.h"
#include "platform/RecordingNotifier.h"
#include "platform/ReplacingFile.h"
#include "platform/posix/PosixPlatform.h"
#include "platform/shims/EmulatedUserInterface.h"
#include "platform/shims/FaultPlatform.h"
#include "support/TempDrive.h"

namespace velmarin::platform::posix {
namespace {

namespace fs = std::filesystem;

class PosixPlatformTest : public ::testing::Test {
  protected:
    PosixPlatformTest() {
        PosixConfig config;
        config.drives['D'] = folder_.root();
        config.registryFile = folder_.root() + "/registry.ini";
        config.hostExecutable = folder_.root() + "/host/velmarin-host";
        config.modules["Velmarin.arx"] = folder_.root() + "/App/Velmarin.arx";
        platform_ = std::make_unique<PosixPlatform>(config);
        folder_.write("VORD/VORD.ini", "");
    }

    std::string get(const char* section, const char* key, const std::string& file,
                    const char* def = "") {
        char buffer[2600];
        const auto n = platform_->getProfileString(section, key, def, buffer, sizeof buffer, file);
        return std::string(buffer, n);
    }
    std::vector<std::string> entries(const std::string& relative) const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder_.root() + "/" + relative))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    // Rewrites a file in place, keeping its inode and size, and puts its old times back.
    void rewriteInPlace(const std::string& relative, const std::string& bytes) {
        const std::string path = folder_.root() + "/" + relative;
        struct stat before;
        ASSERT_EQ(::stat(path.c_str(), &before), 0);
        const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        ::close(fd);
        const struct timespec times[2] = {before.st_atim, before.st_mtim};
        ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }

    testing::TempDrive folder_;
    std::unique_ptr<PosixPlatform> platform_;
};

TEST_F(PosixPlatformTest, ProfileValuesReachOneFileWhateverTheCase) {
    EXPECT_TRUE(
        platform_->writeProfileString("DllParam", "param1", "D:\\a.dwg", "D:\\VORD\\VORD.ini"));
    EXPECT_EQ(get("dllparam", "PARAM1", "d:\\vord\\vord.INI"), "D:\\a.dwg");
    EXPECT_EQ(folder_.read("VORD/VORD.ini"), "[DllParam]\r\nparam1=D:\\a.dwg\r\n");
    EXPECT_EQ(entries("VORD"), std::vector<std::string>{"VORD.ini"});  // no temporary left

    EXPECT_EQ(get("s", "k", "D:\\VORD\\missing.ini", "dflt  "), "dflt");
    EXPECT_TRUE(platform_->writeProfileString("s", "k", "v", "D:\\VORD\\new.ini"));
    EXPECT_EQ(folder_.read("VORD/new.ini"), "[s]\r\nk=v\r\n");
    EXPECT_FALSE(platform_->writeProfileString("s", "k", "v", "D:\\NoFolder\\new.ini"));
    EXPECT_FALSE(fs::exists(folder_.root() + "/NoFolder"));
    EXPECT_FALSE(platform_->writeProfileString(nullptr, "k", "v", "D:\\VORD\\x.ini"));
    EXPECT_FALSE(fs::exists(folder_.root() + "/VORD/x.ini"));
}

TEST_F(PosixPlatformTest, CacheIsNeverStale) {
    const std::string file = "D:\\VORD\\sldTree.ini";
    const ProfileCache& cache = platform_->profileCache();
    folder_.write("VORD/sldTree.ini", "[n]\r\nk=aaaa\r\n");
    std::this_thread::sleep_for(std::chrono::milliseconds(120));  // past the timestamp window
    EXPECT_EQ(get("n", "k", file), "aaaa");
    const auto parses = cache.parses();
    EXPECT_EQ(get("n", "k", file), "aaaa");
    EXPECT_EQ(cache.parses(), parses);  // an old file is trusted on its status alone

    rewriteInPlace("VORD/sldTree.ini", "[n]\r\nk=bbbb\r\n");  // same inode, size, mtime
    EXPECT_EQ(get("n", "k", file), "bbbb");

    // Just after a write the status alone cannot tell a change within one timestamp tick, so
    // reads confirm the bytes, and reuse what the write parsed.
    ASSERT_TRUE(platform_->writeProfileString("n", "k", "cccc", file));
    const auto rereads = cache.rereads();
    const auto parsesAfterWrite = cache.parses();
    EXPECT_EQ(get("n", "k", file), "cccc");
    EXPECT_EQ(cache.rereads(), rereads + 1);
    EXPECT_EQ(cache.parses(), parsesAfterWrite);
    rewriteInPlace("VORD/sldTree.ini", "[n]\r\nk=dddd\r\n");
    EXPECT_EQ(get("n", "k", file), "dddd");

    folder_.write("VORD/other.tmp", "[n]\r\nk=eeee\r\n");  // replaced by rename
    fs::rename(folder_.root() + "/VORD/other.tmp", folder_.root() + "/VORD/sldTree.ini");
    EXPECT_EQ(get("n", "k", file), "eeee");

    fs::remove(folder_.root() + "/VORD/sldTree.ini");
    EXPECT_EQ(get("n", "k", file, "gone"), "gone");
}

TEST_F(PosixPlatformTest, RegistryValueMustFitIn260Bytes) {
    const std::string at259(259, 'x');
    folder_.write("registry.ini",
                  "\xEF\xBB\xBF[SOFTWARE\\TORVEL\\VORD]\r\nAppPath=D:\\VORD\r\nLong259=" + at259 +
                      "\r\nLong260=" + at259 +
                      "y\r\nName=\xE4\xB8\xAD\r\n"
                      // GBK bytes that happen to be valid UTF-8 too (D:\图纸)
                      "GbkPath=D:\\\xCD\xBC\xD6\xBD\r\n");
    struct Case {
        const char* key;
        const char* value;
        bool found;
        std::string expected;
    };
    for (const auto& c : std::vector<Case>{
             {"SOFTWARE\\TORVEL\\VORD", "AppPath", true, "D:\\VORD"},
             {"software\\torvel\\vord", "APPPATH", true, "D:\\VORD"},
             {"SOFTWARE\\TORVEL\\VORD", "Long259", true, at259},
             {"SOFTWARE\\TORVEL\\VORD", "Long260", false, "unchanged"},
             {"SOFTWARE\\TORVEL\\VORD", "Name", true, "\xD6\xD0"},  // UTF-8 file, GBK value
             {"SOFTWARE\\TORVEL\\VORD", "GbkPath", true, "D:\\\xCD\xBC\xD6\xBD"},
             {"SOFTWARE\\TORVEL\\VORD", "Missing", false, "unchanged"},
             {"SOFTWARE\\TORVEL", "AppPath", false, "unchanged"},
         }) {
        std::string value = "unchanged";
        EXPECT_EQ(platform_->readRegistryString(c.key, c.value, value), c.found) << c.value;
        EXPECT_EQ(value, c.expected) << c.value;
    }
    fs::remove(folder_.root() + "/registry.ini");
    std::string value;
    EXPECT_FALSE(platform_->readRegistryString("SOFTWARE\\TORVEL\\VORD", "AppPath", value));
}

TEST_F(PosixPlatformTest, FindFirstFile) {
    folder_.write("VORD/a.dwg", "");
    folder_.write("VORD/\xE5\x9B\xBE\xE7\xBA\xB8.dwg", "");  // named in UTF-8
    for (const auto& [pattern, found] :
         std::vector<std::pair<std::string, bool>>{{"", false},
                                                   {"D:\\VORD", true},
                                                   {"d:\\vord\\vord.ini", true},
                                                   {"D:\\vord\\*.INI", true},
                                                   {"D:\\VORD\\?ORD.ini", true},
                                                   {"D:\\VORD\\*.bmf", false},
                                                   {"D:\\VORD\\", false},
                                                   {"D:\\*\\VORD.ini", false},
                                                   {"D:\\none\\*", false},
                                                   {"D:*", true},
                                                   {"E:\\VORD", false},
                                                   {"D:\\VORD\\\xCD\xBC\xD6\xBD.DWG", true},
                                                   {"D:\\VORD\\?\xD6\xBD.*", true}}) {
        EXPECT_EQ(platform_->findFirstFile(pattern), found) << pattern;
    }
}

TEST_F(PosixPlatformTest, CreateFileReplacesTargetOnlyOnCommit) {
    folder_.write("out/BOM.bmf", "old");
    {
        auto file = platform_->createFile("D:\\OUT\\bom.BMF");
        ASSERT_NE(file, nullptr);
        EXPECT_TRUE(file->write("new"));
        EXPECT_EQ(folder_.read("out/BOM.bmf"), "old");
    }  // dropped without commit
    EXPECT_EQ(folder_.read("out/BOM.bmf"), "old");
    EXPECT_EQ(entries("out"), std::vector<std::string>{"BOM.bmf"});

    auto file = platform_->createFile("D:\\OUT\\bom.BMF");
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->write("new"));
    EXPECT_TRUE(file->commit());
    EXPECT_FALSE(file->commit());
    EXPECT_EQ(folder_.read("out/BOM.bmf"), "new");
    EXPECT_EQ(entries("out"), std::vector<std::string>{"BOM.bmf"});

    EXPECT_EQ(platform_->createFile("D:\\missing\\x.bmf"), nullptr);
}

TEST_F(PosixPlatformTest, InjectedFailuresLeaveOldFiles) {
    folder_.write("out/f.txt", "old");
    folder_.write("out/p.ini", "[s]\r\nk=old\r\n");
    shims::FaultPlatform shim(*platform_);
    shims::Faults& faults = shim.faults();

    faults.diskSpace = 4;
    auto file = shim.createFile("D:\\out\\f.txt");
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->write("abc"));
    EXPECT_FALSE(file->write("def"));
    EXPECT_FALSE(file->commit());
    file.reset();
    EXPECT_FALSE(shim.writeProfileString("s", "k", "new", "D:\\out\\p.ini"));
    EXPECT_EQ(get("s", "k", "D:\\out\\p.ini"), "old");
    faults.diskSpace.reset();

    faults.failCommit = true;
    EXPECT_FALSE(shim.writeProfileString("s", "k", "new", "D:\\out\\p.ini"));
    faults.failCommit = false;

    faults.failProfileWrites = 1;
    EXPECT_FALSE(shim.writeProfileString("s", "k", "new", "D:\\out\\p.ini"));
    EXPECT_EQ(folder_.read("out/p.ini"), "[s]\r\nk=old\r\n");
    EXPECT_EQ(folder_.read("out/f.txt"), "old");
    EXPECT_EQ(entries("out"), (std::vector<std::string>{"f.txt", "p.ini"}));
    EXPECT_TRUE(shim.writeProfileString("s", "k", "new", "D:\\out\\p.ini"));

    faults.failCreateFile = true;
    EXPECT_EQ(shim.createFile("D:\\out\\f.txt"), nullptr);
    faults.failCreateDirectory = true;
    EXPECT_FALSE(shim.createDirectory("D:\\newdir"));
}

TEST_F(PosixPlatformTest, FoldersAndFiles) {
    EXPECT_FALSE(platform_->createDirectory("D:\\a\\b"));  // one level only
    EXPECT_TRUE(platform_->createDirectory("D:\\a"));
    EXPECT_FALSE(platform_->createDirectory("D:\\A"));
    EXPECT_TRUE(platform_->createDirectory("D:\\A\\b"));
    EXPECT_TRUE(fs::is_directory(folder_.root() + "/a/b"));

    folder_.write("a/f.txt", std::string("x\0y", 3));
    std::string contents;
    EXPECT_TRUE(platform_->readFile("D:\\A\\F.TXT", contents));
    EXPECT_EQ(contents, std::string("x\0y", 3));
    EXPECT_FALSE(platform_->deleteFile("D:\\a\\b"));  // a folder is no file
    EXPECT_TRUE(platform_->deleteFile("D:\\a\\F.txt"));
    EXPECT_FALSE(platform_->readFile("D:\\a\\f.txt", contents));
    EXPECT_FALSE(platform_->deleteFile("D:\\a\\f.txt"));
}

TEST_F(PosixPlatformTest, ReadOnlyFilesStayAsTheyAre) {
    folder_.write("ro/p.ini", "[s]\r\nk=old\r\n");
    fs::permissions(folder_.root() + "/ro/p.ini", fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(platform_->writeProfileString("s", "k", "new", "D:\\ro\\p.ini"));
    EXPECT_EQ(platform_->createFile("D:\\ro\\p.ini"), nullptr);
    EXPECT_FALSE(platform_->deleteFile("D:\\ro\\p.ini"));
    EXPECT_EQ(get("s", "k", "D:\\ro\\p.ini"), "old");
    EXPECT_EQ(entries("ro"), std::vector<std::string>{"p.ini"});

    folder_.write("rw/p.ini", "[s]\r\nk=old\r\n");
    fs::permissions(folder_.root() + "/rw/p.ini", fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(platform_->writeProfileString("s", "k", "new", "D:\\rw\\p.ini"));
    EXPECT_EQ(fs::status(folder_.root() + "/rw/p.ini").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);  // kept by the replacement
}

// A written path that is a symbolic link stays one: the file it names gets the new bytes, from a
// temporary file beside that file.
TEST_F(PosixPlatformTest, WritesKeepSymbolicLinks) {
    folder_.write("shared/VORD.ini", "[s]\r\nk=old\r\n");
    folder_.write("shared/tree.ini", "old");
    folder_.write("shared/A.bmf", "old");
    folder_.write("shared/A.dwg", "old");
    fs::create_directories(folder_.root() + "/links");
    fs::create_symlink("../shared/VORD.ini", folder_.root() + "/links/VORD.ini");  // relative
    fs::create_symlink(folder_.root() + "/shared/tree.ini", folder_.root() + "/links/mid.ini");
    fs::create_symlink("mid.ini", folder_.root() + "/links/tree.ini");  // a chain
    fs::create_symlink(folder_.root() + "/shared/A.bmf", folder_.root() + "/links/A.bmf");
    fs::create_symlink(folder_.root() + "/shared/A.dwg", folder_.root() + "/links/A.dwg");

    const struct {
        const char* link;
        std::function<bool()> write;
        const char* target;
        std::string bytes;
    } cases[] = {
        {"links/VORD.ini",
         [&] { return platform_->writeProfileString("s", "k", "new", "D:\\links\\vord.ini"); },
         "shared/VORD.ini", "[s]\r\nk=new\r\n"},
        {"links/tree.ini",
         [&] {
             auto file = platform_->createFile("D:\\links\\tree.ini");
             return file && file->write("new") && file->commit();
         },
         "shared/tree.ini", "new"},
        {"links/A.bmf",
         [&] {
             CommitGroup group(*platform_);
             auto file = platform_->createFile("D:\\links\\A.bmf");
             return file && file->write("new") && file->commit() && group.end();
         },
         "shared/A.bmf", "new"},
        {"links/A.dwg",
         [&] {
             auto file = CreateReplacingFile(folder_.root() + "/links/A.dwg");
             return file && file->write("new") && file->commit();
         },
         "shared/A.dwg", "new"},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(c.write()) << c.link;
        EXPECT_TRUE(fs::is_symlink(folder_.root() + "/" + c.link)) << c.link;
        EXPECT_EQ(folder_.read(c.target), c.bytes) << c.link;
    }
    EXPECT_EQ(get("s", "k", "D:\\links\\VORD.ini"), "new");
    EXPECT_EQ(entries("shared"),
              (std::vector<std::string>{"A.bmf", "A.dwg", "VORD.ini", "tree.ini"}));
    EXPECT_EQ(entries("links"),
              (std::vector<std::string>{"A.bmf", "A.dwg", "VORD.ini", "mid.ini", "tree.ini"}));
}

// Files committed in a group reach their names only when the outermost group ends; a temporary
// file a dead writer left is taken over by the next write of its file, one a live writer holds
// is left to it.
TEST_F(PosixPlatformTest, CommitGroupsAndTemporaryFiles) {
    folder_.write("out/a.bmf", "old a");
    folder_.write("out/.a.bmf.velmarin-new", "left by a dead run");
    const auto commit = [&](const char* path, const char* bytes) {
        auto file = platform_->createFile(path);
        return file && file->write(bytes) && file->commit();
    };
    {
        CommitGroup outer(*platform_);
        CommitGroup inner(*platform_);
        EXPECT_TRUE(commit("D:\\out\\a.bmf", "new a"));
        EXPECT_TRUE(commit("D:\\out\\b.bmf", "new b"));
        EXPECT_TRUE(commit("D:\\out\\b.bmf", "newer b"));  // the later write wins
        EXPECT_TRUE(inner.end());
        EXPECT_EQ(folder_.read("out/a.bmf"), "old a");
        EXPECT_FALSE(fs::exists(folder_.root() + "/out/b.bmf"));
        EXPECT_TRUE(outer.end());
    }
    EXPECT_EQ(folder_.read("out/a.bmf"), "new a");
    EXPECT_EQ(folder_.read("out/b.bmf"), "newer b");
    EXPECT_EQ(entries("out"), (std::vector<std::string>{"a.bmf", "b.bmf"}));

    // A writer at work holds its temporary file locked; another write of the file uses a name of
    // its own and leaves the writer's file alone.
    const std::string held = folder_.root() + "/out/.a.bmf.velmarin-new";
    const int fd = ::open(held.c_str(), O_RDWR | O_CREAT, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "busy", 4), 4);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    EXPECT_TRUE(commit("D:\\out\\a.bmf", "third a"));
    EXPECT_EQ(folder_.read("out/a.bmf"), "third a");
    EXPECT_EQ(folder_.read("out/.a.bmf.velmarin-new"), "busy");
    ::close(fd);
    EXPECT_EQ(entries("out"), (std::vector<std::string>{".a.bmf.velmarin-new", "a.bmf", "b.bmf"}));
}

TEST_F(PosixPlatformTest, ModulesAndLibraries) {
    EXPECT_EQ(platform_->moduleFileName("VELMARIN.ARX"), "D:\\App\\Velmarin.arx");
    EXPECT_EQ(platform_->moduleFileName("other.dll"), "D:\\host\\velmarin-host");

    const std::string libc = ModulePathOf(reinterpret_cast<const void*>(&::strlen));
    ASSERT_FALSE(libc.empty());
    std::string error;
    LibraryHandle library = platform_->loadLibrary(libc, error);
    ASSERT_NE(library, nullptr) << error;
    EXPECT_NE(platform_->getProcAddress(library, "strlen"), nullptr);
    EXPECT_EQ(platform_->getProcAddress(library, "no_such_export"), nullptr);

    folder_.write("VORD/VORDDll.dll", "not a library");
    EXPECT_EQ(platform_->loadLibrary("D:\\VORD\\VORDDll.dll", error), nullptr);
    EXPECT_NE(error.find("VORDDll.dll"), std::string::npos) << error;
    error.clear();
    EXPECT_EQ(platform_->loadLibrary("E:\\x.dll", error), nullptr);
    EXPECT_FALSE(error.empty());
}

void IgnoreTimer(void*, unsigned, std::uintptr_t, std::uint32_t) {}

// Linux runs no message loop: the platform itself sets no timer and shows no dialog; the emulated
// user interface laid over it takes timers to its clock.
TEST_F(PosixPlatformTest, TimersAndDialogsBelongToTheEmulatedUserInterface) {
    EXPECT_EQ(platform_->setTimer(0, 1000, IgnoreTimer), 0u);
    EXPECT_FALSE(platform_->notifier().openFileDialog(OpenFileDialogSpec{}).has_value());

    RecordingNotifier notifier;
    SimulatedClock clock;
    shims::EmulatedUserInterface emulated(*platform_, notifier, clock);
    const auto id = emulated.setTimer(0, 1000, IgnoreTimer);
    EXPECT_TRUE(clock.pending());
    int window = 0;
    EXPECT_FALSE(emulated.killTimer(&window, id));
    EXPECT_TRUE(emulated.killTimer(nullptr, id));
    EXPECT_FALSE(clock.pending());
}

}  // namespace
}  // namespace velmarin::platform::posix
