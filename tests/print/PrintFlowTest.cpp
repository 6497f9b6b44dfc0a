// The print flow in process: drawings opened in the emulated host, whose document listener runs
// the print flow as the module's load-drawing handler does.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "PrintSpies.h"
#include "StampedTexts.h"
#include "host/Host.h"
#include "print/FrameCorner.h"
#include "print/PrintFlow.h"
#include "print/PrintInfoText.h"
#include "support/World.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

// A frame of two boxes, (380,0,5)-(420,60,5) and (0,0)-(420,297), an erased frame line reaching
// further out, and a line off the frame layer.
const char kFramedDrawing[] = R"({"layers": ["0", "图框层"], "entities": [
  {"type": "line", "start": [0, 0, 0], "end": [1, 1, 0], "layer": "图框层",
   "extents": [[380, 0, 5], [420, 60, 5]]},
  {"type": "polyline", "points": [[0, 0], [420, 0], [420, 297], [0, 297]], "layer": "图框层"},
  {"type": "line", "start": [0, -80, 0], "end": [900, -80, 0], "layer": "图框层", "erased": true},
  {"type": "line", "start": [0, -50, 0], "end": [999, -50, 0]}
]})";

const char kDrawing[] = "D:\\work\\a.dwg";
const char kPrintFile[] = "D:\\work\\a.dwg.print.ini";
// 设计, 已审 and 张三 in GBK.
const std::string kDesign = "\xC9\xE8\xBC\xC6";
const std::string kChecked = "\xD2\xD1\xC9\xF3";
const std::string kName = "\xD5\xC5\xC8\xFD";

class PrintFlowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        world.createServices();
        world.host().setDocumentOpenedListener([](host::Document&) { print::ApplyPrintFlow(); });
        world.writeFile(kDrawing, kFramedDrawing);
    }

    void open(host::sim::SimHost& host, const std::string& path = kDrawing) {
        std::string error;
        ASSERT_TRUE(host.openDrawing(path, error)) << error;
    }
    void open(const std::string& path = kDrawing) { open(world.host(), path); }

    // Runs `body` with a spying host installed in place of the world's.
    template <typename Body>
    void withSpyHost(Body body) {
        SpyHost spy([this](const std::string& path) { return world.resolve(path); });
        spy.setDocumentOpenedListener([](host::Document&) { print::ApplyPrintFlow(); });
        host::install(&spy);
        body(spy);
        EXPECT_EQ(spy.openObjectCount(), 0);
        host::install(&world.host());
    }

    // The print flow never calls the client.
    World world{WorldOptions{false, false, false}};
};

TEST_F(PrintFlowTest, FrameCornerIsTheLowerRightOfTheFrameLayer) {
    open();
    host::Point3 corner{7, 7, 7};
    EXPECT_EQ(print::FindFrameCorner(corner), true);
    EXPECT_DOUBLE_EQ(corner.x, 420);
    EXPECT_DOUBLE_EQ(corner.y, 0);
    EXPECT_DOUBLE_EQ(corner.z, 0);
    EXPECT_EQ(world.host().openObjectCount(), 0);
}

TEST_F(PrintFlowTest, WithoutFrameEntitiesTheCornerIsKept) {
    world.writeFile("D:\\work\\b.dwg", R"({"entities": [{"type": "line", "start": [0, 0, 0],
        "end": [420, 10, 0]}]})");
    open("D:\\work\\b.dwg");
    host::Point3 corner{7, 8, 9};
    EXPECT_EQ(print::FindFrameCorner(corner), true);
    EXPECT_DOUBLE_EQ(corner.x, 7);
    EXPECT_DOUBLE_EQ(corner.y, 8);
    EXPECT_DOUBLE_EQ(corner.z, 9);
}

TEST_F(PrintFlowTest, StampsEveryEntryBesideTheCornerOnce) {
    world.writeFile(kPrintFile,
                    "before=1,1,0,0,pre\r\n"
                    "[CheckField]\r\n" +
                        kDesign + "=100,20,5,0," + kChecked +
                        "\r\n"
                        "long=0,0,0,0,abcdefghijklmnopqrstuvwx\r\n"
                        "[workflow]\r\n"
                        "w=10,30,4,0,A,B\r\n"
                        "k=1,2,3,4\r\n"
                        "\r\n"
                        "[Workflow]\r\n"
                        "[PrintFlow]\r\n"
                        "fit=0,0,0,15," +
                        kName + "1234567890123456\r\n");
    open();

    const std::vector<Stamped> stamped = StampedTexts();
    struct Expected {
        std::string text;
        double x, y, height;
        std::optional<double> width;
    };
    const std::vector<Expected> expected = {
        {"pre", 419, 1, 3.0, std::nullopt},
        {kChecked, 320, 20, 5.0, 1.0},
        {"abcdefghijklmnopqrstuvwx", 420, 0, 3.0, 0.2},
        {"A B", 410, 30, 4.0, 1.0},
        {"4", 419, 2, 3.0, 1.0},
        {"", 420, 0, 3.0, 1.0},
        {"[Workflow]", 420, 0, 3.0, 1.0},
        {kName + "1234567890123456", 420, 0, 3.0, 0.75},
    };
    ASSERT_EQ(stamped.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(stamped[i].text, expected[i].text);
        EXPECT_DOUBLE_EQ(stamped[i].position.x, expected[i].x);
        EXPECT_DOUBLE_EQ(stamped[i].position.y, expected[i].y);
        EXPECT_DOUBLE_EQ(stamped[i].position.z, 0.0);
        EXPECT_DOUBLE_EQ(stamped[i].height, expected[i].height);
        ASSERT_EQ(stamped[i].widthFactor.has_value(), expected[i].width.has_value());
        if (expected[i].width) {
            EXPECT_DOUBLE_EQ(*stamped[i].widthFactor, *expected[i].width);
        }
        EXPECT_EQ(stamped[i].style, host::kNullId);
    }
    EXPECT_FALSE(world.exists(kPrintFile));
    EXPECT_TRUE(world.messages().empty());
    EXPECT_EQ(world.host().openObjectCount(), 0);

    // Saved and loaded again: the texts are part of the drawing and nothing is added.
    std::string error;
    ASSERT_TRUE(world.host().exportCurrent(kDrawing, error)) << error;
    ASSERT_TRUE(world.host().closeCurrent());
    open();
    EXPECT_EQ(StampedTexts().size(), expected.size());
}

TEST_F(PrintFlowTest, ADrawingWithoutPrintFileIsLeftAlone) {
    open();
    EXPECT_TRUE(StampedTexts().empty());
    EXPECT_FALSE(HasLayer(texts::kPrintInfoLayer));
    EXPECT_TRUE(world.messages().empty());
}

TEST_F(PrintFlowTest, NoCurrentDocumentDoesNothing) {
    open();
    ASSERT_TRUE(world.host().closeCurrent());
    ASSERT_EQ(world.host().curDocument(), nullptr);
    world.writeFile(kPrintFile, "k=1,2,3,4,t\r\n");
    print::ApplyPrintFlow();
    EXPECT_TRUE(world.exists(kPrintFile));
    EXPECT_TRUE(world.messages().empty());
    EXPECT_TRUE(world.host().commandLine().empty());
}

TEST_F(PrintFlowTest, TheLayerIsCreatedOnceVisibleAndUnlocked) {
    world.writeFile(kPrintFile, "a=0,0,0,0,one\r\nb=0,0,0,0,two\r\n");
    withSpyHost([&](SpyHost& spy) {
        open(spy);
        EXPECT_EQ(StampedTexts().size(), 2u);
        ASSERT_EQ(spy.spy.addedLayers.size(), 1u);
        const AddedLayer& layer = spy.spy.addedLayers[0];
        EXPECT_EQ(layer.name, texts::kPrintInfoLayer);
        EXPECT_FALSE(layer.frozen);
        EXPECT_FALSE(layer.off);
        EXPECT_FALSE(layer.vpdflt);
        EXPECT_FALSE(layer.locked);
        EXPECT_TRUE(HasLayer(texts::kPrintInfoLayer));
    });
}

TEST_F(PrintFlowTest, UnreadableTablesStampNothingAndKeepTheFile) {
    world.writeFile(kPrintFile, "a=0,0,0,0,one\r\n");
    withSpyHost([&](SpyHost& spy) {
        spy.spy.failBlockTable = true;
        open(spy);
        spy.spy.failBlockTable = false;
        EXPECT_TRUE(StampedTexts().empty());
        EXPECT_EQ(spy.commandLine(), std::vector<std::string>{texts::kBlockTableReadFailed});

        spy.spy.failLayerTable = true;
        print::ApplyPrintFlow();
        EXPECT_EQ(spy.commandLine().size(), 1u);  // no message of its own
        spy.spy.failLayerTable = false;
        EXPECT_TRUE(StampedTexts().empty());
        EXPECT_TRUE(world.exists(kPrintFile));

        // A text whose layer table cannot be written is not added.
        spy.spy.failLayerTable = true;
        print::AddPrintInfoText("x", {}, 0, 0, host::kNullId, 0);
        spy.spy.failLayerTable = false;
        EXPECT_TRUE(StampedTexts().empty());
    });
    EXPECT_TRUE(world.messages().empty());
}

TEST_F(PrintFlowTest, AFileThatCannotBeDeletedIsReported) {
    world.writeFile(kPrintFile, "a=0,0,0,0,one\r\n");
    {
        UndeletablePlatform undeletable;
        open();
    }
    EXPECT_EQ(StampedTexts().size(), 1u);
    EXPECT_EQ(world.messages(), std::vector<std::string>{texts::kDeletePrintFileFailed});
    EXPECT_TRUE(world.exists(kPrintFile));
}

TEST_F(PrintFlowTest, AFileThatCannotBeReadIsKeptAndReported) {
    world.writeFile(std::string(kPrintFile) + "\\inner", "");  // a folder of that name
    open();
    EXPECT_TRUE(StampedTexts().empty());
    ASSERT_EQ(world.messages().size(), 1u);
    EXPECT_EQ(world.messages()[0], std::string(texts::kReadPrintFileFailed) + "\r\n" + kPrintFile);
    EXPECT_TRUE(world.exists(kPrintFile));
}

TEST_F(PrintFlowTest, HostileFileIsStampedFinitelyAndConsumedOnce) {
    std::string file = "[CheckField]\n";
    const int kEntries = 100000;
    for (int i = 0; i < kEntries; ++i) file += "k=" + std::to_string(i % 50) + ",1,2,0,t\n";
    file += "k=1e400,-nan,2,0,huge\n";
    file += "k=nan,inf,99999999999,-1,\n";
    file += "k=0,0,0,0," + std::string(1 << 20, 'x') + "\n";
    file += "k=0,0,0,0,end\x81";
    world.writeFile(kPrintFile, file);
    open();

    const std::vector<Stamped> stamped = StampedTexts();
    ASSERT_EQ(stamped.size(), static_cast<std::size_t>(kEntries) + 4);
    for (const Stamped& s : stamped) {
        ASSERT_TRUE(std::isfinite(s.position.x) && std::isfinite(s.position.y) &&
                    std::isfinite(s.position.z) && std::isfinite(s.height) && s.height > 0);
        if (s.widthFactor) {
            ASSERT_TRUE(std::isfinite(*s.widthFactor));
        }
    }
    EXPECT_DOUBLE_EQ(stamped[kEntries].position.x, 420);  // 1e400 overflows: the corner
    EXPECT_DOUBLE_EQ(stamped[kEntries].position.y, 0);
    EXPECT_EQ(stamped[kEntries + 2].text.size(), 1u << 20);
    EXPECT_EQ(stamped.back().text, "end\x81");
    EXPECT_FALSE(world.exists(kPrintFile));
    EXPECT_EQ(world.host().openObjectCount(), 0);

    // What was stamped can be saved, the lone lead byte included.
    std::string error;
    EXPECT_TRUE(world.host().exportCurrent("D:\\work\\out.dwg", error)) << error;
}

}  // namespace
}  // namespace velmarin::testing
