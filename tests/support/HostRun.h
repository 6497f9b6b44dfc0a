#pragma once
// Runs the built velmarin-host as a separate process, for end-to-end tests.
//
//   testing::World world;                       // D:\ with the client double in D:\VORD
//   world.setClientBehaviour("[Code5]\nresult=0\n");
//   testing::HostRun run = testing::HostRun::For(world);   // drive D and the world's registry
//   run.script = "loginmethod\nopenmethod\n";
//   testing::HostResult result = run.execute();
//   EXPECT_EQ(result.exitStatus, 0);
//   EXPECT_TRUE(result.has("MESSAGE: " + testing::Utf8(texts::kLoginFirst)));
//
// The script goes to the program through --script (a temporary file); stdout is split into
// lines (UTF-8, as the program prints them); stderr is kept whole. A run that does not end
// within `timeoutSeconds` is killed and reports exit status 124.

#include <map>
#include <string>
#include <vector>

#include "support/Gbk.h"  // Utf8(): the system's texts as the program prints them

namespace velmarin::testing {

class World;

struct HostResult {
    int exitStatus = -1;
    std::vector<std::string> lines;  // stdout, one entry per line, without line ends
    std::string out;                 // stdout as printed
    std::string err;                 // stderr as printed

    bool has(const std::string& line) const;
    int count(const std::string& line) const;
    // Lines starting with `prefix` ("MESSAGE", "CMDLINE: ", ...), in order.
    std::vector<std::string> linesStartingWith(const std::string& prefix) const;
};

struct HostRun {
    std::map<char, std::string> drives;  // letter -> folder (--drive L=DIR)
    std::string registryFile;            // --registry FILE, when not empty
    std::string script;                  // the script text (UTF-8 or GBK bytes)
    std::vector<std::string> drawings;   // DRAWING arguments, opened before the script
    std::vector<std::string> options;    // further arguments, before the drawings
    std::string program;                 // default: velmarin-host in BinaryDir()
    bool passScript = true;              // false: no --script (standard input is empty)
    int timeoutSeconds = 120;

    // Drive D mapped to the world's folder and the world's registry file.
    static HostRun For(const World& world);
    HostResult execute() const;
};

}  // namespace velmarin::testing
