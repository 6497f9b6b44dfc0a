#include "OpsWorld.h"
#include "drawing/Drawings.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

using OpenDrawing = OpsTest;

TEST_F(OpenDrawing, AnOpenDrawingIsReportedAndReturnedNotOpenedAgain) {
    EXPECT_EQ(world.drawings().OpenDrawing("D:\\W\\missing.dwg"), nullptr);  // nothing is active
    host::Document* a = world.drawings().OpenDrawing("D:\\W\\A.dwg");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->fileName(), "D:\\W\\A.dwg");
    EXPECT_EQ(world.drawings().OpenDrawing("D:\\W\\missing.dwg"), a);  // the active one stands in
    world.drawings().OpenDrawing("D:\\W\\B.dwg");
    EXPECT_TRUE(world.messages().empty());

    EXPECT_EQ(world.drawings().OpenDrawing("d:\\W\\a.DWG"), a);
    EXPECT_EQ(world.messages(), (Texts{texts::kFileAlreadyOpen}));
    EXPECT_EQ(openDocuments(), (Texts{"D:\\W\\A.dwg", "D:\\W\\B.dwg"}));
    // Letter case is the only difference forgiven.
    for (const char* other : {"D:/W/A.dwg", "D:\\W\\A.dwg ", "D:\\W\\C.dwg"}) {
        EXPECT_EQ(world.drawings().FindOpenDocument(other), nullptr) << other;
    }
}

TEST_F(OpenDrawing, CloseAndCurrentFileName) {
    EXPECT_EQ(world.drawings().GetCurrentFileName(), "");
    EXPECT_FALSE(world.drawings().CloseDrawing(nullptr));
    world.host().newDrawing("Drawing1.dwg");
    EXPECT_EQ(world.drawings().GetCurrentFileName(), "Drawing1.dwg");
    host::Document* a = world.drawings().OpenDrawing("D:\\W\\A.dwg");
    EXPECT_EQ(world.drawings().GetCurrentFileName(), "D:\\W\\A.dwg");
    EXPECT_TRUE(world.drawings().CloseDrawing(a));
    EXPECT_EQ(openDocuments(), (Texts{"Drawing1.dwg"}));
}

}  // namespace
}  // namespace velmarin::testing
