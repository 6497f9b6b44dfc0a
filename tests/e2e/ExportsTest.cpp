// The built libraries show the host and the plug-in exactly their entries and nothing else.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "support/World.h"

namespace velmarin::testing {
namespace {

// The defined dynamic symbols of a library, through nm.
std::set<std::string> Exports(const std::string& library) {
    const World scratch;
    const std::string listing = scratch.root() + "/exports.txt";
    const std::string command =
        "nm -D --defined-only '" + library + "' 2>/dev/null | awk '{print $3}' >'" + listing + "'";
    std::set<std::string> names;
    if (std::system(command.c_str()) != 0) return names;
    std::ifstream in(listing);
    for (std::string name; std::getline(in, name);) {
        if (!name.empty()) names.insert(name);
    }
    return names;
}

TEST(Exports, ModuleExportsExactlyItsTwoEntries) {
    if (std::system("command -v nm >/dev/null 2>&1") != 0) GTEST_SKIP() << "nm not installed";
    EXPECT_EQ(Exports(BinaryDir() + "/Velmarin.arx"),
              (std::set<std::string>{"_hdllInstance", "zcrxEntryPoint"}));
}

TEST(Exports, ClientDoubleExportsOnlyItsEntry) {
    if (std::system("command -v nm >/dev/null 2>&1") != 0) GTEST_SKIP() << "nm not installed";
    EXPECT_EQ(Exports(BinaryDir() + "/VORDDll.dll"), (std::set<std::string>{"VORD_Invoke"}));
}

}  // namespace
}  // namespace velmarin::testing
