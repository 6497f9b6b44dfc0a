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
    // The batch opens B.dwg only to read it: its print information waits for a real load.
    const std::string printFile = "[CheckField]\r\nk=10,10,3,0,text\r\n";
    world_->writeFile("D:\\w\\B.dwg.print.ini", printFile);
    HostRun run = HostRun::For(*world_);
    run.script =
        "VORD_batchchange\n"
        "echo returned\n"
        "dialog D:\\w\\A.dwg D:\\w\\missing.dwg D:\\w\\B.dwg\n"
        "wait 999\n"
        "echo 999 ms\n"
        "wait 1\n"
        "echo 1000 ms\n"
        "wait 5000\n";

    const HostResult result = run.execute();

    ASSERT_EQ(result.exitStatus, 0) << result.err;
    // Progress and summary on the command line; a drawing that is not there is skipped and named.
    EXPECT_THAT(result.lines,
                ElementsAre("returned", "999 ms", "DIALOG: 3 file(s)",
                            "CMDLINE: \\n正在读取第 1/3 张图纸: D:\\w\\A.dwg",
                            "CMDLINE: \\n正在读取第 2/3 张图纸: D:\\w\\missing.dwg",
                            "CMDLINE: \\n正在读取第 3/3 张图纸: D:\\w\\B.dwg",
                            "CMDLINE: \\n批量处理完成: 读取 2/3 张图纸, 跳过 1 张。",
                            "CMDLINE: \\n未找到图纸: D:\\w\\missing.dwg",
                            "CMDLINE: \\n已将 1 个零件关联到装配图。",
                            "CMDLINE: \\n装配树文件已提交 VORD。", "1000 ms"));
    EXPECT_EQ(Tree(), ExampleTreeFile());
    EXPECT_EQ(world_->readFile("D:\\w\\B.dwg.print.ini"), printFile);
    EXPECT_FALSE(world_->exists("D:\\w\\A.bmf"));
    EXPECT_THAT(world_->clientCalls(),
                Contains(StartsWith("code=3\tparam1=D:\\VORD\\temp\\sldTree.ini\t")));
}

}  // namespace
}  // namespace velmarin::testing::batch
