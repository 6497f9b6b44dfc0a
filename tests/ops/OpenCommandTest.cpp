#include "OpsWorld.h"
#include "commands/Commands.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

class OpenCommand : public OpsTest {
  protected:
    OpenCommand() {
        world.writeFile(kScriptPath, "[OpenFile]\n1=D:\\W\\A.dwg\n[Download]\n1=D:\\W\\A.dwg<A\n");
    }
};

TEST_F(OpenCommand, RunsTheScriptTheClientNamesAndNothingElse) {
    const std::vector<std::pair<std::string, Texts>> cases = {
        {"[Code2]\nresult=1\nreturn1=", {"code=2"}},
        {"[Code2]\nresult=1\nreturn1=D:\\S\\absent.ini", {"code=2"}},
        // A refusal leaves an old answer in the exchange file; it must not be taken.
        {"[Code2]\nresult=0\n", {"code=2"}},
        {std::string("[Code2]\nresult=1\nreturn1=") + kScriptPath, {"code=2", "code=8"}},
    };
    for (const auto& [behaviour, codes] : cases) {
        world.writeFile("D:\\VORD\\VORD.ini",
                        std::string("[DllReturn]\r\nreturn1=") + kScriptPath + "\r\n");
        world.writeFile("D:\\VORD\\client-calls.log", "");
        world.setClientBehaviour(behaviour);
        commands::openmethod(world.vord(), world.scripts());
        EXPECT_EQ(calls(0), codes) << behaviour;
        EXPECT_EQ(openDocuments().size(), codes.size() == 2 ? 1u : 0u) << behaviour;
        EXPECT_TRUE(world.messages().empty());
    }
}

TEST_F(OpenCommand, FailedLoginEndsTheCommandAfterTheGuardsMessage) {
    world.logOut();
    world.setClientBehaviour("[Code5]\nresult=0\n");
    commands::openmethod(world.vord(), world.scripts());
    EXPECT_EQ(calls(0), (Texts{"code=5"}));
    EXPECT_EQ(world.messages(), (Texts{texts::kLoginFirst}));
}

}  // namespace
}  // namespace velmarin::testing
