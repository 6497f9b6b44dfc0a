// The batch in the emulator program: typed as a command, answered through the file dialog, run
// by the host's message loop.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/BatchFixture.h"
#include "support/HostRun.h"

namespace velmarin::testing::batch {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::StartsWith;

using BatchHostTest = BatchTest;

TEST_F(BatchHostTest, TheRunStartsASecondAfterTheCommandAndLeavesTheExampleTree) {
    WriteExampleDrawings();
    HostRun run = HostRun::For(*world_);
    run.script =
        "VORD_batchchange\n"
        "echo returned\n"
        "dialog D:\\w\\A.dwg D:\\w\\B.dwg\n"
        "wait 999\n"
        "echo 999 ms\n"
        "wait 1\n"
        "echo 1000 ms\n"
        "wait 5000\n";

    const HostResult result = run.execute();

    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_THAT(result.lines, ElementsAre("returned", "999 ms", "DIALOG: 2 file(s)", "1000 ms"));
    EXPECT_EQ(Tree(), ExampleTreeFile());
    EXPECT_FALSE(world_->exists("D:\\w\\A.bmf"));
    EXPECT_THAT(world_->clientCalls(),
                Contains(StartsWith("code=3\tparam1=D:\\VORD\\temp\\sldTree.ini\t")));
}

}  // namespace
}  // namespace velmarin::testing::batch
