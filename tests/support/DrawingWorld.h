#pragma once
// A test world with a logged-in client, a title-block template and drawings opened in the
// emulated host, for the save and title tests.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "bridge/VordClient.h"
#include "drawing/Drawings.h"
#include "platform/Encoding.h"
#include "support/Gbk.h"
#include "support/World.h"
#include "commands/Commands.h"
#include "drawing/TitleBlockReader.h"
#include "drawing/TitleProperties.h"
#include "tree/SaveTreeFile.h"

namespace velmarin {

inline bool operator==(const PropertyRecord& a, const PropertyRecord& b) {
    return a.name == b.name && a.value == b.value && a.type == b.type;
}

inline std::ostream& operator<<(std::ostream& out, const PropertyRecord& record) {
    return out << "{" << platform::GbkToUtf8(record.name) << ", "
               << platform::GbkToUtf8(record.value) << ", " << record.type << "}";
}

}  // namespace velmarin

namespace velmarin::testing {

// A reference of `block` with its attributes, as a drawing-file entity.
inline std::string BlockRef(const std::string& block,
                            const std::vector<std::pair<std::string, std::string>>& attributes) {
    std::string json = R"({"type": "blockref", "block": ")" + block + R"(", "attributes": [)";
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        json += (i == 0 ? "" : ", ") + std::string(R"({"tag": ")") + attributes[i].first +
                R"(", "text": ")" + attributes[i].second + "\"}";
    }
    return json + "]}";
}

inline std::string Drawing(const std::vector<std::string>& entities) {
    std::string json = R"({"entities": [)";
    for (std::size_t i = 0; i < entities.size(); ++i) json += (i == 0 ? "" : ", ") + entities[i];
    return json + "]}";
}

class DrawingWorld : public ::testing::Test {
  protected:
    void SetUp() override {
        world.createServices();
        world.logIn();
    }
    void TearDown() override { EXPECT_EQ(world.host().openObjectCount(), 0); }

    // The template named by [BPT] of the client's vord.ini; `utf8Ini` is converted to GBK.
    void useTemplate(const std::string& utf8Ini) {
        world.writeFile("D:\\VORD\\VORD.ini", "[BPT]\r\nBPT_NAME=title.bpt\r\n");
        world.writeFile("D:\\VORD\\source\\BPT\\title.bpt", G(utf8Ini));
    }

    // Writes a drawing file and opens it as the current drawing.
    void openDrawing(const std::string& windowsPath, const std::string& utf8Json) {
        world.writeFile(windowsPath, utf8Json);
        std::string error;
        ASSERT_TRUE(world.host().openDrawing(windowsPath, error)) << error;
    }

    std::string templatePath() { return TitleTemplatePath(world.vord().clientFolder); }
    bool findTitleBlockSection(const std::string& blockName, std::string& section) {
        return TitleBlockReader(templatePath()).FindEntrySection(blockName, section);
    }
    std::string writeSaveTreeFile() {
        return WriteSaveTreeFile(world.vord().clientFolder, world.drawings());
    }
    void savemethod() {
        commands::savemethod(world.vord(), world.scripts(), world.drawings(), world.save());
    }
    void saveasmethod() {
        commands::saveasmethod(world.vord(), world.scripts(), world.drawings(), world.save());
    }

    World world;
};

}  // namespace velmarin::testing
