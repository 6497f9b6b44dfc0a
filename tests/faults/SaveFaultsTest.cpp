// savebom and savemethod when the system's writes fail: the user is told which file could not be
// written, the files of the earlier run stay as they were, nothing half-written is left, and a
// tree file that could not be written is not handed to the client.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/Commands.h"
#include "faults/FaultWorld.h"
#include "util/FixedTexts.h"

namespace velmarin::testing::faults {
namespace {

const std::string kTreeFailed = WriteFailed(kTreeFile);
const std::string kBomFailed = WriteFailed(kBomFile);
const std::string kExchangeFailed = WriteFailed(kExchangeFile);

// A disk that fills up inside the BOM detail file's first write.
void FillDiskAfter40Bytes(FaultTest& t) { t.faults().diskSpace = 40; }

// A folder where the BOM detail file should be: no file can be created there.
void FolderAtTheDetailPath(FaultTest& t) { t.replaceWithFolder(kBomFile); }

class SaveBomFaults : public FaultTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(SaveBomFaults, TheOldDetailFileSurvivesAFailedWrite) {
    const FaultCase& c = GetParam();
    c.inject(*this);
    world.host().queuePick(true);
    commands::savebom(world.vord());
    expectOutcome(c);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SaveBomFaults,
    ::testing::Values(
        FaultCase{"NoFault", inject::Nothing, {texts::kBomExtracted}, {}, {kTreeFile}},
        FaultCase{
            "CreateFileFails", inject::CreateFileFails, {texts::kCannotCreateFile}, {}, {kBomFile}},
        FaultCase{"RenameFails", inject::RenameFails, {kBomFailed}, {}, {kBomFile}},
        FaultCase{"DiskFullMidWrite", FillDiskAfter40Bytes, {kBomFailed}, {}, {kBomFile}},
        FaultCase{"ReadOnlyDetailFile",
                  inject::ReadOnlyBomFile,
                  {texts::kCannotCreateFile},
                  {},
                  {kBomFile}},
        FaultCase{
            "FolderAtTheDetailPath", FolderAtTheDetailPath, {texts::kCannotCreateFile}, {}, {}}),
    CaseName);

TEST_F(FaultTest, SaveBomWritesTheTableWhenNothingFails) {
    world.host().queuePick(true);
    commands::savebom(world.vord());
    const std::string bom = file(kBomFile);
    EXPECT_NE(bom, before.at(kBomFile));
    EXPECT_NE(bom.find("'2','',"), std::string::npos) << bom;  // the second row's item number
}

class SaveMethodFaults : public FaultTest, public ::testing::WithParamInterface<FaultCase> {};

// The filed drawing A.dwg is saved in place; then its tree file and BOM detail file are written
// and the tree file goes to the client (code 3) after the save right was asked (code 7).
TEST_P(SaveMethodFaults, NothingOfTheEarlierRunIsLostAndNoBrokenTreeFileIsHandedOver) {
    const FaultCase& c = GetParam();
    c.inject(*this);
    commands::savemethod(world.vord(), world.scripts(), world.drawings(), world.save());
    expectOutcome(c);
}

// The space left once the exchange file has taken the save request's parameter: the tree file
// and the BOM detail file then run out of disk while they are written.
void FillDiskAfterTheRequest(FaultTest& t) {
    t.faults().diskSpace = t.file(kExchangeFile).size() + 80;
}

INSTANTIATE_TEST_SUITE_P(
    Faults, SaveMethodFaults,
    ::testing::Values(FaultCase{"NoFault", inject::Nothing, {texts::kBomExtracted}, {7, 3}, {}},
                      FaultCase{"CreateFileFails",
                                inject::CreateFileFails,
                                {kTreeFailed, texts::kCannotCreateFile},
                                {7},
                                {kTreeFile, kBomFile}},
                      FaultCase{"DiskFullMidWrite",
                                FillDiskAfterTheRequest,
                                {kTreeFailed, kBomFailed},
                                {7},
                                {kTreeFile, kBomFile}},
                      FaultCase{"TempFolderCannotBeCreated",
                                inject::TempFolderCannotBeCreated,
                                {kTreeFailed, texts::kBomExtracted},
                                {7},
                                {}},
                      FaultCase{"ReadOnlyTreeFile",
                                inject::ReadOnlyTreeFile,
                                {kTreeFailed, texts::kBomExtracted},
                                {7},
                                {kTreeFile}},
                      FaultCase{"ReadOnlyDetailFile",
                                inject::ReadOnlyBomFile,
                                {texts::kCannotCreateFile},
                                {7, 3},
                                {kBomFile}},
                      // The save request itself cannot be written: the client is not asked with the
                      // parameter of an earlier request, and nothing is saved.
                      FaultCase{"RenameFails",
                                inject::RenameFails,
                                {kExchangeFailed, texts::kNoRightToSave},
                                {},
                                {kAssembly, kTreeFile, kBomFile, kExchangeFile}},
                      FaultCase{"ProfileWritesFail",
                                inject::ProfileWritesFail,
                                {kExchangeFailed, texts::kNoRightToSave},
                                {},
                                {kAssembly, kTreeFile, kBomFile, kExchangeFile}},
                      FaultCase{"ReadOnlyExchangeFile",
                                inject::ReadOnlyExchangeFile,
                                {kExchangeFailed, texts::kNoRightToSave},
                                {},
                                {kAssembly, kTreeFile, kBomFile, kExchangeFile}}),
    CaseName);

TEST_F(FaultTest, SaveMethodReplacesTheTreeFileWholeWhenNothingFails) {
    commands::savemethod(world.vord(), world.scripts(), world.drawings(), world.save());
    const std::string tree = file(kTreeFile);
    EXPECT_EQ(tree.find("TreeNode1"), std::string::npos) << tree;  // the old second node is gone
    EXPECT_NE(tree.find("Path=D:\\w\\A.dwg\r\n"), std::string::npos) << tree;
    EXPECT_NE(tree.find("[TreeNodeInfo]\r\nCount=1\r\n"), std::string::npos) << tree;
}

// A new drawing goes where the client says; when that folder cannot be made, the host cannot
// write the drawing: the save is withdrawn (code 11) rather than committed, and nothing is made.
TEST_F(FaultTest, ANewDrawingWhoseFolderCannotBeCreatedIsNotCommitted) {
    world.setClientBehaviour("[Code10]\r\nresult=1\r\nreturn1=D:\\new\\sub\\B.dwg\r\n");
    faults().failCreateDirectory = true;
    world.host().newDrawing("Drawing1.dwg");
    commands::savemethod(world.vord(), world.scripts(), world.drawings(), world.save());
    EXPECT_EQ(world.messages(),
              std::vector<std::string>{std::string(texts::kSaveFailed) + "D:\\new\\sub\\B.dwg"});
    EXPECT_EQ(clientCodes(), (std::vector<int>{7, 10, 11}));
    EXPECT_FALSE(world.exists("D:\\new"));
    expectNoStrayFiles();
}

}  // namespace
}  // namespace velmarin::testing::faults
