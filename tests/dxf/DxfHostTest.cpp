// DXF drawings in the emulated host: opened by content or by extension, exported and saved as
// DXF to a .dxf path, refused with one clear line when they cannot be read. (Saving an opened
// DXF drawing in place is covered end to end by DxfEndToEndTest.)

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "DxfSupport.h"
#include "host/sim/dxf/File.h"
#include "host/sim/SimHost.h"

namespace velmarin::dxftest {
namespace {

namespace fs = std::filesystem;

class DxfHost : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("velmarin-dxf-host-" +
                   std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }
    void write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }
    host::sim::SimDatabase& current() {
        return static_cast<host::sim::SimDocument*>(host_.curDocument())->simDatabase();
    }

    fs::path folder_;
    host::sim::SimHost host_{nullptr};
};

const std::string kJson = R"({"entities": [{"type": "text", "text": "A", "position": [1, 2, 0]}]})";

TEST_F(DxfHost, DrawingsAreToldByTheirContent) {
    write("sample.dxf", Sample("multi_insert_with_attribs.dxf"));
    write("exported.dwg", Sample("text_alignments.dxf"));  // DXF under another extension
    write("json.dxf", kJson);                              // and JSON under .dxf
    std::string error;
    ASSERT_TRUE(host_.openDrawing(path("sample.dxf"), error)) << error;
    EXPECT_EQ(ModelSpace(current()).size(), 1u);
    ASSERT_TRUE(host_.openDrawing(path("exported.dwg"), error)) << error;
    EXPECT_EQ(ModelSpace(current()).size(), 58u);
    ASSERT_TRUE(host_.openDrawing(path("json.dxf"), error)) << error;
    EXPECT_EQ(ModelSpace(current()).size(), 1u);
    EXPECT_EQ(host_.documents().size(), 3u);
}

TEST_F(DxfHost, UnreadableDxfOpensNothingAndSaysWhy) {
    write("bad.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n10\nx\n0\nENDSEC\n0\nEOF\n");
    write("binary.dxf", Sample("bin_dxf_r2000.dxf"));
    write("empty.dxf", "");
    std::string error;
    EXPECT_FALSE(host_.openDrawing(path("bad.dxf"), error));
    EXPECT_EQ(error, path("bad.dxf") + ":8: group 10 of LINE must be a number, not \"x\"");
    EXPECT_FALSE(host_.openDrawing(path("binary.dxf"), error));
    EXPECT_NE(error.find("binary DXF"), std::string::npos);
    EXPECT_FALSE(host_.openDrawing(path("empty.dxf"), error));
    EXPECT_EQ(error, path("empty.dxf") + ":1: the file holds no DXF data");
    EXPECT_EQ(host_.lastError(), error);
    EXPECT_TRUE(host_.documents().empty());
}

TEST_F(DxfHost, ExportAndSaveAsWriteDxfToDxfPaths) {
    write("a.dwg", kJson);
    std::string error;
    ASSERT_TRUE(host_.openDrawing(path("a.dwg"), error)) << error;
    ASSERT_TRUE(host_.exportCurrent(path("out.DXF"), error)) << error;
    EXPECT_TRUE(host::sim::LooksLikeDxf(read("out.DXF")));
    EXPECT_EQ(host_.curDocument()->fileName(), path("a.dwg"));  // an export renames nothing

    ASSERT_EQ(current().saveAs(path("b.dxf")), host::eOk);
    EXPECT_TRUE(host::sim::LooksLikeDxf(read("b.dxf")));
    EXPECT_EQ(host_.curDocument()->fileName(), path("b.dxf"));
    ASSERT_EQ(current().saveAs2004(path("c.dwg")), host::eOk);
    EXPECT_EQ(read("c.dwg").front(), '{');  // any other extension: the emulator's own format

    ASSERT_TRUE(host_.openDrawing(path("out.DXF"), error)) << error;
    const auto* text = dynamic_cast<const host::Text*>(ModelSpace(current()).at(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->textString(), "A");
}

}  // namespace
}  // namespace velmarin::dxftest
