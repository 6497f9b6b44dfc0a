#include <gtest/gtest.h>

#include "support/TempDrive.h"
#include "host/sim/SimHost.h"

namespace velmarin::host::sim {
namespace {

class SimHostTest : public ::testing::Test {
  protected:
    SimHostTest() : host([this](const std::string& path) { return drive.resolve(path); }) {
        host.setDocumentOpenedListener([this](Document& d) { opened.push_back(d.fileName()); });
    }

    Document& open(const std::string& path, const std::string& entities = "") {
        drive.write(path, "{\"entities\": [" + entities + "]}");
        std::string error;
        EXPECT_TRUE(host.openDrawing(path, error)) << error;
        return *host.curDocument();
    }

    testing::TempDrive drive;
    SimHost host;
    std::vector<std::string> opened;
};

TEST_F(SimHostTest, OpensActivatesAndClosesDocuments) {
    EXPECT_EQ(host.curDocument(), nullptr);
    EXPECT_EQ(host.workingDatabase(), nullptr);
    Document& a = open("D:\\w\\A.dwg");
    Document& b = open("D:\\w\\B.dwg");
    Document& c = open("D:\\w\\C.dwg");
    EXPECT_EQ(opened, (std::vector<std::string>{"D:\\w\\A.dwg", "D:\\w\\B.dwg", "D:\\w\\C.dwg"}));
    EXPECT_EQ(host.documents(), (std::vector<Document*>{&a, &b, &c}));
    EXPECT_EQ(host.mdiActiveDocument(), &c);
    EXPECT_EQ(host.workingDatabase(), c.database());

    EXPECT_TRUE(host.activate("d:\\W\\a.DWG"));
    EXPECT_EQ(host.curDocument(), &a);
    EXPECT_FALSE(host.activate("D:\\w\\none.dwg"));
    EXPECT_EQ(host.curDocument(), &a);

    // Closing the current document brings back the one current before it.
    EXPECT_TRUE(host.closeCurrent());
    EXPECT_EQ(host.curDocument(), &c);
    EXPECT_EQ(host.appContextCloseDocument(&b), eOk);  // not current: current stays
    EXPECT_EQ(host.curDocument(), &c);
    EXPECT_EQ(host.appContextCloseDocument(&b), eInvalidInput);  // no longer open
    EXPECT_TRUE(host.closeCurrent());
    EXPECT_EQ(host.curDocument(), nullptr);
    EXPECT_EQ(host.workingDatabase(), nullptr);
    EXPECT_FALSE(host.closeCurrent());
    EXPECT_TRUE(host.documents().empty());
}

TEST_F(SimHostTest, AppContextOpenOfABadFileChangesNothing) {
    Document& a = open("D:\\w\\A.dwg");
    drive.write("D:\\w\\bad.dwg", "{\"entities\": [\n  {\"type\": 1}]}");
    EXPECT_EQ(host.appContextOpenDocument("D:\\w\\missing.dwg"), eFileAccessErr);
    EXPECT_EQ(host.appContextOpenDocument("D:\\w\\bad.dwg"), eInvalidInput);
    EXPECT_EQ(host.lastError(), "D:\\w\\bad.dwg:2:12: \"type\" must be a text, not a number");
    EXPECT_EQ(host.documents().size(), 1u);
    EXPECT_EQ(host.curDocument(), &a);
    EXPECT_EQ(opened.size(), 1u);

    std::string error;
    EXPECT_FALSE(host.openDrawing("D:\\w\\missing.dwg", error));
    EXPECT_EQ(error, "D:\\w\\missing.dwg: no such drawing file");
}

TEST_F(SimHostTest, OpeningAnOpenDrawingActivatesIt) {
    Document& a = open("D:\\w\\A.dwg");
    open("D:\\w\\B.dwg");
    EXPECT_EQ(host.appContextOpenDocument("D:\\W\\a.dwg"), eOk);
    EXPECT_EQ(host.curDocument(), &a);
    // The same file by another spelling of its path is the same drawing too.
    open("D:\\w\\B.dwg");
    EXPECT_EQ(host.appContextOpenDocument(drive.resolve("D:\\w\\A.dwg")), eOk);
    EXPECT_EQ(host.curDocument(), &a);
    EXPECT_EQ(host.documents().size(), 2u);
    EXPECT_EQ(opened.size(), 2u);  // reported once each
}

TEST_F(SimHostTest, NewDrawingIsNeverSavedAndIsLoaded) {
    Document& d = host.newDrawing("Drawing1.dwg");
    EXPECT_EQ(d.fileName(), "Drawing1.dwg");
    EXPECT_EQ(host.curDocument(), &d);
    EXPECT_EQ(opened, (std::vector<std::string>{"Drawing1.dwg"}));
}

TEST_F(SimHostTest, SaveAsWritesTheFileAndRenamesTheDocument) {
    Document& d = open("D:\\w\\A.dwg", R"({"type": "text", "text": "keep"})");
    ASSERT_EQ(d.database()->saveAs2004("D:\\w\\out\\..\\B.dwg"), eFileAccessErr);  // no folder
    drive.write("D:\\w\\old.dwg", "old contents");
    ASSERT_EQ(d.database()->saveAs2004("D:\\w\\old.dwg"), eOk);
    EXPECT_EQ(d.fileName(), "D:\\w\\old.dwg");
    EXPECT_NE(drive.read("D:\\w\\old.dwg").find("\"keep\""), std::string::npos);

    // The saved file opens as the same drawing (already open under its new name).
    EXPECT_EQ(host.appContextOpenDocument("D:\\w\\OLD.dwg"), eOk);
    EXPECT_EQ(host.documents().size(), 1u);

    ASSERT_EQ(d.database()->saveAs("D:\\w\\C.dwg"), eOk);
    EXPECT_EQ(d.fileName(), "D:\\w\\C.dwg");
    ASSERT_EQ(host.saveLog().size(), 3u);
    EXPECT_TRUE(host.saveLog()[1].format2004);
    EXPECT_TRUE(host.saveLog()[1].written);
    EXPECT_FALSE(host.saveLog()[2].format2004);
    EXPECT_FALSE(host.saveLog()[0].written);
}

TEST_F(SimHostTest, AFailedSaveKeepsTheOldFileAndTheName) {
    Document& d = open("D:\\w\\A.dwg", R"({"type": "line"})");
    drive.write("D:\\w\\locked.dwg", "old contents");
    host.failSavesTo("d:\\W\\LOCKED.dwg");
    EXPECT_EQ(d.database()->saveAs("D:\\w\\locked.dwg"), eFileAccessErr);
    EXPECT_EQ(drive.read("D:\\w\\locked.dwg"), "old contents");
    EXPECT_EQ(d.fileName(), "D:\\w\\A.dwg");
    EXPECT_EQ(d.database()->saveAs(""), eInvalidInput);
    // A folder in the way of the file: nothing replaced, no temporary file left behind.
    drive.write("D:\\w\\dir.dwg\\inside", "");
    EXPECT_EQ(d.database()->saveAs("D:\\w\\dir.dwg"), eFileAccessErr);
    EXPECT_TRUE(drive.exists("D:\\w\\dir.dwg\\inside"));
}

TEST_F(SimHostTest, ExportWritesWithoutRenaming) {
    Document& d = open("D:\\w\\A.dwg", R"({"type": "line", "end": [3, 4]})");
    std::string error;
    ASSERT_TRUE(host.exportCurrent("D:\\w\\copy.dwg", error)) << error;
    EXPECT_EQ(d.fileName(), "D:\\w\\A.dwg");
    ASSERT_TRUE(host.openDrawing("D:\\w\\copy.dwg", error)) << error;
    EXPECT_EQ(host.documents().size(), 2u);
    host.closeCurrent();
    host.closeCurrent();
    EXPECT_FALSE(host.exportCurrent("D:\\w\\copy.dwg", error));
}

TEST_F(SimHostTest, WindowSelectsWhatLiesEntirelyInside) {
    open("D:\\w\\A.dwg", R"(
        {"type": "line", "start": [0, 0], "end": [10, 10]},
        {"type": "line", "start": [-1, 0], "end": [5, 5]},
        {"type": "line", "start": [2, 2], "end": [3, 3], "erased": true},
        {"type": "polyline", "points": [[10, 10], [4, 4]]},
        {"type": "line", "start": [0, 0], "end": [10, 10.5]},
        {"type": "polyline", "points": []})");
    const auto ids =
        host.workingDatabase() != nullptr
            ? dynamic_cast<SimDatabase*>(host.workingDatabase())
                  ->peekAs<SimBlockTableRecord>(
                      dynamic_cast<SimDatabase*>(host.workingDatabase())->modelSpaceId())
                  ->allEntityIds()
            : std::vector<ObjectId>{};
    ASSERT_EQ(ids.size(), 6u);
    struct Window {
        Point3 a, b;
        std::vector<ObjectId> expected;
    };
    const Window windows[] = {
        {{0, 0, 0}, {10, 10, 0}, {ids[0], ids[3]}},  // on the edges counts as inside
        {{10, 10, 0}, {0, 0, 0}, {ids[0], ids[3]}},  // corners in either order
        {{0, 10, 0}, {10, 0, 0}, {ids[0], ids[3]}},
        {{-5000, -5000, 0}, {5000, 5000, 0}, {ids[0], ids[1], ids[3], ids[4]}},
        {{4, 4, 0}, {10, 10, 0}, {ids[3]}},
    };
    for (const Window& w : windows) {
        SelectionSet selection;
        EXPECT_EQ(host.ssget("W", &w.a, &w.b, selection), RTNORM);
        EXPECT_EQ(selection.names, w.expected);
    }
    SelectionSet selection;
    const Point3 p{20, 20, 0}, q{30, 30, 0};
    EXPECT_NE(host.ssget("W", &p, &q, selection), RTNORM);  // nothing inside
    EXPECT_TRUE(selection.names.empty());
    EXPECT_NE(host.ssget("W", &p, nullptr, selection), RTNORM);
    EXPECT_NE(host.ssget("C", &p, &q, selection), RTNORM);
}

TEST_F(SimHostTest, PicksAreAnsweredFromTheQueue) {
    open("D:\\w\\A.dwg", R"({"type": "line"}, {"type": "line", "erased": true}, {"type": "text"})");
    SelectionSet selection;
    EXPECT_EQ(host.ssget(nullptr, nullptr, nullptr, selection), RTCAN);  // nothing queued
    host.queuePick(true);
    host.queuePick(false);
    host.queuePick(true);
    EXPECT_EQ(host.ssget(nullptr, nullptr, nullptr, selection), RTNORM);
    EXPECT_EQ(selection.names.size(), 2u);
    long length = 0;
    EXPECT_EQ(ssLength(selection, length), RTNORM);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(host.ssget(nullptr, nullptr, nullptr, selection), RTCAN);
    EXPECT_TRUE(selection.names.empty());
    host.newDrawing("Drawing2.dwg");  // an empty drawing: a pick of all selects nothing
    EXPECT_NE(host.ssget(nullptr, nullptr, nullptr, selection), RTNORM);
}

TEST_F(SimHostTest, ClosingADocumentWithObjectsOpenKeepsThemValid) {
    Document& d = open("D:\\w\\A.dwg", R"({"type": "line"})");
    BlockTable* table = nullptr;
    ASSERT_EQ(d.database()->getBlockTable(table, OpenMode::ForRead), eOk);
    EXPECT_EQ(host.openObjectCount(), 1);
    host.closeCurrent();
    EXPECT_EQ(host.openObjectCount(), 1);
    EXPECT_EQ(table->close(), eOk);
    EXPECT_EQ(host.openObjectCount(), 0);
}

void CommandA() {}
void CommandB() {}

TEST_F(SimHostTest, CommandStackAddsFindsAndRemoves) {
    EXPECT_EQ(host.addCommand("Velmarin", "_openmethod", "openmethod", 1, &CommandA), eOk);
    EXPECT_EQ(host.addCommand("Velmarin", "_OPENMETHOD", "other", 1, &CommandB),
              eDuplicateRecordName);
    EXPECT_EQ(host.addCommand("Velmarin", "_savemethod", "savemethod", 1, &CommandB), eOk);
    EXPECT_EQ(host.addCommand("Other", "_openmethod", "openmethod", 1, &CommandB), eOk);
    // The group registered last wins a shared name.
    ASSERT_NE(host.findCommand("OpenMethod"), nullptr);
    EXPECT_EQ(host.findCommand("OpenMethod")->function, &CommandB);
    EXPECT_EQ(host.removeGroup("Other"), eOk);
    EXPECT_EQ(host.findCommand("_OPENMETHOD")->function, &CommandA);
    EXPECT_EQ(host.findCommand("savemethod")->flags, 1);
    EXPECT_EQ(host.removeCmd("Velmarin", "_openmethod"), eOk);
    EXPECT_EQ(host.removeCmd("Velmarin", "_openmethod"), eKeyNotFound);
    EXPECT_EQ(host.findCommand("openmethod"), nullptr);
    EXPECT_EQ(host.removeGroup("Velmarin"), eOk);
    EXPECT_TRUE(host.registeredCommands().empty());
    EXPECT_EQ(host.removeGroup("Velmarin"), eKeyNotFound);
}

TEST_F(SimHostTest, PrintfRecordsAndReportsTheText) {
    std::vector<std::string> heard;
    host.setCommandLineListener([&](const std::string& text) { heard.push_back(text); });
    host.printf("\nline one");
    host.printf("two");
    EXPECT_EQ(host.commandLine(), (std::vector<std::string>{"\nline one", "two"}));
    EXPECT_EQ(heard, host.commandLine());
}

}  // namespace
}  // namespace velmarin::host::sim
