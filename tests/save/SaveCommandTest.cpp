// savemethod: a new drawing gets its path from the client and is committed; a filed drawing is
// saved in place, described in the tree file, its BOM extracted and the tree file handed over.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "commands/Commands.h"
#include "save/SaveTestSupport.h"
#include "support/BomTables.h"

namespace velmarin::testing {
namespace {


const char kDrawingOnly[] =
    R"({"entities": [{"type": "line", "start": [0, 0, 0], "end": [10, 10, 0]}]})";

TEST_F(SaveCommandTest, NewDrawingIsWrittenWhereTheClientSaysAndCommitted) {
    leaveOperateScript();
    world.host().newDrawing("Drawing1.dwg");
    world.setClientBehaviour(
        "[Code10]\r\nresult=1\r\nreturn1=D:\\out\\sub\\B.dwg\r\nreturn2=R2\r\nreturn3=R3\r\n");
    savemethod();
    const std::vector<std::string> expected = {
        "code=7\tparam1=Drawing1.dwg",
        "code=10\tparam1=1\tparam2=", "code=12\tparam1=D:\\out\\sub\\B.dwg\tparam2=R2\tparam3=R3"};
    EXPECT_EQ(calls(), expected);
    EXPECT_TRUE(world.exists("D:\\out\\sub\\B.dwg"));
    EXPECT_EQ(world.host().defaultSaveFormat(), 24);
    EXPECT_FALSE(world.exists(kTreeFile));  // no script, no tree file on this branch
    EXPECT_TRUE(world.messages().empty());
    EXPECT_EQ(world.save().SavePath, "D:\\out\\sub\\B.dwg");
    EXPECT_EQ(world.save().SaveReturn3, "R3");
}

TEST_F(SaveCommandTest, NewDrawingWithoutUsablePathSavesNothing) {
    for (const std::string answer : {"[Code10]\r\nresult=0\r\nreturn1=D:\\x.dwg\r\n",
                                     "[Code10]\r\nresult=1\r\nreturn1=rel\\x.dwg\r\n"}) {
        world.host().newDrawing("Drawing1.dwg");
        world.setClientBehaviour(answer);
        world.notifier().clear();
        savemethod();
        const std::string path = answer.find("rel") != std::string::npos ? "rel\\x.dwg" : "";
        EXPECT_EQ(world.messages(), std::vector<std::string>{texts::kSaveFailed + path});
        EXPECT_EQ(calls().back().substr(0, 7), "code=10");
        EXPECT_FALSE(world.exists("D:\\x.dwg"));
    }
}

TEST_F(SaveCommandTest, RefusedCommitIsCancelledSilently) {
    world.host().newDrawing("Drawing1.dwg");
    world.setClientBehaviour("[Code10]\r\nreturn1=D:\\B.dwg\r\n[Code12]\r\nresult=0\r\n");
    savemethod();
    const std::vector<std::string> expected = {
        "code=7\tparam1=Drawing1.dwg",
        "code=10\tparam1=1\tparam2=", "code=12\tparam1=D:\\B.dwg\tparam2=\tparam3=", "code=11"};
    EXPECT_EQ(calls(), expected);
    EXPECT_TRUE(world.messages().empty());
    EXPECT_TRUE(world.exists("D:\\B.dwg"));
}

TEST_F(SaveCommandTest, NewDrawingThatCannotBeWrittenIsCancelledNotCommitted) {
    recordMessageOrder();
    world.host().newDrawing("Drawing1.dwg");
    world.host().failSavesTo("D:\\locked\\B.dwg");
    world.setClientBehaviour("[Code10]\r\nreturn1=D:\\locked\\B.dwg\r\n");
    savemethod();
    const std::vector<std::string> expected = {"code=7\tparam1=Drawing1.dwg",
                                               "code=10\tparam1=1\tparam2=", "code=11"};
    EXPECT_EQ(calls(), expected);
    EXPECT_EQ(orderedMessages, std::vector<std::string>{"3:" + std::string(texts::kSaveFailed) +
                                                        "D:\\locked\\B.dwg"});
}

TEST_F(SaveCommandTest, NoRightToSaveEndsTheCommand) {
    leaveOperateScript();
    openDrawing("D:\\x\\A.dwg", kDrawingOnly);
    world.setClientBehaviour("[Code7]\r\nresult=0\r\n");
    savemethod();
    EXPECT_EQ(calls(), std::vector<std::string>{"code=7\tparam1=D:\\x\\A.dwg"});
    EXPECT_EQ(world.messages(), std::vector<std::string>{texts::kNoRightToSave});
    EXPECT_FALSE(world.exists(kTreeFile));
}

TEST_F(SaveCommandTest, FiledDrawingIsSavedInPlaceEvenWhenItsFileIsGone) {
    leaveOperateScript();
    useTemplate("[COUNT]\nBLOCKCOUNT=1\n[BLOCK1]\nBLOCK_NAME=TK\nTM=图名\n");
    openDrawing("D:\\x\\A.dwg", Drawing({BlockRef("TK", {{"TM", "总装图"}})}));
    std::remove(world.resolve("D:\\x\\A.dwg").c_str());
    savemethod();
    const std::vector<std::string> expected = {"code=7\tparam1=D:\\x\\A.dwg",
                                               "code=8\tparam1=server.dwg\tparam2=D:\\local.dwg",
                                               std::string("code=3\tparam1=") + kTreeFile};
    EXPECT_EQ(calls(), expected);
    EXPECT_TRUE(world.exists("D:\\x\\A.dwg"));
    EXPECT_EQ(world.save().TreeFilePath, kTreeFile);
    EXPECT_NE(world.readFile(kTreeFile).find("config-Value-" + G("图名") + "=" + G("总装图")),
              std::string::npos);
    EXPECT_FALSE(world.exists("D:\\x\\A.bmf"));  // no table, no BOM file
}

TEST_F(SaveCommandTest, EmptyWindowEndsAfterTheTreeFile) {
    openDrawing("D:\\x\\A.dwg",
                R"({"entities": [{"type": "line", "start": [6000, 0, 0], "end": [7000, 0, 0]}]})");
    savemethod();
    EXPECT_EQ(calls(), std::vector<std::string>{"code=7\tparam1=D:\\x\\A.dwg"});
    EXPECT_TRUE(world.exists(kTreeFile));
}

TEST_F(SaveCommandTest, FailedSaveInPlaceHandsNothingOver) {
    leaveOperateScript();
    openDrawing("D:\\x\\A.dwg", kDrawingOnly);
    world.host().failSavesTo("D:\\x\\A.dwg");
    savemethod();
    EXPECT_EQ(calls(), std::vector<std::string>{"code=7\tparam1=D:\\x\\A.dwg"});
    EXPECT_EQ(world.messages(),
              std::vector<std::string>{texts::kSaveFailed + std::string("D:\\x\\A.dwg")});
    EXPECT_FALSE(world.exists(kTreeFile));
}

TEST_F(SaveCommandTest, BomFileStandsBesideTheDrawingWithItsLastDotReplaced) {
    world.writeFile(texts::kColumnTitleTemplate, ColumnTitles({G("序号"), G("名称")}));
    openDrawing("D:\\w\\A.B.dwg",
                Drawing({BomTableJson({{G("序号"), G("名称")}, {"1", G("螺栓")}})}));
    savemethod();
    EXPECT_TRUE(world.exists("D:\\w\\A.B.bmf"));
    EXPECT_NE(world.readFile("D:\\w\\A.B.bmf").find(G("螺栓")), std::string::npos);
    EXPECT_EQ(calls().back(), std::string("code=3\tparam1=") + kTreeFile);
}

// The client's script opens another drawing B and makes it current: the tree file still
// describes A, the drawing saved, and B is current again afterwards.
TEST_F(SaveCommandTest, TheTreeFileDescribesTheSavedDrawingWhenTheScriptOpensAnother) {
    const struct {
        const char* command;
        std::function<void()> run;
    } commands[] = {{"savemethod", [this] { savemethod(); }},
                    {"saveasmethod", [this] { saveasmethod(); }}};
    useTemplate("[COUNT]\nBLOCKCOUNT=1\n[BLOCK1]\nBLOCK_NAME=TK\nTM=图名\n");
    world.writeFile("D:\\x\\B.dwg", Drawing({BlockRef("TK", {{"TM", "轴"}})}));
    for (const auto& c : commands) {
        openDrawing("D:\\x\\A.dwg", Drawing({BlockRef("TK", {{"TM", "总装图"}})}));
        std::ofstream(world.root() + "/App/temp/Operate.ini", std::ios::binary)
            << "[OpenFile]\r\nf1=D:\\x\\B.dwg\r\n";
        c.run();
        const std::string tree = world.readFile(kTreeFile);
        EXPECT_NE(tree.find("Text=A.dwg\r\n"), std::string::npos) << c.command;
        EXPECT_NE(tree.find("=" + G("总装图") + "\r\n"), std::string::npos) << c.command;
        EXPECT_EQ(tree.find(G("轴")), std::string::npos) << c.command;
        ASSERT_NE(world.host().curDocument(), nullptr);
        EXPECT_EQ(world.host().curDocument()->fileName(), "D:\\x\\B.dwg") << c.command;
        world.host().closeCurrent();
        world.host().closeCurrent();
    }
}

}  // namespace
}  // namespace velmarin::testing
