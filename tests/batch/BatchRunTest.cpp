#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "batch/BatchFixture.h"
#include "commands/Commands.h"
#include "util/FixedTexts.h"

namespace velmarin::testing::batch {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::SizeIs;

class BatchRunTest : public BatchTest {
  protected:
    void Pick(std::vector<std::string> paths) {
        world_->notifier().queueDialogAnswer(std::move(paths));
    }
    std::vector<std::string> TreeFileCalls() const {
        std::vector<std::string> calls;
        for (const std::string& call : world_->clientCalls()) {
            if (call.rfind("code=3\t", 0) == 0) calls.push_back(call);
        }
        return calls;
    }
};

TEST_F(BatchRunTest, AssemblyAndItsPartGiveTheTreeFileOfTheExample) {
    WriteExampleDrawings();
    Pick({"D:\\w\\A.dwg", "D:\\w\\B.dwg"});

    commands::BatchRun(world_->vord(), world_->drawings());

    EXPECT_EQ(Tree(), ExampleTreeFile());
    EXPECT_FALSE(world_->exists("D:\\w\\A.bmf"));
    EXPECT_THAT(TreeFileCalls(), ElementsAre(HasSubstr("param1=D:\\VORD\\temp\\sldTree.ini")));

    ASSERT_THAT(world_->notifier().dialogs(), SizeIs(1));
    const platform::OpenFileDialogSpec& dialog = world_->notifier().dialogs()[0];
    EXPECT_EQ(dialog.defaultExtension, "dwg");
    EXPECT_EQ(dialog.initialFileName, "");
    EXPECT_EQ(dialog.filter, texts::kDwgFilter);
    EXPECT_TRUE(dialog.allowMultiSelect);
    EXPECT_TRUE(dialog.hideReadOnly);
    EXPECT_EQ(dialog.nameBufferBytes, 10000u);

    EXPECT_THAT(OpenDocuments(), IsEmpty());
    EXPECT_EQ(world_->host().openObjectCount(), 0);
    EXPECT_THAT(world_->messages(), IsEmpty());
}

TEST_F(BatchRunTest, CancellingTheDialogLeavesTheTreeFileAndSendsNothing) {
    world_->writeFile(kTreeFile, "[TreeNode0]\r\nText=old.dwg\r\n");
    world_->notifier().queueDialogAnswer(std::nullopt);

    commands::BatchRun(world_->vord(), world_->drawings());

    EXPECT_EQ(Tree(), "[TreeNode0]\r\nText=old.dwg\r\n");
    EXPECT_THAT(TreeFileCalls(), IsEmpty());
    EXPECT_TRUE(world_->host().commandLine().empty());
}

// The user works in U.dwg and has B.dwg open too; the batch is given a missing file, B.dwg and
// A.dwg. Only what it could read is recorded, numbered without a gap, and the user's documents
// stay open with U.dwg current again.
TEST_F(BatchRunTest, TheUsersDocumentsAreReadAsThemselvesAndLeftOpen) {
    WriteDrawing("D:\\w\\U.dwg", {kGear, {}});
    WriteDrawing("D:\\w\\B.dwg", {kShaft, {}});
    WriteDrawing("D:\\w\\A.dwg",
                 {kAssembly, {{kItemNo, kPartName, kQuantity}, {"1", kShaft, "2"}}});
    std::string error;
    ASSERT_TRUE(world_->host().openDrawing("D:\\w\\B.dwg", error)) << error;
    ASSERT_TRUE(world_->host().openDrawing("D:\\w\\U.dwg", error)) << error;
    Pick({"D:\\w\\missing.dwg", "d:\\W\\b.DWG", "D:\\w\\A.dwg"});

    commands::BatchRun(world_->vord(), world_->drawings());

    const std::string tree = Tree();
    EXPECT_THAT(tree, HasSubstr("[TreeNode0]\r\nLevel=0\r\nText=B.dwg\r\n"));
    EXPECT_THAT(tree, HasSubstr("=" + kShaft + "\r\n"));
    EXPECT_THAT(tree, HasSubstr("[TreeNode1]\r\nLevel=0\r\nText=A.dwg\r\n"));
    EXPECT_THAT(tree,
                HasSubstr("ChildCount=1\r\nchildname0=B.dwg\r\n[TreeNodeInfo]\r\nCount=2\r\n"));
    EXPECT_THAT(tree, ::testing::Not(HasSubstr("TreeNode2")));
    EXPECT_THAT(tree, ::testing::Not(HasSubstr(kGear)));

    EXPECT_THAT(OpenDocuments(), ElementsAre("D:\\w\\B.dwg", "D:\\w\\U.dwg"));
    ASSERT_NE(world_->host().curDocument(), nullptr);
    EXPECT_EQ(world_->host().curDocument()->fileName(), "D:\\w\\U.dwg");
    EXPECT_THAT(world_->messages(), IsEmpty());
    EXPECT_EQ(world_->host().openObjectCount(), 0);
}

// The user has A.dwg open and picks it under another spelling: the host makes the open document
// current, and that is the drawing to read; it stays open.
TEST_F(BatchRunTest, AnOpenDrawingUnderAnotherSpellingIsReadAndStaysOpen) {
    WriteExampleDrawings();
    std::string error;
    ASSERT_TRUE(world_->host().openDrawing("D:\\w\\A.dwg", error)) << error;
    Pick({"D:/w/A.dwg", "D:\\w\\B.dwg"});

    commands::BatchRun(world_->vord(), world_->drawings());

    EXPECT_EQ(Tree(), ExampleTreeFile());
    EXPECT_THAT(OpenDocuments(), ElementsAre("D:\\w\\A.dwg"));
    EXPECT_THAT(world_->messages(), IsEmpty());
}

TEST_F(BatchRunTest, ADrawingWithNothingInTheWindowAddsNoBlock) {
    WriteDrawing("D:\\w\\A.dwg",
                 {kAssembly, {{kItemNo, kPartName, kQuantity}, {"1", kBolt, "4"}}});
    world_->writeFile("D:\\w\\E.dwg", R"({"entities": []})");
    WriteDrawing(
        "D:\\w\\C.dwg",
        {kGear,
         {{kItemNo, kPartName, kQuantity}, {"1", kBolt, "6"}, {"2", kBolt, "7"}}});
    Pick({"D:\\w\\A.dwg", "D:\\w\\E.dwg", "D:\\w\\C.dwg"});

    commands::BatchRun(world_->vord(), world_->drawings());

    EXPECT_THAT(BomFileRows("D:\\w\\A.bmf"), SizeIs(1));
    EXPECT_THAT(BomFileRows("D:\\w\\C.bmf"), SizeIs(2));
    EXPECT_THAT(Tree(), HasSubstr("[TreeNode1]\r\nLevel=0\r\nText=E.dwg\r\n"));
}

}  // namespace
}  // namespace velmarin::testing::batch
