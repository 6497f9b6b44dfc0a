#pragma once
// A client installation with drawings, templates and the files a save or a batch run replaces
// (the tree file and a BOM detail file from an earlier run), for tests that make the system's
// writes fail through the fault shim and look at what the user is shown and
// what is left on disk.

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "platform/shims/FaultPlatform.h"
#include "support/TreeFileNames.h"
#include "support/World.h"

namespace velmarin::testing::faults {

// The files of the installation, as Windows paths.
inline constexpr const char kAssembly[] = "D:\\w\\A.dwg";  // title block and a BOM table
inline constexpr const char kPart[] = "D:\\w\\B.dwg";      // a part the table names
inline constexpr const char kBomFile[] = "D:\\w\\A.bmf";
inline constexpr const char kExchangeFile[] = "D:\\VORD\\VORD.ini";

// What the user is shown when a file cannot be written.
std::string WriteFailed(const std::string& path);

struct FaultCase;

class FaultTest : public ::testing::Test {
  public:
    platform::shims::Faults& faults() { return world.faults(); }
    void makeReadOnly(const std::string& windowsPath) const;
    // A folder where the file was: nothing can be created at that path.
    void replaceWithFolder(const std::string& windowsPath) const;
    // Takes away the client's temp folder, the tree file's folder.
    void removeTreeFolder();
    std::string file(const std::string& windowsPath) const { return world.readFile(windowsPath); }

  protected:
    void SetUp() override;
    void TearDown() override;

    // The operation codes the client was called with, in order.
    std::vector<int> clientCodes() const;

    // Every folder the system writes to holds the same names as before: no temporary file is
    // left behind, and nothing is created.
    void expectNoStrayFiles() const;
    // The files keep the bytes they had when the test began.
    void expectIntact(const std::vector<std::string>& windowsPaths) const;
    // The case's messages, client calls and intact files, and no stray files.
    void expectOutcome(const FaultCase& c) const;

    std::map<std::string, std::string> before;
    World world;

  private:
    std::set<std::string> entries(const std::string& windowsFolder) const;

    std::map<std::string, std::set<std::string>> entriesBefore_;
};

// One fault and what it must come to: the messages the user sees, the client's calls and the
// files that keep their bytes.
struct FaultCase {
    const char* name;
    std::function<void(FaultTest&)> inject;
    std::vector<std::string> messages;
    std::vector<int> clientCodes;
    std::vector<std::string> intact;
};

inline void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }
std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info);

// The faults the suites share.
namespace inject {
void Nothing(FaultTest& t);
void CreateFileFails(FaultTest& t);
void RenameFails(FaultTest& t);
void DiskFull(FaultTest& t);
void ProfileWritesFail(FaultTest& t);
void TempFolderCannotBeCreated(FaultTest& t);
void ReadOnlyTreeFile(FaultTest& t);
void ReadOnlyBomFile(FaultTest& t);
void ReadOnlyExchangeFile(FaultTest& t);
}  // namespace inject

}  // namespace velmarin::testing::faults
