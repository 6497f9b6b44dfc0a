#include "faults/FaultWorld.h"

#include <sys/stat.h>

#include <filesystem>

#include "bridge/VordClient.h"
#include "support/BomTables.h"
#include "support/Gbk.h"
#include "util/FixedTexts.h"

namespace fs = std::filesystem;

namespace velmarin::testing::faults {
namespace {

// The names the client double keeps beside the exchange file; they change with every call.
bool IsClientBookkeeping(const std::string& name) {
    return name == "client-calls.log" || name == "client-double.state";
}

}  // namespace

std::string WriteFailed(const std::string& path) { return texts::kWriteFileFailed + path; }

void FaultTest::SetUp() {
    world.createServices();
    world.logIn();
    world.setClientBehaviour("[Code7]\r\nresult=1\r\n[Code3]\r\nresult=1\r\n");

    world.writeFile(kExchangeFile, "[BPT]\r\nBPT_NAME=TitleBlock.bpt\r\n");
    world.writeFile("D:\\VORD\\source\\BPT\\TitleBlock.bpt",
                    TitleBlockTemplate("[Info]\r\nBlockPty=true\r\n"));
    world.writeFile(texts::kColumnTitleTemplate,
                    ColumnTitles({G("序号"), G("名称"), G("数量")}));
    // The assembly's BOM table: columns 序号, 名称, 数量; rows 1 轴 2 and 2 螺栓 8.
    world.writeFile(kAssembly, DrawingJson({G("总装图"),
                                            {{G("序号"), G("名称"), G("数量")},
                                             {"1", G("轴"), "2"},
                                             {"2", G("螺栓"), "8"}}}));
    world.writeFile(kPart, DrawingJson({G("轴"), {}}));

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

void FaultTest::expectOutcome(const FaultCase& c) const {
    EXPECT_EQ(world.messages(), c.messages);
    EXPECT_EQ(clientCodes(), c.clientCodes);
    expectIntact(c.intact);
    expectNoStrayFiles();
}

std::string CaseName(const ::testing::TestParamInfo<FaultCase>& info) { return info.param.name; }

namespace inject {
void Nothing(FaultTest&) {}
void CreateFileFails(FaultTest& t) { t.faults().failCreateFile = true; }
void RenameFails(FaultTest& t) { t.faults().failCommit = true; }
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
