// The tree file of a save: its exact bytes, and the node writers behind it.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/Platform.h"
#include "save/SaveTestSupport.h"
#include "tree/AssemblyNode.h"
#include "tree/TreeFile.h"

namespace velmarin::testing {
namespace {

using TreeFileTest = DrawingWorld;

const char kTwoPropertyTemplate[] =
    "[COUNT]\nBLOCKCOUNT=1\n[BLOCK1]\nBLOCK_NAME=TK-A3\nTM=图名\nTH=图号\n";

TEST_F(TreeFileTest, SaveOfADrawingWithTwoPropertiesGivesTheTwelveLines) {
    useTemplate(kTwoPropertyTemplate);
    openDrawing("D:\\work\\A.dwg",
                Drawing({BlockRef("TK-A3", {{"TM", "总装图"}, {"TH", "A-00"}})}));
    // What an earlier batch run left is cut away first.
    world.writeFile(kTreeFile,
                    "[TreeNode0]\r\nLevel=0\r\n[TreeNode1]\r\nLevel=0\r\nChildCount=1\r\n"
                    "[TreeNode2]\r\nLevel=0\r\n[TreeNodeInfo]\r\nCount=3\r\n");
    EXPECT_EQ(writeSaveTreeFile(), kTreeFile);
    EXPECT_EQ(world.readFile(kTreeFile),
              G("[TreeNode0]\r\nLevel=0\r\nText=A.dwg\r\nPath=D:\\work\\A.dwg\r\ncount=1\r\n"
                "relatype=6\r\nconfig-Value-图名=总装图\r\nconfig-Type-图名=0\r\n"
                "config-Value-图号=A-00\r\nconfig-Type-图号=0\r\n[TreeNodeInfo]\r\nCount=1\r\n"));
}

TEST_F(TreeFileTest, NothingReadGivesTheFixedKeysOnly) {
    world.host().newDrawing("Drawing1.dwg");
    EXPECT_EQ(writeSaveTreeFile(), kTreeFile);
    EXPECT_EQ(world.readFile(kTreeFile),
              "[TreeNode0]\r\nLevel=0\r\nText=Drawing1.dwg\r\nPath=Drawing1.dwg\r\ncount=1\r\n"
              "relatype=6\r\n[TreeNodeInfo]\r\nCount=1\r\n");
}

TEST_F(TreeFileTest, SameNamedPropertiesKeepTheFirstPlaceAndTheLaterValue) {
    useTemplate(kTwoPropertyTemplate);
    openDrawing("D:\\work\\A.dwg", Drawing({BlockRef("TK-A3", {{"TM", "first"}, {"TH", "A-00"}}),
                                            BlockRef("TK-A3", {{"TM", "second"}})}));
    writeSaveTreeFile();
    EXPECT_EQ(world.readFile(kTreeFile),
              G("[TreeNode0]\r\nLevel=0\r\nText=A.dwg\r\nPath=D:\\work\\A.dwg\r\ncount=1\r\n"
                "relatype=6\r\nconfig-Value-图名=second\r\nconfig-Type-图名=0\r\n"
                "config-Value-图号=A-00\r\nconfig-Type-图号=0\r\n[TreeNodeInfo]\r\nCount=1\r\n"));
}

TEST_F(TreeFileTest, NodeSectionOfABatchAndValuesThatCannotBreakTheFile) {
    std::filesystem::create_directories(world.resolve("D:\\t"));
    TreeFile tree("D:\\t\\tree.ini");
    tree.Set(TreeFile::kInfoSection, TreeFile::kCountKey, "7");
    AssemblyNode node;
    node.path = "D:\\w\\P.dwg";
    node.text = "P.dwg";
    node.properties = {{"", "v", "0"}, {"N", "a\r\n[TreeNodeInfo]\r\nCount=99", "0"}};
    node.WriteNodeSection(tree, 2);
    ASSERT_TRUE(tree.Save());
    EXPECT_EQ(world.readFile("D:\\t\\tree.ini"),
              "[TreeNodeInfo]\r\nCount=7\r\n[TreeNode2]\r\nLevel=0\r\nText=P.dwg\r\n"
              "Path=D:\\w\\P.dwg\r\ncount=1\r\nrelatype=6\r\nconfig-Value-=v\r\nconfig-Type-=0\r\n"
              "config-Value-N=a  [TreeNodeInfo]  Count=99\r\nconfig-Type-N=0\r\nChildCount=0\r\n");
}

}  // namespace
}  // namespace velmarin::testing
