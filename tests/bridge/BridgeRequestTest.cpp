// Every bridge operation: its parameters, code and answers, in the order the client relies on.

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "BridgeFixture.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {
namespace {

using Journal = std::vector<std::string>;

struct OperationCase {
    const char* name;
    const char* behaviour;  // the client double's behaviour file
    std::function<std::string(VordClient&)> run;
    std::string outcome;
    Journal exchange;  // profile writes and reads and the call, in order
};

// Failures name the case rather than dump its bytes.
void PrintTo(const OperationCase& c, std::ostream* os) { *os << c.name; }

std::string Str(bool value) { return value ? "1" : "0"; }

const std::vector<OperationCase>& Cases() {
    static const std::vector<OperationCase> cases = {
        {"LoginAccepted",
         "[Code5]\nresult=1\n",
         [](VordClient& v) { return Str(v.Login()); },
         "1",
         {"write [DllParam] param1=0", "write [DllParam] param2=6", "call 5"}},
        {"OpenScriptAnswered",
         "[Code2]\nresult=1\nreturn1=D:\\s\\Operate.ini\n",
         [](VordClient& v) { return v.GetOpenScript(); },
         "D:\\s\\Operate.ini",
         {"call 2", "read [DllReturn] return1"}},
        // The double leaves return1 in the file, but a refused request reads nothing.
        {"OpenScriptRefused",
         "[Code2]\nresult=0\nreturn1=stale\n",
         [](VordClient& v) { return v.GetOpenScript(); },
         "",
         {"call 2"}},
        {"OpenScriptResultTwo",
         "[Code2]\nresult=2\nreturn1=stale\n",
         [](VordClient& v) { return v.GetOpenScript(); },
         "",
         {"call 2"}},
        {"TreeFileAccepted",
         "[Code3]\nresult=1\n",
         [](VordClient& v) { return Str(v.SendTreeFile("D:\\VORD\\temp\\sldTree.ini")); },
         "1",
         {"write [DllParam] param1=D:\\VORD\\temp\\sldTree.ini", "call 3"}},
        {"TreeFileOnlyOneIsSuccess",
         "[Code3]\nresult=2\n",
         [](VordClient& v) { return Str(v.SendTreeFile("t.ini")); },
         "0",
         {"write [DllParam] param1=t.ini", "call 3"}},
        {"UnloadOnlyOneIsSuccess",
         "[Code6]\nresult=9\n",
         [](VordClient& v) { return Str(v.NotifyUnload()); },
         "0",
         {"call 6"}},
        {"SaveRightMinusOneAllows",
         "[Code7]\nresult=-1\n",
         [](VordClient& v) { return Str(v.CheckSaveRight("D:\\a.dwg")); },
         "1",
         {"write [DllParam] param1=D:\\a.dwg", "call 7"}},
        {"SaveRightTwoAllows",
         "[Code7]\nresult=2\n",
         [](VordClient& v) { return Str(v.CheckSaveRight("D:\\a.dwg")); },
         "1",
         {"write [DllParam] param1=D:\\a.dwg", "call 7"}},
        {"SaveRightZeroRefuses",
         "[Code7]\nresult=0\n",
         [](VordClient& v) { return Str(v.CheckSaveRight("D:\\a.dwg")); },
         "0",
         {"write [DllParam] param1=D:\\a.dwg", "call 7"}},
        {"DownloadOnlyOneIsSuccess",
         "[Code8]\nresult=5\n",
         [](VordClient& v) { return Str(v.DownloadFile("srv/a.dwg", "D:\\w\\a.dwg")); },
         "0",
         {"write [DllParam] param1=srv/a.dwg", "write [DllParam] param2=D:\\w\\a.dwg", "call 8"}},
        {"UploadRefused",
         "[Code9]\nresult=0\n",
         [](VordClient& v) { return Str(v.UploadFile("x", "y")); },
         "0",
         {"write [DllParam] param1=x", "write [DllParam] param2=y", "call 9"}},
        {"SavePathAnswered",
         "[Code10]\nresult=1\nreturn1=D:\\w\\a.dwg\nreturn2=R2\nreturn3=R3\n",
         [](VordClient& v) {
             std::string r2 = "keep2", r3 = "keep3";
             const std::string path = v.GetSavePath(1, "a.dwg", r2, r3);
             return path + "|" + r2 + "|" + r3;
         },
         "D:\\w\\a.dwg|R2|R3",
         {"write [DllParam] param1=1", "write [DllParam] param2=a.dwg", "call 10",
          "read [DllReturn] return2", "read [DllReturn] return3", "read [DllReturn] return1"}},
        {"SavePathRefusedKeepsReceivers",
         "[Code10]\nresult=0\nreturn1=P\nreturn2=R2\nreturn3=R3\n",
         [](VordClient& v) {
             std::string r2 = "keep2", r3 = "keep3";
             const std::string path = v.GetSavePath(1, "a.dwg", r2, r3);
             return path + "|" + r2 + "|" + r3;
         },
         "|keep2|keep3",
         {"write [DllParam] param1=1", "write [DllParam] param2=a.dwg", "call 10"}},
        {"CancelSaveOnlyOneIsSuccess",
         "[Code11]\nresult=4\n",
         [](VordClient& v) { return Str(v.CancelSave()); },
         "0",
         {"call 11"}},
        {"CommitSaveWritesThree",
         "[Code12]\nresult=1\n",
         [](VordClient& v) { return Str(v.CommitSave("D:\\w\\a.dwg", "R2", "R3")); },
         "1",
         {"write [DllParam] param1=D:\\w\\a.dwg", "write [DllParam] param2=R2",
          "write [DllParam] param3=R3", "call 12"}},
        {"PrintTextAnswered",
         "[Code23]\nresult=1\nreturn1=printed\n",
         [](VordClient& v) { return v.GetPrintText(); },
         "printed",
         {"call 23", "read [DllReturn] return1"}},
        {"PrintTextRefused",
         "[Code23]\nresult=0\nreturn1=stale\n",
         [](VordClient& v) { return v.GetPrintText(); },
         "",
         {"call 23"}},
    };
    return cases;
}

class BridgeOperation : public ::testing::TestWithParam<OperationCase> {};

TEST_P(BridgeOperation, WritesCallsAndReadsInOrder) {
    const OperationCase& c = GetParam();
    BridgeWorld bridge;
    bridge.world.setClientBehaviour(c.behaviour);

    EXPECT_EQ(c.run(bridge.vord), c.outcome);
    EXPECT_EQ(bridge.spy.exchange(), c.exchange);
    EXPECT_TRUE(bridge.world.messages().empty());
    // The client saw the parameters at the time of the call.
    const std::vector<std::string> calls = bridge.world.clientCalls();
    ASSERT_EQ(calls.size(), 1u);
    std::string seen;
    for (const std::string& entry : c.exchange) {
        if (entry.rfind("call ", 0) == 0) seen = "code=" + entry.substr(5) + seen;
        if (entry.rfind("write [DllParam] ", 0) == 0) seen += "\t" + entry.substr(17);
    }
    EXPECT_EQ(calls[0].substr(0, seen.size()), seen);
}

INSTANTIATE_TEST_SUITE_P(AllCodes, BridgeOperation, ::testing::ValuesIn(Cases()),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST(BridgeRequest, ParametersOfEarlierRequestsStayInTheFile) {
    BridgeWorld bridge;
    bridge.vord.CommitSave("D:\\w\\a.dwg", "R2", "R3");
    bridge.vord.SendTreeFile("D:\\VORD\\temp\\sldTree.ini");
    const std::vector<std::string> calls = bridge.world.clientCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], "code=3\tparam1=D:\\VORD\\temp\\sldTree.ini\tparam2=R2\tparam3=R3");
}

TEST(BridgeRequest, MissingExchangeFileStillCallsAndAnswersEmpty) {
    WorldOptions options;
    options.createExchangeFile = false;
    BridgeWorld bridge(options);
    bridge.world.setClientBehaviour("[Code10]\nresult=1\nreturn1=P\nreturn2=R2\nreturn3=R3\n");

    std::string r2 = "keep2", r3 = "keep3";
    EXPECT_EQ(bridge.vord.GetSavePath(1, "a.dwg", r2, r3), "");
    // Result 1: the receivers take the answers read, which are empty without the file.
    EXPECT_EQ(r2, "");
    EXPECT_EQ(r3, "");
    EXPECT_EQ(bridge.spy.exchange(), (Journal{"call 10"}));
    EXPECT_EQ(bridge.world.clientCalls().size(), 1u);
    EXPECT_FALSE(bridge.world.exists("D:\\VORD\\VORD.ini"));
}

TEST(BridgeRequest, AnswersWithGbkBytesArriveUnchanged) {
    BridgeWorld bridge;
    const std::string gbkPath = "D:\\\xCD\xBC\xD6\xBD\\a.dwg";  // a folder named 图纸
    bridge.world.setClientBehaviour("[Code2]\nreturn1=" + gbkPath + "\n");
    EXPECT_EQ(bridge.vord.GetOpenScript(), gbkPath);
}

// --- Login state

TEST(BridgeLogin, FlagFollowsTheLatestLogin) {
    BridgeWorld bridge;
    bridge.world.setClientBehaviour("[Code5#1]\nresult=1\n[Code5#2]\nresult=2\n[Code5#3]\n");
    EXPECT_FALSE(bridge.vord.loggedIn());
    EXPECT_TRUE(bridge.vord.Login());
    EXPECT_TRUE(bridge.vord.loggedIn());
    EXPECT_FALSE(bridge.vord.Login());  // the client answered 2
    EXPECT_FALSE(bridge.vord.loggedIn());
    EXPECT_TRUE(bridge.vord.Login());
    EXPECT_TRUE(bridge.vord.loggedIn());
    EXPECT_TRUE(bridge.world.messages().empty());
}

TEST(BridgeLogin, GuardWhenLoggedInSendsAndShowsNothing) {
    BridgeWorld bridge;
    bridge.vord.Login();
    bridge.spy.journal.clear();
    EXPECT_TRUE(bridge.vord.EnsureLoggedIn());
    EXPECT_TRUE(bridge.spy.journal.empty());
    EXPECT_TRUE(bridge.world.messages().empty());
}

struct GuardCase {
    const char* name;
    const char* behaviour;
    bool guard;
    bool loggedIn;
};

// Failures name the case rather than dump its bytes.
void PrintTo(const GuardCase& c, std::ostream* os) { *os << c.name; }

class BridgeGuard : public ::testing::TestWithParam<GuardCase> {};

TEST_P(BridgeGuard, AsksOnceAndLogsInOnce) {
    const GuardCase& c = GetParam();
    BridgeWorld bridge;
    bridge.world.setClientBehaviour(c.behaviour);
    EXPECT_EQ(bridge.vord.EnsureLoggedIn(), c.guard);
    EXPECT_EQ(bridge.vord.loggedIn(), c.loggedIn);

    const auto& shown = bridge.world.notifier().messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, texts::kLoginFirst);
    EXPECT_EQ(shown[0].title, "");
    EXPECT_EQ(shown[0].icon, platform::MessageIcon::None);
    EXPECT_EQ(bridge.spy.countOf("call 5"), 1);
    EXPECT_EQ(bridge.spy.entries({"call"}).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Outcomes, BridgeGuard,
                         ::testing::Values(GuardCase{"Accepted", "[Code5]\nresult=1\n", true, true},
                                           GuardCase{"Refused", "[Code5]\nresult=0\n", false, false},
                                           GuardCase{"ResultTwo", "[Code5]\nresult=2\n", false, false}),
                         [](const auto& tested) { return std::string(tested.param.name); });

}  // namespace
}  // namespace velmarin::testing
