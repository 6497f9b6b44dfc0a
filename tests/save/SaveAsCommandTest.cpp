// saveasmethod: the script and the tree file first, then the client's new path, a checked write
// and the commit.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "commands/Commands.h"
#include "save/SaveTestSupport.h"

namespace velmarin::testing {
namespace {


class SaveAsCommandTest : public SaveCommandTest {
  protected:
    void SetUp() override {
        SaveCommandTest::SetUp();
        leaveOperateScript();
        openDrawing("D:\\w\\A.dwg", R"({"entities": []})");
        world.save().SavePath = "kept";
    }
};

TEST_F(SaveAsCommandTest, SendsTheFileNameAndCommitsTheNewFile) {
    world.setClientBehaviour(
        "[Code10]\r\nreturn1=D:\\new\\dir\\C.dwg\r\nreturn2=R2\r\nreturn3=R3\r\n");
    saveasmethod();
    const std::vector<std::string> expected = {
        "code=7\tparam1=D:\\w\\A.dwg", "code=8\tparam1=server.dwg\tparam2=D:\\local.dwg",
        "code=10\tparam1=1\tparam2=A.dwg",
        "code=12\tparam1=D:\\new\\dir\\C.dwg\tparam2=R2\tparam3=R3"};
    EXPECT_EQ(calls(), expected);
    EXPECT_TRUE(world.exists("D:\\new\\dir\\C.dwg"));
    EXPECT_TRUE(world.exists(kTreeFile));
    EXPECT_TRUE(world.messages().empty());
    EXPECT_EQ(world.save().SavePath, "kept");
}

TEST_F(SaveAsCommandTest, ScriptRunsEvenWithoutUsablePath) {
    world.setClientBehaviour("[Code10]\r\nresult=0\r\n");
    saveasmethod();
    const std::vector<std::string> expected = {"code=7\tparam1=D:\\w\\A.dwg",
                                               "code=8\tparam1=server.dwg\tparam2=D:\\local.dwg",
                                               "code=10\tparam1=1\tparam2=A.dwg"};
    EXPECT_EQ(calls(), expected);
    EXPECT_EQ(world.messages(), std::vector<std::string>{texts::kSaveAsFailed});
}

TEST_F(SaveAsCommandTest, FailedWriteCancelsBeforeTheMessage) {
    recordMessageOrder();
    world.host().failSavesTo("D:\\new\\C.dwg");
    world.setClientBehaviour("[Code10]\r\nreturn1=D:\\new\\C.dwg\r\n");
    saveasmethod();
    EXPECT_EQ(calls().back(), "code=11");
    EXPECT_EQ(orderedMessages, std::vector<std::string>{"4:" + std::string(texts::kSaveAsFailed) +
                                                        "D:\\new\\C.dwg"});
    EXPECT_FALSE(world.exists("D:\\new\\C.dwg"));
}

TEST_F(SaveAsCommandTest, RefusedCommitSendsTwelveThenEleven) {
    world.setClientBehaviour("[Code10]\r\nreturn1=D:\\new\\C.dwg\r\n[Code12]\r\nresult=2\r\n");
    saveasmethod();
    const std::vector<std::string> calls_ = calls();
    ASSERT_EQ(calls_.size(), 5u);
    EXPECT_EQ(calls_[3].substr(0, 8), "code=12\t");
    EXPECT_EQ(calls_[4], "code=11");
    EXPECT_TRUE(world.messages().empty());
    EXPECT_TRUE(world.exists("D:\\new\\C.dwg"));
}

TEST_F(SaveAsCommandTest, NoRightRunsNoScript) {
    world.setClientBehaviour("[Code7]\r\nresult=0\r\n");
    saveasmethod();
    EXPECT_EQ(calls(), std::vector<std::string>{"code=7\tparam1=D:\\w\\A.dwg"});
    EXPECT_EQ(world.messages(), std::vector<std::string>{texts::kNoRightToSave});
}

}  // namespace
}  // namespace velmarin::testing
