#include "faults/FaultWorld.h"

#include <sys/stat.h>

#include <filesystem>

#include "bridge/VordClient.h"
#include "platform/Encoding.h"
#include "util/FixedTexts.h"

namespace fs = std::filesystem;

namespace velmarin::testing::faults {
namespace {

std::string Gbk(const std::string& utf8) {
    std::string gbk;
    EXPECT_TRUE(platform::Utf8ToGbk(utf8, gbk));
    return gbk;
}

// A BOM table as the host shows it: a proxy of grid polylines and one multiline text per cell,
// the title band lowest. Columns 序号, 名称, 数量; rows 1 轴 2 and 2 螺栓 8.
constexpr const char kBomTable[] = R"({"type": "proxy", "className": "AcDbZombieEntity", "parts": [
    {"type": "polyline", "points": [[200, 10], [290, 10]]},
    {"type": "polyline", "points": [[200, 18], [290, 18]]},
    {"type": "polyline", "points": [[200, 26], [290, 26]]},
    {"type": "polyline", "points": [[200, 34], [290, 34]]},
    {"type": "polyline", "points": [[200, 10], [200, 34]]},
    {"type": "polyline", "points": [[230, 10], [230, 34]]},
    {"type": "polyline", "points": [[260, 10], [260, 34]]},
    {"type": "polyline", "points": [[290, 10], [290, 34]]},
    {"type": "mtext", "contents": "\\P序号", "position": [202, 12, 0]},
    {"type": "mtext", "contents": "\\P名称", "position": [232, 12, 0]},
    {"type": "mtext", "contents": "\\P数量", "position": [262, 12, 0]},
    {"type": "mtext", "contents": "1", "position": [202, 20, 0]},
    {"type": "mtext", "contents": "轴", "position": [232, 20, 0]},
    {"type": "mtext", "contents": "2", "position": [262, 20, 0]},
    {"type": "mtext", "contents": "2", "position": [202, 28, 0]},
    {"type": "mtext", "contents": "螺栓", "position": [232, 28, 0]},
    {"type": "mtext", "contents": "8", "position": [262, 28, 0]}]})";

std::string DrawingJson(const std::string& drawingName, const std::string& extraEntity) {
    return R"({"blocks": {"TK-A3": [{"type": "line", "start": [0, 0, 0], "end": [420, 297, 0]}]},
        "entities": [{"type": "blockref", "block": "TK-A3", "position": [0, 0, 0],
        "attributes": [{"tag": "TM", "text": ")" +
           drawingName + R"("}]})" + extraEntity + "]}";
}

// The names the client double keeps beside the exchange file; they change with every call.
bool IsClientBookkeeping(const std::string& name) {
    return name == "client-calls.log" || name == "client-double.state";
}

}  // namespace

std::string WriteFailed(const std::string& path) { return texts::kWriteFileFailed + path; }

void FaultTest::SetUp() {
    world.createServices();
    world.vord().loginFlag = 1;
    world.setClientBehaviour("[Code7]\r\nresult=1\r\n[Code3]\r\nresult=1\r\n");

    world.writeFile(kExchangeFile, "[BPT]\r\nBPT_NAME=TitleBlock.bpt\r\n");
    world.writeFile("D:\\VORD\\source\\BPT\\TitleBlock.bpt",
                    Gbk("[COUNT]\r\nBLOCKCOUNT=1\r\n[BLOCK1]\r\nBLOCK_NAME=TK-A3\r\nTM=图名\r\n"
                        "[Info]\r\nBlockPty=true\r\n"));
    world.writeFile(texts::kColumnTitleTemplate,
                    Gbk("[TABLE]\r\n序号=序号\r\n名称=名称\r\n数量=数量\r\n"));
    world.writeFile(kAssembly, DrawingJson("总装图", std::string(", ") + kBomTable));
    world.writeFile(kPart, DrawingJson("轴", ""));

    // What an earlier run left: a tree file of two nodes and the assembly's BOM detail file.
    world.writeFile(kTreeFile,
                    "[TreeNode0]\r\nLevel=0\r\nText=OLD.dwg\r\nPath=D:\\old\\OLD.dwg\r\ncount=1\r\n"
                    "relatype=6\r\nChildCount=0\r\n[TreeNode1]\r\nLevel=0\r\nText=OLD1.dwg\r\n"
                    "Path=D:\\old\\OLD1.dwg\r\ncount=1\r\nrelatype=6\r\nChildCount=0\r\n"
                    "[TreeNodeInfo]\r\nCount=2\r\n");
    world.writeFile(kBomFile, std::string(texts::kBomFileSignature) + "'old','bom'\r\n");

    std::string error;
    ASSERT_TRUE(world.host().openDrawing(kAssembly, error)) << error;
    for (const char* path : {kAssembly, kPart, kBomFile, kTreeFile, kExchangeFile}) {
        before[path] = file(path);
    }
    for (const char* folder : {"D:\\w", "D:\\VORD", "D:\\VORD\\temp"}) {
        entriesBefore_[folder] = entries(folder);
    }
}

void FaultTest::TearDown() { EXPECT_EQ(world.host().openObjectCount(), 0); }

void FaultTest::replaceWithFolder(const std::string& windowsPath) const {
    const std::string path = world.resolve(windowsPath);
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
}

void FaultTest::makeReadOnly(const std::string& windowsPath) const {
    ASSERT_EQ(::chmod(world.resolve(windowsPath).c_str(), 0444), 0);
}

void FaultTest::removeTreeFolder() {
    fs::remove_all(world.resolve("D:\\VORD\\temp"));
    entriesBefore_.erase("D:\\VORD\\temp");
    entriesBefore_["D:\\VORD"].erase("temp");
}

std::vector<int> FaultTest::clientCodes() const {
    std::vector<int> codes;
    for (const std::string& call : world.clientCalls()) {
        codes.push_back(std::stoi(call.substr(call.find('=') + 1)));
    }
    return codes;
}

std::set<std::string> FaultTest::entries(const std::string& windowsFolder) const {
    std::set<std::string> names;
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(world.resolve(windowsFolder), ignored)) {
        const std::string name = entry.path().filename().string();
        if (!IsClientBookkeeping(name)) names.insert(name);
    }
    return names;
}

void FaultTest::expectNoStrayFiles() const {
    for (const auto& [folder, names] : entriesBefore_) {
        EXPECT_EQ(entries(folder), names) << folder;
    }
}

void FaultTest::expectIntact(const std::vector<std::string>& windowsPaths) const {
    for (const std::string& path : windowsPaths) {
        EXPECT_EQ(file(path), before.at(path)) << path << " was changed";
    }
}

std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; }

namespace inject {
void Nothing(FaultTest&) {}
void CreateFileFails(FaultTest& t) { t.faults().failCreateFile = true; }
void RenameFails(FaultTest& t) { t.faults().failRename = true; }
void DiskFull(FaultTest& t) { t.faults().diskSpace = 0; }
void ProfileWritesFail(FaultTest& t) { t.faults().failProfileWrites = 100; }
void TempFolderCannotBeCreated(FaultTest& t) {
    t.removeTreeFolder();
    t.faults().failCreateDirectory = true;
}
void ReadOnlyTreeFile(FaultTest& t) { t.makeReadOnly(kTreeFile); }
void ReadOnlyBomFile(FaultTest& t) { t.makeReadOnly(kBomFile); }
void ReadOnlyExchangeFile(FaultTest& t) { t.makeReadOnly(kExchangeFile); }
}  // namespace inject

}  // namespace velmarin::testing::faults
