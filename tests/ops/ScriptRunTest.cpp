#include <new>
#include <stdexcept>

#include "OpsWorld.h"
#include "ops/OperationScriptRunner.h"
#include "support/InstalledShim.h"
#include "util/FixedTexts.h"

namespace velmarin::testing {

bool OpsTest::run(const std::string& script) {
    world.writeFile(kScriptPath, script);
    return world.scripts().RunScript(kScriptPath);
}

namespace {

using ScriptRun = OpsTest;

TEST_F(ScriptRun, TransfersFinishBeforeTheFirstDrawingOpens) {
    std::vector<std::size_t> callsWhenOpened;
    world.host().setDocumentOpenedListener(
        [&](host::Document&) { callsWhenOpened.push_back(world.clientCalls().size()); });
    EXPECT_TRUE(
        run("[OpenFile]\r\n1=D:\\W\\A.dwg\r\n[UpLoadFile]\r\n1=u1<u2\r\n"
            "[Download]\r\n1=D:\\W\\A.dwg < /srv/A.dwg\r\n2=D:\\W\\B.dwg</srv/B.dwg\r\n"));
    EXPECT_EQ(calls(0), (Texts{"code=8", "code=8", "code=9"}));
    EXPECT_EQ(calls(8), (Texts{"code=8\tparam1=D:\\W\\A.dwg\tparam2=/srv/A.dwg",
                               "code=8\tparam1=D:\\W\\B.dwg\tparam2=/srv/B.dwg"}));
    EXPECT_EQ(callsWhenOpened, (std::vector<std::size_t>{3}));
    EXPECT_EQ(openDocuments(), (Texts{"D:\\W\\A.dwg"}));
}

TEST_F(ScriptRun, TransfersSplitAtTheFirstSeparator) {
    EXPECT_TRUE(
        run("[Download]\n1= a < b < c \n2=< x\n3=y <\n4=no separator\n"
            "[UpLoadFile]\n1=u1<u2\n"));
    EXPECT_EQ(calls(8), (Texts{"code=8\tparam1=a\tparam2=b < c", "code=8\tparam1=\tparam2=x",
                               "code=8\tparam1=y\tparam2="}));
    EXPECT_EQ(calls(9), (Texts{"code=9\tparam1=u1\tparam2=u2"}));

    world.setClientBehaviour("[Code8]\nresult=2\n");
    EXPECT_FALSE(world.scripts().DownloadEntry("a<b", "<"));  // only a 1 from the client counts
}

TEST_F(ScriptRun, SectionsAndKeysFollowTheDocumentRules) {
    // Lines before the first header, and later sections of the same name, are not run; keys
    // differing in case are one record, holding the later value.
    EXPECT_TRUE(
        run("Download=x<y\n[ download ]\n1=a<b\n[DOWNLOAD]\n1=e<f\n"
            "[OpenFile]\nFile1=D:\\W\\A.dwg\nfile1=D:\\W\\B.dwg\n"));
    EXPECT_EQ(calls(8), (Texts{"code=8\tparam1=a\tparam2=b"}));
    EXPECT_EQ(openDocuments(), (Texts{"D:\\W\\B.dwg"}));
    EXPECT_TRUE(world.messages().empty());
}

TEST_F(ScriptRun, AlreadyOpenDrawingIsReportedOnceAndTheRunGoesOn) {
    std::string error;
    ASSERT_TRUE(world.host().openDrawing("d:\\w\\a.dwg", error)) << error;
    EXPECT_TRUE(run("[OpenFile]\n1=D:\\W\\A.DWG\n2=D:\\W\\B.dwg\n"));
    EXPECT_EQ(world.messages(), (Texts{texts::kFileAlreadyOpen}));
    EXPECT_EQ(openDocuments(), (Texts{"d:\\w\\a.dwg", "D:\\W\\B.dwg"}));
}

TEST_F(ScriptRun, MissingScriptRunsNothing) {
    EXPECT_FALSE(world.scripts().RunScript("D:\\S\\absent.ini"));
    EXPECT_TRUE(run("k=v\n[Other]\n1=a<b\n"));  // nothing to run is no failure
    EXPECT_TRUE(world.clientCalls().empty());
}

// Windows' file functions reach no script at a path of more than 259 characters (a double-byte
// character counts once): the user is told instead of nothing happening.
TEST_F(ScriptRun, ScriptBeyondThePathLimitIsNamedAndNotRun) {
    Texts printed;
    world.host().setCommandLineListener([&](const std::string& text) { printed.push_back(text); });
    const std::string folder = "D:\\" + std::string(120, 'a') + "\\";  // 124 characters
    std::string chinese;
    for (int i = 0; i < 63; ++i) chinese += "\xD6\xD0";  // 中
    struct Case {
        std::string name;  // in the folder, with ".ini" after it
        bool runs;
    };
    const Case cases[] = {
        {std::string(131, 'b'), true},            // 259 characters
        {std::string(132, 'b'), false},           // 260
        {std::string(68, 'b') + chinese, true},   // 259 characters in 322 bytes
        {std::string(69, 'b') + chinese, false},  // 260
    };
    for (const Case& c : cases) {
        printed.clear();
        const std::string path = folder + c.name + ".ini";
        world.writeFile(path, "[Other]\n1=a<b\n");
        EXPECT_EQ(world.scripts().RunScript(path), c.runs) << c.name;
        const Texts expected =
            c.runs ? Texts{} : Texts{"\n" + std::string(texts::kScriptPathTooLong) + path};
        EXPECT_EQ(printed, expected) << c.name;
    }
}

// The world's platform, failing where a test asks it to.
class FaultyPlatform : public InstalledShim {
  public:
    bool writeProfileString(const char* s, const char* k, const char* v,
                            const std::string& f) override {
        if (v != nullptr && std::string(v) == "boom") throw std::runtime_error("disk gone");
        return InstalledShim::writeProfileString(s, k, v, f);
    }
    bool readFile(const std::string& path, std::string& contents) override {
        if (path == kScriptPath) throw std::bad_alloc();
        return InstalledShim::readFile(path, contents);
    }
};

TEST_F(ScriptRun, AnErrorEndsItsSectionOnlyOrTheRunWhenOutsideTheSections) {
    FaultyPlatform faulty;
    EXPECT_FALSE(
        run("[Download]\n1=boom<x\n2=never<y\n[UpLoadFile]\n1=u<v\n"
            "[OpenFile]\n1=D:\\W\\A.dwg\n"));  // reading the script itself failed
    EXPECT_TRUE(world.clientCalls().empty());

    world.writeFile("D:\\S\\other.ini",
                    "[Download]\n1=boom<x\n2=never<y\n[UpLoadFile]\n1=u<v\n"
                    "[OpenFile]\n1=D:\\W\\A.dwg\n");
    EXPECT_TRUE(world.scripts().RunScript("D:\\S\\other.ini"));
    EXPECT_EQ(calls(0), (Texts{"code=9"}));
    EXPECT_EQ(openDocuments(), (Texts{"D:\\W\\A.dwg"}));
}

TEST_F(ScriptRun, RequestSavePathAsksForModeOne) {
    world.setClientBehaviour("[Code10]\nreturn1=D:\\W\\new.dwg\nreturn2=r2\nreturn3=r3\n");
    std::string second;
    std::string third;
    EXPECT_EQ(world.scripts().RequestSavePath("part", second, third), "D:\\W\\new.dwg");
    EXPECT_EQ(second + "," + third, "r2,r3");
    EXPECT_EQ(calls(10), (Texts{"code=10\tparam1=1\tparam2=part"}));
}

}  // namespace
}  // namespace velmarin::testing
