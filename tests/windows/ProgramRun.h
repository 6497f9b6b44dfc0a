#pragma once
// Runs one of the built programs (velmarin-host.exe, velmarin-inspect.exe) as a user would, with
// its standard output and error in files of a test folder.

#include <windows.h>

#include <string>
#include <vector>

#include "SystemWorld.h"

namespace velmarin::testing {

struct ProgramResult {
    DWORD exitCode = 0xFFFFFFFF;
    std::vector<std::string> lines;  // standard output, one entry per line
    std::string out;
    std::string err;
};

// Runs `program` of the build folder with the arguments (ANSI code page, each quoted) in
// `folder`, and waits up to two minutes for it.
ProgramResult Execute(const std::string& program, const TempFolder& folder,
                      const std::vector<std::string>& arguments);

}  // namespace velmarin::testing
