// The batch run and the login when the system's writes fail. The batch run's tree file is
// written whole or not at all and is handed to the client only when it was written; a request
// whose parameters cannot be written to the exchange file is not made.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge/VordClient.h"
#include "commands/Commands.h"
#include "faults/FaultWorld.h"
#include "util/FixedTexts.h"

namespace velmarin::testing::faults {
namespace {

const std::string kTreeFailed = WriteFailed(kTreeFile);
const std::string kBomFailed = WriteFailed(kBomFile);
const std::string kExchangeFailed = WriteFailed(kExchangeFile);

class BatchFaults : public FaultTest, public ::testing::WithParamInterface<FaultCase> {
  protected:
    // The user picks the assembly and its part; the run starts a second after the command.
    void runBatch() {
        world.notifier().queueDialogAnswer(std::vector<std::string>{kAssembly, kPart});
        commands::VORD_batchchange(world.vord(), world.batchTimer());
        world.clock().advance(1000);
    }
};

TEST_P(BatchFaults, TheTreeFileIsWrittenWholeOrNotAtAll) {
    const FaultCase& c = GetParam();
    c.inject(*this);
    runBatch();
    expectOutcome(c);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, BatchFaults,
    ::testing::Values(
        FaultCase{"NoFault", inject::Nothing, {}, {3}, {}},
        FaultCase{"CreateFileFails",
                  inject::CreateFileFails,
                  {texts::kCannotCreateFile, kTreeFailed},
                  {},
                  {kTreeFile, kBomFile}},
        FaultCase{"RenameFails",
                  inject::RenameFails,
                  {kBomFailed, kTreeFailed},
                  {},
                  {kTreeFile, kBomFile}},
        FaultCase{
            "DiskFull", inject::DiskFull, {kBomFailed, kTreeFailed}, {}, {kTreeFile, kBomFile}},
        FaultCase{"ReadOnlyTreeFile", inject::ReadOnlyTreeFile, {kTreeFailed}, {}, {kTreeFile}},
        FaultCase{
            "TempFolderCannotBeCreated", inject::TempFolderCannotBeCreated, {kTreeFailed}, {}, {}},
        // The tree file is written, but handing its path over cannot be.
        FaultCase{"ProfileWritesFail",
                  inject::ProfileWritesFail,
                  {kExchangeFailed},
                  {},
                  {kExchangeFile}}),
    CaseName);

TEST_F(BatchFaults, AWrittenTreeFileHoldsTheWholeRun) {
    runBatch();
    const std::string tree = file(kTreeFile);
    EXPECT_EQ(tree.find("OLD"), std::string::npos) << tree;
    EXPECT_NE(tree.find("Path=D:\\w\\B.dwg\r\n"), std::string::npos) << tree;
    EXPECT_NE(tree.find("ChildCount=1\r\nchildname0=B.dwg\r\n"), std::string::npos) << tree;
    EXPECT_NE(tree.find("[TreeNodeInfo]\r\nCount=2\r\n"), std::string::npos) << tree;
}

class LoginFaults : public FaultTest, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(LoginFaults, ALoginWhoseParametersCannotBeWrittenIsNotSent) {
    const FaultCase& c = GetParam();
    c.inject(*this);
    commands::loginmethod(world.vord());
    expectOutcome(c);
    EXPECT_EQ(world.vord().loggedIn(), !c.clientCodes.empty());
}

void FailTheFirstProfileWrite(FaultTest& t) { t.faults().failProfileWrites = 1; }

// Room for the first parameter's rewrite of the exchange file only.
void FillDiskAfterTheFirstParameter(FaultTest& t) {
    t.faults().diskSpace = t.file(kExchangeFile).size() + std::string("[DllParam]\r\n").size() +
                           std::string("param1=0\r\n").size();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, LoginFaults,
    ::testing::Values(
        FaultCase{"NoFault", inject::Nothing, {}, {5}, {}},
        FaultCase{"ReadOnlyExchangeFile",
                  inject::ReadOnlyExchangeFile,
                  {kExchangeFailed},
                  {},
                  {kExchangeFile}},
        FaultCase{
            "ProfileWriteFails", FailTheFirstProfileWrite, {kExchangeFailed}, {}, {kExchangeFile}},
        FaultCase{"RenameFails", inject::RenameFails, {kExchangeFailed}, {}, {kExchangeFile}},
        FaultCase{"DiskFullOnTheSecondParameter",
                  FillDiskAfterTheFirstParameter,
                  {kExchangeFailed},
                  {},
                  {}}),
    CaseName);

}  // namespace
}  // namespace velmarin::testing::faults
