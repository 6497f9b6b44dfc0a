// The batch in the emulator program: typed as a command, answered through the file dialog, run
// by the host's message loop.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "batch/BatchFixture.h"
#include "support/HostRun.h"
#include "util/FixedTexts.h"

namespace velmarin::testing::batch {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::StartsWith;

using BatchHostTest = BatchTest;

// A command-line line as the program prints it: the line break escaped, the text in UTF-8.
std::string Printed(std::initializer_list<std::string> parts) {
    std::string gbk;
    for (const std::string& part : parts) gbk += part;
    return "CMDLINE: \\n" + Utf8(gbk);
}

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
                            Printed({texts::kBatchReading, "1/3", texts::kBatchReadingDrawing,
                                     "D:\\w\\A.dwg"}),
                            Printed({texts::kBatchReading, "2/3", texts::kBatchReadingDrawing,
                                     "D:\\w\\missing.dwg"}),
                            Printed({texts::kBatchReading, "3/3", texts::kBatchReadingDrawing,
                                     "D:\\w\\B.dwg"}),
                            Printed({texts::kBatchFinished, "2/3", texts::kBatchFinishedSkipped,
                                     "1", texts::kBatchFinishedEnd}),
                            Printed({texts::kBatchSkippedMissing, "D:\\w\\missing.dwg"}),
                            Printed({texts::kBatchLinked, "1", texts::kBatchLinkedEnd}),
                            Printed({texts::kTreeFileSent}), "1000 ms"));
    EXPECT_EQ(Tree(), ExampleTreeFile());
    EXPECT_EQ(world_->readFile("D:\\w\\B.dwg.print.ini"), printFile);
    EXPECT_FALSE(world_->exists("D:\\w\\A.bmf"));
    EXPECT_THAT(world_->clientCalls(),
                Contains(StartsWith("code=3\tparam1=D:\\VORD\\temp\\sldTree.ini\t")));
}

}  // namespace
}  // namespace velmarin::testing::batch
