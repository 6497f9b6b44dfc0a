// The print flow and the print command in the emulator program, with the module and the client
// double, as a user meets them.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "StampedTexts.h"
#include "support/CallCodes.h"
#include "support/HostRun.h"
#include "support/World.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

const char kFramedDrawing[] = R"({"layers": ["0", "图框层"], "entities": [
  {"type": "polyline", "points": [[0, 0], [420, 0], [420, 297], [0, 297]], "layer": "图框层"}
]})";

// 设计, 已审 and 打印完成 in GBK.
const std::string kDesign = "\xC9\xE8\xBC\xC6";
const std::string kChecked = "\xD2\xD1\xC9\xF3";
const std::string kPrinted = "\xB4\xF2\xD3\xA1\xCD\xEA\xB3\xC9";

TEST(PrintFlowEndToEnd, LoadingStampsTheFileOnceAndExportKeepsTheTexts) {
    World world;
    world.writeFile("D:\\work\\a.dwg", kFramedDrawing);
    world.writeFile("D:\\work\\a.dwg.print.ini", "[CheckField]\r\n" + kDesign + "=100,20,5,0," +
                                                     kChecked +
                                                     "\r\n[workflow]\r\nw=10,30,0,0,A,B\r\n");
    HostRun run = HostRun::For(world);
    run.drawings = {"D:\\work\\a.dwg"};
    run.script =
        "export D:\\work\\first.dwg\n"
        "close\n"
        "open D:\\work\\a.dwg\n"
        "export D:\\work\\second.dwg\n";
    const HostResult result = run.execute();
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_TRUE(result.lines.empty()) << result.out;
    EXPECT_FALSE(world.exists("D:\\work\\a.dwg.print.ini"));

    std::string error;
    ASSERT_TRUE(world.host().openDrawing("D:\\work\\first.dwg", error)) << error;
    const std::vector<Stamped> stamped = StampedTexts();
    ASSERT_EQ(stamped.size(), 2u);
    EXPECT_EQ(stamped[0].text, kChecked);
    EXPECT_DOUBLE_EQ(stamped[0].position.x, 320);
    EXPECT_DOUBLE_EQ(stamped[0].position.y, 20);
    EXPECT_DOUBLE_EQ(stamped[0].height, 5);
    EXPECT_EQ(stamped[0].widthFactor, 1.0);
    EXPECT_EQ(stamped[1].text, "A B");
    EXPECT_DOUBLE_EQ(stamped[1].position.x, 410);
    EXPECT_DOUBLE_EQ(stamped[1].position.y, 30);
    EXPECT_DOUBLE_EQ(stamped[1].height, 3);
    EXPECT_TRUE(HasLayer(texts::kPrintInfoLayer));

    // The second load found no file: the original drawing got nothing.
    ASSERT_TRUE(world.host().openDrawing("D:\\work\\second.dwg", error)) << error;
    EXPECT_TRUE(StampedTexts().empty());
}

struct PrintAnswer {
    const char* name;
    std::string behaviour;
    std::string shown;
};

void PrintTo(const PrintAnswer& answer, std::ostream* out) { *out << answer.name; }

class PrintCommandEndToEnd : public ::testing::TestWithParam<PrintAnswer> {};

TEST_P(PrintCommandEndToEnd, ShowsTheClientsAnswerAsItIs) {
    World world;
    world.setClientBehaviour(GetParam().behaviour);
    HostRun run = HostRun::For(world);
    run.script = "PrintMethod\n";
    const HostResult result = run.execute();
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.lines, std::vector<std::string>{"MESSAGE: " + GetParam().shown});
    EXPECT_EQ(Codes(world.clientCalls()),
              (std::vector<std::string>{"code=5", "code=23", "code=6"}));
}

INSTANTIATE_TEST_SUITE_P(
    Answers, PrintCommandEndToEnd,
    ::testing::Values(
        PrintAnswer{"Refused", "[Code23]\nresult=0\nreturn1=ignored\n", ""},
        PrintAnswer{"Text", "[Code23]\nresult=1\nreturn1=" + kPrinted + "\n", Utf8(kPrinted)},
        PrintAnswer{"Long", "[Code23]\nresult=1\nreturn1=" + std::string(2599, 'p') + "\n",
                    std::string(2599, 'p')}),
    [](const ::testing::TestParamInfo<PrintAnswer>& p) { return p.param.name; });

TEST(PrintCommandEndToEnd, RefusedLoginEndsTheCommandSilently) {
    World world;
    world.setClientBehaviour("[Code5]\nresult=0\n");
    HostRun run = HostRun::For(world);
    run.script = "PrintMethod\n";
    const HostResult result = run.execute();
    ASSERT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(result.lines, std::vector<std::string>{"MESSAGE: " + Utf8(texts::kLoginFirst)});
    EXPECT_EQ(Codes(world.clientCalls()), (std::vector<std::string>{"code=5", "code=5", "code=6"}));
}

}  // namespace
}  // namespace velmarin::testing
