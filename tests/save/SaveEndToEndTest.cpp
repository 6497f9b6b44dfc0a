// The save commands in the emulator program with the client double, as a user meets them. The
// program starts with a never-saved Drawing1.dwg of its own, so three documents are closed.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/BomTables.h"
#include "support/DrawingWorld.h"
#include "support/HostRun.h"
#include "support/TreeFileNames.h"
#include "support/World.h"

namespace velmarin::testing {
namespace {

TEST(SaveEndToEnd, FiledAndNewDrawingsAndNoDrawingAtAll) {
    World world;
    world.writeFile("D:\\VORD\\VORD.ini", "[BPT]\r\nBPT_NAME=title.bpt\r\n");
    world.writeFile("D:\\VORD\\source\\BPT\\title.bpt",
                    TitleBlockTemplate(G("TH=图号\r\n")));
    world.writeFile("D:\\work\\A.dwg",
                    Drawing({BlockRef("TK-A3", {{"TM", "总装图"}, {"TH", "A-00"}})}));
    world.setClientBehaviour("[Code10]\r\nreturn1=D:\\out\\N.dwg\r\nreturn2=two\r\n");

    HostRun run = HostRun::For(world);
    run.script =
        "open D:\\work\\A.dwg\nsavemethod\nnew Drawing1.dwg\nsavemethod\nclose\nclose\nclose\n"
        "savemethod\nsaveasmethod\n";
    const HostResult result = run.execute();
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_TRUE(result.lines.empty()) << result.out;

    EXPECT_EQ(world.readFile(kTreeFile),
              G("[TreeNode0]\r\nLevel=0\r\nText=A.dwg\r\nPath=D:\\work\\A.dwg\r\ncount=1\r\n"
                "relatype=6\r\nconfig-Value-图名=总装图\r\nconfig-Type-图名=0\r\n"
                "config-Value-图号=A-00\r\nconfig-Type-图号=0\r\n[TreeNodeInfo]\r\nCount=1\r\n"));
    EXPECT_TRUE(world.exists("D:\\out\\N.dwg"));
    const std::vector<std::string> expected = {
        "code=5\tparam1=0\tparam2=6\tparam3=",
        "code=7\tparam1=D:\\work\\A.dwg\tparam2=6\tparam3=",
        "code=3\tparam1=D:\\VORD\\temp\\sldTree.ini\tparam2=6\tparam3=",
        "code=7\tparam1=Drawing1.dwg\tparam2=6\tparam3=",
        "code=10\tparam1=1\tparam2=\tparam3=",
        "code=12\tparam1=D:\\out\\N.dwg\tparam2=two\tparam3=",
        "code=6\tparam1=D:\\out\\N.dwg\tparam2=two\tparam3="};
    EXPECT_EQ(world.clientCalls(), expected);
}

}  // namespace
}  // namespace velmarin::testing
