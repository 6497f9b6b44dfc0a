#pragma once
// Shared pieces of the operation-script tests: a world with the application's services and a
// logged-in bridge, drawing files on drive D, and the client's calls by operation code.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bridge/VordClient.h"
#include "host/Host.h"
#include "support/World.h"

namespace velmarin::testing {

using Texts = std::vector<std::string>;
inline const char kScriptPath[] = "D:\\S\\script.ini";

class OpsTest : public ::testing::Test {
  protected:
    OpsTest() {
        world.createServices();
        world.logIn();
        for (const char* path : {"D:\\W\\A.dwg", "D:\\W\\B.dwg"}) {
            world.writeFile(path, R"({"layers": ["0"], "entities": []})");
        }
    }
    // Every operation closes what it opened.
    void TearDown() override { EXPECT_EQ(world.host().openObjectCount(), 0); }

    bool run(const std::string& script);  // ScriptRunTest.cpp
    Texts openDocuments() { return world.openDocuments(); }
    // The log lines of one code up to param2; code 0 gives just the codes of all calls.
    Texts calls(int code) {
        Texts lines;
        const std::string prefix = "code=" + std::to_string(code) + "\t";
        for (const std::string& line : world.clientCalls()) {
            if (code == 0) {
                lines.push_back(line.substr(0, line.find('\t')));
            } else if (line.compare(0, prefix.size(), prefix) == 0) {
                lines.push_back(line.substr(0, line.find("\tparam3=")));
            }
        }
        return lines;
    }

    World world;
};

}  // namespace velmarin::testing
