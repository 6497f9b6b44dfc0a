// The system's writes on the Win32 platform, made to fail through the fault shim, and runs that
// end part way: the exchange file, the tree file and two BOM detail files of one folder written
// as a batch writes them. A failed write leaves the old file and no temporary file; a dead run
// leaves each file old or new, and the next run leaves exactly what an undisturbed run leaves.

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ProgramRun.h"
#include "SystemWorld.h"
#include "bom/BomFile.h"
#include "platform/shims/FaultPlatform.h"
#include "tree/TreeFile.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

// A child run of this program ends at this operation in the folder it is given.
constexpr char kCrashFolderVariable[] = "VELMARIN_CRASH_FOLDER";
constexpr char kCrashAtVariable[] = "VELMARIN_CRASH_AT";

const std::map<std::string, std::string> kOldFiles = {
    {"VORD.ini", "[DllParam]\r\nparam1=old\r\n"},
    {"sldTree.ini", "[TreeNodeInfo]\r\nCount=0\r\n"},
    {"A.bmf", "old A"},
    {"B.bmf", "old B"},
};

std::vector<BomInfo> PartsList(const std::string& bomPath, const std::string& part) {
    BomInfo titles;
    titles.bomPath = bomPath;
    titles.partName = texts::kPartNameTitleKey;
    BomInfo row = titles;
    row.itemNo = "1";
    row.partName = part;
    row.quantity = "2";
    return {titles, row};
}

// What a batch writes: a request parameter, the tree file, then the detail files together.
void WriteFiles(const std::string& folder) {
    platform::current().writeProfileString(texts::kExchangeParamSection, "param1", "new",
                                           folder + "\\VORD.ini");
    TreeFile tree(folder + "\\sldTree.ini");
    tree.Set(TreeFile::kInfoSection, TreeFile::kCountKey, "2");
    tree.Save();
    bom::WriteDetailFiles(
        {PartsList(folder + "\\A.bmf", "B"), PartsList(folder + "\\B.bmf", "STD-1")});
}

// The folder's files as they were before the run, writable again.
void PutOldFiles(const TempFolder& folder) {
    for (const auto& [name, bytes] : kOldFiles) {
        SetFileAttributesA((folder / name).c_str(), FILE_ATTRIBUTE_NORMAL);
        folder.write(name, bytes);
    }
}

// The files of a folder by name, with their bytes.
std::map<std::string, std::string> Contents(const TempFolder& folder) {
    std::map<std::string, std::string> files;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder / "*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE) return files;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") folder.read(name, files[name]);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return files;
}

class Win32Faults : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::install(&faulty_);
        PutOldFiles(folder_);
    }
    void TearDown() override { platform::install(&world_.platform()); }

    // The files as an undisturbed run leaves them, from a folder of their own; in `operations`
    // the file-system operations of that run.
    std::map<std::string, std::string> newFiles(std::uint64_t* operations = nullptr) {
        TempFolder clean;
        PutOldFiles(clean);
        const std::uint64_t before = faulty_.operations();
        WriteFiles(clean.path());
        if (operations != nullptr) *operations = faulty_.operations() - before;
        world_.notifier().clear();
        return Contents(clean);
    }

    SystemWorld world_;
    platform::shims::FaultPlatform faulty_{world_.platform()};
    TempFolder folder_;
};

struct FaultCase {
    const char* name;
    std::function<void(platform::shims::Faults&, const TempFolder&)> inject;
    std::vector<std::string> replaced;  // the files that get their new bytes; the others stay
    std::vector<std::string> messages;  // the folder left out of the paths they name
};

TEST_F(Win32Faults, AFailedWriteKeepsTheOldFileAndLeavesNoTemporaryFile) {
    const std::string cannotCreate = texts::kCannotCreateFile;
    const std::string writeFailed = texts::kWriteFileFailed;
    const FaultCase cases[] = {
        {"NoFault", [](auto&, auto&) {}, {"VORD.ini", "sldTree.ini", "A.bmf", "B.bmf"}, {}},
        {"CreationFails",
         [](auto& f, auto&) { f.failCreateFile = true; },
         {"VORD.ini"},
         {writeFailed + "sldTree.ini", cannotCreate, cannotCreate}},
        {"ReplacingFails",
         [](auto& f, auto&) { f.failCommit = true; },
         {},
         {writeFailed + "sldTree.ini", writeFailed + "A.bmf", writeFailed + "B.bmf"}},
        {"DiskFullAfterTheExchangeFile",
         [](auto& f, auto&) { f.diskSpace = 40; },
         {"VORD.ini"},
         {writeFailed + "sldTree.ini", writeFailed + "A.bmf", writeFailed + "B.bmf"}},
        {"ProfileWritesFail",
         [](auto& f, auto&) { f.failProfileWrites = 1; },
         {"sldTree.ini", "A.bmf", "B.bmf"},
         {}},
        {"ReadOnlyDetailFile",
         [](auto&, const TempFolder& folder) {
             SetFileAttributesA((folder / "B.bmf").c_str(), FILE_ATTRIBUTE_READONLY);
         },
         {"VORD.ini", "sldTree.ini", "A.bmf"},
         {cannotCreate}},
    };
    const auto fresh = newFiles();
    for (const FaultCase& c : cases) {
        PutOldFiles(folder_);
        faulty_.faults() = {};
        world_.notifier().clear();
        c.inject(faulty_.faults(), folder_);

        WriteFiles(folder_.path());

        std::map<std::string, std::string> expected = kOldFiles;
        for (const std::string& name : c.replaced) expected[name] = fresh.at(name);
        EXPECT_EQ(Contents(folder_), expected) << c.name;
        std::vector<std::string> shown;
        for (const auto& [message, title, icon] : world_.notifier().messages()) {
            const std::size_t folderAt = message.find(folder_.path() + "\\");
            shown.push_back(folderAt == std::string::npos
                                ? message
                                : message.substr(0, folderAt) +
                                      message.substr(folderAt + folder_.path().size() + 1));
        }
        EXPECT_EQ(shown, c.messages) << c.name;
    }
}

// Ends a run at every operation in turn, in a child process: each file is old or new, temporary
// files are all a dead run leaves besides, and one more run leaves what an undisturbed run does.
TEST_F(Win32Faults, ARunThatDiesPartWayLeavesOldOrNewFilesAndTheNextRunCleansUp) {
    std::uint64_t operations = 0;
    const auto fresh = newFiles(&operations);
    const TempFolder output;
    SetEnvironmentVariableA(kCrashFolderVariable, folder_.path().c_str());
    std::uint64_t crashes = 0;
    for (std::uint64_t at = 1; at <= operations + 1; ++at) {
        PutOldFiles(folder_);
        SetEnvironmentVariableA(kCrashAtVariable, std::to_string(at).c_str());
        const ProgramResult run =
            Execute("test_windows.exe", output, {"--gtest_filter=Win32CrashChild.*"});
        if (run.exitCode == 0) break;
        ASSERT_EQ(run.exitCode, static_cast<DWORD>(platform::shims::kEndedByFault)) << run.out;
        ++crashes;

        for (const auto& [name, bytes] : Contents(folder_)) {
            const std::size_t suffix = name.find(".velmarin-new");
            if (suffix != std::string::npos) {
                EXPECT_EQ(kOldFiles.count(name.substr(0, suffix)), 1u) << at << ": " << name;
                continue;
            }
            ASSERT_EQ(kOldFiles.count(name), 1u) << at << ": " << name;
            EXPECT_TRUE(bytes == kOldFiles.at(name) || bytes == fresh.at(name))
                << at << ": " << name;
        }
        WriteFiles(folder_.path());
        EXPECT_EQ(Contents(folder_), fresh) << "after the crash at " << at;
    }
    SetEnvironmentVariableA(kCrashAtVariable, nullptr);
    SetEnvironmentVariableA(kCrashFolderVariable, nullptr);
    // The child died at each operation of the run and got through when asked to end after it.
    EXPECT_EQ(crashes, operations);
    EXPECT_GT(operations, 0u);
}

// The child of the test above; skipped when the program is not run as such a child.
TEST(Win32CrashChild, WritesTheFilesUntilItsOperationEndsIt) {
    const char* folder = std::getenv(kCrashFolderVariable);
    const char* at = std::getenv(kCrashAtVariable);
    if (folder == nullptr || at == nullptr) GTEST_SKIP() << "run by the crash test only";
    SystemWorld world;
    platform::shims::FaultPlatform faulty(world.platform());
    faulty.faults().endAtOperation = std::strtoull(at, nullptr, 10);
    platform::install(&faulty);
    WriteFiles(folder);
    platform::install(&world.platform());
}

}  // namespace
}  // namespace velmarin::testing
