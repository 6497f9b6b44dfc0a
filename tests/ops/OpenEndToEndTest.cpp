// The open command in the emulator program, with the plug-in loaded as the host loads it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/HostRun.h"
#include "support/World.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

TEST(OpenEndToEnd, DownloadsThenOpensEachDrawingOnce) {
    World world;
    for (const char* path : {"D:\\W\\A.dwg", "D:\\W\\B.dwg"}) {
        world.writeFile(path, R"({"layers": ["0"], "entities": []})");
    }
    world.writeFile("D:\\S\\open.ini",
                    "[OpenFile]\r\n1=D:\\W\\A.dwg\r\n2=D:\\W\\a.DWG\r\n3=D:\\W\\B.dwg\r\n"
                    "4=D:\\W\\gone.dwg\r\n"
                    "[Download]\r\n1=D:\\W\\A.dwg < A\r\n");
    world.setClientBehaviour("[Code2]\nresult=1\nreturn1=D:\\S\\open.ini\n");
    HostRun run = HostRun::For(world);
    run.script = "openmethod\nopenmethod\n";
    const HostResult result = run.execute();
    ASSERT_EQ(result.exitStatus, 0) << result.err;

    // One for a.DWG in the first run, then one for each of the three records in the second.
    const std::string already = "MESSAGE: " + Utf8(texts::kFileAlreadyOpen);
    EXPECT_EQ(result.linesStartingWith("MESSAGE"), (std::vector<std::string>(4, already)));
    // A drawing that cannot be opened is named on the command line, once per run.
    EXPECT_EQ(result.linesStartingWith("CMDLINE"),
              (std::vector<std::string>(
                  2, "CMDLINE: \\n" + Utf8(texts::kCannotOpenDrawing) + "D:\\W\\gone.dwg")));
    std::vector<std::string> codes;
    for (const std::string& call : world.clientCalls()) codes.push_back(call.substr(0, 7));
    EXPECT_EQ(codes, (std::vector<std::string>{"code=5\t", "code=2\t", "code=8\t", "code=2\t",
                                               "code=8\t", "code=6\t"}));
}

}  // namespace
}  // namespace velmarin::testing
