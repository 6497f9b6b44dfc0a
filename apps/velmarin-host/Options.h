#pragma once
// The command line of velmarin-host.

#include <map>
#include <string>
#include <vector>

namespace velmarin::emulator {

struct HostOptions {
    std::map<char, std::string> drives;  // upper-case letter -> folder
    std::string registryFile;            // empty: no registry values at all
    std::string moduleFile;              // empty: the Velmarin.arx beside the program
    std::string scriptFile;              // empty: standard input
    std::vector<std::string> drawings;   // opened before the script runs
};

enum class ParseResult { Run, Help, Version, Error };

// Reads argv[1..]. On Error, `error` holds one line naming the problem.
ParseResult ParseOptions(const std::vector<std::string>& args, HostOptions& options,
                         std::string& error);

// The drive folders, the registry file and the script named on the command line exist. On false,
// `error` holds one line naming the missing one.
bool CheckInputs(const HostOptions& options, std::string& error);

// A file named on the command line that is there to be read.
bool IsReadableFile(const std::string& path);
// The line for a file or folder of the command line that is not there ("WHAT not found: PATH"),
// or that Windows cannot reach because its path is too long.
std::string NotFoundLine(const std::string& what, const std::string& path);

std::string UsageText();

}  // namespace velmarin::emulator
